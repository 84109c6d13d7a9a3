// The plug-in file on POSIX systems: an ELF module loaded by the dynamic loader, its
// resources in a section of the file.
#include "emulator/core/PluginModule.h"

#include <dlfcn.h>

#include "emulator/core/Unicode.h"
#include "emulator/platform/ResourceSection.h"

namespace emulator {

std::unique_ptr<PluginModule> PluginModule::Load(const std::filesystem::path& file,
                                                 std::string* error) {
    const auto bundle = ReadResourceSection(file, error);
    auto resources = bundle ? Resources::Parse(*bundle, error) : std::nullopt;
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
    library_ = dlopen(file_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library_ == nullptr) {
        const char* reason = dlerror();
        *error = reason != nullptr ? reason : "dlopen";
        return false;
    }
    const std::string& entryName = resources_.Properties()->codeEntry;
    entry_ = reinterpret_cast<PluginMainFunction>(dlsym(library_, entryName.c_str()));
    if (entry_ == nullptr) {
        *error = Utf8FromPath(file_) + ": entry point " + entryName + " not found";
        UnloadCode();
        return false;
    }
    return true;
}

void PluginModule::UnloadCode() {
    if (library_ != nullptr) {
        dlclose(library_);
    }
    library_ = nullptr;
    entry_ = nullptr;
}

ASErr PluginModule::Call(const char* caller, const char* selector, void* message) const {
    return entry_(caller, selector, message);
}

std::optional<std::string> PluginPathText(const std::filesystem::path& path) {
    return path.native();
}

std::filesystem::path PathFromPluginText(const std::string& text) {
    return std::filesystem::path(text);
}

}  // namespace emulator
