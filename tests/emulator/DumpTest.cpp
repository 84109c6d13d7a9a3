// The JSON dump of a document: valid JSON (checked by a small parser here), layers and art
// top first, coordinates in user units, strings escaped and tags in UTF-8.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <iterator>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/core/Dump.h"
#include "emulator/core/Unicode.h"
#include "emulator/svg/SvgImport.h"

namespace {

// A parsed JSON value: null, boolean, number, string, array or object.
struct Json {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string string;
    std::vector<Json> array;
    std::map<std::string, Json> object;

    const Json& operator[](const std::string& key) const {
        static const Json kMissing;
        const auto it = object.find(key);
        return it == object.end() ? kMissing : it->second;
    }
    const Json& operator[](std::size_t i) const {
        static const Json kMissing;
        return i < array.size() ? array[i] : kMissing;
    }
};

// A strict JSON reader (RFC 8259): fails on anything else, a duplicate key and trailing
// text included.
class JsonParser {
  public:
    explicit JsonParser(std::string_view text) : text_(text) {}

    bool Parse(Json& value) { return Value(value) && (Spaces(), at_ == text_.size()); }

  private:
    void Spaces() {
        while (at_ < text_.size() && std::string_view(" \n\r\t").find(text_[at_]) != npos) {
            ++at_;
        }
    }

    // Skips white space, then takes `c` if it comes next.
    bool Eat(char c) {
        Spaces();
        return at_ < text_.size() && text_[at_] == c && (++at_, true);
    }

    // Items separated by commas up to `close`, or none.
    template <typename Item>
    bool List(char close, const Item& item) {
        if (Eat(close)) {
            return true;
        }
        do {
            if (!item()) {
                return false;
            }
        } while (Eat(','));
        return Eat(close);
    }

    bool Value(Json& value) {
        if (Eat('{')) {
            value.kind = Json::Kind::Object;
            return List('}', [&] {
                std::string key;
                return Eat('"') && String(key) && Eat(':') && value.object.count(key) == 0 &&
                       Value(value.object[key]);
            });
        }
        if (Eat('[')) {
            value.kind = Json::Kind::Array;
            return List(']', [&] { return Value(value.array.emplace_back()); });
        }
        if (Eat('"')) {
            value.kind = Json::Kind::String;
            return String(value.string);
        }
        const std::string_view rest = text_.substr(at_);
        for (const std::string_view word : {"true", "false", "null"}) {
            if (rest.starts_with(word)) {
                at_ += word.size();
                value.kind = word == "null" ? Json::Kind::Null : Json::Kind::Bool;
                value.boolean = word == "true";
                return true;
            }
        }
        static const std::regex kNumber(R"(-?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?)");
        std::cmatch number;
        if (!std::regex_search(rest.data(), rest.data() + rest.size(), number, kNumber,
                               std::regex_constants::match_continuous)) {
            return false;
        }
        value.kind = Json::Kind::Number;
        value.number = std::strtod(number.str().c_str(), nullptr);
        at_ += number.length();
        return true;
    }

    // The rest of a string whose opening quote was taken.
    bool String(std::string& out) {
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"') {
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                return false;
            }
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            const std::string_view escape = text_.substr(at_, 5);
            if (escape.empty()) {
                return false;
            }
            if (const std::size_t simple = std::string_view("\"\\/bfnrt").find(escape[0]);
                simple != npos) {
                out.push_back("\"\\/\b\f\n\r\t"[simple]);
                ++at_;
            } else if (escape[0] == 'u' && escape.size() == 5 &&
                       escape.find_first_not_of("0123456789abcdefABCDEF", 1) == npos &&
                       std::stoi(std::string(escape.substr(1)), nullptr, 16) < 0x80) {
                // The dump escapes control characters only.
                out.push_back(
                    static_cast<char>(std::stoi(std::string(escape.substr(1)), nullptr, 16)));
                at_ += 5;
            } else {
                return false;
            }
        }
        return false;
    }

    static constexpr std::size_t npos = std::string_view::npos;
    std::string_view text_;
    std::size_t at_ = 0;
};

// A two-layer drawing with a group, tags in Windows-1252 that need escaping, a path with a
// curve and paints of two kinds, in a document of 2 points per user unit: a wrong order, a
// coordinate left in points or with y upwards, or a broken escape shows.
TEST(Dump, SmallDocument) {
    std::string error;
    auto document = emulator::ReadSvg(
        "<svg xmlns='http://www.w3.org/2000/svg'"
        " xmlns:inkscape='http://www.inkscape.org/namespaces/inkscape'"
        " xmlns:sodipodi='http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd'"
        " width='200pt' height='100pt' viewBox='0 0 100 50'>"
        "<g inkscape:groupmode='layer' inkscape:label='Dessous' sodipodi:insensitive='true'>"
        "<path d='M 0,0 L 10,0'/></g>"
        "<g inkscape:groupmode='layer' inkscape:label='Dessus \"1\"' style='display:none'>"
        "<g inkscape:label='Groupe'>"
        "<path inkscape:label='bas' d='M 1,2 C 3,4 5,6 7,8 Z' style='fill:#ff0000;stroke:none'/>"
        "<path inkscape:label='haut' d='M 0,0 L 1,1' style='stroke:#000;stroke-width:0.5;"
        "stroke-dasharray:2 1'/>"
        "</g></g></svg>",
        &error);
    ASSERT_NE(document, nullptr) << error;
    emulator::Art& group = *document->layers.back()->art.front();
    group.tags["Texte"] = emulator::Windows1252FromUtf8("12 mm\r« à \\ »");
    group.children.front()->style.fill.kind = emulator::Paint::Kind::CMYK;
    group.children.front()->style.fill.cyan = 0.25;
    group.children.back()->selected = true;

    const std::string text = emulator::DumpJson(*document);
    Json dump;
    ASSERT_TRUE(JsonParser(text).Parse(dump)) << text;
    const Json& layers = dump["layers"];
    ASSERT_EQ(layers.array.size(), 2u) << text;
    EXPECT_EQ(layers[0]["title"].string, "Dessus \"1\"");
    EXPECT_FALSE(layers[0]["visible"].boolean);
    EXPECT_FALSE(layers[0]["locked"].boolean);
    EXPECT_EQ(layers[1]["title"].string, "Dessous");
    EXPECT_TRUE(layers[1]["locked"].boolean);
    EXPECT_EQ(layers[1]["visible"].kind, Json::Kind::Bool);

    const Json& g = layers[0]["art"][0];
    EXPECT_EQ(g["type"].string, "group");
    EXPECT_EQ(g["name"].string, "Groupe");
    EXPECT_EQ(g["tags"]["Texte"].string, "12 mm\r« à \\ »");
    ASSERT_EQ(g["children"].array.size(), 2u);
    const Json& top = g["children"][0];
    EXPECT_EQ(top["name"].string, "haut");
    EXPECT_TRUE(top["selected"].boolean);
    EXPECT_EQ(g["children"][1]["selected"].kind, Json::Kind::Null);
    EXPECT_EQ(top["type"].string, "path");
    EXPECT_FALSE(top["closed"].boolean);
    EXPECT_EQ(top["fill"]["kind"].string, "rgb");
    EXPECT_DOUBLE_EQ(top["stroke"]["width"].number, 0.5);
    ASSERT_EQ(top["stroke"]["dash"].array.size(), 2u);
    EXPECT_DOUBLE_EQ(top["stroke"]["dash"][0].number, 2);

    const Json& bottom = g["children"][1];
    EXPECT_EQ(bottom["name"].string, "bas");
    EXPECT_TRUE(bottom["closed"].boolean);
    EXPECT_EQ(bottom["stroke"].kind, Json::Kind::Null);
    EXPECT_EQ(bottom["fill"]["kind"].string, "cmyk");
    EXPECT_DOUBLE_EQ(bottom["fill"]["c"].number, 0.25);
    ASSERT_EQ(bottom["segments"].array.size(), 2u);
    const double expected[2][6] = {{1, 2, 1, 2, 3, 4}, {7, 8, 5, 6, 7, 8}};
    for (std::size_t i = 0; i < 2; ++i) {
        const Json& segment = bottom["segments"][i];
        ASSERT_EQ(segment.array.size(), 7u);
        for (std::size_t j = 0; j < 6; ++j) {
            EXPECT_NEAR(segment[j].number, expected[i][j], 1e-5) << i << "," << j;
        }
        EXPECT_EQ(segment[6].kind, Json::Kind::Bool);
    }
}

// Texts in a document of 2 points per user unit, turned every way: an angle measured
// clockwise or from the wrong axis, an anchor or a size left in points, paragraphs not
// joined by line feeds, or a missing field shows.
TEST(Dump, Texts) {
    constexpr double kPi = 3.14159265358979323846;
    emulator::Document document;
    document.unitScale = 2;
    emulator::Layer& layer = *document.layers.emplace_back(std::make_unique<emulator::Layer>());
    const double angles[] = {180, -90, 30};  // bottom to top
    for (const double degrees : angles) {
        auto& art = *layer.art.emplace_back(std::make_unique<emulator::Art>());
        art.type = emulator::ArtType::Text;
        art.tags["VornType"] = "1";
        art.pointText.text = u"12,5 \u00B1 0,1\rmm";
        art.pointText.features.font = "DejaVuSans";
        art.pointText.features.baselineShift = 3;
        art.pointText.features.justification = emulator::Justification::Center;
        const double a = degrees * kPi / 180;
        const double matrix[6] = {std::cos(a), std::sin(a), -std::sin(a), std::cos(a), 100, -120};
        std::copy(std::begin(matrix), std::end(matrix), std::begin(art.pointText.matrix));
    }
    const std::string out = emulator::DumpJson(document);
    Json dump;
    ASSERT_TRUE(JsonParser(out).Parse(dump)) << out;
    const Json& art = dump["layers"][0]["art"];
    ASSERT_EQ(art.array.size(), 3u) << out;
    for (std::size_t i = 0; i < 3; ++i) {
        const Json& text = art[i];
        EXPECT_DOUBLE_EQ(text["angle"].number, angles[2 - i]);
        EXPECT_EQ(text["type"].string, "text");
        EXPECT_EQ(text["name"].kind, Json::Kind::String);
        EXPECT_EQ(text["tags"]["VornType"].string, "1");
        EXPECT_EQ(text["text"].string, "12,5 \u00B1 0,1\nmm");
        EXPECT_EQ(text["font"].string, "DejaVuSans");
        EXPECT_DOUBLE_EQ(text["size"].number, 6);
        EXPECT_DOUBLE_EQ(text["anchor"][0].number, 50);
        EXPECT_DOUBLE_EQ(text["anchor"][1].number, 60);
        EXPECT_DOUBLE_EQ(text["baselineShift"].number, 1.5);
        EXPECT_EQ(text["justification"].string, "center");
        EXPECT_EQ(text["fill"]["kind"].string, "gray");
    }
}

}  // namespace
