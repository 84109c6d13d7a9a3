// The mesra command line.
#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace {

using app::ParseCommandLine;

TEST(CommandLine, AcceptedForms) {
    // The command, then the session, document, output, dump, plug-ins folder and view given.
    const auto read = [](const app::CommandLine& line) {
        const char* commands[] = {"help", "version", "demo", "run", "check", "update"};
        return std::string(commands[static_cast<int>(line.command)]) + " " + line.session + "|" +
               line.document + "|" + line.output + "|" + line.dump + "|" + line.plugins +
               (line.view.empty() ? "" : "|" + line.view) + (line.json ? " json" : "");
    };
    const struct {
        std::vector<std::string> arguments;
        const char* expected;
    } cases[] = {
        {{"demo"}, "demo ||||"},
        {{"demo", "--out", "shots"}, "demo ||shots||"},
        {{"--out=shots", "demo"}, "demo ||shots||"},
        {{"run", "s.txt"}, "run s.txt||||"},
        // Options before and after the session file.
        {{"--doc", "in.svg", "run", "s.txt", "--out", "o.svg", "--dump", "d.json"},
         "run s.txt|in.svg|o.svg|d.json|"},
        {{"run", "--plugins", "/tmp/p", "s.txt"}, "run s.txt||||/tmp/p"},
        {{"run", "s.txt", "--view", "v.PNG"}, "run s.txt|||||v.PNG"},
        {{"--help"}, "help ||||"},
        {{"run", "s.txt", "--version"}, "version ||||"},
        {{"check", "in.svg", "--json"}, "check |in.svg||| json"},
        {{"update", "--out", "o.svg", "in.svg"}, "update |in.svg|o.svg||"},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto line = ParseCommandLine(c.arguments, &error);
        ASSERT_TRUE(line.has_value()) << error;
        EXPECT_EQ(read(*line), c.expected);
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
        {"run", "s.txt", "--view", "v.jpg"},
        {"demo", "--view", "v.png"},
        {"check"},
        {"check", "in.svg", "--out", "o.svg"},
        {"update", "in.svg", "--doc", "x.svg"},
        {"run", "s.txt", "--json"},
    };
    for (const auto& arguments : cases) {
        std::string error;
        EXPECT_FALSE(ParseCommandLine(arguments, &error).has_value())
            << (arguments.empty() ? "(nothing)" : arguments[0]);
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
