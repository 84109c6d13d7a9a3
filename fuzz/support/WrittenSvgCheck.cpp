#include "fuzz/support/WrittenSvgCheck.h"

#include <pugixml.hpp>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <set>
#include <string_view>

namespace fuzzing {
namespace {

// True when a word of the value is a number that is not finite, or a word a program writes
// for one. Path data glues its command letters to the numbers that follow.
bool HoldsNonFinite(std::string_view value, bool pathData) {
    constexpr std::string_view kSeparators = " ,;:()\t\r\n";
    std::size_t i = 0;
    while (i < value.size()) {
        while (i < value.size() && kSeparators.find(value[i]) != std::string_view::npos) {
            ++i;
        }
        std::size_t end = i;
        while (end < value.size() && kSeparators.find(value[end]) == std::string_view::npos) {
            ++end;
        }
        std::string word(value.substr(i, end - i));
        for (char& c : word) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        const std::size_t first = pathData ? word.find_first_not_of("mlhvcsqtaz") : 0;
        const std::string number = first == std::string::npos ? "" : word.substr(first);
        for (const char* special :
             {"nan", "-nan", "+nan", "inf", "-inf", "+inf", "infinity", "-infinity", "+infinity"}) {
            if (number == special) {
                return true;
            }
        }
        char* parsed = nullptr;
        const double x = std::strtod(number.c_str(), &parsed);
        if (!number.empty() && parsed == number.c_str() + number.size() && !std::isfinite(x)) {
            return true;
        }
        i = end;
    }
    return false;
}

// True for the attributes that hold numbers: geometry, styles and this program's tags.
bool HoldsNumbers(std::string_view name) {
    static const std::set<std::string_view> kNames = {"d",
                                                      "points",
                                                      "transform",
                                                      "x",
                                                      "y",
                                                      "x1",
                                                      "y1",
                                                      "x2",
                                                      "y2",
                                                      "cx",
                                                      "cy",
                                                      "r",
                                                      "rx",
                                                      "ry",
                                                      "width",
                                                      "height",
                                                      "viewBox",
                                                      "style",
                                                      "font-size",
                                                      "stroke-width",
                                                      "offset",
                                                      "dx",
                                                      "dy",
                                                      "opacity",
                                                      "stroke-dasharray",
                                                      "stroke-dashoffset"};
    return kNames.count(name) != 0 || name.substr(0, 5) == "mesra";
}

// True when the text holds a control character other than a tab or a line end, which XML 1.0
// forbids even as a character reference.
bool HoldsForbiddenCharacter(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string ProblemInWrittenSvg(const std::string& text, bool numbers) {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(
        text.data(), text.size(), pugi::parse_default | pugi::parse_doctype, pugi::encoding_utf8);
    if (!parsed) {
        return std::string("not well-formed XML at byte ") + std::to_string(parsed.offset) + ": " +
               parsed.description();
    }
    std::string problem;
    struct Walker : pugi::xml_tree_walker {
        std::string* problem = nullptr;
        bool numbers = true;
        bool for_each(pugi::xml_node& node) override {
            if (HoldsForbiddenCharacter(node.value())) {
                *problem =
                    std::string("the text \"") + node.value() + "\" holds a character XML forbids";
                return false;
            }
            std::set<std::string_view> names;
            for (const pugi::xml_attribute& attribute : node.attributes()) {
                if (!names.insert(attribute.name()).second) {
                    *problem = std::string("<") + node.name() + "> has the attribute " +
                               attribute.name() + " twice";
                    return false;
                }
                if (HoldsForbiddenCharacter(attribute.value())) {
                    *problem = std::string("<") + node.name() + " " + attribute.name() +
                               "> holds a character XML forbids";
                    return false;
                }
                const std::string_view name = attribute.name();
                if (numbers && HoldsNumbers(name) &&
                    HoldsNonFinite(attribute.value(), name == "d" || name == "points")) {
                    *problem = std::string("<") + node.name() + " " + attribute.name() + "=\"" +
                               attribute.value() + "\"> holds a number that is not finite";
                    return false;
                }
            }
            return true;
        }
    } walker;
    walker.problem = &problem;
    walker.numbers = numbers;
    document.traverse(walker);
    return problem;
}

}  // namespace fuzzing
