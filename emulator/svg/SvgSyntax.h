// The syntax of SVG attribute values that the reader and the writer share: numbers and
// separators, transform lists, and the plane maps they describe.
#pragma once

#include <optional>
#include <string_view>

namespace emulator::svg {

struct Vec {
    double x = 0;
    double y = 0;
};

inline Vec operator+(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y};
}
inline Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y};
}
inline Vec operator*(double s, Vec a) {
    return {s * a.x, s * a.y};
}

// x' = a·x + c·y + e, y' = b·x + d·y + f.
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
};

Vec Apply(const Affine& m, Vec p);

// The map that applies n, then m.
Affine Compose(const Affine& m, const Affine& n);

bool IsFinite(const Affine& m);

// The inverse map; nothing when the map squashes the plane (or is not finite).
std::optional<Affine> Invert(const Affine& m);

// How much the map scales lengths (the square root of its area scale).
double LengthScale(const Affine& m);

double Radians(double degrees);

bool IsSpace(char c);
bool IsDigit(char c);
bool IsAlpha(char c);
std::string_view Trim(std::string_view text);

// Reads the numbers, flags and separators of attribute values (path data, point lists,
// transforms, lengths). Every read either consumes what it read or leaves the position
// where it was and returns false, so a loop over a scanner always moves or stops.
class Scanner {
  public:
    explicit Scanner(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    void Advance() { ++pos_; }
    std::string_view Rest() const { return text_.substr(std::min(pos_, text_.size())); }

    void SkipSpaces() {
        while (!AtEnd() && IsSpace(text_[pos_])) {
            ++pos_;
        }
    }

    // Spaces, at most one comma, spaces.
    void SkipSeparator() {
        SkipSpaces();
        if (Peek() == ',') {
            ++pos_;
            SkipSpaces();
        }
    }

    bool AtNumber() const {
        const char c = Peek();
        return IsDigit(c) || c == '+' || c == '-' || c == '.';
    }

    // An SVG number: [+-] (digits [. digits] | . digits) [(e|E) [+-] digits]. A number that
    // is not finite in a double (1e400) is refused like a malformed one.
    bool Number(double& value);

    // An arc flag: a single 0 or 1, which needs no separator after it.
    bool Flag(bool& value) {
        const char c = Peek();
        if (c != '0' && c != '1') {
            return false;
        }
        value = c == '1';
        ++pos_;
        return true;
    }

    // A run of letters (a transform's name, a unit).
    std::string_view Word() {
        const std::size_t start = pos_;
        while (!AtEnd() && IsAlpha(text_[pos_])) {
            ++pos_;
        }
        return text_.substr(start, pos_ - start);
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// The map of a transform attribute: a list of matrix, translate, scale, rotate, skewX and
// skewY, the first applied last. Nothing when the list is malformed (the attribute is then
// ignored, as SVG renderers do) or its map is not finite.
std::optional<Affine> ParseTransform(std::string_view text);

}  // namespace emulator::svg
