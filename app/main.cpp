// mesra: runs the Mesra plug-in in the emulated host.
#include <unistd.h>

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
#include "app/WebServer.h"

namespace {

constexpr int kExitHostFailure = 1;
constexpr int kExitUsage = 2;

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
        case app::Command::Demo:
        case app::Command::Run:
        case app::Command::Check:
        case app::Command::Update:
        case app::Command::Serve:
            break;
    }
    const auto shipped = app::ShippedPluginFile(&error);
    if (!shipped) {
        std::cerr << "mesra: " << error << "\n";
        return kExitHostFailure;
    }
    const auto folder =
        line->plugins.empty() ? app::DefaultPluginsFolder() : std::filesystem::path(line->plugins);
    const auto plugin = app::InstallPlugin(folder, *shipped, &error);
    if (!plugin) {
        std::cerr << "mesra: " << error << "\n";
        return kExitHostFailure;
    }
    if (line->command == app::Command::Check || line->command == app::Command::Update) {
        return app::RunDimensionCheck(*line, plugin->string(), std::cout, std::cerr,
                                      isatty(STDERR_FILENO) != 0);
    }
    if (line->command == app::Command::Serve) {
        return app::RunServe(*line, *plugin, std::cout, std::cerr);
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
