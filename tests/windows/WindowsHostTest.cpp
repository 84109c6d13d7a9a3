// The emulated host's Windows code, run under Wine: the plug-in file's resources read from
// the DLL, the keys published to the system, whole-file saves and the paths handed to the
// plug-in. Expected values come from the resource sources and from Windows' own key state.
//
//   mesra_windows_host_test PLUGIN.aip SOURCE_DIR WORK_DIR
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>

#include "emulator/core/Host.h"
#include "emulator/core/PluginModule.h"
#include "emulator/core/SystemKeys.h"
#include "emulator/core/Unicode.h"
#include "emulator/platform/FileSave.h"
#include "plugin/host/Platform.h"

namespace {

namespace fs = std::filesystem;
using emulator::PathFromUtf8;

int failures = 0;

void Check(bool holds, const std::string& what) {
    if (!holds) {
        ++failures;
        std::printf("FAILED: %s\n", what.c_str());
    }
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The plug-in installed in a folder whose name holds spaces and accented letters is loaded
// with its code, and its resources are those of the sources: the property list, the image
// map as written, and every image it lists that the DLL stores, byte for byte.
void ResourcesOfTheDll(const fs::path& plugin, const fs::path& sources, const fs::path& work) {
    const fs::path folder = work / PathFromUtf8("Modules externes été");
    fs::create_directories(folder);
    const fs::path installed = folder / plugin.filename();
    fs::copy_file(plugin, installed, fs::copy_options::overwrite_existing);
    std::string error;
    const auto module = emulator::PluginModule::Load(installed, &error);
    Check(module != nullptr, "the plug-in loads: " + error);
    if (module == nullptr) {
        return;
    }
    Check(module->CodeLoaded(), "its code is loaded");
    const auto& properties = module->Bundle().Properties();
    Check(properties && properties->kind == "SPEA" && properties->codeEntry == "PluginMain" &&
              properties->pluginName == "Mesra" && properties->interfaceVersion == 2,
          "the property list names the entry point");
    const fs::path resources = sources / "plugin" / "resources";
    const std::string* map = module->Bundle().Text("IDTOFILE");
    const std::string expectedMap = ReadFile(resources / "IDToFile.txt");
    Check(map != nullptr && *map == expectedMap, "the image map is the sources' one");
    const std::regex line(R"(^(\d+)\.png\t\t([A-Za-z0-9]+\.png)\r?$)");
    std::istringstream in(expectedMap);
    std::size_t stored = 0;
    for (std::string text; std::getline(in, text);) {
        std::smatch match;
        if (!std::regex_match(text, match, line)) {
            continue;
        }
        const int id = std::stoi(match[1]);
        const std::string name = match[2];
        std::string source;
        for (const char* kind : {"icons", "cursors"}) {
            if (fs::exists(resources / kind / name)) {
                source = ReadFile(resources / kind / name);
            }
        }
        const auto* png = module->Bundle().Png(id);
        if (source.empty()) {
            Check(png == nullptr, name + " is listed only");
            continue;
        }
        ++stored;
        Check(png != nullptr && std::string(png->begin(), png->end()) == source,
              name + " is stored as " + std::to_string(id));
    }
    Check(stored == 21 && module->Bundle().Pngs().size() == stored, "21 images, no other");
}

bool SystemHolds(int virtualKey) {
    return (static_cast<unsigned short>(GetAsyncKeyState(virtualKey)) & 0x8000u) != 0;
}

// The keys the host publishes are the system's: each one named is down, every other up,
// Shift follows the two Shift keys, and nothing stays held once the host is gone.
void KeysReachTheSystem() {
    struct Case {
        std::set<ASInt32> named;
        std::set<int> held;
    };
    using K = platform::Key;
    const auto k = [](K key) { return static_cast<ASInt32>(key); };
    const Case cases[] = {
        {{k(K::Shift)}, {VK_SHIFT, VK_LSHIFT}},
        {{k(K::RightShift), k(K::Ctrl)}, {VK_SHIFT, VK_RSHIFT, VK_CONTROL}},
        {{k(K::Alt), k(K::Space), k(K::Esc)}, {VK_MENU, VK_SPACE, VK_ESCAPE}},
        {{k(K::LeftShift), k(K::RightShift)}, {VK_SHIFT, VK_LSHIFT, VK_RSHIFT}},
        {{}, {}},
    };
    const int keys[] = {VK_SHIFT, VK_LSHIFT, VK_RSHIFT, VK_CONTROL, VK_MENU, VK_SPACE, VK_ESCAPE};
    {
        emulator::Host host;
        int step = 0;
        for (const Case& c : cases) {
            host.SetKeys(c.named);
            for (const int key : keys) {
                Check(SystemHolds(key) == (c.held.count(key) != 0),
                      "step " + std::to_string(step) + ": key " + std::to_string(key));
            }
            ++step;
        }
        host.SetKeys({k(K::Alt), k(K::Shift)});
    }
    Check(!SystemHolds(VK_MENU) && !SystemHolds(VK_SHIFT), "a host releases its keys as it goes");
    // A key left down by a host that ended without releasing it is released by the next.
    emulator::PublishHeldKeys({k(K::Ctrl)});
    Check(SystemHolds(VK_CONTROL), "Ctrl is down");
    emulator::Host next;
    Check(!SystemHolds(VK_CONTROL), "a new host starts with no key held");
}

// A save replaces the file whole, under a name with accented letters, and leaves no
// temporary file; a dead process's temporary goes, a live one's stays; a folder that is not
// there is a failure that names the file.
void SavesAreWhole(const fs::path& work) {
    const fs::path folder = work / PathFromUtf8("Dessins à côté");
    fs::create_directories(folder);
    const fs::path file = folder / PathFromUtf8("plan-étagère.svg");
    const std::string prefix = emulator::TemporaryPrefix(file);
    const fs::path dead = folder / PathFromUtf8(prefix + "4000000000-1");
    const fs::path live =
        folder / PathFromUtf8(prefix + std::to_string(GetCurrentProcessId()) + "-7");
    std::ofstream(file) << "old";
    std::ofstream(dead) << "x";
    std::ofstream(live) << "x";
    std::string error;
    Check(emulator::WriteFileWhole(file, "new\n", &error), "the save succeeds: " + error);
    Check(ReadFile(file) == "new\n", "the file holds the new bytes only");
    Check(!fs::exists(dead) && fs::exists(live), "only the dead process's temporary goes");
    fs::remove(live);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) {
        ++entries;
    }
    Check(entries == 1, "no temporary file is left");
    const fs::path nowhere = folder / "missing" / "a.svg";
    Check(!emulator::WriteFileWhole(nowhere, "x", &error) &&
              error.find(emulator::Utf8FromPath(nowhere)) == 0,
          "a save into a missing folder fails and names the file");
}

// The plug-in reads paths in the ANSI code page (Windows-1252 here); a path that code page
// cannot write is refused rather than handed over garbled.
void PathsInThePluginsCodePage() {
    const auto text = emulator::PluginPathText(PathFromUtf8("C:\\Modules été\\a.aip"));
    Check(text && *text == "C:\\Modules \xE9t\xE9\\a.aip", "accents in Windows-1252");
    Check(text && emulator::PathFromPluginText(*text) == PathFromUtf8("C:\\Modules été\\a.aip"),
          "the path comes back whole");
    Check(!emulator::PluginPathText(PathFromUtf8("C:\\Ωmega\\a.aip")), "Greek is refused");
    emulator::Host host;
    std::string error;
    Check(!host.LoadPlugin(PathFromUtf8("C:\\Ωmega\\a.aip"), &error) && !error.empty(),
          "the host refuses to load a plug-in whose path it cannot hand over");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::printf("usage: mesra_windows_host_test PLUGIN.aip SOURCE_DIR WORK_DIR\n");
        return 2;
    }
    const fs::path work = argv[3];
    fs::remove_all(work);
    fs::create_directories(work);
    ResourcesOfTheDll(argv[1], argv[2], work);
    KeysReachTheSystem();
    SavesAreWhole(work);
    PathsInThePluginsCodePage();
    std::printf("%s\n", failures == 0 ? "all checks passed" : "some checks failed");
    return failures == 0 ? 0 : 1;
}
