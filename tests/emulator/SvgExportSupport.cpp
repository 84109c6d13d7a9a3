#include "tests/emulator/SvgExportSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <tuple>

#include "emulator/core/ArtTree.h"
#include "emulator/svg/SvgExport.h"
#include "emulator/svg/SvgImport.h"

namespace testing_support::svg_export {
namespace {

namespace fs = std::filesystem;
using emulator::Art;
using emulator::ArtType;
using emulator::Document;
using emulator::Layer;
using emulator::Paint;
using emulator::ReadSvg;
using emulator::WriteSvg;

void ExpectSamePaint(const Paint& expected, const Paint& actual) {
    EXPECT_EQ(expected.kind == Paint::Kind::None, actual.kind == Paint::Kind::None);
    EXPECT_NEAR(expected.red, actual.red, kRatioTolerance);
    EXPECT_NEAR(expected.green, actual.green, kRatioTolerance);
    EXPECT_NEAR(expected.blue, actual.blue, kRatioTolerance);
}

// Field by field, with coordinates compared in user units of a document of scale k.
void ExpectSameArt(const Art& expected, const Art& actual, double k) {
    SCOPED_TRACE("art \"" + expected.name + "\"");
    ASSERT_EQ(expected.type, actual.type);
    EXPECT_EQ(expected.name, actual.name);
    EXPECT_EQ(expected.tags, actual.tags);
    EXPECT_EQ(expected.hidden, actual.hidden);
    EXPECT_EQ(expected.locked, actual.locked);
    if (expected.type == ArtType::Path) {
        EXPECT_EQ(expected.closed, actual.closed);
        ASSERT_EQ(expected.segments.size(), actual.segments.size());
        for (std::size_t i = 0; i < expected.segments.size(); ++i) {
            const auto& e = expected.segments[i];
            const auto& a = actual.segments[i];
            for (const auto& [p, q] : {std::pair{e.p, a.p}, {e.in, a.in}, {e.out, a.out}}) {
                EXPECT_NEAR(p.h / k, q.h / k, kTolerance) << "anchor " << i;
                EXPECT_NEAR(p.v / k, q.v / k, kTolerance) << "anchor " << i;
            }
        }
        const auto& s = expected.style;
        const auto& t = actual.style;
        ExpectSamePaint(s.fill, t.fill);
        ExpectSamePaint(s.stroke, t.stroke);
        EXPECT_NEAR(s.strokeWidth / k, t.strokeWidth / k, kTolerance);
        ASSERT_EQ(s.dash.size(), t.dash.size());
        for (std::size_t i = 0; i < s.dash.size(); ++i) {
            EXPECT_NEAR(s.dash[i] / k, t.dash[i] / k, kTolerance);
        }
        EXPECT_NEAR(s.dashOffset / k, t.dashOffset / k, kTolerance);
        EXPECT_EQ(s.cap, t.cap);
        EXPECT_EQ(s.join, t.join);
        EXPECT_NEAR(s.miterLimit, t.miterLimit, kRatioTolerance);
    }
    if (expected.type == ArtType::Text) {
        // Everything but the colour the fill shows is kept as the host's own numbers.
        const auto& e = expected.pointText;
        const auto& a = actual.pointText;
        EXPECT_EQ(e.text, a.text);
        EXPECT_EQ(std::vector(std::begin(e.matrix), std::end(e.matrix)),
                  std::vector(std::begin(a.matrix), std::end(a.matrix)));
        const auto& f = e.features;
        const auto& g = a.features;
        EXPECT_EQ(std::tie(f.font, f.size, f.baselineShift, f.tracking, f.justification,
                           f.firstLineIndent, f.startIndent, f.endIndent, f.spaceBefore,
                           f.spaceAfter, f.fillOverprint, f.fill.kind, f.fill.gray, f.fill.cyan,
                           f.fill.magenta, f.fill.yellow, f.fill.black, f.fill.customName),
                  std::tie(g.font, g.size, g.baselineShift, g.tracking, g.justification,
                           g.firstLineIndent, g.startIndent, g.endIndent, g.spaceBefore,
                           g.spaceAfter, g.fillOverprint, g.fill.kind, g.fill.gray, g.fill.cyan,
                           g.fill.magenta, g.fill.yellow, g.fill.black, g.fill.customName));
        if (f.fill.kind == Paint::Kind::RGB || f.fill.kind == Paint::Kind::Custom) {
            ExpectSamePaint(f.fill, g.fill);
        }
    }
    ASSERT_EQ(expected.children.size(), actual.children.size());
    for (std::size_t i = 0; i < expected.children.size(); ++i) {
        ExpectSameArt(*expected.children[i], *actual.children[i], k);
    }
}

constexpr double kPi = 3.14159265358979323846;

}  // namespace

std::unique_ptr<Document> NewDocument(double width, double height, double k) {
    auto document = std::make_unique<Document>();
    document->width = width;
    document->height = height;
    document->unitScale = k;
    document->layers.push_back(std::make_unique<Layer>());
    document->layers.back()->title = "Calque 1";
    return document;
}

std::unique_ptr<Document> ReadExample() {
    std::string error;
    auto document =
        emulator::ReadSvgFile(fs::path(MESRA_SOURCE_DIR) / "examples" / "drawing.svg", &error);
    EXPECT_NE(document, nullptr) << error;
    return document;
}

std::unique_ptr<Document> Reread(const Document& document) {
    const std::string text = WriteSvg(document);
    std::string error;
    auto again = ReadSvg(text, &error);
    EXPECT_NE(again, nullptr) << error << "\n" << text;
    return again;
}

void ExpectSameModel(const Document& expected, const Document& actual) {
    EXPECT_NEAR(expected.width, actual.width, kTolerance);
    EXPECT_NEAR(expected.height, actual.height, kTolerance);
    EXPECT_NEAR(expected.unitScale, actual.unitScale, kRatioTolerance);
    ASSERT_EQ(expected.layers.size(), actual.layers.size());
    for (std::size_t l = 0; l < expected.layers.size(); ++l) {
        const Layer& e = *expected.layers[l];
        const Layer& a = *actual.layers[l];
        SCOPED_TRACE("layer \"" + e.title + "\"");
        EXPECT_EQ(e.title, a.title);
        EXPECT_EQ(e.locked, a.locked);
        EXPECT_EQ(e.visible, a.visible);
        ASSERT_EQ(e.art.size(), a.art.size());
        for (std::size_t i = 0; i < e.art.size(); ++i) {
            ExpectSameArt(*e.art[i], *a.art[i], expected.unitScale);
        }
    }
}

Layer& LayerTitled(Document& document, const std::string& title) {
    for (const auto& layer : document.layers) {
        if (layer->title == title) {
            return *layer;
        }
    }
    ADD_FAILURE() << "no layer " << title;
    return *document.layers.front();
}

Art* ArtNamed(Document& document, const std::string& name) {
    Art* found = nullptr;
    emulator::ForEachArtInDocumentOrder(
        document, [&](Art& art) { found = found == nullptr && art.name == name ? &art : found; });
    EXPECT_NE(found, nullptr) << "no art " << name;
    return found;
}

std::unique_ptr<Art> StraightPath(const std::vector<std::pair<double, double>>& points, bool closed,
                                  double k) {
    auto art = std::make_unique<Art>();
    art->type = ArtType::Path;
    for (const auto& [x, y] : points) {
        const AIRealPoint p{static_cast<AIReal>(x * k), static_cast<AIReal>(-y * k)};
        art->segments.push_back({p, p, p, 1});
    }
    art->closed = closed;
    art->style.stroke.kind = Paint::Kind::RGB;
    art->style.stroke.red = 1;
    art->style.stroke.blue = 0.2;
    art->style.strokeWidth = 0.35 * k;
    art->style.dash = {2 * k, 1 * k};
    art->style.cap = emulator::LineCap::Round;
    return art;
}

Art* Append(std::vector<std::unique_ptr<Art>>& list, std::unique_ptr<Art> art, Layer* layer,
            Art* parent) {
    art->layer = layer;
    art->parent = parent;
    list.push_back(std::move(art));
    return list.back().get();
}

// A paint's fields in order: kind, gray, red, green, blue, cyan, magenta, yellow, black, the
// custom colour's name and its tint.
Paint GrayPaint(double gray) {
    return {Paint::Kind::Gray, gray, 0, 0, 0, 0, 0, 0, 0, "", 0};
}

Paint RgbPaint(double red, double green, double blue) {
    return {Paint::Kind::RGB, 0, red, green, blue, 0, 0, 0, 0, "", 0};
}

Paint CmykPaint(double cyan, double magenta, double yellow, double black) {
    return {Paint::Kind::CMYK, 0, 0, 0, 0, cyan, magenta, yellow, black, "", 0};
}

Paint CustomPaint(const std::string& name, double tint, double red, double green, double blue) {
    return {Paint::Kind::Custom, 0, red, green, blue, 0, 0, 0, 0, name, tint};
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::unique_ptr<Art> TextArt(const std::u16string& text, double degrees, double x, double y,
                             double k) {
    auto art = std::make_unique<Art>();
    art->type = ArtType::Text;
    art->pointText.text = text;
    art->pointText.features.font = "DejaVuSans";
    art->pointText.features.size = 10;
    const double angle = degrees * kPi / 180;
    const double matrix[6] = {std::cos(angle), std::sin(angle), -std::sin(angle),
                              std::cos(angle), x * k,           -y * k};
    std::copy(std::begin(matrix), std::end(matrix), std::begin(art->pointText.matrix));
    return art;
}

}  // namespace testing_support::svg_export
