// The command line of the mesra program.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace app {

enum class Command { Help, Version, Demo, Run, Check, Update, Serve };

struct CommandLine {
    Command command = Command::Help;
    std::string session;   // run: the session script
    std::string document;  // --doc
    std::string output;    // --out (demo: a folder; run: an SVG file)
    std::string dump;      // --dump
    std::string view;      // --view: the view picture, PNG or SVG
    std::string plugins;   // --plugins
    bool json = false;     // check, update: --json
    std::string host;      // serve: --host, the address listened on
    int port = 8080;       // serve: --port (0: any free port)
};

// Parses the arguments after the program name. Options may come before or after the
// session or drawing file. On a bad command line returns nothing and says why in *error.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments,
                                            std::string* error);

// The text of `mesra --help`.
const char* UsageText();

}  // namespace app
