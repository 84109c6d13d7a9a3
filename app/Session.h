// Session scripts: one user action a line, replayed in the emulated host.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace app {

struct SessionLine {
    int number = 0;
    std::string command;
    std::vector<std::string> arguments;
};

struct SessionError {
    int line = 0;
    std::string message;
};

// The virtual key code of a key a session names ("shift", "alt", "ctrl", "esc", "space",
// "lshift", "rshift"); nothing for another word.
std::optional<int> SessionKeyCode(const std::string& name);

// Reads a script: `#` starts a comment, blank lines are skipped, every command and its
// arguments are checked before anything runs. On a bad line returns nothing and fills
// *error with its number and the reason.
std::optional<std::vector<SessionLine>> ParseSession(const std::string& text, SessionError* error);

// Runs a parsed session with the plug-in at `plugin`; prints the host's events to `out` and
// failures to `err`. The artwork of `options.document` is opened first; files a line names
// are taken relative to the folder of `options.session` (the options' and the lines' file
// names are UTF-8). Returns the exit status: 0, 1
// when the host or the plug-in failed, 2 for a line that cannot be carried out.
int RunSession(const std::vector<SessionLine>& lines, const std::filesystem::path& plugin,
               const CommandLine& options, std::ostream& out, std::ostream& err);

}  // namespace app
