// Alt+click rebuilds every dimension of a kind. The rebuild reads the measured paths'
// records once; it must leave exactly the document that finding each path by listing the
// whole drawing leaves, whatever the drawing went through since the dimensions were made.
#include <gtest/gtest.h>

#include <sstream>

#include "emulator/core/Dump.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/tools/HostArt.h"
#include "plugin/tools/ModifyDimension.h"
#include "tests/support/GeneratedDrawing.h"
#include "tests/support/InProcessPlugin.h"
#include "tests/support/SessionFixture.h"

namespace {

using testing_support::GeneratedDrawing;
using testing_support::InProcessPlugin;

class RebuildAll : public testing_support::SessionFixture {
  protected:
    static constexpr int kPaths = 240;

    // The generated drawing with a dimension of each kind on each of its lines and
    // circles: whole segments, pairs of anchors, radii and arc angles.
    // With `recount`, a selection change after every click makes the plug-in count the link
    // numbers from the whole drawing each time.
    std::string DimensionedDrawing(bool recount = false) {
        Write("generated.svg", GeneratedDrawing(kPaths));
        const int side = testing_support::GridSide(kPaths);
        std::ostringstream session;
        session << "doc generated.svg\n";
        const auto cell = [side](int i) {
            return std::pair{(i % side) * testing_support::kCellSize + 5,
                             (i / side) * testing_support::kCellSize + 5};
        };
        session << "tool segment\n";
        for (int i = 0; i < kPaths; i += 3) {
            const auto [x, y] = cell(i);
            session << "click " << x + 15 << " " << y + 10 << "\n";
            if (i % 2 == 0) {
                session << "click " << x << " " << y << "\nclick " << x + 30 << " " << y + 20
                        << "\n";
            }
        }
        for (const char* tool : {"circle", "angle"}) {
            session << "tool " << tool << "\n";
            for (int i = 2; i < kPaths; i += 3) {
                const auto [x, y] = cell(i);
                session << "click " << x + 15 + 8.485 << " " << y + 15 + 8.485 << "\n";
            }
        }
        session << "save dimensioned.svg\n";
        std::string script = session.str();
        for (std::size_t at = script.find("click"); recount && at != std::string::npos;
             at = script.find("click", at + 1)) {
            script.insert(at, "notify selection\n");
            at += 17;
        }
        Session(script);
        return Read("dimensioned.svg");
    }

    // The drawing edited after its dimensions were made, then rebuilt kind by kind.
    static std::string EditedAndRebuilt(const std::string& svg, tools::PathSearch search) {
        emulator::HostOptions options;
        options.fonts = testing_support::FixedFonts();
        InProcessPlugin plugin(svg, options);
        EXPECT_TRUE(plugin.Ready());
        settings::SetDefaults(settings::Settings(), "");
        std::vector<AIArtHandle> paths;
        EXPECT_EQ(tools::ReachablePaths(&paths), 0);
        int measured = 0;
        for (AIArtHandle path : paths) {
            if (tools::IsDimensionArt(path) || tools::HasTag(path, "vorn")) {
                continue;
            }
            ++measured;
            if (measured % 4 == 0) {
                // Stretched: every measure of it changes.
                const AIRealMatrix stretch{1.25, 0, 0, 1.1, 0, 0};
                EXPECT_EQ(sAITransformArt->TransformArt(path, &stretch, 1, kTransformObjects), 0);
            } else if (measured % 9 == 0) {
                // A copy above it carries the same records: the copy is found first.
                AIArtHandle copy = nullptr;
                EXPECT_EQ(sAIArt->DuplicateArt(path, kPlaceAbove, path, &copy), 0);
                const AIRealMatrix shift{1, 0, 0, 1, 3, -2};
                EXPECT_EQ(sAITransformArt->TransformArt(copy, &shift, 1, kTransformObjects), 0);
            } else if (measured % 10 == 0) {
                EXPECT_EQ(sAIArt->SetArtUserAttr(path, kArtLocked, kArtLocked), 0);
            } else if (measured % 11 == 0) {
                EXPECT_EQ(sAIArt->DisposeArt(path), 0);
            }
        }
        for (ToolKind kind : {ToolKind::Segment, ToolKind::Circle, ToolKind::Angle}) {
            EXPECT_EQ(tools::RebuildAllOfKind(kind, search), 0);
        }
        EXPECT_TRUE(plugin.Host().Violations().empty());
        return emulator::DumpJson(*plugin.Host().CurrentDocument());
    }
};

TEST_F(RebuildAll, ReadingTheRecordsOnceRebuildsWhatTheLiteralSearchRebuilds) {
    const std::string svg = DimensionedDrawing();
    std::string error;
    const auto before = emulator::ReadSvg(svg, &error);
    ASSERT_NE(before, nullptr) << error;
    ASSERT_GE(Dimensions(*before).size(), 200u);

    const std::string indexed = EditedAndRebuilt(svg, tools::PathSearch::Indexed);
    const std::string literal = EditedAndRebuilt(svg, tools::PathSearch::Literal);
    EXPECT_EQ(indexed, literal);
    // The rebuild did bring the dimensions of the stretched lines (30 × 20 points, now
    // 37.5 × 22) up to date.
    EXPECT_EQ(emulator::DumpJson(*before).find("43,5 pt"), std::string::npos);
    EXPECT_NE(indexed.find("43,5 pt"), std::string::npos);
}

// Link numbers are counted from the drawing once and then given one after another: the
// drawing must be the one that counting them at every click makes.
TEST_F(RebuildAll, LinkNumbersCountedOnceAreThoseCountedAtEachClick) {
    const std::string counted = DimensionedDrawing();
    const std::string recounted = DimensionedDrawing(true);
    EXPECT_EQ(counted, recounted);
    EXPECT_NE(counted.find("mesra:surseg=\"79\""), std::string::npos);
}

}  // namespace
