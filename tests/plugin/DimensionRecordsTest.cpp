// The records that link a dimension to what it measures, on a document of the host.
#include <gtest/gtest.h>

#include <algorithm>

#include "emulator/core/ArtTree.h"
#include "plugin/drawing/DimensionRecords.h"
#include "tests/support/InProcessPlugin.h"

namespace {

using namespace drawing;
using testing_support::InProcessPlugin;

// Three plain paths, and two paths standing for the line halves of a dimension.
const char* const kArtwork = R"(<svg xmlns="http://www.w3.org/2000/svg" width="200" height="200">
  <path d="M 0,0 L 100,0 L 100,100"/>
  <path d="M 0,50 L 100,50"/>
  <path d="M 0,90 L 100,90"/>
  <path d="M 0,150 L 40,150"/>
  <path d="M 60,150 L 100,150"/>
</svg>)";

class RecordsTest : public testing::Test {
  protected:
    RecordsTest() : plugin_(kArtwork, Options()) {
        emulator::ForEachArtInDocumentOrder(*plugin_.Host().CurrentDocument(),
                                            [this](emulator::Art& art) { art_.push_back(&art); });
        // Document order is top first: put the paths back in the order of the file.
        std::reverse(art_.begin(), art_.end());
    }

    static emulator::HostOptions Options() {
        emulator::HostOptions options;
        options.fonts = std::vector<std::string>{};
        return options;
    }

    AIArtHandle Handle(int i) { return plugin_.Host().HandleOf(art_[i]); }
    const emulator::Tags& Tags(int i) { return art_[i]->tags; }
    SegmentRecordArt Halves() { return {Handle(3), Handle(4)}; }

    InProcessPlugin plugin_;
    std::vector<emulator::Art*> art_;
};

TEST_F(RecordsTest, PointLinksNumberPathsAndCopyTheirIndices) {
    ASSERT_TRUE(plugin_.Ready());
    ASSERT_EQ(WritePointLink(Handle(0), 2, Point::First, Halves()), 0);
    ASSERT_EQ(WritePointLink(Handle(1), 1, Point::Second, Halves()), 0);
    EXPECT_EQ(Tags(0).at("segpt1"), "0");
    EXPECT_EQ(Tags(1).at("segpt2"), "0");
    for (int half : {3, 4}) {
        EXPECT_EQ(Tags(half).at("segpt1"), "0");
        EXPECT_EQ(Tags(half).at("num1"), "2");
        EXPECT_EQ(Tags(half).at("segpt2"), "0");
        EXPECT_EQ(Tags(half).at("num2"), "1");
    }
    // Measuring again from the same path reuses its number; another path gets the next.
    SegmentRecordArt other{Handle(2), nullptr};
    ASSERT_EQ(WritePointLink(Handle(0), 0, Point::First, other), 0);
    EXPECT_EQ(Tags(2).at("segpt1"), "0");
    SegmentRecordArt third{Handle(2), nullptr};
    ASSERT_EQ(WritePointLink(Handle(1), 0, Point::First, third), 0);
    EXPECT_EQ(Tags(1).at("segpt1"), "1");
}

// After a linked path is deleted, a new path must not receive a number that a dimension
// still carries, or the dimension would later measure the new path.
TEST_F(RecordsTest, LinkNumbersAreNeverGivenTwice) {
    ASSERT_TRUE(plugin_.Ready());
    SegmentRecordArt halves = Halves();
    ASSERT_EQ(WriteSegmentLink(Handle(0), 0, 1, halves), 0);
    ASSERT_EQ(WriteSegmentLink(Handle(1), 0, 1, {}), 0);
    EXPECT_EQ(Tags(1).at("surseg"), "1");
    // The first measured path goes; its dimension (paths 3 and 4) still carries "0".
    emulator::Art* gone = art_[0];
    plugin_.Host().ForgetArt(*gone);
    emulator::DetachArt(*gone);
    ASSERT_EQ(WriteSegmentLink(Handle(2), 0, 1, {}), 0);
    EXPECT_EQ(Tags(2).at("surseg"), "2");
    EXPECT_EQ(Tags(3).at("num1"), "0");
    EXPECT_EQ(Tags(3).at("num2"), "1");
}

TEST_F(RecordsTest, MeasuredPathIsNeverDimensionArt) {
    ASSERT_TRUE(plugin_.Ready());
    ASSERT_EQ(WritePointLink(Handle(1), 0, Point::First, Halves()), 0);
    for (int half : {3, 4}) {
        ASSERT_EQ(TagAuxiliary(Handle(half)), 0);
        art_[half]->tags["mods"] = "jj";
    }
    // Path 2 pretends to be linked too, but it is dimension art of the "les deux" kind:
    // it carries "vorn" without "mods".
    art_[2]->tags.emplace("segpt1", "0");
    art_[2]->tags["vorn"] = "jj";
    EXPECT_EQ(FindMeasuredPath(Handle(3), "segpt1", "mods"), Handle(1));
    EXPECT_TRUE(plugin_.Host().Alerts().empty());
    // The measured path locked: not found, and the user is told.
    art_[1]->locked = true;
    EXPECT_FALSE(FindMeasuredPath(Handle(3), "segpt1", "mods").has_value());
    ASSERT_EQ(plugin_.Host().Alerts().size(), 1u);
    EXPECT_EQ(plugin_.Host().Alerts()[0],
              "Le tracé correspondant à cette cote n'a pas été trouvé !");
    // Art without a link number: nothing, and no message.
    EXPECT_FALSE(FindMeasuredPath(Handle(0), "segpt1", "mods").has_value());
    EXPECT_EQ(plugin_.Host().Alerts().size(), 1u);
}

// Indices are read in 16-bit arithmetic; a value that is no number refuses the rebuild.
TEST(RecordIndices, OnlyDecimalNumbersAreIndices) {
    const struct {
        const char* text;
        std::optional<std::int16_t> index;
    } cases[] = {{"0", 0},
                 {"17", 17},
                 {"32767", 32767},
                 {"", std::nullopt},
                 {"-1", std::nullopt},
                 {"1a", std::nullopt},
                 {"123456", std::nullopt}};
    for (const auto& c : cases) {
        EXPECT_EQ(ParseIndex(c.text), c.index) << c.text;
    }
}

}  // namespace
