// The mesra command line.
#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace {

using app::Command;
using app::ParseCommandLine;

TEST(CommandLine, AcceptedForms) {
    const struct {
        std::vector<std::string> arguments;
        Command command;
        const char* session;
        const char* document;
        const char* output;
        const char* dump;
        const char* plugins;
    } cases[] = {
        {{"demo"}, Command::Demo, "", "", "", "", ""},
        {{"demo", "--out", "shots"}, Command::Demo, "", "", "shots", "", ""},
        {{"--out=shots", "demo"}, Command::Demo, "", "", "shots", "", ""},
        {{"run", "s.txt"}, Command::Run, "s.txt", "", "", "", ""},
        // Options before and after the session file.
        {{"--doc", "in.svg", "run", "s.txt", "--out", "o.svg", "--dump", "d.json"},
         Command::Run,
         "s.txt",
         "in.svg",
         "o.svg",
         "d.json",
         ""},
        {{"run", "--plugins", "/tmp/p", "s.txt"}, Command::Run, "s.txt", "", "", "", "/tmp/p"},
        {{"--help"}, Command::Help, "", "", "", "", ""},
        {{"run", "s.txt", "--version"}, Command::Version, "", "", "", "", ""},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto line = ParseCommandLine(c.arguments, &error);
        ASSERT_TRUE(line.has_value()) << error;
        EXPECT_EQ(line->command, c.command);
        EXPECT_EQ(line->session, c.session);
        EXPECT_EQ(line->document, c.document);
        EXPECT_EQ(line->output, c.output);
        EXPECT_EQ(line->dump, c.dump);
        EXPECT_EQ(line->plugins, c.plugins);
    }
}

TEST(CommandLine, RefusedForms) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"draw"},
        {"run"},
        {"run", "a.txt", "b.txt"},
        {"demo", "extra"},
        {"demo", "--doc", "in.svg"},
        {"run", "s.txt", "--out"},
        {"run", "s.txt", "--out="},
        {"run", "s.txt", "--colour", "red"},
    };
    for (const auto& arguments : cases) {
        std::string error;
        EXPECT_FALSE(ParseCommandLine(arguments, &error).has_value())
            << (arguments.empty() ? "(nothing)" : arguments[0]);
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
