// Random use of the whole program: sessions spelled by a seeded generator (the whole-session
// fuzz target's) over the bundled drawings and a generated one, with every tool, modifier
// key and notification, moves, clicks and drags near what the drawings hold, zooms, colour
// picker answers, actions undone and done again, and documents opened again. Every line is
// valid, so every run must end with success and no message, and every drawing it saves
// must be well-formed XML with finite numbers. A failure names its seed and drawing: the session is
// spelled again from them.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "fuzz/support/RandomSession.h"
#include "fuzz/support/WrittenSvgCheck.h"
#include "tests/support/GeneratedDrawing.h"
#include "tests/support/SessionFixture.h"

namespace {

namespace fs = std::filesystem;

class RandomSessions : public testing_support::SessionFixture {};

TEST_F(RandomSessions, EndWellAndSaveSoundFiles) {
    const fs::path examples = fs::path(MESRA_SOURCE_DIR) / "examples";
    const std::vector<std::pair<std::string, std::string>> drawings = {
        {"drawing.svg", testing_support::ReadFile(examples / "drawing.svg")},
        {"drawing-cotes.svg", testing_support::ReadFile(examples / "drawing-cotes.svg")},
        {"generated.svg", testing_support::GeneratedDrawing(30)},
    };
    std::string everything;
    int lines = 0;
    for (const auto& [name, svg] : drawings) {
        Write(name, svg);
        const std::vector<fuzzing::Target> targets = fuzzing::TargetsOf(svg);
        ASSERT_FALSE(targets.empty()) << name;
        for (std::uint32_t seed : {1u, 2u, 3u}) {
            SCOPED_TRACE("seed " + std::to_string(seed) + " on " + name);
            std::mt19937 random(seed);
            std::vector<std::uint8_t> bytes(2000);
            for (std::uint8_t& byte : bytes) {
                byte = static_cast<std::uint8_t>(random());
            }
            const std::string script = "doc " + name + "\n" +
                                       fuzzing::SessionFromBytes(bytes, targets, name) +
                                       "save out.svg\n";
            Session(script);
            EXPECT_EQ(fuzzing::ProblemInWrittenSvg(Read("out.svg")), "");
            everything += script;
            lines += Count(script, "\n");
        }
    }
    EXPECT_GT(lines, 4000);
    for (const char* word : {"tool segment",  "tool angle",
                             "tool circle",   "tool bezier",
                             "tool areas",    "tool select",
                             " shift",        " alt",
                             " ctrl",         " esc",
                             " space",        " lshift",
                             " rshift",       "notify selection",
                             "notify opened", "notify customcolor",
                             "picker",        "zoom",
                             "drag",          "new ",
                             "undo",          "redo"}) {
        EXPECT_NE(everything.find(word), std::string::npos) << word << " never tried";
    }
}

// The check itself finds what it is there to find.
TEST(WrittenSvgCheck, FindsMalformedFilesAndNumbersThatAreNotFinite) {
    const std::string good =
        "<svg xmlns=\"http://www.w3.org/2000/svg\"><path d=\"M0,0L1e3,2\" "
        "id=\"Nancy\"/></svg>";
    EXPECT_EQ(fuzzing::ProblemInWrittenSvg(good), "");
    for (const char* bad : {"<svg><path d=\"M0,0 L nan,2\"/></svg>", "<svg x=\"-inf\"/>",
                            "<svg><path d=\"Mnan,0\"/></svg>", "<svg width=\"1e999\"/>",
                            "<svg a=\"1\" a=\"2\"/>", "<svg>&#1;</svg>", "<svg>"}) {
        EXPECT_NE(fuzzing::ProblemInWrittenSvg(bad), "") << bad;
    }
}

}  // namespace
