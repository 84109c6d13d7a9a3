// Reading SVG artwork into the emulated host's document: layers and the current layer, tags,
// names and locks of art, the bundled drawing, inputs that must neither crash nor hang the
// reader, and those it refuses with a reason.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "emulator/core/ArtTree.h"
#include "emulator/svg/Gzip.h"
#include "emulator/svg/SvgImport.h"
#include "emulator/svg/SvgSource.h"
#include "tests/emulator/SvgImportSupport.h"

namespace {

using emulator::Art;
using emulator::Layer;
using emulator::ReadSvg;
using namespace testing_support::svg_import;

struct LayerCase {
    const char* attributes;
    const char* title;
    bool locked;
    bool visible;
};

// Would catch a layer's title taken from the wrong attribute (or not falling back to its id
// or a numbered name), a layer's lock or visibility missed in either place it is written,
// and the style attribute not winning over the display attribute.
TEST(SvgImportLayers, ReadTitleLockAndVisibility) {
    const LayerCase cases[] = {
        {"inkscape:label='Plan' id='l1'", "Plan", false, true},
        {"id='layer7'", "layer7", false, true},
        {"", "Calque 1", false, true},
        {"inkscape:label='\xC3\x89t\xC3\xA9'", "\xC3\x89t\xC3\xA9", false, true},
        {"inkscape:label='A' sodipodi:insensitive='true'", "A", true, true},
        {"inkscape:label='A' style='fill:red; display : none'", "A", false, false},
        {"inkscape:label='A' display='none'", "A", false, false},
        {"inkscape:label='A' display='none' style='display:inline'", "A", false, true},
    };
    for (const LayerCase& c : cases) {
        SCOPED_TRACE(c.attributes);
        const auto document = Read(std::string("<g inkscape:groupmode='layer' ") + c.attributes +
                                   "><rect width='1' height='1'/></g>");
        ASSERT_NE(document, nullptr);
        ASSERT_EQ(document->layers.size(), 1u);
        const Layer& layer = *document->layers[0];
        EXPECT_EQ(layer.title, c.title);
        EXPECT_EQ(layer.locked, c.locked);
        EXPECT_EQ(layer.visible, c.visible);
        ASSERT_EQ(layer.art.size(), 1u);
        EXPECT_FALSE(layer.art[0]->hidden) << "display is not inherited";
        EXPECT_EQ(emulator::XmlNode(layer.source).name(), std::string("g"));
    }
}

struct CurrentLayerCase {
    const char* body;
    const char* current;
};

// Would catch the current layer always the topmost (a locked title block on top would take
// every dimension), the namedview's id ignored or matched against titles, a namedview
// naming a layer inside a layer not giving its layer, and a locked or hidden layer chosen
// when an unlocked and visible one is there.
TEST(SvgImportLayers, CurrentLayerIsTheNamedOneOrTheTopmostUnlockedVisible) {
    const std::string layers =
        "<g inkscape:groupmode='layer' id='l1' inkscape:label='Plan'/>"
        "<g inkscape:groupmode='layer' id='l2' inkscape:label='Cotes'>"
        "<g inkscape:groupmode='layer' id='l2a' inkscape:label='Sous-calque'/></g>"
        "<g inkscape:groupmode='layer' id='l3' inkscape:label='Cachet' "
        "sodipodi:insensitive='true'/>";
    const CurrentLayerCase cases[] = {
        {"<sodipodi:namedview inkscape:current-layer='l1'/>", "Plan"},
        {"<sodipodi:namedview inkscape:current-layer='l2a'/>", "Cotes"},
        {"<sodipodi:namedview inkscape:current-layer='Plan'/>", "Cotes"},
        {"", "Cotes"},
        {"<g inkscape:groupmode='layer' inkscape:label='Masque' style='display:none'/>", "Cotes"},
        {"<g inkscape:groupmode='layer' inkscape:label='Haut'/>", "Haut"},
    };
    for (const CurrentLayerCase& c : cases) {
        SCOPED_TRACE(c.body);
        const auto document = Read(layers + c.body);
        ASSERT_NE(document, nullptr);
        ASSERT_NE(document->currentLayer, nullptr);
        EXPECT_EQ(document->currentLayer->title, c.current);
    }
    const auto allLocked = Read(
        "<g inkscape:groupmode='layer' sodipodi:insensitive='true'/>"
        "<g inkscape:groupmode='layer' inkscape:label='Haut' "
        "sodipodi:insensitive='true'/>");
    EXPECT_EQ(allLocked->currentLayer, allLocked->layers.back().get());
}

// Would catch a document without art left without a layer (the host needs a current one),
// and an extra "Calque 1" added beside layers that are merely empty.
TEST(SvgImportLayers, EveryDocumentHasALayer) {
    for (const char* body : {"", "<defs/><text>a</text>", "<g inkscape:groupmode='layer'/>"}) {
        SCOPED_TRACE(body);
        const auto document = Read(body);
        ASSERT_NE(document, nullptr);
        ASSERT_EQ(document->layers.size(), 1u);
        EXPECT_EQ(document->layers[0]->title, "Calque 1");
        EXPECT_TRUE(document->layers[0]->art.empty());
        EXPECT_EQ(document->currentLayer, document->layers[0].get());
        EXPECT_NE(document->source, nullptr);
    }
}

// Would catch tags found by their prefix instead of their namespace (a file may bind any
// prefix, and the same prefix may mean something else elsewhere), a binding outliving its
// element, tag values left in UTF-8, ordinary attributes taken as tags, and the name or lock
// of art missed.
TEST(SvgImportTags, ReadTagsNamesAndLocksOfArt) {
    const auto document = Read(
        "<path id='a' inkscape:label='Cote 1' sodipodi:insensitive='true' t:kind='lin\xC3\xA9"
        "aire'"
        " t:value='12,5 mm' o:kind='other' kind='plain' d='M 0 0 L 1 0'/>"
        "<path id='b' xmlns:t='urn:elsewhere' t:kind='no' d='M 0 0 L 1 0'/>"
        "<path id='c' xmlns:x='urn:x-mesra:tags' x:k='\xE2\x82\xAC' d='M 0 0 L 1 0'/>"
        "<path id='d' x:k='unbound' d='M 0 0 L 1 0'/>",
        "xmlns:t='urn:x-mesra:tags' xmlns:o='urn:other'");
    const auto& art = AllArt(*document);
    ASSERT_EQ(art.size(), 4u);
    EXPECT_EQ(art[0]->name, "Cote 1");
    EXPECT_TRUE(art[0]->locked);
    EXPECT_EQ(art[0]->tags, (emulator::Tags{{"kind",
                                             "lin\xE9"
                                             "aire"},
                                            {"value", "12,5 mm"}}));
    EXPECT_TRUE(art[1]->tags.empty());
    EXPECT_TRUE(art[1]->name.empty());
    EXPECT_FALSE(art[1]->locked);
    EXPECT_EQ(art[2]->tags, (emulator::Tags{{"k", "\x80"}}));
    EXPECT_TRUE(art[3]->tags.empty());
    EXPECT_EQ(emulator::XmlNode(art[3]->source).attribute("id").value(), std::string("d"));
}

// Would catch a non-SVG document accepted (or refused without saying why and where), and
// any input that crashes, hangs, or yields a document without a current layer or with a
// coordinate that is not finite. Run under the sanitizers this also catches reads past the
// end of truncated data.
TEST(SvgImportRobustness, MalformedInputGivesADocumentOrAReason) {
    std::string deep;
    for (int i = 0; i < 20000; ++i) {
        deep += "<g>";
    }
    deep += "<path d='M 0 0 L 1 1'/>";
    for (int i = 0; i < 20000; ++i) {
        deep += "</g>";
    }
    std::string longPath = "M 0 0";
    for (int i = 0; i < 100000; ++i) {
        longPath += " l 1 1";
    }
    const std::string inputs[] = {
        "",
        "not xml at all",
        "<html><body/></html>",
        "<svg",
        "<svg><g></svg>",
        std::string("<svg>\0</svg>", 12),
        Svg(deep),
        Svg("<path d='" + longPath + "'/>"),
        Svg("<path d='" + std::string(100000, '9') + "'/>"),
        Svg("<path d='M'/><path d='M 10'/><path d='L 10 10'/><path d='M 0 0 L'/>"),
        Svg("<path d='M 0 0 C 1 2 3'/><path d='M 0 0 A 1 1 0 2 1 5 5'/><path d='M0 0 1e'/>"),
        Svg("<path d='M 1e400 0 L 1 1'/><path d='M nan 0 L 1 1'/><path d='M 0 0 L inf 0'/>"),
        Svg("<path d='M 0 0 L 1e300 0'/><path transform='scale(1e300)' d='M 0 0 L 1e300 1'/>"),
        Svg("<path d='M0 0 Z Z Z m 1 1 z'/><path d='M 0 0 A 1e308 1e308 0 0 1 1 1'/>"),
        Svg("<path d='M 0 0 A 1e-320 1e-320 0 0 1 1e-320 0'/><path d='M 0 0 a 1 1 0 1 1 0 0'/>"),
        Svg("<path transform='rotate(' d='M 0 0 L 1 1'/><g transform='scale(1e308) "
            "scale(1e308)'><path d='M 0 0 L 1 1'/></g>"),
        Svg("<rect width='1e999' height='1'/><circle r='nan'/><polygon points='1 2 3'/>"
            "<rect width='1' height='1' rx='-1' ry='nan'/><ellipse rx='1e308' ry='1e308'/>"),
        Svg("<path stroke-width='1e308' transform='scale(1e10)' d='M 0 0 L 1e-10 0'/>"
            "<path style='stroke-dasharray:1,,2;fill:rgb(1,2;;;:' d='M 0 0 L 1 0'/>"
            "<path fill='#12345g' stroke='rgb(1 2 3 4 5)' d='M 0 0 L 1 0'/>"),
        Svg("<path d='M 0 0 L 1 1'/>", "width='-3mm' height='1e309in' viewBox='0 0 -1 5'"),
        Svg("<path d='M 0 0 L 1 1'/>", "width='1' height='1e307in'"),
        Svg("<path d='M 0 0 L 1 1'/>", "width='1e-300' height='1e-300' viewBox='0 0 1e300 1e300'"),
        Svg("<path xmlns:a='urn:x-mesra:tags' a:='1' :b='2' a:c:d='3' d='M 0 0 L 1 1'/>"),
    };
    for (const std::string& input : inputs) {
        SCOPED_TRACE(input.substr(0, 80));
        std::string error;
        const auto document = ReadSvg(input, &error);
        if (!document) {
            EXPECT_NE(error.find("not an SVG document"), std::string::npos) << error;
            continue;
        }
        ASSERT_FALSE(document->layers.empty());
        EXPECT_NE(document->currentLayer, nullptr);
        EXPECT_TRUE(std::isfinite(document->unitScale) && document->unitScale > 0);
        EXPECT_TRUE(std::isfinite(document->width) && std::isfinite(document->height));
        emulator::ForEachArtInDocumentOrder(*document, [](const Art& art) {
            for (const auto& s : art.segments) {
                for (const float v : {s.p.h, s.p.v, s.in.h, s.in.v, s.out.h, s.out.v}) {
                    EXPECT_TRUE(std::isfinite(v));
                }
            }
            EXPECT_TRUE(std::isfinite(art.style.strokeWidth));
        });
    }
}

// Would catch bytes that are neither XML nor gzip reported as an XML error at some offset,
// a damaged or cut gzip stream taken for text, an entity that refers to itself expanded
// until the stack runs out, and nested entities ("billion laughs") expanded into gigabytes
// instead of refused.
TEST(SvgImportRobustness, RefusalsSayWhy) {
    const std::string svg = Svg("<path d='M 0 0 L 1 1'/>");
    const std::string gzip = emulator::GzipDeflate(svg);
    std::string damaged = gzip;
    damaged[10] = '\xFF';  // the first deflate block: a block type that does not exist
    std::string laughs = "<!DOCTYPE svg [<!ENTITY lol0 'lol'>";
    for (int i = 1; i < 10; ++i) {
        laughs += "<!ENTITY lol" + std::to_string(i) + " '";
        for (int j = 0; j < 10; ++j) {
            laughs += "&lol" + std::to_string(i - 1) + ";";
        }
        laughs += "'>";
    }
    laughs += "]>" + Svg("<text>&lol9;</text>");
    const struct {
        std::string input;
        const char* reason;
    } cases[] = {
        {"\x89PNG\r\n\x1a\n", "not an SVG document (neither XML text nor gzip-compressed SVG)"},
        {"", "neither XML text nor gzip"},
        {emulator::GzipDeflate("\x89PNG"), "gzip-compressed, but what it holds is not XML"},
        {gzip.substr(0, gzip.size() / 2), "the gzip-compressed data is cut short"},
        {damaged, "the gzip-compressed data is damaged (invalid block type)"},
        {"<!DOCTYPE svg [<!ENTITY a '&b;'><!ENTITY b 'x&a;'>]>" + Svg("&a;"),
         "the entity \"a\" refers to itself"},
        {laughs, "entities expand beyond 8 MiB (a runaway expansion, refused)"},
        {"<svg xmlns='http://www.w3.org/2000/svg'>\n  <path d='M 0 0' d='M 1 1'/></svg>",
         "XML error at line 2, column 4: the attribute \"d\" is given twice"},
        {"<svg xmlns='http://www.w3.org/2000/svg'>\n<path d='M 0 0'></svg>",
         "XML error at line 2, column"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        std::string error;
        EXPECT_EQ(ReadSvg(c.input, &error), nullptr);
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

// Would catch malformed data discarding what came before the error (SVG draws up to it),
// a subpath beyond the host's floats dropping its sound siblings, and nesting beyond the
// depth limit read (or a limit so low that ordinary drawings lose art).
TEST(SvgImportRobustness, KeepsWhatPrecedesAnError) {
    const auto truncated = Read("<path d='M 0 0 L 10 0 L 20'/>");
    ExpectAnchors(OnlyArt(truncated.get()), {Plain(0, 0), Plain(10, 0)});
    const auto overflow = Read("<path d='M 0 0 L 10 0 L 1e400 0 L 30 0'/>");
    ExpectAnchors(OnlyArt(overflow.get()), {Plain(0, 0), Plain(10, 0)});
    const auto huge = Read("<path d='M 0 0 L 1 0 M 0 0 L 1e300 0'/>");
    ExpectAnchors(OnlyArt(huge.get()), {Plain(0, 0), Plain(1, 0)});

    const auto depthOf = [](int levels) {
        std::string body;
        for (int i = 0; i < levels; ++i) {
            body += "<g>";
        }
        body += "<path d='M 0 0 L 1 1'/>";
        for (int i = 0; i < levels; ++i) {
            body += "</g>";
        }
        const auto document = Read(body);
        int depth = 0;
        for (const Art* art = OnlyArt(document.get()); art; ++depth) {
            art = art->children.empty() ? nullptr : art->children[0].get();
        }
        return depth;
    };
    EXPECT_EQ(depthOf(100), 101);
    EXPECT_EQ(depthOf(1000), 256);
}

// Would catch a reason for an unreadable file that does not name it. (What the demo, the
// example session and the writer's tests expect of the bundled drawing, they check.)
TEST(SvgImportFile, ReadsTheBundledDrawing) {
    std::string error;
    EXPECT_EQ(emulator::ReadSvgFile("/nonexistent/missing.svg", &error), nullptr);
    EXPECT_NE(error.find("missing.svg"), std::string::npos) << error;
    EXPECT_NE(emulator::ReadSvgFile(
                  std::filesystem::path(MESRA_SOURCE_DIR) / "examples/drawing.svg", &error),
              nullptr)
        << error;
}

}  // namespace
