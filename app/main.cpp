// mesra: runs the Mesra plug-in in the emulated host.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "app/CheckCommand.h"
#include "app/CommandLine.h"
#include "app/Demo.h"
#include "app/PluginsFolder.h"
#include "app/Session.h"

namespace {

constexpr int kExitHostFailure = 1;
constexpr int kExitUsage = 2;

// `mesra serve` is the program mesra-serve beside this one, which alone links the web
// server's libraries: the other commands start without loading them. The process becomes
// that program with the same arguments; returns only when it cannot.
int ServeInItsOwnProgram(char** argv, std::string* error) {
    const auto folder = app::ProgramFolder(error);
    if (folder) {
        const std::string server = (*folder / "mesra-serve").string();
        argv[0] = const_cast<char*>(server.c_str());
        execv(server.c_str(), argv);
        *error = "cannot start " + server + ": " + std::strerror(errno);
    }
    std::cerr << "mesra: " << *error << "\n";
    return kExitHostFailure;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string error;
    const auto line = app::ParseCommandLine(arguments, &error);
    if (!line) {
        std::cerr << "mesra: " << error << "\n" << app::UsageText();
        return kExitUsage;
    }
    switch (line->command) {
        case app::Command::Help:
            std::cout << app::UsageText();
            return 0;
        case app::Command::Version:
            std::cout << "mesra " << MESRA_VERSION << "\n";
            return 0;
        case app::Command::Serve:
            return ServeInItsOwnProgram(argv, &error);
        case app::Command::Demo:
        case app::Command::Run:
        case app::Command::Check:
        case app::Command::Update:
            break;
    }
    const auto plugin = app::PreparePlugin(line->plugins, &error);
    if (!plugin) {
        std::cerr << "mesra: " << error << "\n";
        return kExitHostFailure;
    }
    if (line->command == app::Command::Check || line->command == app::Command::Update) {
        return app::RunDimensionCheck(*line, plugin->string(), std::cout, std::cerr,
                                      isatty(STDERR_FILENO) != 0);
    }
    if (line->command == app::Command::Demo) {
        return app::RunDemo(*plugin, line->output, std::cout, std::cerr);
    }
    std::ifstream in(line->session, std::ios::binary);
    if (!in) {
        std::cerr << "mesra: cannot read the session " << line->session << "\n";
        return kExitUsage;
    }
    const std::string script((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    app::SessionError sessionError;
    const auto session = app::ParseSession(script, &sessionError);
    if (!session) {
        std::cerr << "mesra: " << line->session << ":" << sessionError.line << ": "
                  << sessionError.message << "\n";
        return kExitUsage;
    }
    return app::RunSession(*session, plugin->string(), *line, std::cout, std::cerr);
}
