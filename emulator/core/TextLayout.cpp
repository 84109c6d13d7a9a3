#include "emulator/core/TextLayout.h"

#include <algorithm>
#include <string>
#include <utility>

#include "emulator/core/FontFaces.h"

namespace emulator {
namespace {

constexpr double kLeadingRatio = 1.2;

// The characters of UTF-16 text; unpaired surrogates become U+FFFD.
template <typename Visit>
void ForEachCharacter(std::u16string_view text, Visit visit) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        visit(c);
    }
}

}  // namespace

double Leading(double size) {
    return kLeadingRatio * size;
}

FontExtent FontExtentOf(const std::string& postScriptName, double size) {
    const FaceExtent face = FaceExtentInEms(postScriptName);
    return {face.ascent * size, face.descent * size};
}

double LineWidth(const std::string& postScriptName, double size, double tracking,
                 std::u16string_view line) {
    std::u32string characters;
    characters.reserve(line.size());
    ForEachCharacter(line, [&](char32_t c) { characters.push_back(c); });
    const double ems = AdvancesInEms(postScriptName, characters);
    const auto gaps = static_cast<double>(std::max<std::size_t>(1, characters.size()) - 1);
    return ems * size + gaps * tracking * size / 1000;
}

PointTextLayout LayOutPointText(const PointText& text) {
    const TextFeatures& f = text.features;
    PointTextLayout layout;
    layout.extent = FontExtentOf(f.font, f.size);
    std::u16string_view rest = text.text;
    double baseline = 0;
    for (;;) {
        const std::size_t end = rest.find(u'\r');
        TextLine line;
        line.text = std::u16string(rest.substr(0, end));
        line.width = LineWidth(f.font, f.size, f.tracking, line.text);
        switch (f.justification) {
            case Justification::Center:
                line.x = -line.width / 2;
                break;
            case Justification::Right:
                line.x = -line.width;
                break;
            case Justification::Left:
                line.x = 0;
                break;
        }
        line.baseline = baseline + f.baselineShift;
        layout.lines.push_back(std::move(line));
        if (end == std::u16string_view::npos) {
            break;
        }
        rest.remove_prefix(end + 1);
        baseline -= Leading(f.size) + f.spaceAfter + f.spaceBefore;
    }
    return layout;
}

AIRealRect PointTextBounds(const PointText& text) {
    const double* m = text.matrix;
    if (text.text.empty()) {
        const auto x = static_cast<AIReal>(m[4]);
        const auto y = static_cast<AIReal>(m[5]);
        return {x, y, x, y};
    }
    const PointTextLayout layout = LayOutPointText(text);
    double left = layout.lines[0].x, right = left;
    double top = layout.lines[0].baseline, bottom = top;
    for (const TextLine& line : layout.lines) {
        left = std::min(left, line.x);
        right = std::max(right, line.x + line.width);
        bottom = std::min(bottom, line.baseline - layout.extent.descent);
        top = std::max(top, line.baseline + layout.extent.ascent);
    }
    AIRealRect bounds{0, 0, 0, 0};
    bool first = true;
    for (const double x : {left, right}) {
        for (const double y : {bottom, top}) {
            const auto h = static_cast<AIReal>(m[0] * x + m[2] * y + m[4]);
            const auto v = static_cast<AIReal>(m[1] * x + m[3] * y + m[5]);
            if (first) {
                bounds = {h, v, h, v};
                first = false;
            }
            bounds.left = std::min(bounds.left, h);
            bounds.right = std::max(bounds.right, h);
            bounds.bottom = std::min(bounds.bottom, v);
            bounds.top = std::max(bounds.top, v);
        }
    }
    return bounds;
}

}  // namespace emulator
