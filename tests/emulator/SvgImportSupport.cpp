#include "tests/emulator/SvgImportSupport.h"

#include <gtest/gtest.h>

namespace testing_support::svg_import {

using emulator::Art;
using emulator::ArtType;
using emulator::Document;
using emulator::ReadSvg;

std::string Svg(const std::string& body, const std::string& rootAttributes) {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\""
           " xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\""
           " xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\" " +
           rootAttributes + ">" + body + "</svg>";
}

std::unique_ptr<Document> Read(const std::string& body, const std::string& rootAttributes) {
    std::string error;
    auto document = ReadSvg(Svg(body, rootAttributes), &error);
    EXPECT_NE(document, nullptr) << error;
    return document;
}

const std::vector<std::unique_ptr<Art>>& AllArt(const Document& document) {
    for (const auto& layer : document.layers) {
        if (!layer->art.empty()) {
            return layer->art;
        }
    }
    static const std::vector<std::unique_ptr<Art>> kNone;
    return kNone;
}

const Art* OnlyArt(const Document* document) {
    if (!document) {
        return nullptr;
    }
    const auto& art = AllArt(*document);
    EXPECT_EQ(art.size(), 1u);
    return art.size() == 1 ? art.front().get() : nullptr;
}

Anchor Plain(double x, double y) {
    return {x, y, x, y, x, y, 1};
}

void ExpectAnchors(const Art* art, const std::vector<Anchor>& expected, double k) {
    ASSERT_NE(art, nullptr);
    ASSERT_EQ(art->type, ArtType::Path);
    ASSERT_EQ(art->segments.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("anchor " + std::to_string(i));
        const auto& s = art->segments[i];
        const Anchor& e = expected[i];
        EXPECT_NEAR(s.p.h, e.px * k, kTolerance);
        EXPECT_NEAR(s.p.v, -e.py * k, kTolerance);
        EXPECT_NEAR(s.in.h, e.inx * k, kTolerance);
        EXPECT_NEAR(s.in.v, -e.iny * k, kTolerance);
        EXPECT_NEAR(s.out.h, e.outx * k, kTolerance);
        EXPECT_NEAR(s.out.v, -e.outy * k, kTolerance);
        EXPECT_EQ(s.corner, e.corner);
    }
}

}  // namespace testing_support::svg_import
