// The point texts of the SVG reader: `text` elements that carry the frame the text
// namespace records, with their paragraphs, features and fill.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "emulator/core/Unicode.h"
#include "emulator/svg/SvgReader.h"

namespace emulator::svg_reader {
namespace {

// How far (in points, relative to the size of the translation above 1 point) the frame that
// a text element's transforms give may stray from its recorded matrix and still be that
// matrix: far above the rounding of a written transform, far below any move a person makes.
constexpr double kSameFrameTolerance = 1e-6;

bool SameFrame(const Affine& m, const Affine& n) {
    const double size = std::max({1.0, std::fabs(n.e), std::fabs(n.f)});
    return std::fabs(m.a - n.a) <= kSameFrameTolerance &&
           std::fabs(m.b - n.b) <= kSameFrameTolerance &&
           std::fabs(m.c - n.c) <= kSameFrameTolerance &&
           std::fabs(m.d - n.d) <= kSameFrameTolerance &&
           std::fabs(m.e - n.e) <= kSameFrameTolerance * size &&
           std::fabs(m.f - n.f) <= kSameFrameTolerance * size;
}

// An attribute that is one number and nothing else.
std::optional<double> SingleNumber(std::string_view text) {
    bool complete = false;
    const std::vector<double> numbers = NumberList(text, &complete);
    return complete && numbers.size() == 1 ? std::optional<double>(numbers[0]) : std::nullopt;
}

// The characters of an element and of everything inside it, in document order.
std::string CharacterData(pugi::xml_node node) {
    struct Collector : pugi::xml_tree_walker {
        std::string text;
        bool for_each(pugi::xml_node& inside) override {
            if (inside.type() == pugi::node_pcdata || inside.type() == pugi::node_cdata) {
                text += inside.value();
            }
            return true;
        }
    } collector;
    node.traverse(collector);
    return collector.text;
}

// The paragraphs of a text element, separated by carriage returns: one for each `tspan`
// child, or its whole character data when it has none.
std::u16string Paragraphs(const pugi::xml_node& node) {
    std::u16string text;
    bool any = false;
    for (const pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_element && SplitName(child.name()).second == "tspan") {
            if (any) {
                text += u'\r';
            }
            text += Utf16FromUtf8(CharacterData(child));
            any = true;
        }
    }
    return any ? text : Utf16FromUtf8(CharacterData(node));
}

// The features the text namespace records (those it lacks or that do not read keep their
// defaults), the fill aside.
TextFeatures ReadTextFeatures(const std::map<std::string, std::string, std::less<>>& recorded) {
    TextFeatures features;
    if (const auto font = recorded.find("font"); font != recorded.end()) {
        features.font = font->second;
    }
    const std::pair<std::string_view, double*> numbers[] = {
        {"size", &features.size},
        {"baseline-shift", &features.baselineShift},
        {"tracking", &features.tracking},
        {"first-line-indent", &features.firstLineIndent},
        {"start-indent", &features.startIndent},
        {"end-indent", &features.endIndent},
        {"space-before", &features.spaceBefore},
        {"space-after", &features.spaceAfter},
    };
    for (const auto& [name, field] : numbers) {
        if (const auto it = recorded.find(name); it != recorded.end()) {
            *field = SingleNumber(it->second).value_or(*field);
        }
    }
    if (const auto it = recorded.find("justification"); it != recorded.end()) {
        const std::string_view value = Trim(it->second);
        features.justification = value == "center"  ? Justification::Center
                                 : value == "right" ? Justification::Right
                                                    : Justification::Left;
    }
    return features;
}

}  // namespace

// The point text of a `text` element whose frame matrix the text namespace records;
// null for other text.
std::unique_ptr<Art> Importer::ReadText(const pugi::xml_node& node, const ElementInfo& info,
                                        const Context& context) const {
    const auto recorded = info.text.find("matrix");
    if (recorded == info.text.end()) {
        return nullptr;
    }
    bool complete = false;
    const std::vector<double> m = NumberList(recorded->second, &complete);
    if (!complete || m.size() != 6) {
        return nullptr;
    }
    auto art = std::make_unique<Art>();
    art->type = ArtType::Text;
    PointText& text = art->pointText;
    text.features = ReadTextFeatures(info.text);
    text.features.fill = ModelPaint(context.style.inherited.fill, context.style.inherited.color);
    // The element's user units are user units of the document, y downwards; the frame's
    // are points, y upwards.
    const double k = document_.unitScale;
    const Affine shown =
        Compose(toArtwork_, Compose(context.ctm, Affine{1 / k, 0, 0, -1 / k, 0, 0}));
    const Affine stored{m[0], m[1], m[2], m[3], m[4], m[5]};
    const Affine frame =
        !IsFinite(shown) || !svg::Invert(shown) || SameFrame(shown, stored) ? stored : shown;
    const double values[] = {frame.a, frame.b, frame.c, frame.d, frame.e, frame.f};
    std::copy(std::begin(values), std::end(values), std::begin(text.matrix));
    text.text = Paragraphs(node);
    return art;
}

}  // namespace emulator::svg_reader
