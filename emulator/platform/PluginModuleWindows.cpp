// The plug-in file on Windows: a DLL whose resources the host reads as the host does there,
// the module loaded as a data file (none of its code runs), then its code loaded by
// LoadLibrary and its entry point found by GetProcAddress.
#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#include "emulator/core/PluginModule.h"
#include "emulator/core/Unicode.h"

namespace emulator {
namespace {

constexpr WORD kPropertyListId = 16000;
constexpr const wchar_t* kPropertyListType = L"PiPL";
constexpr const wchar_t* kImageType = L"PNGI";
constexpr const wchar_t* kTextType = L"TXT";

// The system's words for an error code, in UTF-8.
std::string SystemMessage(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::u16string words;
    if (length > 0 && text != nullptr) {
        words.assign(text, text + length);
    }
    LocalFree(text);
    while (!words.empty() && (words.back() == u'\n' || words.back() == u'\r' ||
                              words.back() == u' ' || words.back() == u'.')) {
        words.pop_back();
    }
    return words.empty() ? "error " + std::to_string(code) : Utf8FromUtf16(words);
}

// The bytes of resource `name` of `type`; nothing when the module has none.
std::optional<std::vector<std::uint8_t>> ResourceBytes(HMODULE module, const wchar_t* type,
                                                       const wchar_t* name) {
    HRSRC found = FindResourceW(module, name, type);
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return std::nullopt;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return std::vector<std::uint8_t>(bytes, bytes + SizeofResource(module, found));
}

// The names of the resources of `type`: numbers for ids, texts for names.
struct ResourceNames {
    std::vector<WORD> ids;
    std::vector<std::wstring> names;
};

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
    auto* names = reinterpret_cast<ResourceNames*>(found);
    if (IS_INTRESOURCE(name)) {
        names->ids.push_back(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
    } else {
        names->names.emplace_back(name);
    }
    return TRUE;
}

ResourceNames NamesOf(HMODULE module, const wchar_t* type) {
    ResourceNames names;
    EnumResourceNamesW(module, type, CollectName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

// The module's resources: the property list, every image and every text.
std::optional<Resources> ReadResources(const std::filesystem::path& file, std::string* error) {
    HMODULE module = LoadLibraryExW(file.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) {
        *error = "cannot read " + Utf8FromPath(file) + ": " + SystemMessage(GetLastError());
        return std::nullopt;
    }
    const auto propertyList =
        ResourceBytes(module, kPropertyListType, MAKEINTRESOURCEW(kPropertyListId));
    std::map<std::int32_t, std::vector<std::uint8_t>> images;
    for (const WORD id : NamesOf(module, kImageType).ids) {
        if (auto bytes = ResourceBytes(module, kImageType, MAKEINTRESOURCEW(id))) {
            images[id] = std::move(*bytes);
        }
    }
    std::map<std::string, std::string> texts;
    for (const std::wstring& name : NamesOf(module, kTextType).names) {
        if (const auto bytes = ResourceBytes(module, kTextType, name.c_str())) {
            texts[Utf8FromUtf16(std::u16string(name.begin(), name.end()))] =
                std::string(bytes->begin(), bytes->end());
        }
    }
    FreeLibrary(module);
    if (!propertyList) {
        *error = Utf8FromPath(file) + ": the module has no property list";
        return std::nullopt;
    }
    return Resources::FromParts(*propertyList, std::move(images), std::move(texts));
}

}  // namespace

std::unique_ptr<PluginModule> PluginModule::Load(const std::filesystem::path& file,
                                                 std::string* error) {
    // The system searches its own folders for a bare name: the file is named whole.
    std::error_code ec;
    const std::filesystem::path whole = std::filesystem::absolute(file, ec);
    auto resources = ReadResources(ec ? file : whole, error);
    if (!resources) {
        return nullptr;
    }
    const auto& properties = resources->Properties();
    if (!properties || properties->kind != "SPEA" || properties->codeEntry.empty()) {
        *error = Utf8FromPath(file) + ": missing or invalid property list";
        return nullptr;
    }
    std::unique_ptr<PluginModule> module(new PluginModule(file, std::move(*resources)));
    if (!module->LoadCode(error)) {
        return nullptr;
    }
    return module;
}

PluginModule::PluginModule(std::filesystem::path file, emulator::Resources resources)
    : file_(std::move(file)), resources_(std::move(resources)) {}

PluginModule::~PluginModule() {
    UnloadCode();
}

bool PluginModule::LoadCode(std::string* error) {
    if (library_ != nullptr) {
        return true;
    }
    std::error_code ec;
    const std::filesystem::path whole = std::filesystem::absolute(file_, ec);
    HMODULE module = LoadLibraryW((ec ? file_ : whole).c_str());
    if (module == nullptr) {
        *error = "cannot load " + Utf8FromPath(file_) + ": " + SystemMessage(GetLastError());
        return false;
    }
    library_ = module;
    const std::string& entryName = resources_.Properties()->codeEntry;
    // FARPROC is a function without parameters; the entry point's own type is the
    // property list's promise.
    const FARPROC entry = GetProcAddress(module, entryName.c_str());
    entry_ = reinterpret_cast<PluginMainFunction>(reinterpret_cast<void (*)()>(entry));
    if (entry_ == nullptr) {
        *error = Utf8FromPath(file_) + ": entry point " + entryName + " not found";
        UnloadCode();
        return false;
    }
    return true;
}

void PluginModule::UnloadCode() {
    if (library_ != nullptr) {
        FreeLibrary(static_cast<HMODULE>(library_));
    }
    library_ = nullptr;
    entry_ = nullptr;
}

ASErr PluginModule::Call(const char* caller, const char* selector, void* message) const {
    return entry_(caller, selector, message);
}

std::optional<std::string> PluginPathText(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    if (wide.empty()) {
        return std::string();
    }
    BOOL lossy = FALSE;
    const int length =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(),
                            static_cast<int>(wide.size()), nullptr, 0, nullptr, &lossy);
    if (length <= 0 || lossy) {
        return std::nullopt;
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                        text.data(), length, nullptr, &lossy);
    return lossy ? std::nullopt : std::optional<std::string>(std::move(text));
}

std::filesystem::path PathFromPluginText(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return std::filesystem::path(wide);
}

}  // namespace emulator
