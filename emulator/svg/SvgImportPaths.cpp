// The geometry of the SVG reader: path data (arcs and quadratics as cubics), the shapes,
// and the host's segments of the subpaths they draw.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "emulator/svg/SvgReader.h"

namespace emulator::svg_reader {
namespace {

constexpr double kPi = 3.14159265358979323846;

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

// ---- Path geometry -----------------------------------------------------------------------

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

}  // namespace

// ---- Elements of the drawing -------------------------------------------------------------

std::optional<std::vector<Subpath>> Importer::Geometry(const pugi::xml_node& node,
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
std::unique_ptr<Art> Importer::ReadShape(const pugi::xml_node& node, std::string_view name,
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

}  // namespace emulator::svg_reader
