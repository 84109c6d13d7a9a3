// The entities of the SVG reader: the general entities that a DOCTYPE declares in its
// internal subset, as some illustration programs export them (xmlns="&ns_svg;"), expanded in
// the text before the XML parser, which does not expand them, reads it.
//
// The expansion works on the text of an encoding in which the characters of markup are
// those of ASCII (UTF-8, the ISO-8859 family, Windows code pages); text in UTF-16 or UTF-32
// is left alone. A reference in content becomes the entity's replacement text, read as
// content in turn (comments, CDATA sections and processing instructions are left as they
// are); a reference inside an attribute value becomes the replacement text with its quotes
// and `<` escaped, so that the value stays one value. Character references and the five
// predefined entities are left to the parser. External entities (SYSTEM or PUBLIC) are never
// fetched: a reference to one is dropped. The declarations of general entities are taken
// out of the DOCTYPE, since nothing refers to them any more; the written file then renders
// the same in every viewer. An entity that refers to itself, entities nested more than
// kMaxNesting deep, and an expansion of more than kMaxExpansion bytes (a "billion laughs")
// are refused.
#include <algorithm>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "emulator/svg/SvgReader.h"

namespace emulator::svg_reader {
namespace {

constexpr std::size_t kMaxExpansion = std::size_t{8} << 20;
constexpr std::size_t kMaxNesting = 64;

bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool StartsWith(std::string_view text, std::size_t at, std::string_view prefix) {
    return text.substr(std::min(at, text.size())).substr(0, prefix.size()) == prefix;
}

// The position right after `end` found from `from`, or the end of the text.
std::size_t After(std::string_view text, std::size_t from, std::string_view end) {
    const std::size_t at = text.find(end, from);
    return at == std::string_view::npos ? text.size() : at + end.size();
}

// The position right after the `>` that closes a declaration, quoted strings skipped.
std::size_t DeclarationEnd(std::string_view text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == '"' || text[i] == '\'') {
            const std::size_t close = text.find(text[i], i + 1);
            if (close == std::string_view::npos) {
                return text.size();
            }
            i = close;
        } else if (text[i] == '>') {
            return i + 1;
        }
    }
    return text.size();
}

std::size_t SkipSpaces(std::string_view text, std::size_t at) {
    while (at < text.size() && IsXmlSpace(text[at])) {
        ++at;
    }
    return at;
}

std::size_t NameEnd(std::string_view text, std::size_t at) {
    if (at >= text.size() || !IsNameStart(text[at])) {
        return at;
    }
    while (at < text.size() && IsNameChar(text[at])) {
        ++at;
    }
    return at;
}

struct Entity {
    std::string_view value;  // the replacement text of an internal entity
    bool external = false;
};

using Entities = std::map<std::string_view, Entity, std::less<>>;

// The DOCTYPE of a text, where its internal subset is and what it declares.
struct Doctype {
    std::size_t subsetOpen = 0;   // the `[`
    std::size_t subsetClose = 0;  // the `]`
    std::size_t end = 0;          // right after the closing `>`
    Entities entities;
    // The declarations of general entities, [begin, end) in the text.
    std::vector<std::pair<std::size_t, std::size_t>> declarations;
};

// Reads an entity declaration at `at` (its `<!ENTITY`); returns the position after it.
std::size_t ReadEntity(std::string_view text, std::size_t at, Doctype& doctype) {
    const std::size_t end = DeclarationEnd(text, at);
    std::size_t i = SkipSpaces(text, at + 8);
    if (i < text.size() && text[i] == '%') {
        return end;  // a parameter entity: the DTD's business
    }
    const std::size_t nameEnd = NameEnd(text, i);
    if (nameEnd == i) {
        return end;
    }
    const std::string_view name = text.substr(i, nameEnd - i);
    i = SkipSpaces(text, nameEnd);
    Entity entity;
    if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
        const std::size_t close = text.find(text[i], i + 1);
        if (close == std::string_view::npos || close >= end) {
            return end;
        }
        entity.value = text.substr(i + 1, close - i - 1);
    } else if (StartsWith(text, i, "SYSTEM") || StartsWith(text, i, "PUBLIC")) {
        entity.external = true;
    } else {
        return end;
    }
    // The first declaration of a name is the one that holds.
    doctype.entities.emplace(name, entity);
    doctype.declarations.emplace_back(at, end);
    return end;
}

// The DOCTYPE of the text's prolog with an internal subset, if it has one.
std::optional<Doctype> FindDoctype(std::string_view text) {
    std::size_t at = StartsWith(text, 0, "\xEF\xBB\xBF") ? 3 : 0;
    for (;;) {
        at = SkipSpaces(text, at);
        if (StartsWith(text, at, "<?")) {
            at = After(text, at, "?>");
        } else if (StartsWith(text, at, "<!--")) {
            at = After(text, at + 4, "-->");
        } else if (StartsWith(text, at, "<!DOCTYPE")) {
            break;
        } else {
            return std::nullopt;
        }
    }
    Doctype doctype;
    // The name and the external identifier, up to the internal subset.
    for (std::size_t i = at + 9;; ++i) {
        if (i >= text.size() || text[i] == '>') {
            return std::nullopt;
        }
        if (text[i] == '"' || text[i] == '\'') {
            const std::size_t close = text.find(text[i], i + 1);
            if (close == std::string_view::npos) {
                return std::nullopt;
            }
            i = close;
        } else if (text[i] == '[') {
            doctype.subsetOpen = i;
            break;
        }
    }
    std::size_t i = doctype.subsetOpen + 1;
    while (i < text.size() && text[i] != ']') {
        if (StartsWith(text, i, "<!--")) {
            i = After(text, i + 4, "-->");
        } else if (StartsWith(text, i, "<?")) {
            i = After(text, i, "?>");
        } else if (StartsWith(text, i, "<!ENTITY") && i + 8 < text.size() &&
                   IsXmlSpace(text[i + 8])) {
            i = ReadEntity(text, i, doctype);
        } else if (StartsWith(text, i, "<!")) {
            i = DeclarationEnd(text, i);
        } else {
            ++i;
        }
    }
    if (i >= text.size()) {
        return std::nullopt;
    }
    doctype.subsetClose = i;
    const std::size_t close = SkipSpaces(text, i + 1);
    if (close >= text.size() || text[close] != '>') {
        return std::nullopt;
    }
    doctype.end = close + 1;
    return doctype;
}

// Writes text with the references to the entities expanded.
class Expander {
  public:
    explicit Expander(const Entities& entities) : entities_(entities) {}

    // Content: elements, character data, comments and the rest.
    bool Content(std::string_view text) {
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t next = text.find_first_of("<&", at);
            out_.append(text.substr(at, next - at));
            if (next == std::string_view::npos) {
                break;
            }
            if (text[next] == '&') {
                at = next;
                if (!Reference(text, at, '\0')) {
                    return false;
                }
                continue;
            }
            std::size_t end = next;
            if (StartsWith(text, next, "<!--")) {
                end = After(text, next + 4, "-->");
            } else if (StartsWith(text, next, "<![CDATA[")) {
                end = After(text, next + 9, "]]>");
            } else if (StartsWith(text, next, "<?")) {
                end = After(text, next, "?>");
            } else if (StartsWith(text, next, "<!")) {
                end = DeclarationEnd(text, next);
            } else {
                at = next;
                if (!Tag(text, at)) {
                    return false;
                }
                continue;
            }
            out_.append(text.substr(next, end - next));
            at = end;
        }
        return true;
    }

    std::string& Text() { return out_; }
    const std::string& Error() const { return error_; }

  private:
    // A tag at `at` (its `<`), with the references in its attribute values expanded.
    bool Tag(std::string_view text, std::size_t& at) {
        while (at < text.size()) {
            const char c = text[at];
            out_ += c;
            ++at;
            if (c == '>') {
                return true;
            }
            if (c != '"' && c != '\'') {
                continue;
            }
            while (at < text.size() && text[at] != c) {
                if (text[at] == '&') {
                    if (!Reference(text, at, c)) {
                        return false;
                    }
                } else {
                    out_ += text[at++];
                }
            }
            if (at < text.size()) {
                out_ += text[at++];  // the closing quote
            }
        }
        return true;
    }

    // The replacement text of an entity inside an attribute value delimited by `quote`.
    bool Attribute(std::string_view text, char quote) {
        std::size_t at = 0;
        while (at < text.size()) {
            const char c = text[at];
            if (c == '&') {
                if (!Reference(text, at, quote)) {
                    return false;
                }
                continue;
            }
            switch (c) {
                case '"':
                    out_ += "&quot;";
                    break;
                case '\'':
                    out_ += "&apos;";
                    break;
                case '<':
                    out_ += "&lt;";
                    break;
                default:
                    out_ += c;
            }
            ++at;
        }
        return true;
    }

    // A reference at `at` (its `&`), in content (quote 0) or in an attribute value.
    bool Reference(std::string_view text, std::size_t& at, char quote) {
        const std::size_t nameEnd = NameEnd(text, at + 1);
        if (nameEnd == at + 1 || nameEnd >= text.size() || text[nameEnd] != ';') {
            out_ += '&';  // a character reference, or a bare ampersand: the parser's
            ++at;
            return true;
        }
        const std::string_view name = text.substr(at + 1, nameEnd - at - 1);
        const auto entity = entities_.find(name);
        const bool predefined =
            name == "lt" || name == "gt" || name == "amp" || name == "apos" || name == "quot";
        if (predefined || entity == entities_.end()) {
            out_.append(text.substr(at, nameEnd + 1 - at));
            at = nameEnd + 1;
            return true;
        }
        at = nameEnd + 1;
        if (entity->second.external) {
            return true;
        }
        for (const std::string_view open : open_) {
            if (open == name) {
                error_ = "the entity \"";
                error_.append(name).append("\" refers to itself");
                return false;
            }
        }
        expanded_ += entity->second.value.size() + 1;
        if (expanded_ > kMaxExpansion || open_.size() >= kMaxNesting) {
            error_ = "its DOCTYPE's entities expand beyond ";
            error_ += expanded_ > kMaxExpansion ? std::to_string(kMaxExpansion >> 20) + " MiB"
                                                : std::to_string(kMaxNesting) + " levels";
            error_ += " (a runaway expansion, refused)";
            return false;
        }
        open_.push_back(name);
        const bool expanded =
            quote == '\0' ? Content(entity->second.value) : Attribute(entity->second.value, quote);
        open_.pop_back();
        return expanded;
    }

    const Entities& entities_;
    std::string out_;
    std::string error_;
    std::size_t expanded_ = 0;  // the bytes of replacement text read so far
    std::vector<std::string_view> open_;
};

}  // namespace

bool ExpandEntities(std::string_view text, std::optional<std::string>& expanded,
                    std::string& reason) {
    expanded.reset();
    // UTF-32 or UTF-16, with or without a byte-order mark: not ASCII's markup.
    if (text.substr(0, 4).find('\0') != std::string_view::npos || StartsWith(text, 0, "\xFE\xFF") ||
        StartsWith(text, 0, "\xFF\xFE")) {
        return true;
    }
    const std::optional<Doctype> doctype = FindDoctype(text);
    if (!doctype || doctype->declarations.empty()) {
        return true;
    }
    Expander expander(doctype->entities);
    std::string& out = expander.Text();
    // The DOCTYPE without its general entities, and without its internal subset when
    // nothing else is left in it.
    std::string subset;
    std::size_t from = doctype->subsetOpen + 1;
    for (const auto& [begin, end] : doctype->declarations) {
        // With the line or the spaces it stands on.
        std::size_t start = begin;
        while (start > from && IsXmlSpace(text[start - 1])) {
            --start;
        }
        subset.append(text.substr(from, start - from));
        from = end;
    }
    subset.append(text.substr(from, doctype->subsetClose - from));
    out.append(text.substr(0, doctype->subsetOpen));
    if (subset.find_first_not_of(" \t\r\n") == std::string::npos) {
        while (!out.empty() && IsXmlSpace(out.back())) {
            out.pop_back();
        }
    } else {
        out += '[';
        out += subset;
        out += ']';
    }
    out.append(text.substr(doctype->subsetClose + 1, doctype->end - doctype->subsetClose - 1));
    if (!expander.Content(text.substr(doctype->end))) {
        reason = expander.Error();
        return false;
    }
    expanded = std::move(out);
    return true;
}

}  // namespace emulator::svg_reader
