#include "emulator/svg/SvgSyntax.h"

#include <charconv>
#include <cmath>
#include <iterator>

namespace emulator::svg {

namespace {
constexpr double kPi = 3.14159265358979323846;
}  // namespace

Vec Apply(const Affine& m, Vec p) {
    return {m.a * p.x + m.c * p.y + m.e, m.b * p.x + m.d * p.y + m.f};
}

Affine Compose(const Affine& m, const Affine& n) {
    return {m.a * n.a + m.c * n.b, m.b * n.a + m.d * n.b,       m.a * n.c + m.c * n.d,
            m.b * n.c + m.d * n.d, m.a * n.e + m.c * n.f + m.e, m.b * n.e + m.d * n.f + m.f};
}

bool IsFinite(const Affine& m) {
    return std::isfinite(m.a) && std::isfinite(m.b) && std::isfinite(m.c) && std::isfinite(m.d) &&
           std::isfinite(m.e) && std::isfinite(m.f);
}

std::optional<Affine> Invert(const Affine& m) {
    const double det = m.a * m.d - m.b * m.c;
    if (det == 0 || !std::isfinite(det)) {
        return std::nullopt;
    }
    const Affine inverse{m.d / det,
                         -m.b / det,
                         -m.c / det,
                         m.a / det,
                         (m.c * m.f - m.d * m.e) / det,
                         (m.b * m.e - m.a * m.f) / det};
    if (!IsFinite(inverse)) {
        return std::nullopt;
    }
    return inverse;
}

double LengthScale(const Affine& m) {
    return std::sqrt(std::fabs(m.a * m.d - m.b * m.c));
}

double Radians(double degrees) {
    return degrees * kPi / 180;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool Scanner::Number(double& value) {
    std::size_t p = pos_;
    if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) {
        ++p;
    }
    const std::size_t mantissa = p;
    bool digits = false;
    while (p < text_.size() && IsDigit(text_[p])) {
        ++p;
        digits = true;
    }
    if (p < text_.size() && text_[p] == '.') {
        ++p;
        while (p < text_.size() && IsDigit(text_[p])) {
            ++p;
            digits = true;
        }
    }
    if (!digits) {
        return false;
    }
    if (p < text_.size() && (text_[p] == 'e' || text_[p] == 'E')) {
        std::size_t q = p + 1;
        if (q < text_.size() && (text_[q] == '+' || text_[q] == '-')) {
            ++q;
        }
        if (q < text_.size() && IsDigit(text_[q])) {
            while (q < text_.size() && IsDigit(text_[q])) {
                ++q;
            }
            p = q;
        }
    }
    double parsed = 0;
    const char* first = text_.data() + mantissa;
    const char* last = text_.data() + p;
    const auto [end, ec] = std::from_chars(first, last, parsed, std::chars_format::general);
    if (ec != std::errc() || end != last || !std::isfinite(parsed)) {
        return false;
    }
    value = text_[pos_] == '-' ? -parsed : parsed;
    pos_ = p;
    return true;
}

std::optional<Affine> ParseTransform(std::string_view text) {
    Scanner s(text);
    Affine result;
    s.SkipSpaces();
    while (!s.AtEnd()) {
        const std::string_view name = s.Word();
        s.SkipSpaces();
        if (s.Peek() != '(') {
            return std::nullopt;
        }
        s.Advance();
        s.SkipSpaces();
        double args[6] = {};
        std::size_t count = 0;
        double value = 0;
        while (count < std::size(args) && s.Number(value)) {
            args[count++] = value;
            s.SkipSeparator();
        }
        if (s.Peek() != ')') {
            return std::nullopt;
        }
        s.Advance();
        Affine t;
        if (name == "matrix" && count == 6) {
            t = {args[0], args[1], args[2], args[3], args[4], args[5]};
        } else if (name == "translate" && (count == 1 || count == 2)) {
            t.e = args[0];
            t.f = count == 2 ? args[1] : 0;
        } else if (name == "scale" && (count == 1 || count == 2)) {
            t.a = args[0];
            t.d = count == 2 ? args[1] : args[0];
        } else if (name == "rotate" && (count == 1 || count == 3)) {
            const double angle = Radians(args[0]);
            const Affine rotation{
                std::cos(angle), std::sin(angle), -std::sin(angle), std::cos(angle), 0, 0};
            const Affine there{1, 0, 0, 1, args[1], args[2]};
            const Affine back{1, 0, 0, 1, -args[1], -args[2]};
            t = Compose(there, Compose(rotation, back));
        } else if (name == "skewX" && count == 1) {
            t.c = std::tan(Radians(args[0]));
        } else if (name == "skewY" && count == 1) {
            t.b = std::tan(Radians(args[0]));
        } else {
            return std::nullopt;
        }
        result = Compose(result, t);
        s.SkipSeparator();
    }
    if (!IsFinite(result)) {
        return std::nullopt;
    }
    return result;
}

}  // namespace emulator::svg
