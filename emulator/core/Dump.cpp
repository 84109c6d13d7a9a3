#include "emulator/core/Dump.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "emulator/core/Decimal.h"
#include "emulator/core/Unicode.h"

namespace emulator {
namespace {

constexpr double kPi = 3.14159265358979323846;

const char* Bool(bool value) {
    return value ? "true" : "false";
}

class Dumper {
  public:
    explicit Dumper(const Document& document)
        : k_(document.unitScale > 0 ? document.unitScale : 1) {}

    std::string Layers(const Document& document) {
        out_ = "{\"layers\":[";
        for (auto layer = document.layers.rbegin(); layer != document.layers.rend(); ++layer) {
            out_ += layer == document.layers.rbegin() ? "\n" : ",\n";
            out_ += "{\"title\":" + JsonQuoted((*layer)->title) +
                    ",\"locked\":" + Bool((*layer)->locked) +
                    ",\"visible\":" + Bool((*layer)->visible) + ",\"art\":";
            List((*layer)->art);
            out_ += "}";
        }
        return std::move(out_) + "]}\n";
    }

  private:
    // Appends the list of art, top first, and what its groups hold, depth first: the lists
    // being written wait on a stack of their own, however deep the groups nest.
    void List(const std::vector<std::unique_ptr<Art>>& list) {
        struct Open {
            const std::vector<std::unique_ptr<Art>>* list;
            std::size_t left;  // art still to write, from the bottom
        };
        std::vector<Open> stack = {{&list, list.size()}};
        out_ += "[";
        while (!stack.empty()) {
            Open& open = stack.back();
            if (open.left == 0) {
                stack.pop_back();
                // The list closes, and the group that held it.
                out_ += stack.empty() ? "]" : "]}";
                continue;
            }
            const Art& art = *(*open.list)[--open.left];
            out_ += open.left + 1 == open.list->size() ? "\n" : ",\n";
            Item(art);
            if (art.type == ArtType::Group) {
                out_ += ",\"children\":[";
                stack.push_back({&art.children, art.children.size()});
            } else {
                out_ += "}";
            }
        }
    }

    // Appends an art without its closing brace, and without what it holds for a group.
    void Item(const Art& art) {
        const char* type = art.type == ArtType::Group  ? "group"
                           : art.type == ArtType::Text ? "text"
                                                       : "path";
        out_ += "{\"type\":\"" + std::string(type) + "\",\"name\":" + JsonQuoted(art.name) +
                ",\"tags\":{";
        bool first = true;
        for (const auto& [key, value] : art.tags) {
            out_ += first ? "" : ",";
            out_ +=
                JsonQuoted(Utf8FromWindows1252(key)) + ":" + JsonQuoted(Utf8FromWindows1252(value));
            first = false;
        }
        out_ += "}";
        if (art.selected) {
            out_ += ",\"selected\":true";
        }
        if (art.type == ArtType::Path) {
            out_ += ",\"closed\":" + std::string(Bool(art.closed)) + ",\"segments\":[";
            for (std::size_t i = 0; i < art.segments.size(); ++i) {
                const AIPathSegment& s = art.segments[i];
                out_ += (i == 0 ? "[" : ",[") + Point(s.p) + "," + Point(s.in) + "," +
                        Point(s.out) + "," + Bool(s.corner != 0) + "]";
            }
            out_ += "],\"stroke\":" + Paint(art.style.stroke, &art.style) +
                    ",\"fill\":" + Paint(art.style.fill, nullptr);
        } else if (art.type == ArtType::Text) {
            out_ += Text(art.pointText);
        }
    }

    // The members of a point text after its tags.
    std::string Text(const PointText& text) const {
        std::u16string paragraphs = text.text;
        std::replace(paragraphs.begin(), paragraphs.end(), u'\r', u'\n');
        const TextFeatures& f = text.features;
        const double* m = text.matrix;
        const char* justification = f.justification == Justification::Center  ? "center"
                                    : f.justification == Justification::Right ? "right"
                                                                              : "left";
        // The baseline's direction on the page, counter-clockwise: artwork y is upwards.
        const double angle = std::atan2(m[1], m[0]) * 180 / kPi;
        return ",\"text\":" + JsonQuoted(Utf8FromUtf16(paragraphs)) +
               ",\"font\":" + JsonQuoted(f.font) + ",\"size\":" + Length(f.size) + ",\"anchor\":[" +
               Length(m[4]) + "," + Length(-m[5]) + "],\"angle\":" + Number(angle) +
               ",\"baselineShift\":" + Length(f.baselineShift) + ",\"justification\":\"" +
               justification + "\",\"fill\":" + Paint(f.fill, nullptr);
    }

    std::string Number(double value) const { return FormatDecimal(value); }
    std::string Length(double points) const { return FormatDecimal(points / k_); }

    // An artwork point in SVG user units (y downwards).
    std::string Point(const AIRealPoint& p) const {
        return Coordinate(p.h, k_) + "," + Coordinate(p.v, -k_);
    }

    // A coordinate of the host's floats in user units of `scale` points: the fewest
    // decimals (at most 6) that give the same float back, so that 30 mm is not 29.999999.
    static std::string Coordinate(AIReal points, double scale) {
        constexpr int kMaxDecimals = 6;
        std::string text;
        for (int decimals = 0; decimals <= kMaxDecimals; ++decimals) {
            text = FormatDecimal(points / scale, decimals);
            double value = 0;
            std::from_chars(text.data(), text.data() + text.size(), value);
            if (static_cast<AIReal>(value * scale) == points) {
                break;
            }
        }
        return text;
    }

    // A paint; with `stroke`, the stroke's width and dash too.
    std::string Paint(const emulator::Paint& paint, const PathStyle* stroke) const {
        std::string out;
        const std::string rgb = "\"r\":" + Number(paint.red) + ",\"g\":" + Number(paint.green) +
                                ",\"b\":" + Number(paint.blue);
        switch (paint.kind) {
            case Paint::Kind::None:
                return "null";
            case Paint::Kind::Gray:
                out = "{\"kind\":\"gray\",\"gray\":" + Number(paint.gray);
                break;
            case Paint::Kind::RGB:
                out = "{\"kind\":\"rgb\"," + rgb;
                break;
            case Paint::Kind::CMYK:
                out = "{\"kind\":\"cmyk\",\"c\":" + Number(paint.cyan) +
                      ",\"m\":" + Number(paint.magenta) + ",\"y\":" + Number(paint.yellow) +
                      ",\"k\":" + Number(paint.black);
                break;
            case Paint::Kind::Custom:
                out = "{\"kind\":\"custom\",\"name\":" + JsonQuoted(paint.customName) +
                      ",\"tint\":" + Number(paint.tint) + "," + rgb;
                break;
        }
        if (stroke != nullptr) {
            out += ",\"width\":" + Length(stroke->strokeWidth) + ",\"dash\":[";
            for (std::size_t i = 0; i < stroke->dash.size(); ++i) {
                out += i == 0 ? "" : ",";
                out += Length(stroke->dash[i]);
            }
            out += "]";
        }
        return out + "}";
    }

    double k_;
    std::string out_;
};

}  // namespace

std::string DumpJson(const Document& document) {
    return Dumper(document).Layers(document);
}

std::string JsonQuoted(std::string_view text) {
    std::string out = "\"";
    for (const char ch : text) {
        switch (ch) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(ch) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x",
                                  static_cast<unsigned>(static_cast<unsigned char>(ch)));
                    out += escaped;
                } else {
                    out.push_back(ch);
                }
        }
    }
    return out + "\"";
}

}  // namespace emulator
