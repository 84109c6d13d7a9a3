// Documents nested far deeper than any drawing: the reader, the writer and the host's walks
// of the art tree keep stacks of their own, so that 30,000 levels overflow nothing (the
// sanitizer build's larger frames overflowed a recursion long before), and the written text
// grows with the file, not with the square of its depth.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "emulator/core/ArtTree.h"
#include "emulator/core/Dump.h"
#include "emulator/core/HitTest.h"
#include "emulator/core/Host.h"
#include "emulator/svg/SvgExport.h"
#include "emulator/svg/SvgImport.h"
#include "plugin/host/ArtworkSuites.h"
#include "tests/support/HostFixture.h"

namespace {

using namespace emulator;

constexpr int kLevels = 30000;

std::size_t Count(std::string_view text, std::string_view what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string_view::npos;
         at = text.find(what, at + what.size())) {
        ++n;
    }
    return n;
}

// What a written group costs past the indented levels: "<g>" and "</g>".
constexpr std::size_t kGroupTags = 7;

TEST(DeepNesting, AFileNested30000DeepIsReadAndWrittenBack) {
    std::string input = "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100'>";
    for (int i = 0; i < kLevels; ++i) {
        input += "<g>";
    }
    input += "<path d='M 10 20 L 30 40'/>";
    for (int i = 0; i < kLevels; ++i) {
        input += "</g>";
    }
    input += "</svg>";
    std::string error;
    const auto document = ReadSvg(input, &error);
    ASSERT_NE(document, nullptr) << error;
    const std::string written = WriteSvg(*document);
    // Every level comes back; the first 16 take a line each, indented two spaces a level
    // (at most 16 × 35 bytes more than the file), the rest their tags alone.
    EXPECT_EQ(Count(written, "<g>"), static_cast<std::size_t>(kLevels));
    EXPECT_EQ(Count(written, "</g>"), static_cast<std::size_t>(kLevels));
    EXPECT_LT(written.size(), input.size() + 1024);
    EXPECT_NE(written.find("d=\"M 10 20 L 30 40\""), std::string::npos);
    const auto again = ReadSvg(written, &error);
    ASSERT_NE(again, nullptr) << error;
    EXPECT_EQ(DumpJson(*again), DumpJson(*document));
}

// The art tree the reader makes stops at 256 levels, but a plug-in can nest groups as deep
// as it likes: extents, copies, matching art, hit tests with and without the index, the
// dump, the writer, disposal and the document's end walk a chain of 30,000 groups.
TEST(DeepNesting, TheHostWalksAnArtTree30000Deep) {
    Host host;
    testing_support::HeldSuites suites(host);
    const AIArtSuite* art = nullptr;
    const AIMatchingArtSuite* matching = nullptr;
    ASSERT_TRUE(suites.Acquire(art, matching));
    host.NewDocument(100, 100);
    Document& document = *host.CurrentDocument();
    Layer& layer = *document.layers.front();
    Art* top = nullptr;
    Art* inner = nullptr;
    for (int i = 0; i < kLevels; ++i) {
        auto group = std::make_unique<Art>();
        group->type = ArtType::Group;
        inner = InsertArt(layer, inner, kPlaceInsideOnTop, std::move(group));
        top = top != nullptr ? top : inner;
    }
    auto path = std::make_unique<Art>();
    path->segments = {{{10, -20}, {10, -20}, {10, -20}, 1}, {{30, -40}, {30, -40}, {30, -40}, 1}};
    const Art* line = InsertArt(layer, inner, kPlaceInsideOnTop, std::move(path));
    const AIArtHandle topHandle = host.HandleOf(top);

    // The extent is the line's box, from the top group down.
    AIRealRect bounds{};
    ASSERT_EQ(art->GetArtBounds(topHandle, &bounds), 0);
    EXPECT_EQ(bounds.left, 10);
    EXPECT_EQ(bounds.top, -20);
    EXPECT_EQ(bounds.right, 30);
    EXPECT_EQ(bounds.bottom, -40);
    // The middle of the line, (20, −30), is found by either search.
    for (HitIndex* index : {static_cast<HitIndex*>(nullptr), host.Index()}) {
        EXPECT_EQ(HitTestDocument(document, {20, -30}, 2, kHitSegments, nullptr, index).art, line);
    }
    EXPECT_EQ(Count(DumpJson(document), "\"type\":\"group\""), static_cast<std::size_t>(kLevels));

    AIArtHandle copy = nullptr;
    ASSERT_EQ(art->DuplicateArt(topHandle, kPlaceAbove, topHandle, &copy), 0);
    AIArtHandle paths[3] = {};
    ASInt32 n = 0;
    ASSERT_EQ(matching->GetMatchingArt(kPathArt, 0, 0, paths, 3, &n), 0);
    EXPECT_EQ(n, 2);
    // Both chains are written whole, a level costing its two tags.
    const std::string written = WriteSvg(document);
    EXPECT_EQ(Count(written, "<g>"), static_cast<std::size_t>(2 * kLevels));
    EXPECT_LT(written.size(), 2 * kGroupTags * kLevels + 2048);

    ASSERT_EQ(art->DisposeArt(copy), 0);
    EXPECT_FALSE(host.IsLiveArt(copy));
    ASSERT_EQ(matching->GetMatchingArt(kPathArt, 0, 0, paths, 3, &n), 0);
    EXPECT_EQ(n, 1);
    EXPECT_TRUE(host.Violations().empty());
}

}  // namespace
