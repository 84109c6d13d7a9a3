// The fonts of a Windows system: the font files of one folder, read by FreeType. The folder
// is "fonts" beside the program when there is one (a set of fonts that goes with the
// program, as the tests give it the very files fontconfig lists on Linux), else the
// system's font folder.
//
// A name is set in the face whose PostScript name it is; any other name, and the empty
// name, in the default face: DejaVuSans when the folder holds it (as fontconfig's
// "sans-serif" on Debian), else LiberationSans, else ArialMT (Windows' own Arial), else the
// first face by name.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <system_error>
#include <utility>
#include <vector>

#include "emulator/core/FontFaces.h"
#include "emulator/fonts/FaceFiles.h"

namespace emulator {
namespace {

constexpr const char* kDefaultFaces[] = {"DejaVuSans", "LiberationSans", "ArialMT"};

// The folder of the running program; empty when the system does not say.
std::filesystem::path ProgramFolder() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) {
            return {};
        }
        if (length < name.size()) {
            name.resize(length);
            return std::filesystem::path(name).parent_path();
        }
        name.resize(name.size() * 2);
    }
}

std::filesystem::path FontFolder() {
    std::error_code error;
    const std::filesystem::path beside = ProgramFolder() / "fonts";
    if (!ProgramFolder().empty() && std::filesystem::is_directory(beside, error)) {
        return beside;
    }
    std::wstring windows(MAX_PATH, L'\0');
    const UINT length = GetWindowsDirectoryW(windows.data(), static_cast<UINT>(windows.size()));
    if (length == 0 || length >= windows.size()) {
        return {};
    }
    windows.resize(length);
    return std::filesystem::path(windows) / "Fonts";
}

// The faces of the font folder by PostScript name, found on first use.
class Fonts {
  public:
    static Fonts& Get() {
        static Fonts fonts;
        return fonts;
    }
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;

    const std::vector<std::string>& Names() {
        Scan();
        return names_;
    }
    const std::string& DefaultName() {
        Scan();
        return default_;
    }
    MeasuredFace& Find(const std::string& postScriptName) {
        Scan();
        auto it = faces_.find(postScriptName);
        if (it == faces_.end()) {
            it = faces_.find(default_);
        }
        return it == faces_.end() ? files_.Open({}, 0)
                                  : files_.Open(it->second.first, it->second.second);
    }

  private:
    Fonts() = default;

    void Scan() {
        if (scanned_) {
            return;
        }
        scanned_ = true;
        std::vector<std::filesystem::path> files;
        std::error_code error;
        std::filesystem::directory_iterator entries(FontFolder(), error);
        for (; !error && entries != std::filesystem::directory_iterator();
             entries.increment(error)) {
            // Every file FreeType reads is a font, whatever its name.
            std::error_code kind;
            if (entries->is_regular_file(kind)) {
                files.push_back(entries->path());
            }
        }
        // A name that two files give is the first file's, in the order of their names.
        std::sort(files.begin(), files.end());
        for (const std::filesystem::path& file : files) {
            for (auto& [index, name] : files_.PostScriptNames(file)) {
                faces_.emplace(std::move(name), std::make_pair(file, index));
            }
        }
        for (const auto& [name, file] : faces_) {
            names_.push_back(name);
        }
        if (names_.empty()) {
            // Texts would be set without widths: say so once rather than lay them out wrong
            // in silence.
            std::fprintf(stderr,
                         "mesra: no font in %s: texts are laid out without their widths (put "
                         "font files in a folder \"fonts\" beside mesra.exe)\n",
                         reinterpret_cast<const char*>(FontFolder().u8string().c_str()));
            return;
        }
        default_ = names_.front();
        for (const char* name : kDefaultFaces) {
            if (faces_.count(name) != 0) {
                default_ = name;
                break;
            }
        }
        // The default face first: the first font is the measure text's default.
        const auto it = std::find(names_.begin(), names_.end(), default_);
        std::rotate(names_.begin(), it, it + 1);
    }

    bool scanned_ = false;
    FaceFiles files_;
    std::map<std::string, std::pair<std::filesystem::path, int>> faces_;
    std::vector<std::string> names_;
    std::string default_;
};

}  // namespace

std::vector<std::string> InstalledFonts() {
    return Fonts::Get().Names();
}

std::string DefaultSansSerifFont() {
    return Fonts::Get().DefaultName();
}

FaceExtent FaceExtentInEms(const std::string& postScriptName) {
    return Fonts::Get().Find(postScriptName).Extent();
}

double AdvancesInEms(const std::string& postScriptName, std::u32string_view characters) {
    MeasuredFace& face = Fonts::Get().Find(postScriptName);
    double ems = 0;
    for (const char32_t c : characters) {
        ems += face.Advance(c);
    }
    return ems;
}

}  // namespace emulator
