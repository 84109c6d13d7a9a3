// The plug-in's edits of art written back to SVG where they render: shapes that become
// paths, art disposed of, renamed, tagged, added or moved, layers locked, hidden or added,
// art outside any layer and the order of layers, art that draws nothing, compound paths
// and strokes under a scaled group.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "emulator/core/ArtTree.h"
#include "emulator/core/Unicode.h"
#include "emulator/svg/SvgExport.h"
#include "emulator/svg/SvgImport.h"
#include "emulator/svg/SvgSource.h"
#include "tests/emulator/SvgExportSupport.h"

namespace {

using emulator::Art;
using emulator::ArtType;
using emulator::Layer;
using emulator::ReadSvg;
using emulator::WriteSvg;
using namespace testing_support::svg_export;

// The plug-in's edits: a shape moved (it becomes a path), art disposed of (its element
// goes), a rename, new art with tags in Windows-1252 in a layer whose style would leak into
// it, new art (a path and a text) inside a rotated group, art moved into that group, a layer
// hidden and locked, a layer's own tag, and a new layer. Reading back gives the edited
// model: a fault in the transform handling shows as art that moved, a leaked style as a
// stroke that changed.
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
    notes.group.tags["vorn"] = "1";
    plan.visible = false;
    auto extra = std::make_unique<Layer>();
    extra->title = "Cotes";
    Layer* added = extra.get();
    document->layers.push_back(std::move(extra));
    Append(added->art, StraightPath({{0, 0}, {210, 297}}, false, k), added, nullptr)->locked = true;

    const auto again = Reread(*document);
    ASSERT_NE(again, nullptr);
    ExpectSameModel(*document, *again);
    EXPECT_EQ(LayerTitled(*again, "Notes").group.tags, notes.group.tags);
    const std::string text = WriteSvg(*document);
    EXPECT_FALSE(Contains(text, "id=\"bore\"")) << text;
    EXPECT_FALSE(Contains(text, "<rect id=\"plate\"")) << text;
    EXPECT_TRUE(Contains(text, "<path id=\"plate\"")) << text;
    EXPECT_TRUE(Contains(text, "mesra:VornType=\"Cote linéaire\"")) << text;
    // Untouched neighbours stay as they were.
    EXPECT_TRUE(Contains(text, "<circle id=\"clamp-screw\" r=\"4\" />")) << text;
}

// The identifiers of the root's elements in the written text, in order: ids, else labels.
std::vector<std::string> RootOrder(const std::string& text) {
    std::string error;
    const auto written = ReadSvg(text, &error);
    EXPECT_NE(written, nullptr) << error;
    std::vector<std::string> order;
    for (const pugi::xml_node child :
         emulator::SourceXml(*written)->document_element().children()) {
        const char* id = child.attribute("id").value();
        order.emplace_back(*id != '\0' ? id : child.attribute("inkscape:label").value());
    }
    return order;
}

// Art outside any layer between layers, and an empty layer in the middle, stay where they
// were; the model puts that art in one layer at the bottom (with the layer and parent
// links of its art set) and a layer inside a layer is a group. Written back after the
// plug-in's edits: a new layer goes on top, a new path in a layer is written, and what the
// Segment tool holds after a first click (a group of two paths without anchors) is not,
// while an empty group of the file stays.
TEST(SvgExport, LooseArtAndLayersKeepTheirOrder) {
    const std::string file =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" "
        "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" width=\"200\" "
        "height=\"100\">"
        "<path id=\"first\" d=\"M 0,0 L 10,10\"/>"
        "<g inkscape:groupmode=\"layer\" inkscape:label=\"Plan\"><path id=\"p\" d=\"M 1,1 L "
        "9,9\"/></g>"
        "<g inkscape:groupmode=\"layer\" inkscape:label=\"Vide\"/>"
        "<metadata id=\"meta\"/>"
        "<circle id=\"middle\" r=\"2\"/>"
        "<g inkscape:groupmode=\"layer\" inkscape:label=\"Notes\">"
        "<g inkscape:groupmode=\"layer\" inkscape:label=\"Inner\"><circle r=\"1\"/></g>"
        "<g id=\"kept-empty\"/></g>"
        "<path id=\"last\" d=\"M 0,0 L 20,20\"/></svg>";
    std::string error;
    auto document = ReadSvg(file, &error);
    ASSERT_NE(document, nullptr) << error;
    ASSERT_EQ(document->layers.size(), 4u);
    Layer& loose = *document->layers[0];
    EXPECT_EQ(loose.title, "Calque 1");
    ASSERT_EQ(loose.art.size(), 3u);
    EXPECT_EQ(loose.art[2]->layer, &loose);
    Layer& notes = *document->layers[3];
    EXPECT_EQ(notes.title, "Notes");
    ASSERT_EQ(notes.art.size(), 2u);
    const Art& inner = *notes.art[0];
    EXPECT_EQ(inner.type, ArtType::Group);
    EXPECT_EQ(inner.name, "Inner");
    EXPECT_EQ(inner.layer, &notes);
    ASSERT_EQ(inner.children.size(), 1u);
    EXPECT_EQ(inner.children[0]->parent, &inner);

    const std::vector<std::string> asRead = {"first",  "Plan",  "Vide", "meta",
                                             "middle", "Notes", "last"};
    EXPECT_EQ(RootOrder(WriteSvg(*document)), asRead);

    Art* unfinished = Append(notes.art, std::make_unique<Art>(), &notes, nullptr);
    unfinished->type = ArtType::Group;
    unfinished->name = "Segment oblique";
    for (int i = 0; i < 2; ++i) {
        Append(unfinished->children, std::make_unique<Art>(), &notes, unfinished);
    }
    Append(notes.art, StraightPath({{5, 5}, {50, 5}}, false, 1), &notes, nullptr)->name = "Cote";
    // A new layer is written with what it draws; one that draws nothing (what a tool made
    // for a measure never finished) is left out.
    for (const char* title : {"Cotes", "Rien"}) {
        auto extra = std::make_unique<Layer>();
        extra->title = title;
        document->layers.push_back(std::move(extra));
    }
    Layer& cotes = *document->layers[4];
    Append(cotes.art, StraightPath({{5, 9}, {50, 9}}, false, 1), &cotes, nullptr);
    Append(document->layers[5]->art, std::make_unique<Art>(), document->layers[5].get(), nullptr)
        ->type = ArtType::Group;
    const std::string text = WriteSvg(*document);
    std::vector<std::string> edited = asRead;
    edited.push_back("Cotes");
    EXPECT_EQ(RootOrder(text), edited);
    EXPECT_FALSE(Contains(text, "Segment oblique")) << text;
    EXPECT_TRUE(Contains(text, "inkscape:label=\"Cote\"")) << text;
    EXPECT_TRUE(Contains(text, "<g id=\"kept-empty\" />")) << text;
    EXPECT_FALSE(Contains(text, "d=\"\"")) << text;
}

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
