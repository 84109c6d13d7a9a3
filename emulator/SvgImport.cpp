#include "emulator/SvgImport.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <sstream>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "emulator/SvgSyntax.h"
#include "emulator/Unicode.h"

namespace emulator {
namespace {

using svg::Affine;
using svg::Apply;
using svg::Compose;
using svg::IsAlpha;
using svg::IsDigit;
using svg::IsFinite;
using svg::IsSpace;
using svg::ParseTransform;
using svg::Radians;
using svg::Scanner;
using svg::Trim;
using svg::Vec;

constexpr double kPi = 3.14159265358979323846;

// Elements nested deeper than this under the root are left to the DOM.
constexpr int kMaxDepth = 256;

// The handle length of a quarter circle of radius 1 drawn as one cubic: 4/3 (√2 − 1).
constexpr double kKappa = 0.55228474983079339840;

// Arcs are cut into pieces of at most this angle.
constexpr double kMaxArcPiece = kPi / 2;
// How far past a multiple of kMaxArcPiece an arc must reach before it takes one more
// piece, so that a half circle whose angle rounds just above 180° still takes two.
constexpr double kArcPieceSlack = 1e-9;

// Two handles are collinear (a smooth anchor) when their directions differ by at most this.
constexpr double kSmoothAngle = 1e-3;

// The last anchor of a closed subpath is its first when they are this close, relative to
// the size of their coordinates (at least 1 point): the rounding of relative commands.
constexpr double kSameAnchorTolerance = 1e-6;

constexpr double kPointsPerInch = 72.0;
// CSS pixels per inch: the lengths of style values and geometry attributes in user units.
constexpr double kCssPixelsPerInch = 96.0;

constexpr std::string_view kSvgNamespace = "http://www.w3.org/2000/svg";
constexpr std::string_view kInkscapeNamespace = "http://www.inkscape.org/namespaces/inkscape";
constexpr std::string_view kSodipodiNamespace =
    "http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd";

// ---- Small geometry --------------------------------------------------------------------

// ---- Scanning numbers ------------------------------------------------------------------

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// Numbers separated by commas or spaces, up to the first that does not read; with the
// whole text read only when `complete` is set.
std::vector<double> NumberList(std::string_view text, bool* complete = nullptr) {
    Scanner s(text);
    std::vector<double> numbers;
    s.SkipSpaces();
    double value = 0;
    while (s.Number(value)) {
        numbers.push_back(value);
        s.SkipSeparator();
    }
    if (complete) {
        *complete = s.AtEnd();
    }
    return numbers;
}

// ---- Lengths -----------------------------------------------------------------------------

// Points per unit of the root's width and height: pixels and plain numbers are points,
// as illustration programs write them.
std::optional<double> PointsPerRootUnit(std::string_view unit) {
    if (unit.empty() || unit == "px" || unit == "pt") {
        return 1.0;
    }
    if (unit == "pc") {
        return 12.0;
    }
    if (unit == "in") {
        return kPointsPerInch;
    }
    if (unit == "cm") {
        return kPointsPerInch / 2.54;
    }
    if (unit == "mm") {
        return kPointsPerInch / 25.4;
    }
    return std::nullopt;
}

struct RootLength {
    double value = 0;
    double pointsPerUnit = 1;
};

// The root's width or height: a positive number with an optional absolute unit (a
// percentage or a relative unit gives nothing).
std::optional<RootLength> ParseRootLength(std::string_view text) {
    Scanner s(Trim(text));
    RootLength length;
    if (!s.Number(length.value) || !(length.value > 0)) {
        return std::nullopt;
    }
    const auto unit = PointsPerRootUnit(s.Word());
    if (!unit || !s.AtEnd()) {
        return std::nullopt;
    }
    length.pointsPerUnit = *unit;
    return length;
}

enum class Axis { X, Y, Diagonal };

// A length inside the drawing (geometry attributes, stroke widths) in user units: CSS
// units count 96 pixels to the inch, a percentage is of the viewport along the axis.
std::optional<double> ParseLength(std::string_view text, Axis axis, Vec viewport) {
    Scanner s(Trim(text));
    double value = 0;
    if (!s.Number(value)) {
        return std::nullopt;
    }
    double scale = 1;
    if (s.Peek() == '%') {
        s.Advance();
        const double reference =
            axis == Axis::X   ? viewport.x
            : axis == Axis::Y ? viewport.y
                              : std::sqrt((viewport.x * viewport.x + viewport.y * viewport.y) / 2);
        scale = reference / 100;
    } else {
        const std::string_view unit = s.Word();
        if (unit == "in") {
            scale = kCssPixelsPerInch;
        } else if (unit == "cm") {
            scale = kCssPixelsPerInch / 2.54;
        } else if (unit == "mm") {
            scale = kCssPixelsPerInch / 25.4;
        } else if (unit == "pt") {
            scale = kCssPixelsPerInch / kPointsPerInch;
        } else if (unit == "pc") {
            scale = kCssPixelsPerInch / 6;
        } else if (!unit.empty() && unit != "px") {
            return std::nullopt;
        }
    }
    const double length = value * scale;
    if (!s.AtEnd() || !std::isfinite(length)) {
        return std::nullopt;
    }
    return length;
}

// ---- Path geometry -----------------------------------------------------------------------

// A cubic from the end of the previous one (or the subpath's start). A straight segment
// has its control points on its ends.
struct Curve {
    Vec c1;
    Vec c2;
    Vec end;
};

struct Subpath {
    Vec start;
    std::vector<Curve> curves;
    bool closed = false;
};

// Collects subpaths as path commands draw them.
class PathBuilder {
  public:
    Vec Current() const { return current_; }

    void MoveTo(Vec p) {
        subpaths_.push_back({p, {}, false});
        open_ = true;
        current_ = p;
    }

    void LineTo(Vec p) { CurveTo(current_, p, p); }

    void CurveTo(Vec c1, Vec c2, Vec p) {
        if (!open_) {
            // Drawing on after a close starts a new subpath where the closed one started.
            MoveTo(current_);
        }
        subpaths_.back().curves.push_back({c1, c2, p});
        current_ = p;
    }

    void Close() {
        if (!open_) {
            return;
        }
        subpaths_.back().closed = true;
        current_ = subpaths_.back().start;
        open_ = false;
    }

    std::vector<Subpath> Take() { return std::move(subpaths_); }

  private:
    std::vector<Subpath> subpaths_;
    Vec current_;
    bool open_ = false;
};

// Appends the elliptical arc from the current point to `to` as cubics of at most 90° each:
// the centre found from the end points, radii too small to reach scaled up, a zero radius
// drawn as a straight line, and nothing drawn between identical end points.
void ArcTo(PathBuilder& path, double rx, double ry, double angle, bool large, bool sweep, Vec to) {
    const Vec from = path.Current();
    if (from.x == to.x && from.y == to.y) {
        return;
    }
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    if (rx == 0 || ry == 0) {
        path.LineTo(to);
        return;
    }
    const double phi = Radians(std::fmod(angle, 360.0));
    const double cosPhi = std::cos(phi);
    const double sinPhi = std::sin(phi);
    const Vec half = 0.5 * (from - to);
    // The start point in the ellipse's axes, relative to the chord's middle.
    const Vec p{cosPhi * half.x + sinPhi * half.y, -sinPhi * half.x + cosPhi * half.y};
    const double lambda = (p.x * p.x) / (rx * rx) + (p.y * p.y) / (ry * ry);
    if (lambda > 1) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    const double rx2 = rx * rx;
    const double ry2 = ry * ry;
    const double denominator = rx2 * p.y * p.y + ry2 * p.x * p.x;
    const double radicand = (rx2 * ry2 - denominator) / denominator;
    const double coefficient = (large != sweep ? 1 : -1) * std::sqrt(std::max(0.0, radicand));
    const Vec centreAxes{coefficient * rx * p.y / ry, -coefficient * ry * p.x / rx};
    const Vec middle = 0.5 * (from + to);
    const Vec centre{cosPhi * centreAxes.x - sinPhi * centreAxes.y + middle.x,
                     sinPhi * centreAxes.x + cosPhi * centreAxes.y + middle.y};
    const double start = std::atan2((p.y - centreAxes.y) / ry, (p.x - centreAxes.x) / rx);
    const double end = std::atan2((-p.y - centreAxes.y) / ry, (-p.x - centreAxes.x) / rx);
    double sweepAngle = end - start;
    if (sweep && sweepAngle < 0) {
        sweepAngle += 2 * kPi;
    } else if (!sweep && sweepAngle > 0) {
        sweepAngle -= 2 * kPi;
    }
    if (!std::isfinite(centre.x) || !std::isfinite(centre.y) || !std::isfinite(sweepAngle)) {
        // Radii so large that their squares overflow: the arc is as good as straight.
        path.LineTo(to);
        return;
    }
    const int pieces = std::clamp(
        static_cast<int>(std::ceil(std::fabs(sweepAngle) / kMaxArcPiece - kArcPieceSlack)), 1, 4);
    const double step = sweepAngle / pieces;
    const double handle = 4.0 / 3.0 * std::tan(step / 4);
    const auto pointAt = [&](double t) {
        const double x = rx * std::cos(t);
        const double y = ry * std::sin(t);
        return Vec{centre.x + cosPhi * x - sinPhi * y, centre.y + sinPhi * x + cosPhi * y};
    };
    const auto tangentAt = [&](double t) {
        const double x = -rx * std::sin(t);
        const double y = ry * std::cos(t);
        return Vec{cosPhi * x - sinPhi * y, sinPhi * x + cosPhi * y};
    };
    Vec pieceStart = from;
    for (int i = 0; i < pieces; ++i) {
        const double t0 = start + i * step;
        const double t1 = t0 + step;
        const Vec pieceEnd = i + 1 == pieces ? to : pointAt(t1);
        path.CurveTo(pieceStart + handle * tangentAt(t0), pieceEnd - handle * tangentAt(t1),
                     pieceEnd);
        pieceStart = pieceEnd;
    }
}

bool IsPathCommand(char c) {
    switch (Lower(c)) {
        case 'm':
        case 'z':
        case 'l':
        case 'h':
        case 'v':
        case 'c':
        case 's':
        case 'q':
        case 't':
        case 'a':
            return true;
        default:
            return false;
    }
}

// A coordinate pair; on failure the scanner may have moved past the first number.
bool ReadPair(Scanner& s, Vec& p) {
    return s.Number(p.x) && (s.SkipSeparator(), s.Number(p.y));
}

// The subpaths of SVG path data. As SVG renderers do, the data is drawn up to the first
// error (a command without its numbers, a stray character), keeping every segment whose
// numbers were complete.
std::vector<Subpath> ParsePathData(std::string_view data) {
    Scanner s(data);
    PathBuilder path;
    char command = '\0';
    char previous = '\0';  // the previous command, upper case, for the reflections of S and T
    Vec lastControl;       // the previous cubic's second control point or quadratic's control
    s.SkipSpaces();
    while (!s.AtEnd()) {
        if (IsPathCommand(s.Peek())) {
            command = s.Peek();
            s.Advance();
            s.SkipSpaces();
        } else if (command == '\0' || Lower(command) == 'z' || !s.AtNumber()) {
            break;
        }
        const char upper = Upper(command);
        if (previous == '\0' && upper != 'M') {
            break;
        }
        const Vec current = path.Current();
        const Vec base = Lower(command) == command ? current : Vec{};
        Vec c1, c2, p;
        bool complete = true;
        switch (upper) {
            case 'Z':
                path.Close();
                break;
            case 'M':
                if ((complete = ReadPair(s, p))) {
                    path.MoveTo(base + p);
                    // Further pairs are lines.
                    command = command == 'm' ? 'l' : 'L';
                }
                break;
            case 'L':
                if ((complete = ReadPair(s, p))) {
                    path.LineTo(base + p);
                }
                break;
            case 'H':
                if ((complete = s.Number(p.x))) {
                    path.LineTo({base.x + p.x, current.y});
                }
                break;
            case 'V':
                if ((complete = s.Number(p.y))) {
                    path.LineTo({current.x, base.y + p.y});
                }
                break;
            case 'C': {
                if ((complete = ReadPair(s, c1) && (s.SkipSeparator(), ReadPair(s, c2)) &&
                                (s.SkipSeparator(), ReadPair(s, p)))) {
                    lastControl = base + c2;
                    path.CurveTo(base + c1, lastControl, base + p);
                }
                break;
            }
            case 'S': {
                if ((complete = ReadPair(s, c2) && (s.SkipSeparator(), ReadPair(s, p)))) {
                    const bool reflect = previous == 'C' || previous == 'S';
                    const Vec first = reflect ? current + (current - lastControl) : current;
                    lastControl = base + c2;
                    path.CurveTo(first, lastControl, base + p);
                }
                break;
            }
            case 'Q':
            case 'T': {
                Vec control;
                if (upper == 'Q') {
                    complete = ReadPair(s, c1) && (s.SkipSeparator(), ReadPair(s, p));
                    control = base + c1;
                } else {
                    complete = ReadPair(s, p);
                    const bool reflect = previous == 'Q' || previous == 'T';
                    control = reflect ? current + (current - lastControl) : current;
                }
                if (complete) {
                    // The cubic of the same curve: each control point two thirds of the way
                    // from an end to the quadratic's control point.
                    const Vec to = base + p;
                    lastControl = control;
                    path.CurveTo(current + (2.0 / 3.0) * (control - current),
                                 to + (2.0 / 3.0) * (control - to), to);
                }
                break;
            }
            case 'A': {
                double rx = 0, ry = 0, angle = 0;
                bool large = false, sweep = false;
                complete =
                    s.Number(rx) && (s.SkipSeparator(), s.Number(ry)) &&
                    (s.SkipSeparator(), s.Number(angle)) && (s.SkipSeparator(), s.Flag(large)) &&
                    (s.SkipSeparator(), s.Flag(sweep)) && (s.SkipSeparator(), ReadPair(s, p));
                if (complete) {
                    ArcTo(path, rx, ry, angle, large, sweep, base + p);
                }
                break;
            }
            default:
                complete = false;
                break;
        }
        if (!complete) {
            break;
        }
        previous = upper;
        s.SkipSeparator();
    }
    return path.Take();
}

// ---- Shapes ------------------------------------------------------------------------------

// The closed four-cubic ellipse: anchors at (cx+rx, cy), (cx, cy+ry), (cx−rx, cy),
// (cx, cy−ry), each smooth.
std::vector<Subpath> EllipsePath(Vec c, double rx, double ry) {
    const double kx = kKappa * rx;
    const double ky = kKappa * ry;
    PathBuilder path;
    path.MoveTo({c.x + rx, c.y});
    path.CurveTo({c.x + rx, c.y + ky}, {c.x + kx, c.y + ry}, {c.x, c.y + ry});
    path.CurveTo({c.x - kx, c.y + ry}, {c.x - rx, c.y + ky}, {c.x - rx, c.y});
    path.CurveTo({c.x - rx, c.y - ky}, {c.x - kx, c.y - ry}, {c.x, c.y - ry});
    path.CurveTo({c.x + kx, c.y - ry}, {c.x + rx, c.y - ky}, {c.x + rx, c.y});
    path.Close();
    return path.Take();
}

// A rectangle from its top-left corner, clockwise on the page; with rounded corners, anchors
// where the sides meet the quarter ellipses (a side of zero length draws no segment).
std::vector<Subpath> RectPath(double x, double y, double w, double h, double rx, double ry) {
    PathBuilder path;
    if (rx <= 0 || ry <= 0) {
        path.MoveTo({x, y});
        path.LineTo({x + w, y});
        path.LineTo({x + w, y + h});
        path.LineTo({x, y + h});
        path.Close();
        return path.Take();
    }
    const double kx = kKappa * rx;
    const double ky = kKappa * ry;
    const bool horizontalSides = rx < w / 2;
    const bool verticalSides = ry < h / 2;
    path.MoveTo({x + rx, y});
    if (horizontalSides) {
        path.LineTo({x + w - rx, y});
    }
    path.CurveTo({x + w - rx + kx, y}, {x + w, y + ry - ky}, {x + w, y + ry});
    if (verticalSides) {
        path.LineTo({x + w, y + h - ry});
    }
    path.CurveTo({x + w, y + h - ry + ky}, {x + w - rx + kx, y + h}, {x + w - rx, y + h});
    if (horizontalSides) {
        path.LineTo({x + rx, y + h});
    }
    path.CurveTo({x + rx - kx, y + h}, {x, y + h - ry + ky}, {x, y + h - ry});
    if (verticalSides) {
        path.LineTo({x, y + ry});
    }
    path.CurveTo({x, y + ry - ky}, {x + rx - kx, y}, {x + rx, y});
    path.Close();
    return path.Take();
}

std::vector<Subpath> PolyPath(std::string_view points, bool closed) {
    const std::vector<double> numbers = NumberList(points);
    if (numbers.size() < 4) {
        return {};
    }
    PathBuilder path;
    path.MoveTo({numbers[0], numbers[1]});
    for (std::size_t i = 2; i + 1 < numbers.size(); i += 2) {
        path.LineTo({numbers[i], numbers[i + 1]});
    }
    if (closed) {
        path.Close();
    }
    return path.Take();
}

// ---- Colours and styles ------------------------------------------------------------------

struct Rgb {
    double red = 0, green = 0, blue = 0;
};

struct NamedColor {
    std::string_view name;
    unsigned rgb;
};

constexpr NamedColor kNamedColors[] = {
    {"aqua", 0x00FFFF},      {"beige", 0xF5F5DC},     {"black", 0x000000},
    {"blue", 0x0000FF},      {"brown", 0xA52A2A},     {"crimson", 0xDC143C},
    {"cyan", 0x00FFFF},      {"darkblue", 0x00008B},  {"darkgray", 0xA9A9A9},
    {"darkgreen", 0x006400}, {"darkgrey", 0xA9A9A9},  {"darkred", 0x8B0000},
    {"dimgray", 0x696969},   {"dimgrey", 0x696969},   {"fuchsia", 0xFF00FF},
    {"gold", 0xFFD700},      {"gray", 0x808080},      {"green", 0x008000},
    {"grey", 0x808080},      {"indigo", 0x4B0082},    {"khaki", 0xF0E68C},
    {"lightblue", 0xADD8E6}, {"lightgray", 0xD3D3D3}, {"lightgrey", 0xD3D3D3},
    {"lime", 0x00FF00},      {"magenta", 0xFF00FF},   {"maroon", 0x800000},
    {"navy", 0x000080},      {"olive", 0x808000},     {"orange", 0xFFA500},
    {"pink", 0xFFC0CB},      {"purple", 0x800080},    {"red", 0xFF0000},
    {"salmon", 0xFA8072},    {"silver", 0xC0C0C0},    {"skyblue", 0x87CEEB},
    {"steelblue", 0x4682B4}, {"teal", 0x008080},      {"tomato", 0xFF6347},
    {"turquoise", 0x40E0D0}, {"violet", 0xEE82EE},    {"white", 0xFFFFFF},
    {"yellow", 0xFFFF00},
};

Rgb FromHex(unsigned rgb) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}

int HexDigit(char c) {
    if (IsDigit(c)) {
        return c - '0';
    }
    c = Lower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// One component of rgb(): a number from 0 to 255 or a percentage, clamped.
std::optional<double> ColorComponent(Scanner& s) {
    double value = 0;
    if (!s.Number(value)) {
        return std::nullopt;
    }
    double unit = 255;
    if (s.Peek() == '%') {
        s.Advance();
        unit = 100;
    }
    return std::clamp(value / unit, 0.0, 1.0);
}

// A colour: #rgb, #rrggbb, rgb(r, g, b) (rgba's alpha ignored) or a CSS colour name.
std::optional<Rgb> ParseColor(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '#') {
        const std::string_view hex = text.substr(1);
        unsigned value = 0;
        for (const char c : hex) {
            const int digit = HexDigit(c);
            if (digit < 0) {
                return std::nullopt;
            }
            value = value * 16 + static_cast<unsigned>(digit);
        }
        if (hex.size() == 3) {
            return FromHex(((value >> 8) & 0xF) * 0x110000 + ((value >> 4) & 0xF) * 0x1100 +
                           (value & 0xF) * 0x11);
        }
        if (hex.size() == 6) {
            return FromHex(value);
        }
        return std::nullopt;
    }
    const bool rgba = StartsWithIgnoringCase(text, "rgba(");
    if (rgba || StartsWithIgnoringCase(text, "rgb(")) {
        Scanner s(text.substr(rgba ? 5 : 4));
        s.SkipSpaces();
        double components[3] = {};
        for (double& component : components) {
            const auto value = ColorComponent(s);
            if (!value) {
                return std::nullopt;
            }
            component = *value;
            s.SkipSeparator();
        }
        double alpha = 0;
        if (rgba && s.Number(alpha)) {
            if (s.Peek() == '%') {
                s.Advance();
            }
            s.SkipSpaces();
        }
        if (s.Rest() != ")") {
            return std::nullopt;
        }
        return Rgb{components[0], components[1], components[2]};
    }
    for (const NamedColor& named : kNamedColors) {
        if (EqualsIgnoringCase(text, named.name)) {
            return FromHex(named.rgb);
        }
    }
    return std::nullopt;
}

struct PaintValue {
    enum class Kind { None, Color, CurrentColor };
    Kind kind = Kind::None;
    Rgb rgb;
};

// A fill or stroke: none, a colour or currentColor; references (gradients, patterns) and
// anything unknown paint nothing in the model.
PaintValue ParsePaint(std::string_view text) {
    text = Trim(text);
    if (EqualsIgnoringCase(text, "currentColor")) {
        return {PaintValue::Kind::CurrentColor, {}};
    }
    if (const auto rgb = ParseColor(text)) {
        return {PaintValue::Kind::Color, *rgb};
    }
    return {};
}

// The inherited properties of an element, in its user units.
struct Style {
    PaintValue fill{PaintValue::Kind::Color, {}};
    PaintValue stroke;
    Rgb color;
    double strokeWidth = 1;
    std::vector<double> dash;
    double dashOffset = 0;
    LineCap cap = LineCap::Butt;
    LineJoin join = LineJoin::Miter;
    double miterLimit = 4;
    bool visibilityHidden = false;
};

// What an element's properties give it and its children: the inherited style, and its own
// display (which children do not inherit).
struct ComputedStyle {
    Style inherited;
    bool displayNone = false;
};

// A dash array: "none", or lengths separated by commas or spaces (an odd count repeated
// once, as SVG does). Dashes that add up to nothing give a solid line; a negative or
// malformed length, nothing.
std::optional<std::vector<double>> ParseDashArray(std::string_view text, Vec viewport) {
    text = Trim(text);
    if (text == "none") {
        return std::vector<double>{};
    }
    std::vector<double> dash;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of(" \t\r\n\f,"), text.size());
        const auto length = ParseLength(text.substr(0, end), Axis::Diagonal, viewport);
        if (!length || *length < 0) {
            return std::nullopt;
        }
        dash.push_back(*length);
        text = Trim(text.substr(end));
        if (!text.empty() && text.front() == ',') {
            text = Trim(text.substr(1));
        }
    }
    double total = 0;
    for (const double d : dash) {
        total += d;
    }
    if (dash.empty() || !std::isfinite(total)) {
        return std::nullopt;
    }
    if (total == 0) {
        return std::vector<double>{};
    }
    if (dash.size() % 2 == 1) {
        const std::vector<double> once = dash;
        dash.insert(dash.end(), once.begin(), once.end());
    }
    return dash;
}

constexpr std::string_view kStyleProperties[] = {
    "color",
    "fill",
    "stroke",
    "stroke-width",
    "stroke-dasharray",
    "stroke-dashoffset",
    "stroke-linecap",
    "stroke-linejoin",
    "stroke-miterlimit",
    "display",
    "visibility",
};

// Applies one declaration; a value that does not read leaves the property as it was, as a
// CSS declaration in error is dropped (an unknown paint is an exception: it paints nothing).
void ApplyProperty(std::string_view name, std::string_view value, const ComputedStyle& parent,
                   Vec viewport, ComputedStyle& out) {
    value = Trim(value);
    Style& style = out.inherited;
    const Style& from = parent.inherited;
    const bool inherit = value == "inherit";
    if (name == "display") {
        out.displayNone = inherit ? parent.displayNone : value == "none";
    } else if (name == "visibility") {
        if (inherit) {
            style.visibilityHidden = from.visibilityHidden;
        } else if (value == "hidden" || value == "collapse") {
            style.visibilityHidden = true;
        } else if (value == "visible") {
            style.visibilityHidden = false;
        }
    } else if (name == "color") {
        if (inherit || EqualsIgnoringCase(value, "currentColor")) {
            style.color = from.color;
        } else if (const auto rgb = ParseColor(value)) {
            style.color = *rgb;
        }
    } else if (name == "fill") {
        style.fill = inherit ? from.fill : ParsePaint(value);
    } else if (name == "stroke") {
        style.stroke = inherit ? from.stroke : ParsePaint(value);
    } else if (name == "stroke-width") {
        const auto width = ParseLength(value, Axis::Diagonal, viewport);
        if (inherit) {
            style.strokeWidth = from.strokeWidth;
        } else if (width && *width >= 0) {
            style.strokeWidth = *width;
        }
    } else if (name == "stroke-dasharray") {
        if (inherit) {
            style.dash = from.dash;
        } else if (auto dash = ParseDashArray(value, viewport)) {
            style.dash = std::move(*dash);
        }
    } else if (name == "stroke-dashoffset") {
        if (inherit) {
            style.dashOffset = from.dashOffset;
        } else if (const auto offset = ParseLength(value, Axis::Diagonal, viewport)) {
            style.dashOffset = *offset;
        }
    } else if (name == "stroke-linecap") {
        if (inherit) {
            style.cap = from.cap;
        } else if (value == "butt" || value == "round" || value == "square") {
            style.cap = value == "butt"    ? LineCap::Butt
                        : value == "round" ? LineCap::Round
                                           : LineCap::Square;
        }
    } else if (name == "stroke-linejoin") {
        if (inherit) {
            style.join = from.join;
        } else if (value == "miter" || value == "round" || value == "bevel") {
            style.join = value == "miter"   ? LineJoin::Miter
                         : value == "round" ? LineJoin::Round
                                            : LineJoin::Bevel;
        }
    } else if (name == "stroke-miterlimit") {
        double limit = 0;
        Scanner s(value);
        if (inherit) {
            style.miterLimit = from.miterLimit;
        } else if (s.Number(limit) && s.AtEnd() && limit >= 1) {
            style.miterLimit = limit;
        }
    }
}

// The style of an element: its parent's inherited properties, then its presentation
// attributes, then the declarations of its style attribute.
ComputedStyle ComputeStyle(const pugi::xml_node& node, const ComputedStyle& parent, Vec viewport) {
    ComputedStyle out{parent.inherited, false};
    for (const std::string_view property : kStyleProperties) {
        const std::string name(property);
        if (const pugi::xml_attribute attribute = node.attribute(name.c_str())) {
            ApplyProperty(property, attribute.value(), parent, viewport, out);
        }
    }
    std::string_view declarations = node.attribute("style").value();
    while (!declarations.empty()) {
        const std::size_t end = std::min(declarations.find(';'), declarations.size());
        const std::string_view declaration = declarations.substr(0, end);
        declarations.remove_prefix(std::min(end + 1, declarations.size()));
        const std::size_t colon = declaration.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        std::string name(Trim(declaration.substr(0, colon)));
        std::transform(name.begin(), name.end(), name.begin(), Lower);
        std::string_view value = Trim(declaration.substr(colon + 1));
        constexpr std::string_view kImportant = "!important";
        if (value.size() >= kImportant.size() &&
            EqualsIgnoringCase(value.substr(value.size() - kImportant.size()), kImportant)) {
            value = Trim(value.substr(0, value.size() - kImportant.size()));
        }
        ApplyProperty(name, value, parent, viewport, out);
    }
    return out;
}

Paint ModelPaint(const PaintValue& value, const Rgb& color) {
    Paint paint;
    if (value.kind == PaintValue::Kind::None) {
        return paint;
    }
    const Rgb& rgb = value.kind == PaintValue::Kind::CurrentColor ? color : value.rgb;
    paint.kind = Paint::Kind::RGB;
    paint.red = rgb.red;
    paint.green = rgb.green;
    paint.blue = rgb.blue;
    return paint;
}

// The path style in artwork points, lengths scaled by `scale`; nothing when a length
// overflows.
std::optional<PathStyle> ModelStyle(const Style& style, double scale) {
    PathStyle out;
    out.fill = ModelPaint(style.fill, style.color);
    out.stroke = ModelPaint(style.stroke, style.color);
    out.strokeWidth = style.strokeWidth * scale;
    out.dashOffset = style.dashOffset * scale;
    bool finite = std::isfinite(out.strokeWidth) && std::isfinite(out.dashOffset);
    for (const double d : style.dash) {
        out.dash.push_back(d * scale);
        finite = finite && std::isfinite(out.dash.back());
    }
    out.cap = style.cap;
    out.join = style.join;
    out.miterLimit = style.miterLimit;
    if (!finite) {
        return std::nullopt;
    }
    return out;
}

// ---- From subpaths to the host's segments ------------------------------------------------

bool SameAnchor(Vec a, Vec b) {
    const double size =
        std::max({1.0, std::fabs(a.x), std::fabs(a.y), std::fabs(b.x), std::fabs(b.y)});
    return std::fabs(a.x - b.x) <= kSameAnchorTolerance * size &&
           std::fabs(a.y - b.y) <= kSameAnchorTolerance * size;
}

bool SamePoint(const AIRealPoint& a, const AIRealPoint& b) {
    return a.h == b.h && a.v == b.v;
}

std::optional<AIRealPoint> ToFloat(Vec p) {
    constexpr double kLargest = std::numeric_limits<AIReal>::max();
    if (!(std::fabs(p.x) <= kLargest) || !(std::fabs(p.y) <= kLargest)) {
        return std::nullopt;
    }
    return AIRealPoint{static_cast<AIReal>(p.x), static_cast<AIReal>(p.y)};
}

// Smooth: both handles there and pointing in opposite directions.
AIBoolean Corner(const AIPathSegment& s) {
    if (SamePoint(s.in, s.p) || SamePoint(s.out, s.p)) {
        return 1;
    }
    const Vec incoming{static_cast<double>(s.p.h) - s.in.h, static_cast<double>(s.p.v) - s.in.v};
    const Vec outgoing{static_cast<double>(s.out.h) - s.p.h, static_cast<double>(s.out.v) - s.p.v};
    const double cross = incoming.x * outgoing.y - incoming.y * outgoing.x;
    const double dot = incoming.x * outgoing.x + incoming.y * outgoing.y;
    return std::atan2(std::fabs(cross), dot) <= kSmoothAngle ? 0 : 1;
}

// The host's segments of a subpath mapped by `toArtwork`; nothing when it has fewer than two
// anchors or a point outside the host's floats.
std::optional<std::vector<AIPathSegment>> Segments(const Subpath& subpath,
                                                   const Affine& toArtwork) {
    struct Anchor {
        Vec p, in, out;
    };
    std::vector<Anchor> anchors;
    anchors.reserve(subpath.curves.size() + 1);
    const Vec start = Apply(toArtwork, subpath.start);
    anchors.push_back({start, start, start});
    for (const Curve& curve : subpath.curves) {
        const Vec end = Apply(toArtwork, curve.end);
        anchors.back().out = Apply(toArtwork, curve.c1);
        anchors.push_back({end, Apply(toArtwork, curve.c2), end});
    }
    if (subpath.closed && anchors.size() > 2 && SameAnchor(anchors.back().p, anchors.front().p)) {
        anchors.front().in = anchors.back().in;
        anchors.pop_back();
    }
    if (anchors.size() < 2) {
        return std::nullopt;
    }
    std::vector<AIPathSegment> segments;
    segments.reserve(anchors.size());
    for (const Anchor& anchor : anchors) {
        const auto p = ToFloat(anchor.p);
        const auto in = ToFloat(anchor.in);
        const auto out = ToFloat(anchor.out);
        if (!p || !in || !out) {
            return std::nullopt;
        }
        AIPathSegment segment{*p, *in, *out, 1};
        segment.corner = Corner(segment);
        segments.push_back(segment);
    }
    return segments;
}

// ---- Namespaces --------------------------------------------------------------------------

// The namespace prefixes bound where the reader stands in the tree.
class Namespaces {
  public:
    // Binds the element's xmlns attributes until the returned count of them is released.
    std::vector<std::string> Enter(const pugi::xml_node& node) {
        std::vector<std::string> bound;
        for (const pugi::xml_attribute attribute : node.attributes()) {
            const std::string_view name = attribute.name();
            if (name == "xmlns") {
                bound.emplace_back();
            } else if (name.substr(0, 6) == "xmlns:") {
                bound.emplace_back(name.substr(6));
            } else {
                continue;
            }
            bindings_[bound.back()].emplace_back(attribute.value());
        }
        return bound;
    }

    void Leave(const std::vector<std::string>& bound) {
        for (const std::string& prefix : bound) {
            auto it = bindings_.find(prefix);
            it->second.pop_back();
            if (it->second.empty()) {
                bindings_.erase(it);
            }
        }
    }

    // The namespace of a prefix ("" for the default); null when it is not bound.
    const std::string* Find(const std::string& prefix) const {
        const auto it = bindings_.find(prefix);
        return it == bindings_.end() ? nullptr : &it->second.back();
    }

  private:
    std::unordered_map<std::string, std::vector<std::string>> bindings_;
};

// What the reader needs of an element's name and of its attributes in other namespaces.
struct ElementInfo {
    std::string_view localName;
    bool svg = false;  // in the SVG namespace, or in none
    std::optional<std::string_view> label;
    bool layer = false;
    bool locked = false;
    std::map<std::string, std::string> tags;
    // What the paint namespace says of the element's paints, by attribute name.
    std::map<std::string, std::string, std::less<>> paint;
    // What the text namespace says of a point text, by attribute name.
    std::map<std::string, std::string, std::less<>> text;
};

std::pair<std::string, std::string_view> SplitName(std::string_view name) {
    const std::size_t colon = name.find(':');
    if (colon == std::string_view::npos) {
        return {std::string(), name};
    }
    return {std::string(name.substr(0, colon)), name.substr(colon + 1)};
}

// The namespace of an attribute's prefix. A file that uses the usual prefixes of the
// illustration programs (or ours) without binding them is read as if it had.
std::string_view AttributeNamespace(const Namespaces& namespaces, const std::string& prefix) {
    if (const std::string* uri = namespaces.Find(prefix)) {
        return *uri;
    }
    if (prefix == "inkscape") {
        return kInkscapeNamespace;
    }
    if (prefix == "sodipodi") {
        return kSodipodiNamespace;
    }
    if (prefix == "mesra") {
        return kTagsNamespace;
    }
    if (prefix == "mesrapaint") {
        return kPaintNamespace;
    }
    if (prefix == "mesratext") {
        return kTextNamespace;
    }
    return {};
}

bool IsTrue(std::string_view value) {
    return value == "true" || value == "1";
}

ElementInfo ReadElementInfo(const pugi::xml_node& node, const Namespaces& namespaces) {
    ElementInfo info;
    const auto [prefix, local] = SplitName(node.name());
    info.localName = local;
    const std::string* uri = namespaces.Find(prefix);
    info.svg = uri ? *uri == kSvgNamespace : prefix.empty();
    for (const pugi::xml_attribute attribute : node.attributes()) {
        const auto [attributePrefix, name] = SplitName(attribute.name());
        if (attributePrefix.empty() || attributePrefix == "xmlns" || name.empty()) {
            continue;
        }
        const std::string_view ns = AttributeNamespace(namespaces, attributePrefix);
        if (ns == kInkscapeNamespace && name == "label") {
            info.label = attribute.value();
        } else if (ns == kInkscapeNamespace && name == "groupmode") {
            info.layer = std::string_view(attribute.value()) == "layer";
        } else if (ns == kSodipodiNamespace && name == "insensitive") {
            info.locked = IsTrue(attribute.value());
        } else if (ns == kTagsNamespace) {
            info.tags[std::string(name)] = Windows1252FromUtf8(attribute.value());
        } else if (ns == kPaintNamespace) {
            info.paint[std::string(name)] = attribute.value();
        } else if (ns == kTextNamespace) {
            info.text[std::string(name)] = attribute.value();
        }
    }
    return info;
}

// Gives back to the paints of a path (or a text's fill) what an SVG colour cannot hold, as
// the writer keeps it in the paint namespace: a gray or CMYK colour, a custom colour's name
// and tint, overprint. The colour the file shows stays the appearance of a custom colour.
void ApplyPaintExtras(Art& art, const std::map<std::string, std::string, std::less<>>& extras) {
    if (extras.empty()) {
        return;
    }
    for (auto& child : art.children) {
        ApplyPaintExtras(*child, extras);
    }
    struct Target {
        std::string which;
        Paint* paint;
        bool* overprint;
    };
    std::vector<Target> targets;
    if (art.type == ArtType::Path) {
        targets = {{"fill", &art.style.fill, &art.style.fillOverprint},
                   {"stroke", &art.style.stroke, &art.style.strokeOverprint}};
    } else if (art.type == ArtType::Text) {
        TextFeatures& features = art.pointText.features;
        targets = {{"fill", &features.fill, &features.fillOverprint}};
    }
    const auto value = [&extras](const std::string& name) -> std::optional<std::string_view> {
        const auto it = extras.find(name);
        return it == extras.end() ? std::nullopt : std::optional<std::string_view>(it->second);
    };
    const auto component = [](std::string_view text) -> std::optional<double> {
        const auto numbers = NumberList(text);
        return numbers.size() == 1 && numbers[0] >= 0 && numbers[0] <= 1
                   ? std::optional<double>(numbers[0])
                   : std::nullopt;
    };
    for (const Target& target : targets) {
        const std::string& which = target.which;
        Paint& paint = *target.paint;
        if (const auto text = value(which + "-overprint")) {
            *target.overprint = IsTrue(*text);
        }
        if (paint.kind == Paint::Kind::None) {
            continue;
        }
        if (const auto gray = value(which + "-gray"); gray && component(*gray)) {
            paint.kind = Paint::Kind::Gray;
            paint.gray = *component(*gray);
        } else if (const auto cmyk = value(which + "-cmyk")) {
            const auto c = NumberList(*cmyk);
            if (c.size() == 4 &&
                std::all_of(c.begin(), c.end(), [](double v) { return v >= 0 && v <= 1; })) {
                paint.kind = Paint::Kind::CMYK;
                paint.cyan = c[0];
                paint.magenta = c[1];
                paint.yellow = c[2];
                paint.black = c[3];
            }
        } else if (const auto custom = value(which + "-custom"); custom && !custom->empty()) {
            paint.kind = Paint::Kind::Custom;
            paint.customName = std::string(*custom);
            const auto tint = value(which + "-tint");
            paint.tint = tint ? component(*tint).value_or(0) : 0;
        }
    }
}

// ---- Point text --------------------------------------------------------------------------

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

// ---- The reader --------------------------------------------------------------------------

// Where an element stands: the map from its user space to the root's, its style, and its
// depth under the root.
struct Context {
    Affine ctm;
    ComputedStyle style;
    int depth = 0;
};

void Attach(Art& art, Layer* layer, Art* parent) {
    art.layer = layer;
    art.parent = parent;
    for (const auto& child : art.children) {
        Attach(*child, layer, &art);
    }
}

class Importer {
  public:
    explicit Importer(Document& document) : document_(document) {}

    void Read(const pugi::xml_node& root) {
        const std::vector<std::string> bound = namespaces_.Enter(root);
        ReadSize(root);
        Context context;
        context.style = ComputeStyle(root, ComputedStyle{}, viewport_);
        context.style.displayNone = false;
        int layerNumber = 0;
        for (const pugi::xml_node child : root.children()) {
            if (child.type() != pugi::node_element) {
                continue;
            }
            const std::vector<std::string> childBound = namespaces_.Enter(child);
            const ElementInfo info = ReadElementInfo(child, namespaces_);
            if (info.svg && info.localName == "g" && info.layer) {
                ReadLayer(child, info, context, ++layerNumber);
            } else if (auto art = ReadArt(child, info, context)) {
                StrayLayer().art.push_back(std::move(art));
            }
            namespaces_.Leave(childBound);
        }
        namespaces_.Leave(bound);
        if (document_.layers.empty()) {
            StrayLayer();
        }
        for (const auto& layer : document_.layers) {
            for (const auto& art : layer->art) {
                Attach(*art, layer.get(), nullptr);
            }
        }
        document_.currentLayer = document_.layers.back().get();
        FillSizeFromBounds();
    }

  private:
    // The scale and the size from the root's width, height and viewBox.
    void ReadSize(const pugi::xml_node& root) {
        const auto width = ParseRootLength(root.attribute("width").value());
        const auto height = ParseRootLength(root.attribute("height").value());
        bool complete = false;
        const std::vector<double> box = NumberList(root.attribute("viewBox").value(), &complete);
        double k = 1;
        if (complete && box.size() == 4 && box[2] > 0 && box[3] > 0) {
            document_.width = box[2];
            document_.height = box[3];
            // The points per user unit that the width and the height each give (0: none).
            const double kx = width ? width->value * width->pointsPerUnit / box[2] : 0;
            const double ky = height ? height->value * height->pointsPerUnit / box[3] : 0;
            const std::string_view aspect = Trim(root.attribute("preserveAspectRatio").value());
            if (kx > 0 && ky > 0) {
                // Uniform, as the default "meet" fits the box in the viewport.
                k = aspect.find("slice") != std::string_view::npos ? std::max(kx, ky)
                    : aspect == "none"                             ? kx
                                                                   : std::min(kx, ky);
            } else if (kx > 0 || ky > 0) {
                k = std::max(kx, ky);
            }
        } else if (width || height) {
            // Without a viewBox a user unit is the unit of the width (or the height).
            k = width ? width->pointsPerUnit : height->pointsPerUnit;
            if (width) {
                document_.width = width->value * (width->pointsPerUnit / k);
            }
            if (height) {
                document_.height = height->value * (height->pointsPerUnit / k);
            }
            if (!std::isfinite(document_.width) || !std::isfinite(document_.height)) {
                document_.width = document_.height = 0;
            }
        }
        document_.unitScale = std::isfinite(k) && k > 0 ? k : 1;
        viewport_ = {document_.width, document_.height};
        toArtwork_ = {document_.unitScale, 0, 0, -document_.unitScale, 0, 0};
    }

    // A size the root did not give is the extent of the art from the origin.
    void FillSizeFromBounds() {
        if (document_.width > 0 && document_.height > 0) {
            return;
        }
        Vec extent;
        for (const auto& layer : document_.layers) {
            for (const auto& art : layer->art) {
                Extend(*art, extent);
            }
        }
        if (document_.width <= 0) {
            document_.width = extent.x / document_.unitScale;
        }
        if (document_.height <= 0) {
            document_.height = extent.y / document_.unitScale;
        }
    }

    static void Extend(const Art& art, Vec& extent) {
        for (const AIPathSegment& s : art.segments) {
            for (const AIRealPoint& p : {s.p, s.in, s.out}) {
                extent.x = std::max(extent.x, static_cast<double>(p.h));
                extent.y = std::max(extent.y, -static_cast<double>(p.v));
            }
        }
        if (art.type == ArtType::Text) {
            extent.x = std::max(extent.x, art.pointText.matrix[4]);
            extent.y = std::max(extent.y, -art.pointText.matrix[5]);
        }
        for (const auto& child : art.children) {
            Extend(*child, extent);
        }
    }

    // The layer of the art outside any layer, made at the bottom the first time.
    Layer& StrayLayer() {
        if (!strayLayer_) {
            auto layer = std::make_unique<Layer>();
            layer->title = "Calque 1";
            strayLayer_ = layer.get();
            document_.layers.insert(document_.layers.begin(), std::move(layer));
        }
        return *strayLayer_;
    }

    Context ChildContext(const pugi::xml_node& node, const Context& parent) const {
        Context context;
        context.ctm = parent.ctm;
        if (const pugi::xml_attribute transform = node.attribute("transform")) {
            if (const auto own = ParseTransform(transform.value())) {
                context.ctm = Compose(parent.ctm, *own);
            }
        }
        context.style = ComputeStyle(node, parent.style, viewport_);
        context.depth = parent.depth + 1;
        return context;
    }

    void ReadLayer(const pugi::xml_node& node, const ElementInfo& info, const Context& parent,
                   int number) {
        const Context context = ChildContext(node, parent);
        auto layer = std::make_unique<Layer>();
        if (info.label) {
            layer->title = std::string(*info.label);
        } else if (const pugi::xml_attribute id = node.attribute("id")) {
            layer->title = id.value();
        } else {
            layer->title = "Calque " + std::to_string(number);
        }
        layer->locked = info.locked;
        layer->visible = !context.style.displayNone;
        layer->source = node;
        ReadChildren(node, context, layer->art);
        document_.layers.push_back(std::move(layer));
    }

    void ReadChildren(const pugi::xml_node& node, const Context& context,
                      std::vector<std::unique_ptr<Art>>& into) {
        for (const pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element || context.depth + 1 > kMaxDepth) {
                continue;
            }
            const std::vector<std::string> bound = namespaces_.Enter(child);
            const ElementInfo info = ReadElementInfo(child, namespaces_);
            if (auto art = ReadArt(child, info, context)) {
                into.push_back(std::move(art));
            }
            namespaces_.Leave(bound);
        }
    }

    // The art of an element (with its namespaces entered), or null when it is not modelled
    // or draws nothing.
    std::unique_ptr<Art> ReadArt(const pugi::xml_node& node, const ElementInfo& info,
                                 const Context& parent) {
        if (!info.svg) {
            return nullptr;
        }
        const Context context = ChildContext(node, parent);
        std::unique_ptr<Art> art;
        if (info.localName == "g") {
            art = std::make_unique<Art>();
            art->type = ArtType::Group;
            ReadChildren(node, context, art->children);
        } else if (info.localName == "text") {
            art = ReadText(node, info, context);
        } else {
            art = ReadShape(node, info.localName, context);
        }
        if (!art) {
            return nullptr;
        }
        if (info.label) {
            art->name = std::string(*info.label);
        }
        art->hidden = context.style.displayNone || context.style.inherited.visibilityHidden;
        art->locked = info.locked;
        art->tags = info.tags;
        ApplyPaintExtras(*art, info.paint);
        art->source = node;
        return art;
    }

    std::optional<std::vector<Subpath>> Geometry(const pugi::xml_node& node,
                                                 std::string_view name) const {
        const auto length = [&](const char* attribute, Axis axis,
                                std::optional<double> otherwise) -> std::optional<double> {
            const pugi::xml_attribute a = node.attribute(attribute);
            return a ? ParseLength(a.value(), axis, viewport_) : otherwise;
        };
        if (name == "path") {
            return ParsePathData(node.attribute("d").value());
        }
        if (name == "polyline" || name == "polygon") {
            return PolyPath(node.attribute("points").value(), name == "polygon");
        }
        if (name == "line") {
            const auto x1 = length("x1", Axis::X, 0.0), y1 = length("y1", Axis::Y, 0.0);
            const auto x2 = length("x2", Axis::X, 0.0), y2 = length("y2", Axis::Y, 0.0);
            if (!x1 || !y1 || !x2 || !y2) {
                return std::nullopt;
            }
            PathBuilder path;
            path.MoveTo({*x1, *y1});
            path.LineTo({*x2, *y2});
            return path.Take();
        }
        if (name == "rect") {
            const auto x = length("x", Axis::X, 0.0), y = length("y", Axis::Y, 0.0);
            const auto w = length("width", Axis::X, std::nullopt);
            const auto h = length("height", Axis::Y, std::nullopt);
            if (!x || !y || !w || !h || !(*w > 0) || !(*h > 0)) {
                return std::nullopt;
            }
            // A radius missing (or negative) takes the other's value; each at most half a side.
            auto rx = length("rx", Axis::X, std::nullopt);
            auto ry = length("ry", Axis::Y, std::nullopt);
            rx = rx && *rx >= 0 ? rx : std::nullopt;
            ry = ry && *ry >= 0 ? ry : std::nullopt;
            const double radiusX = std::min(rx ? *rx : ry ? *ry : 0.0, *w / 2);
            const double radiusY = std::min(ry ? *ry : rx ? *rx : 0.0, *h / 2);
            return RectPath(*x, *y, *w, *h, radiusX, radiusY);
        }
        if (name == "circle" || name == "ellipse") {
            const auto cx = length("cx", Axis::X, 0.0), cy = length("cy", Axis::Y, 0.0);
            const auto r = length("r", Axis::Diagonal, std::nullopt);
            const auto rx = name == "circle" ? r : length("rx", Axis::X, std::nullopt);
            const auto ry = name == "circle" ? r : length("ry", Axis::Y, std::nullopt);
            if (!cx || !cy || !rx || !ry || !(*rx > 0) || !(*ry > 0)) {
                return std::nullopt;
            }
            return EllipsePath({*cx, *cy}, *rx, *ry);
        }
        return std::nullopt;
    }

    // A path, or a group of paths when the geometry has several subpaths; null when it has
    // none the host can hold.
    std::unique_ptr<Art> ReadShape(const pugi::xml_node& node, std::string_view name,
                                   const Context& context) const {
        const auto subpaths = Geometry(node, name);
        if (!subpaths) {
            return nullptr;
        }
        const Affine toArtwork = Compose(toArtwork_, context.ctm);
        const double scale =
            std::sqrt(std::fabs(toArtwork.a * toArtwork.d - toArtwork.b * toArtwork.c));
        const auto style = ModelStyle(context.style.inherited, scale);
        if (!style) {
            return nullptr;
        }
        std::vector<std::unique_ptr<Art>> paths;
        for (const Subpath& subpath : *subpaths) {
            if (auto segments = Segments(subpath, toArtwork)) {
                auto path = std::make_unique<Art>();
                path->type = ArtType::Path;
                path->segments = std::move(*segments);
                path->closed = subpath.closed;
                path->style = *style;
                paths.push_back(std::move(path));
            }
        }
        if (paths.empty()) {
            return nullptr;
        }
        if (paths.size() == 1) {
            return std::move(paths.front());
        }
        auto group = std::make_unique<Art>();
        group->type = ArtType::Group;
        group->children = std::move(paths);
        return group;
    }

    // The point text of a `text` element whose frame matrix the text namespace records;
    // null for other text.
    std::unique_ptr<Art> ReadText(const pugi::xml_node& node, const ElementInfo& info,
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
        text.features.fill =
            ModelPaint(context.style.inherited.fill, context.style.inherited.color);
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

    Document& document_;
    Namespaces namespaces_;
    Vec viewport_;
    Affine toArtwork_;
    Layer* strayLayer_ = nullptr;
};

// Removes the whitespace-only character data that only lays the file out: outside `text`
// elements, where it is not an element's only content.
void DropLayoutWhitespace(pugi::xml_document& xml) {
    struct Finder : pugi::xml_tree_walker {
        std::vector<pugi::xml_node> layout;
        int textDepth = -1;  // the depth of the `text` element the walk is in, if any
        bool for_each(pugi::xml_node& node) override {
            if (textDepth >= 0 && depth() <= textDepth) {
                textDepth = -1;
            }
            if (textDepth < 0 && node.type() == pugi::node_element &&
                SplitName(node.name()).second == "text") {
                textDepth = depth();
            }
            // The whitespace of XML: spaces, tabs and line breaks.
            const std::string_view value = node.value();
            if (textDepth < 0 && node.type() == pugi::node_pcdata &&
                (node.previous_sibling() || node.next_sibling()) &&
                value.find_first_not_of(" \t\r\n") == std::string_view::npos) {
                layout.push_back(node);
            }
            return true;
        }
    } finder;
    xml.traverse(finder);
    for (pugi::xml_node& node : finder.layout) {
        node.parent().remove_child(node);
    }
}

}  // namespace

std::unique_ptr<Document> ReadSvg(const std::string& text, std::string* error) {
    const auto fail = [&](const std::string& reason) {
        if (error) {
            *error = "not an SVG document: " + reason;
        }
        return nullptr;
    };
    auto xml = std::make_unique<pugi::xml_document>();
    // Comments, declarations and processing instructions are kept for writing back, and so
    // is the whitespace that text renders: all of it inside a `text` element, elsewhere only
    // what is an element's only content.
    const unsigned options = pugi::parse_full | pugi::parse_ws_pcdata;
    const pugi::xml_parse_result parsed =
        xml->load_buffer(text.data(), text.size(), options, pugi::encoding_auto);
    if (!parsed) {
        return fail("XML error at offset " + std::to_string(parsed.offset) + ": " +
                    parsed.description());
    }
    DropLayoutWhitespace(*xml);
    const pugi::xml_node root = xml->document_element();
    const std::string_view rootName = root.name();
    const std::size_t colon = rootName.find(':');
    if (rootName.substr(colon == std::string_view::npos ? 0 : colon + 1) != "svg") {
        return fail("the root element is <" + std::string(rootName) + ">, not <svg>");
    }
    auto document = std::make_unique<Document>();
    Importer(*document).Read(root);
    document->source = std::move(xml);
    return document;
}

std::unique_ptr<Document> ReadSvgFile(const std::filesystem::path& file, std::string* error) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    if (in) {
        text << in.rdbuf();
    }
    if (!in || in.bad()) {
        if (error) {
            *error = file.string() + ": cannot be read";
        }
        return nullptr;
    }
    std::string reason;
    auto document = ReadSvg(text.str(), &reason);
    if (!document && error) {
        *error = file.string() + ": " + reason;
    }
    return document;
}

}  // namespace emulator
