// Writing the emulated host's document back to SVG: round trips through the reader, what the
// host does not model kept as it was, edits of the plug-in written where they render, the
// atomic file write, and the `save` line of a session.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <pugixml.hpp>

#include "app/Session.h"
#include "emulator/ArtTree.h"
#include "emulator/SvgExport.h"
#include "emulator/SvgImport.h"
#include "emulator/SvgSyntax.h"
#include "emulator/Unicode.h"
#include "tests/HostFixture.h"

namespace {

namespace fs = std::filesystem;
using emulator::Art;
using emulator::ArtType;
using emulator::Document;
using emulator::Layer;
using emulator::Paint;
using emulator::ReadSvg;
using emulator::WriteSvg;

// Coordinates come back within this many user units.
constexpr double kTolerance = 1e-4;
// Colour components and other ratios come back within this.
constexpr double kRatioTolerance = 1e-6;

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

Art* ArtNamed(std::vector<std::unique_ptr<Art>>& list, const std::string& name) {
    for (const auto& art : list) {
        if (art->name == name) {
            return art.get();
        }
        if (Art* inside = ArtNamed(art->children, name)) {
            return inside;
        }
    }
    return nullptr;
}

Art* ArtNamed(Document& document, const std::string& name) {
    for (const auto& layer : document.layers) {
        if (Art* art = ArtNamed(layer->art, name)) {
            return art;
        }
    }
    ADD_FAILURE() << "no art " << name;
    return nullptr;
}

// A path through SVG user points (y downwards) of a document of scale k, with straight
// segments and a stroke.
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

Paint GrayPaint(double gray) {
    Paint paint;
    paint.kind = Paint::Kind::Gray;
    paint.gray = gray;
    return paint;
}

Paint RgbPaint(double red, double green, double blue) {
    Paint paint;
    paint.kind = Paint::Kind::RGB;
    paint.red = red;
    paint.green = green;
    paint.blue = blue;
    return paint;
}

Paint CmykPaint(double cyan, double magenta, double yellow, double black) {
    Paint paint;
    paint.kind = Paint::Kind::CMYK;
    paint.cyan = cyan;
    paint.magenta = magenta;
    paint.yellow = yellow;
    paint.black = black;
    return paint;
}

Paint CustomPaint(const std::string& name, double tint, double red, double green, double blue) {
    Paint paint = RgbPaint(red, green, blue);
    paint.kind = Paint::Kind::Custom;
    paint.customName = name;
    paint.tint = tint;
    return paint;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

constexpr double kPi = 3.14159265358979323846;

// A point text in DejaVuSans at 10 points whose baseline turns `degrees` counter-clockwise
// on the page, anchored at the user point (x, y) of a document of scale k.
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

// A new document of scale k with one layer.
std::unique_ptr<Document> NewDocument(double k) {
    auto document = std::make_unique<Document>();
    document->width = 200;
    document->height = 200;
    document->unitScale = k;
    document->layers.push_back(std::make_unique<Layer>());
    document->layers.back()->title = "Calque 1";
    return document;
}

// The reader's model of the example survives a write untouched: a fault in the path data,
// the numbers, the style or the layer attributes shows here as a field that differs.
TEST(SvgExport, ExampleReadsBackToTheSameModel) {
    const auto document = ReadExample();
    ASSERT_NE(document, nullptr);
    const auto again = Reread(*document);
    ASSERT_NE(again, nullptr);
    ExpectSameModel(*document, *again);
    // A second generation is the same text: nothing drifts from one save to the next.
    EXPECT_EQ(WriteSvg(*document), WriteSvg(*again));
}

// Everything the host does not model comes out as it went in, and art that did not change
// keeps its element attribute for attribute (a rect stays a rect).
TEST(SvgExport, UnmodelledContentIsKept) {
    const auto document = ReadExample();
    ASSERT_NE(document, nullptr);
    const std::string text = WriteSvg(*document);
    for (const char* kept : {
             "A mounting plate and its parts",  // the comment
             "<title id=\"title\">Platine de fixation</title>",
             "inkscape:zoom=\"0.7\"",                     // a foreign attribute
             "<linearGradient id=\"steel\">",             // definitions
             "Platine A — échelle 1:1</text>",            // text
             "xlink:href=\"data:image/png;base64,iVBOR",  // an image
             "<rect id=\"plate\" inkscape:label=\"Platine\" x=\"20\" y=\"30\" width=\"80\" "
             "height=\"50\" style=\"fill:url(#steel)\" />",
             "<circle id=\"clamp-screw\" r=\"4\" />",
             "transform=\"translate(150,265) rotate(-30)\"",
             "width=\"210mm\"",
         }) {
        EXPECT_TRUE(Contains(text, kept)) << kept << "\n" << text;
    }
}

// The plug-in's edits: a shape moved (it becomes a path), art disposed of (its element
// goes), a rename, new art with tags in Windows-1252 in a layer whose style would leak into
// it, new art (a path and a text) inside a rotated group, art moved into that group, a layer
// hidden and locked, and a new layer. Reading back gives the edited model: a fault in the
// transform handling shows as art that moved, a leaked style as a stroke that changed.
TEST(SvgExport, EditsReadBackAsTheyWereMade) {
    auto document = ReadExample();
    ASSERT_NE(document, nullptr);
    const double k = document->unitScale;
    Layer& plan = LayerTitled(*document, "Plan");
    Layer& notes = LayerTitled(*document, "Notes");

    Art* plate = ArtNamed(*document, "Platine");
    ASSERT_NE(plate, nullptr);
    plate->segments[1].p.h += static_cast<AIReal>(5 * k);
    plate->segments[1].in = plate->segments[1].out = plate->segments[1].p;
    ArtNamed(*document, "Arc")->name = "Arche";
    std::erase_if(plan.art, [](const auto& art) { return art->name == "Alésage"; });

    Art* group = Append(plan.art, std::make_unique<Art>(), &plan, nullptr);
    group->type = ArtType::Group;
    group->name = "Cote 1";
    group->tags["VornType"] = emulator::Windows1252FromUtf8("Cote linéaire");
    group->tags["VornTexte"] = emulator::Windows1252FromUtf8("12,5 mm — «à vérifier»\r2e ligne");
    Art* line = Append(group->children, StraightPath({{10, 10}, {60, 10}}, false, k), &plan, group);
    line->hidden = true;
    Append(group->children, StraightPath({{10, 5}, {10, 15}, {12, 12}}, true, k), &plan, group);

    Art* clamp = ArtNamed(*document, "Bride");
    ASSERT_NE(clamp, nullptr);
    Append(clamp->children, StraightPath({{140, 260}, {160, 270}}, false, k), &plan, clamp);
    Append(clamp->children, TextArt(u"Bride\r2 vis", 15, 150, 250, k), &plan, clamp)->name =
        "Repère";
    auto cam = emulator::DetachArt(*ArtNamed(*document, "Came"));
    Append(clamp->children, std::move(cam), &plan, clamp);

    notes.locked = true;
    plan.visible = false;
    auto extra = std::make_unique<Layer>();
    extra->title = "Cotes";
    Layer* added = extra.get();
    document->layers.push_back(std::move(extra));
    Append(added->art, StraightPath({{0, 0}, {210, 297}}, false, k), added, nullptr)->locked = true;

    const auto again = Reread(*document);
    ASSERT_NE(again, nullptr);
    ExpectSameModel(*document, *again);
    const std::string text = WriteSvg(*document);
    EXPECT_FALSE(Contains(text, "id=\"bore\"")) << text;
    EXPECT_FALSE(Contains(text, "<rect id=\"plate\"")) << text;
    EXPECT_TRUE(Contains(text, "<path id=\"plate\"")) << text;
    EXPECT_TRUE(Contains(text, "mesra:VornType=\"Cote linéaire\"")) << text;
    // Untouched neighbours stay as they were.
    EXPECT_TRUE(Contains(text, "<circle id=\"clamp-screw\" r=\"4\" />")) << text;
}

// Paints the host models beyond an SVG colour show as their colour and keep the rest in
// attributes of their own, which the reader gives back: a mistake in the CMYK conversion,
// a missing attribute or a paint that comes back as plain RGB after a reopen shows.
TEST(SvgExport, PaintsShowTheirColourAndReadBackWhole) {
    const struct {
        const char* name;
        Paint paint;
        double red, green, blue;
        const char* attribute;
    } cases[] = {
        {"gray", GrayPaint(0.2), 0.2, 0.2, 0.2, "mesrapaint:fill-gray=\"0.2\""},
        {"rgb", RgbPaint(0.1, 0.5, 1), 0.1, 0.5, 1, nullptr},
        {"cmyk", CmykPaint(0.5, 0, 1, 0.2), 0.4, 0.8, 0, "mesrapaint:fill-cmyk=\"0.5 0 1 0.2\""},
        {"custom", CustomPaint("Orange vif", 0.75, 1, 0.5, 0), 1, 0.5, 0,
         "mesrapaint:fill-custom=\"Orange vif\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Document document;
        document.width = 100;
        document.height = 100;
        document.layers.push_back(std::make_unique<Layer>());
        Layer& layer = *document.layers.back();
        layer.title = "Calque 1";
        Art* path =
            Append(layer.art, StraightPath({{1, 1}, {50, 50}, {1, 50}}, true, 1), &layer, nullptr);
        path->style.fill = c.paint;
        path->style.fillOverprint = true;
        const std::string text = WriteSvg(document);
        if (c.attribute) {
            EXPECT_TRUE(Contains(text, c.attribute)) << text;
        }
        EXPECT_TRUE(Contains(text, "mesrapaint:fill-overprint=\"true\"")) << text;
        const auto again = Reread(document);
        ASSERT_NE(again, nullptr);
        const Art& read = *again->layers.front()->art.front();
        const Paint& fill = read.style.fill;
        EXPECT_NEAR(fill.red, c.red, kRatioTolerance);
        EXPECT_NEAR(fill.green, c.green, kRatioTolerance);
        EXPECT_NEAR(fill.blue, c.blue, kRatioTolerance);
        EXPECT_EQ(fill.kind, c.paint.kind);
        EXPECT_TRUE(read.style.fillOverprint);
        EXPECT_FALSE(read.style.strokeOverprint);
        EXPECT_NEAR(fill.gray, c.paint.gray, kRatioTolerance);
        EXPECT_NEAR(fill.cyan, c.paint.cyan, kRatioTolerance);
        EXPECT_NEAR(fill.magenta, c.paint.magenta, kRatioTolerance);
        EXPECT_NEAR(fill.yellow, c.paint.yellow, kRatioTolerance);
        EXPECT_NEAR(fill.black, c.paint.black, kRatioTolerance);
        EXPECT_EQ(fill.customName, c.paint.customName);
        EXPECT_NEAR(fill.tint, c.paint.tint, kRatioTolerance);
    }
}

// A new document reads back with its size and its points per user unit, whatever the unit.
TEST(SvgExport, NewDocumentKeepsItsSizeAndScale) {
    const struct {
        double width, height, k;
        const char* widthText;
    } cases[] = {
        {595, 842, 1, "width=\"595pt\""},
        {210, 297, 72 / 25.4, "width=\"210mm\""},
        {100, 50, 2, "width=\"200pt\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.widthText);
        Document document;
        document.width = c.width;
        document.height = c.height;
        document.unitScale = c.k;
        document.layers.push_back(std::make_unique<Layer>());
        Layer& layer = *document.layers.back();
        layer.title = "Calque 1";
        Append(layer.art, StraightPath({{10, 20}, {30, 40}}, false, c.k), &layer, nullptr);
        EXPECT_TRUE(Contains(WriteSvg(document), c.widthText)) << WriteSvg(document);
        const auto again = Reread(document);
        ASSERT_NE(again, nullptr);
        ExpectSameModel(document, *again);
    }
}

// A failed write leaves the old file as it was and no temporary file behind; a successful
// one replaces the file and leaves nothing else.
TEST(SvgExport, FileWriteIsAtomic) {
    testing_support::TemporaryFolder folder;
    const auto document = ReadExample();
    ASSERT_NE(document, nullptr);
    const fs::path target = folder.Path() / "plan.svg";
    std::ofstream(target) << "old";
    const fs::path notAFolder = folder.Path() / "plain";
    std::ofstream(notAFolder) << "a file";
    std::string error;
    EXPECT_FALSE(emulator::WriteSvgFile(*document, notAFolder / "plan.svg", &error));
    EXPECT_TRUE(Contains(error, "plan.svg")) << error;

    EXPECT_TRUE(emulator::WriteSvgFile(*document, target, &error)) << error;
    std::ifstream in(target);
    const std::string written((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    EXPECT_EQ(written, WriteSvg(*document));
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.Path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"plain", "plan.svg"}));
}

bool HasRsvgConvert() {
    return std::system("command -v rsvg-convert > /dev/null 2>&1") == 0;
}

// Writes the document and has rsvg-convert (of librsvg) render it to PNG.
void ExpectRenders(const Document& document) {
    testing_support::TemporaryFolder folder;
    std::string error;
    ASSERT_TRUE(emulator::WriteSvgFile(document, folder.Path() / "plan.svg", &error)) << error;
    const std::string command = "rsvg-convert -o '" + (folder.Path() / "plan.png").string() +
                                "' '" + (folder.Path() / "plan.svg").string() + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << WriteSvg(document);
    ASSERT_TRUE(fs::exists(folder.Path() / "plan.png"));
    EXPECT_GT(fs::file_size(folder.Path() / "plan.png"), 0u);
}

// The written example, with what the plug-in draws added (a dashed stroke with round caps,
// texts turned, centred and on two lines, in a group), opens in an ordinary SVG renderer.
TEST(SvgExport, WrittenExampleRenders) {
    if (!HasRsvgConvert()) {
        GTEST_SKIP() << "rsvg-convert is not installed";
    }
    auto document = ReadExample();
    ASSERT_NE(document, nullptr);
    const double k = document->unitScale;
    ArtNamed(*document, "Platine")->segments[0].p.h += 1;
    Layer& notes = LayerTitled(*document, "Notes");
    Art* group = Append(notes.art, std::make_unique<Art>(), &notes, nullptr);
    group->type = ArtType::Group;
    Append(group->children, StraightPath({{20, 90}, {100, 90}}, false, k), &notes, group);
    Append(group->children, TextArt(u"80 mm\r± 0,1", 0, 60, 88, k), &notes, group)
        ->pointText.features.justification = emulator::Justification::Center;
    Append(notes.art, TextArt(u"50 mm", 90, 105, 55, k), &notes, nullptr);
    ExpectRenders(*document);
}

// `save` writes beside the session file; --out and --dump without a document are refused.
TEST(SvgExport, SessionSavesTheDocument) {
    testing_support::TemporaryFolder folder;
    const fs::path plugin = testing_support::InstallIn(folder.Path());
    app::SessionError error;
    const auto lines = app::ParseSession("new 100 100\nsave out.svg\n", &error);
    ASSERT_TRUE(lines.has_value());
    app::CommandLine options;
    options.session = (folder.Path() / "s.session").string();
    options.dump = (folder.Path() / "out.json").string();
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(app::RunSession(*lines, plugin.string(), options, out, err), 0) << err.str();
    std::string reason;
    const auto saved = emulator::ReadSvgFile(folder.Path() / "out.svg", &reason);
    ASSERT_NE(saved, nullptr) << reason;
    EXPECT_NEAR(saved->width, 100, kTolerance);
    EXPECT_TRUE(fs::exists(folder.Path() / "out.json"));

    const auto none = app::ParseSession("tool segment\n", &error);
    ASSERT_TRUE(none.has_value());
    std::ostringstream err2;
    EXPECT_EQ(app::RunSession(*none, plugin.string(), options, out, err2), 2);
    EXPECT_TRUE(Contains(err2.str(), "need a document")) << err2.str();
}

}  // namespace

namespace {

// Art outside any layer, a path of two subpaths and a scaled group, in a file declared in
// Latin-1: stray art stays outside layers, the compound path stays one element, strokes
// added under the scale keep their width, and the text is written in UTF-8.
TEST(SvgExport, StrayCompoundAndScaledArt) {
    const std::string latin1 =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\">"
        "<path id=\"stray\" d=\"M 1,1 L 9,9\" stroke=\"blue\"/>"
        "<g id=\"scaled\" transform=\"scale(2) translate(5,0)\">"
        "<path id=\"two\" d=\"M 0,0 L 10,0 L 10,10 Z M 2,2 L 8,2 L 8,8 Z\" fill=\"red\"/>"
        "<text id=\"t\">\xE9t\xE9</text></g></svg>";
    std::string error;
    auto document = ReadSvg(latin1, &error);
    ASSERT_NE(document, nullptr) << error;
    Layer& layer = *document->layers.front();
    ASSERT_EQ(layer.art.size(), 2u);
    Art& scaled = *layer.art[1];
    ASSERT_EQ(scaled.children.size(), 1u);
    Art& compound = *scaled.children.front();
    ASSERT_EQ(compound.children.size(), 2u);
    compound.children[1]->segments[0].p.h += 1;
    Append(scaled.children, StraightPath({{30, 5}, {40, 5}}, false, 1), &layer, &scaled);

    const std::string text = WriteSvg(*document);
    EXPECT_TRUE(Contains(text, "encoding=\"UTF-8\"")) << text;
    EXPECT_TRUE(Contains(text, ">été</text>")) << text;
    EXPECT_TRUE(Contains(text, "<path id=\"stray\" d=\"M 1,1 L 9,9\" stroke=\"blue\" />")) << text;
    EXPECT_FALSE(Contains(text, "inkscape:groupmode")) << text;
    // The added stroke of 0.35 user units is 0.175 in the group's doubled units.
    EXPECT_TRUE(Contains(text, "stroke-width:0.175")) << text;
    const auto again = Reread(*document);
    ASSERT_NE(again, nullptr);
    ExpectSameModel(*document, *again);
}

}  // namespace

namespace {

using emulator::Justification;

// Texts read back exactly (a feature left out of the record, or a frame's transform that
// does not agree with the matrix, shows as a field that differs), and the written element
// draws each paragraph where the host sets it: at its baseline on the page, with the
// anchor and font size that put it there. A sign of the y flip, a scale left out of the
// font size or the baseline shift, or paragraphs stacked upwards shows as a line elsewhere.
TEST(SvgExportText, TextsReadBackExactlyAndShowWhereTheHostSetsThem) {
    using Lines = std::vector<std::pair<double, double>>;  // each line's anchor, user units
    const struct {
        const char* name;
        double k;
        std::u16string text;
        double degrees, x, y;
        Justification justification;
        double shift, spacing;  // baseline shift; space before and after paragraphs
        Paint fill;
        const char* style;  // what the style must say
        Lines lines;
    } cases[] = {
        {"two paragraphs", 1, u"Cote 12,5\rseconde", 0, 100, 200, Justification::Left, 0, 0,
         GrayPaint(0), "text-anchor:start", Lines{{100, 200}, {100, 212}}},
        {"rotated and shifted, 2 points a unit", 2, u"L = 20\rà 1:1", 90, 50, 100,
         Justification::Left, 4, 0, RgbPaint(1, 0, 0), "font-size:5", Lines{{48, 100}, {54, 100}}},
        {"centred CMYK in millimetres", 72 / 25.4, u"Ø 20", 0, 30, 40, Justification::Center, 0, 0,
         CmykPaint(0, 0.5, 1, 0), "text-anchor:middle", Lines{{30, 40}}},
        {"right-justified, turned clockwise, spaced, an empty paragraph", 1, u"a\r\rc", -30, 10, 10,
         Justification::Right, -2, 1.5, CustomPaint("Orange vif", 0.5, 1, 0.5, 0),
         "text-anchor:end", Lines{{9, 11.732051}, {1.5, 24.722432}, {-6, 37.712813}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto document = NewDocument(c.k);
        Layer& layer = *document->layers.front();
        Art* text = Append(layer.art, TextArt(c.text, c.degrees, c.x, c.y, c.k), &layer, nullptr);
        auto& features = text->pointText.features;
        features.justification = c.justification;
        features.baselineShift = c.shift;
        features.spaceBefore = c.spacing;
        features.spaceAfter = c.spacing;
        features.tracking = 25;
        features.firstLineIndent = 1.5;
        features.startIndent = 2;
        features.endIndent = 3;
        features.fill = c.fill;
        features.fillOverprint = c.fill.kind == Paint::Kind::CMYK;
        const auto again = Reread(*document);
        ASSERT_NE(again, nullptr);
        ExpectSameModel(*document, *again);

        pugi::xml_document xml;
        ASSERT_TRUE(xml.load_string(WriteSvg(*document).c_str()));
        const pugi::xml_node element = xml.select_node("//text").node();
        ASSERT_FALSE(element.empty());
        EXPECT_TRUE(Contains(element.attribute("style").value(), c.style))
            << element.attribute("style").value();
        const auto transform =
            emulator::svg::ParseTransform(element.attribute("transform").value());
        ASSERT_TRUE(transform.has_value());
        std::size_t i = 0;
        for (const pugi::xml_node tspan : element.children("tspan")) {
            ASSERT_LT(i, c.lines.size());
            const auto shown = emulator::svg::Apply(
                *transform, {tspan.attribute("x").as_double(), tspan.attribute("y").as_double()});
            EXPECT_NEAR(shown.x, c.lines[i].first, kTolerance) << "line " << i;
            EXPECT_NEAR(shown.y, c.lines[i].second, kTolerance) << "line " << i;
            ++i;
        }
        EXPECT_EQ(i, c.lines.size());
    }
}

// A text of the file is edited where it is: an unchanged document writes back to the very
// same text, and an edit keeps the element with what other programs put on it.
TEST(SvgExportText, TextsAreEditedInPlace) {
    auto document = NewDocument(1);
    Layer& layer = *document->layers.front();
    Append(layer.art, TextArt(u"avant", 0, 20, 30, 1), &layer, nullptr);
    Append(layer.art, StraightPath({{0, 0}, {10, 10}}, false, 1), &layer, nullptr);
    std::string file = WriteSvg(*document);
    const std::size_t at = file.find("<text ");
    ASSERT_NE(at, std::string::npos) << file;
    file.insert(at + 6, "id=\"keep\" data-note=\"x\" ");

    std::string error;
    auto read = ReadSvg(file, &error);
    ASSERT_NE(read, nullptr) << error;
    EXPECT_EQ(WriteSvg(*read), file);

    Art& text = *read->layers.front()->art.front();
    ASSERT_EQ(text.type, ArtType::Text);
    text.pointText.text = u"après\rdeux";
    text.pointText.matrix[4] += 5;
    text.pointText.features.fill = RgbPaint(0, 0, 1);
    const std::string edited = WriteSvg(*read);
    EXPECT_TRUE(Contains(edited, "<text id=\"keep\" data-note=\"x\" ")) << edited;
    EXPECT_EQ(edited.find("<text "), edited.rfind("<text ")) << edited;
    const auto again = Reread(*read);
    ASSERT_NE(again, nullptr);
    ExpectSameModel(*read, *again);
}

// The user's own text is not modelled and comes back byte for byte, whitespace included:
// indentation added inside it, or a space between spans dropped, would change what it shows.
TEST(SvgExportText, UsersTextIsKeptAsItWas) {
    const std::string kept[] = {
        "<text xml:space=\"preserve\" x=\"10\" y=\"20\"><tspan>a</tspan> <tspan x=\"10\" "
        "dy=\"9\">b <tspan style=\"font-weight:bold\">c</tspan></tspan></text>",
        "<text id=\"t2\">\n      <tspan>x</tspan>\n    </text>",
    };
    const std::string file =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\">\n"
        "  <g>\n    " +
        kept[0] + "\n    <path d=\"M 0,0 L 10,10\" stroke=\"red\" />\n    " + kept[1] +
        "\n  </g>\n</svg>\n";
    std::string error;
    auto document = ReadSvg(file, &error);
    ASSERT_NE(document, nullptr) << error;
    Art& group = *document->layers.front()->art.front();
    ASSERT_EQ(group.children.size(), 1u);
    group.children.front()->segments[1].p.h += 1;
    const std::string written = WriteSvg(*document);
    for (const std::string& text : kept) {
        EXPECT_TRUE(Contains(written, text)) << text << "\n" << written;
    }
}

}  // namespace
