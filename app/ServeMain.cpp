// mesra-serve: the command `mesra serve`, in a program of its own so that the web server's
// libraries (and the TLS library they bring) load only when a page is served. `mesra`
// starts it with its own arguments.
#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/PluginsFolder.h"
#include "app/WebServer.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string error;
    const auto line = app::ParseCommandLine(arguments, &error);
    if (!line || line->command != app::Command::Serve) {
        std::cerr << "mesra: " << (line ? "mesra-serve only serves" : error) << "\n"
                  << app::UsageText();
        return 2;
    }
    const auto plugin = app::PreparePlugin(line->plugins, &error);
    if (!plugin) {
        std::cerr << "mesra: " << error << "\n";
        return 1;
    }
    return app::RunServe(*line, *plugin, std::cout, std::cerr);
}
