#include "app/CommandLine.h"

#include <cctype>
#include <map>

namespace app {
namespace {

bool EndsWithPictureExtension(const std::string& file) {
    std::string extension = file.size() >= 4 ? file.substr(file.size() - 4) : std::string();
    for (char& c : extension) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return extension == ".png" || extension == ".svg";
}

}  // namespace

const char* UsageText() {
#ifdef _WIN32
    // The Windows build runs sessions and the demo; it draws no view pictures, and checks,
    // updates and the browser page are the Linux build's.
    return "usage:\n"
           "  mesra demo [--out DIR]\n"
           "      run the bundled demo: the plug-in's start-up, its registrations and every\n"
           "      tool on a bundled drawing, written to DIR (no pictures on Windows)\n"
           "  mesra run SESSION [--doc IN.svg] [--out OUT.svg] [--dump OUT.json] [--plugins DIR]\n"
           "      replay the session script SESSION (one command a line) on IN.svg\n"
           "  mesra --help | --version\n"
           "\n"
           "  --plugins DIR  the host's plug-ins folder, where the plug-in, its preferences\n"
           "                 and its sounds live (default: %APPDATA%\\mesra\\Plug-ins)\n"
           "\n"
           "check, update, serve, view lines and --view are commands of the Linux build.\n"
           "\n"
           "exit status: 0 success, 2 bad command line or session line, 1 host or plug-in\n"
           "failure\n";
#else
    return "usage:\n"
           "  mesra demo [--out DIR]\n"
           "      run the bundled demo: the plug-in's start-up, its registrations and every\n"
           "      tool on a bundled drawing, written to DIR\n"
           "  mesra run SESSION [--doc IN.svg] [--out OUT.svg] [--dump OUT.json]\n"
           "            [--view OUT.png] [--plugins DIR]\n"
           "      replay the session script SESSION (one command a line) on IN.svg; --view\n"
           "      writes what the view shows at the end (PNG or SVG)\n"
           "  mesra check IN.svg [--json] [--plugins DIR]\n"
           "      tell which dimensions of IN.svg no longer show the size of what they\n"
           "      measure (exit status 1 when one does not, or its path is missing)\n"
           "  mesra update IN.svg [--out OUT.svg] [--json] [--plugins DIR]\n"
           "      bring every linked dimension of IN.svg up to date, as an Alt+click with\n"
           "      each tool does, and write the drawing to OUT.svg (or over IN.svg)\n"
           "  mesra serve [--doc IN.svg] [--port N] [--host ADDRESS] [--plugins DIR]\n"
           "      the tools in a browser page on IN.svg (or a blank page), at\n"
           "      http://127.0.0.1:8080/ unless --host and --port say otherwise\n"
           "  mesra --help | --version\n"
           "\n"
           "  --plugins DIR  the host's plug-ins folder, where the plug-in, its preferences\n"
           "                 and its sounds live (default: $XDG_DATA_HOME/mesra/Plug-ins)\n"
           "\n"
           "exit status: 0 success, 2 bad command line or session line, 1 host or plug-in\n"
           "failure\n";
#endif
}

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments,
                                            std::string* error) {
    CommandLine line;
    std::vector<std::string> positional;
    const std::map<std::string, std::string CommandLine::*> options = {
        {"--doc", &CommandLine::document},    {"--out", &CommandLine::output},
        {"--dump", &CommandLine::dump},       {"--view", &CommandLine::view},
        {"--plugins", &CommandLine::plugins}, {"--host", &CommandLine::host},
    };
    std::string port;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            line.command = Command::Help;
            return line;
        }
        if (argument == "--json") {
            line.json = true;
            continue;
        }
        if (argument == "--version") {
            line.command = Command::Version;
            return line;
        }
        std::string name = argument;
        std::string value;
        bool hasValue = false;
        if (const auto equals = argument.find('=');
            argument.rfind("--", 0) == 0 && equals != std::string::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
            hasValue = true;
        }
        if (name == "--port") {
            if (!hasValue && i + 1 < arguments.size()) {
                value = arguments[++i];
                hasValue = true;
            }
            port = value;
            if (port.empty() || port.size() > 5 ||
                port.find_first_not_of("0123456789") != std::string::npos ||
                std::stoi(port) > 65535) {
                *error = "--port takes a port number from 0 to 65535";
                return std::nullopt;
            }
            line.port = std::stoi(port);
            continue;
        }
        if (auto option = options.find(name); option != options.end()) {
            if (!hasValue) {
                if (i + 1 >= arguments.size()) {
                    *error = "option " + name + " needs a value";
                    return std::nullopt;
                }
                value = arguments[++i];
            }
            if (value.empty()) {
                *error = "option " + name + " needs a value";
                return std::nullopt;
            }
            line.*(option->second) = value;
            continue;
        }
        if (argument.rfind("-", 0) == 0 && argument.size() > 1) {
            *error = "unknown option: " + argument;
            return std::nullopt;
        }
        positional.push_back(argument);
    }
    if (positional.empty()) {
        *error = "a command is expected (demo, run, check, update or serve)";
        return std::nullopt;
    }
    const std::string& command = positional[0];
    if ((!port.empty() || !line.host.empty()) && command != "serve") {
        *error = "--port and --host go with serve";
        return std::nullopt;
    }
    if (command == "serve") {
        if (positional.size() > 1 || !line.output.empty() || !line.dump.empty() ||
            !line.view.empty() || line.json) {
            *error = "serve takes only --doc, --port, --host and --plugins";
            return std::nullopt;
        }
        line.command = Command::Serve;
        return line;
    }
    if (line.json && command != "check" && command != "update") {
        *error = "--json goes with check and update";
        return std::nullopt;
    }
    if (command == "demo") {
        if (positional.size() > 1) {
            *error = "demo takes no argument: " + positional[1];
            return std::nullopt;
        }
        if (!line.document.empty() || !line.dump.empty() || !line.view.empty()) {
            *error = "demo takes only --out and --plugins";
            return std::nullopt;
        }
        line.command = Command::Demo;
        return line;
    }
    if (command == "run") {
        if (positional.size() != 2) {
            *error =
                positional.size() < 2 ? "run needs a session file" : "run takes one session file";
            return std::nullopt;
        }
        if (!line.view.empty() && !EndsWithPictureExtension(line.view)) {
            *error = "--view writes a .png or .svg file: " + line.view;
            return std::nullopt;
        }
        line.command = Command::Run;
        line.session = positional[1];
        return line;
    }
    if (command == "check" || command == "update") {
        if (positional.size() != 2) {
            *error = command +
                     (positional.size() < 2 ? " needs a drawing (IN.svg)" : " takes one drawing");
            return std::nullopt;
        }
        if (!line.document.empty() || !line.dump.empty() || !line.view.empty() ||
            (command == "check" && !line.output.empty())) {
            *error = command == "check" ? "check takes only --json and --plugins"
                                        : "update takes only --out, --json and --plugins";
            return std::nullopt;
        }
        line.command = command == "check" ? Command::Check : Command::Update;
        line.document = positional[1];
        return line;
    }
    *error = "unknown command: " + command;
    return std::nullopt;
}

}  // namespace app
