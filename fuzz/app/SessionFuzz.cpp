// Turns arbitrary bytes into a user's session on a small drawing (RandomSession) and runs it
// through the plug-in's entry point in the emulated host, as `mesra run` does: every run
// must end well (the lines are all valid, so nothing but success is right), and the drawing
// it saves must be well-formed XML with finite numbers. The first byte picks the drawing:
// plain artwork, or artwork that already holds dimensions of every kind.
#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/PluginsFolder.h"
#include "app/Session.h"
#include "fuzz/support/RandomSession.h"
#include "fuzz/support/WrittenSvgCheck.h"

namespace {

namespace fs = std::filesystem;

struct Drawing {
    std::string name;
    std::vector<fuzzing::Target> targets;
};

struct Setup {
    fs::path folder;
    fs::path plugin;
    std::array<Drawing, 2> drawings;
};

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Setup& TheSetup() {
    static Setup setup = [] {
        Setup s;
        s.folder = fs::temp_directory_path() / ("mesra-fuzz-" + std::to_string(getpid()));
        fs::create_directories(s.folder);
        std::string error;
        const auto installed = app::InstallPlugin(s.folder, MESRA_PLUGIN_PATH, &error);
        if (!installed) {
            std::fprintf(stderr, "cannot install the plug-in: %s\n", error.c_str());
            std::abort();
        }
        s.plugin = *installed;
        // Loaded once for the whole run: each session's host loads and unloads it again
        // without the code moving, which the fuzzer's coverage counters need.
        dlopen(s.plugin.c_str(), RTLD_NOW | RTLD_NODELETE);
        const std::array<const char*, 2> names = {"drawing.svg", "drawing-cotes.svg"};
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string svg = ReadAll(fs::path(MESRA_SOURCE_DIR) / "examples" / names[i]);
            std::ofstream(s.folder / names[i], std::ios::binary) << svg;
            s.drawings[i] = {names[i], fuzzing::TargetsOf(svg)};
        }
        return s;
    }();
    return setup;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    Setup& setup = TheSetup();
    const Drawing& drawing = setup.drawings[data[0] % setup.drawings.size()];
    const std::string script =
        fuzzing::SessionFromBytes({data + 1, size - 1}, drawing.targets, drawing.name);
    app::SessionError error;
    const auto lines = app::ParseSession(script, &error);
    if (!lines) {
        std::fprintf(stderr, "line %d refused: %s\n%s", error.line, error.message.c_str(),
                     script.c_str());
        __builtin_trap();
    }
    app::CommandLine options;
    options.session = (setup.folder / "session.txt").string();
    options.document = (setup.folder / drawing.name).string();
    options.output = (setup.folder / "out.svg").string();
    std::ostringstream out;
    std::ostringstream err;
    const int status = app::RunSession(*lines, setup.plugin.string(), options, out, err);
    if (status != 0) {
        std::fprintf(stderr, "the session ended with %d: %s\n%s", status, err.str().c_str(),
                     script.c_str());
        __builtin_trap();
    }
    const std::string problem = fuzzing::ProblemInWrittenSvg(ReadAll(options.output));
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n%s", problem.c_str(), script.c_str());
        __builtin_trap();
    }
    return 0;
}
