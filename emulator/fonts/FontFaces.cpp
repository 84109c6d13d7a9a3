// The fonts of this system through fontconfig (which fonts are installed, which file sets a
// name) and FreeType (the metrics of each face).
#include "emulator/core/FontFaces.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <system_error>
#include <utility>

#include "emulator/fonts/FaceFiles.h"
#include "emulator/fonts/FontListCache.h"
#include "emulator/platform/FileSave.h"

namespace emulator {
namespace {

// The fonts of the process: fontconfig's configuration and the FreeType faces, made on
// first use (a session that sets no text loads neither) and released at exit.
class Fonts {
  public:
    static Fonts& Get() {
        static Fonts fonts;
        return fonts;
    }
    ~Fonts() {
        if (config_ != nullptr) {
            FcConfigDestroy(config_);
        }
    }
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;

    // A configuration of our own, destroyed at exit: the library's shared one would stay
    // allocated until the process ends. Null when fontconfig has none.
    FcConfig* Config() {
        if (!configLoaded_) {
            config_ = FcInitLoadConfigAndFonts();
            configLoaded_ = true;
        }
        return config_;
    }

    // The font list and the default face: from the cache file while it is still true, else
    // from the configuration (and then kept in the cache for the next runs).
    const FontListRecord& List() {
        if (!list_) {
            const auto environment = ConfigEnvironment();
            const std::filesystem::path cache = FontListCacheFile();
            if (!cache.empty()) {
                std::ifstream in(cache, std::ios::binary);
                const std::string text{std::istreambuf_iterator<char>(in),
                                       std::istreambuf_iterator<char>()};
                auto record = ReadFontListCache(text);
                if (record && FontListStillTrue(*record, environment, FileStamp)) {
                    list_ = std::move(record);
                    return *list_;
                }
            }
            list_ = ListFromSystem(environment);
            const std::string text = FontListCacheText(*list_);
            if (!cache.empty() && !text.empty()) {
                std::error_code ec;
                std::filesystem::create_directories(cache.parent_path(), ec);
                WriteFileWhole(cache, text, nullptr);
            }
        }
        return *list_;
    }

    MeasuredFace& Find(const std::string& postScriptName) {
        auto it = names_.find(postScriptName);
        if (it == names_.end()) {
            const FileIndex file = Match(postScriptName);
            it = names_.emplace(postScriptName, &files_.Open(file.first, file.second)).first;
        }
        return *it->second;
    }

  private:
    Fonts() = default;

    using FileIndex = std::pair<std::string, int>;

    // The environment variables that choose fontconfig's configuration and font folders.
    static std::vector<std::pair<std::string, std::string>> ConfigEnvironment() {
        std::vector<std::pair<std::string, std::string>> environment;
        for (const char* name : {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT",
                                 "XDG_CONFIG_HOME", "XDG_DATA_HOME", "HOME"}) {
            const char* value = std::getenv(name);
            environment.emplace_back(name, value != nullptr ? value : "");
        }
        return environment;
    }

    // The font list as the configuration tells it, with the paths whose change makes it
    // stale: the font folders (and those below them), the configuration files and their
    // folders, and the user's font folders, there or not.
    FontListRecord ListFromSystem(std::vector<std::pair<std::string, std::string>> environment) {
        FontListRecord record;
        record.environment = std::move(environment);
        FcConfig* config = Config();
        if (config == nullptr) {
            return record;
        }
        FcPattern* pattern = FcPatternCreate();
        FcObjectSet* objects = FcObjectSetBuild(FC_POSTSCRIPT_NAME, nullptr);
        FcFontSet* list = FcFontList(config, pattern, objects);
        std::vector<std::string>& names = record.fonts;
        if (list != nullptr) {
            for (int i = 0; i < list->nfont; ++i) {
                FcChar8* name = nullptr;
                if (FcPatternGetString(list->fonts[i], FC_POSTSCRIPT_NAME, 0, &name) ==
                        FcResultMatch &&
                    name != nullptr && *name != '\0') {
                    names.emplace_back(reinterpret_cast<const char*>(name));
                }
            }
            FcFontSetDestroy(list);
        }
        FcObjectSetDestroy(objects);
        FcPatternDestroy(pattern);
        std::sort(names.begin(), names.end());
        names.erase(std::unique(names.begin(), names.end()), names.end());
        // The plain sans-serif face first: the first font is the measure text's default.
        record.defaultSansSerif = MatchSansSerif();
        if (const auto it = std::find(names.begin(), names.end(), record.defaultSansSerif);
            it != names.end()) {
            std::rotate(names.begin(), it, it + 1);
        }

        std::set<std::string> watched;
        const auto watch = [&](FcStrList* paths, bool withFolder) {
            if (paths == nullptr) {
                return;
            }
            while (FcChar8* path = FcStrListNext(paths)) {
                const std::filesystem::path file(reinterpret_cast<const char*>(path));
                watched.insert(file.string());
                if (withFolder) {
                    watched.insert(file.parent_path().string());
                }
            }
            FcStrListDone(paths);
        };
        watch(FcConfigGetFontDirs(config), false);
        watch(FcConfigGetConfigDirs(config), false);
        watch(FcConfigGetConfigFiles(config), true);
        const auto valueOf = [&](const std::string& name) {
            for (const auto& [key, value] : record.environment) {
                if (key == name) {
                    return value;
                }
            }
            return std::string();
        };
        const std::string home = valueOf("HOME");
        const std::string data =
            !valueOf("XDG_DATA_HOME").empty() ? valueOf("XDG_DATA_HOME") : home + "/.local/share";
        watched.insert(data + "/fonts");
        watched.insert(home + "/.fonts");
        for (const std::string& path : watched) {
            if (!path.empty()) {
                record.watched.emplace_back(path, FileStamp(path));
            }
        }
        return record;
    }

    // The PostScript name of the face fontconfig picks for "sans-serif" (the system's plain
    // text face), or "" when it picks none.
    std::string MatchSansSerif() {
        std::string name;
        FcConfig* config = Config();
        if (config == nullptr) {
            return name;
        }
        FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif"));
        if (pattern == nullptr) {
            return name;
        }
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
            FcChar8* value = nullptr;
            if (FcPatternGetString(match, FC_POSTSCRIPT_NAME, 0, &value) == FcResultMatch &&
                value != nullptr) {
                name = reinterpret_cast<const char*>(value);
            }
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
        return name;
    }

    // The file and face index fontconfig chooses for the name; an empty file when it
    // chooses none.
    FileIndex Match(const std::string& postScriptName) {
        FileIndex found{"", 0};
        FcConfig* config = Config();
        if (config == nullptr) {
            return found;
        }
        FcPattern* pattern = FcPatternCreate();
        if (!postScriptName.empty()) {
            FcPatternAddString(pattern, FC_POSTSCRIPT_NAME,
                               reinterpret_cast<const FcChar8*>(postScriptName.c_str()));
        }
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(config, pattern, &result);
        if (match != nullptr) {
            FcChar8* file = nullptr;
            int index = 0;
            if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
                found.first = reinterpret_cast<const char*>(file);
                if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) {
                    found.second = index;
                }
            }
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
        return found;
    }

    bool configLoaded_ = false;
    FcConfig* config_ = nullptr;
    std::optional<FontListRecord> list_;
    FaceFiles files_;
    std::map<std::string, MeasuredFace*> names_;
};

}  // namespace

std::vector<std::string> InstalledFonts() {
    return Fonts::Get().List().fonts;
}

std::string DefaultSansSerifFont() {
    return Fonts::Get().List().defaultSansSerif;
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
