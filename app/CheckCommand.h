// `mesra check` and `mesra update`: the dimensions of a drawing checked against what they
// measure, and brought up to date.
#pragma once

#include <ostream>
#include <string>

#include "app/CommandLine.h"

namespace app {

// Opens options.document with the plug-in at `plugin` (run from a folder of its own with a
// copy of the preferences beside it), refreshes its dimensions through
// the plug-in and prints one line per dimension and a summary to `out` (a JSON document
// with options.json). check writes nothing; update writes the drawing to options.output,
// or over options.document without it, and prints the dimensions it changed or could not.
// A progress bar goes to `err` when `terminal` is set and the drawing holds more than a
// thousand dimensions. Returns the exit status: 0 when every linked dimension is (now) up
// to date, 1 when one is out of date (check) or its path is missing, 2 when the drawing
// cannot be read; a plug-in that does not start is 1 too, with its reason.
int RunDimensionCheck(const CommandLine& options, const std::string& plugin, std::ostream& out,
                      std::ostream& err, bool terminal);

}  // namespace app
