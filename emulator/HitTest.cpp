#include "emulator/HitTest.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "emulator/ArtTree.h"

namespace emulator {
namespace {

constexpr int kCoarseSamples = 48;
constexpr int kRefinements = 40;
// Steps of a curve's polygon for the fill test.
constexpr int kFillSteps = 16;

struct P {
    double x, y;
};

P At(const AIRealBezier& b, double t) {
    const double u = 1 - t;
    const double a = u * u * u, c = 3 * u * u * t, d = 3 * u * t * t, e = t * t * t;
    return {a * b.p0.h + c * b.p1.h + d * b.p2.h + e * b.p3.h,
            a * b.p0.v + c * b.p1.v + d * b.p2.v + e * b.p3.v};
}

double Distance(P a, AIRealPoint b) {
    return std::hypot(a.x - b.h, a.y - b.v);
}

double Distance(AIRealPoint a, AIRealPoint b) {
    return std::hypot(a.h - b.h, a.v - b.v);
}

bool Selected(ASInt32 request, ASInt32 bit) {
    return request == 0 || (request & bit) != 0;
}

// The box of a path's control points, which holds its curves.
bool NearBox(const Art& path, AIRealPoint p, double tolerance) {
    double left = std::numeric_limits<double>::max(), right = -left, bottom = left, top = -left;
    for (const AIPathSegment& s : path.segments) {
        for (const AIRealPoint& q : {s.p, s.in, s.out}) {
            left = std::min<double>(left, q.h);
            right = std::max<double>(right, q.h);
            bottom = std::min<double>(bottom, q.v);
            top = std::max<double>(top, q.v);
        }
    }
    return p.h >= left - tolerance && p.h <= right + tolerance && p.v >= bottom - tolerance &&
           p.v <= top + tolerance;
}

// Even-odd test of the point against the path's outline, curves followed in small steps.
bool InsideFill(const Art& path, AIRealPoint p) {
    if (!path.closed || path.segments.size() < 3 || path.style.fill.kind == Paint::Kind::None) {
        return false;
    }
    std::vector<P> polygon;
    const std::size_t n = path.segments.size();
    for (std::size_t k = 1; k <= n; ++k) {
        const AIRealBezier b = CurveEndingAt(path, k % n);
        for (int i = 0; i < kFillSteps; ++i) {
            polygon.push_back(At(b, static_cast<double>(i) / kFillSteps));
        }
    }
    bool inside = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const P a = polygon[i], c = polygon[j];
        if ((a.y > p.v) != (c.y > p.v) && p.h < (c.x - a.x) * (p.v - a.y) / (c.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

// The best hit on one path, by kind first and distance second.
Hit HitPath(Art& path, AIRealPoint p, double tolerance, ASInt32 request) {
    Hit best;
    double bestDistance = tolerance;
    const auto& s = path.segments;
    const std::size_t n = s.size();
    auto take = [&](ASInt32 type, std::size_t index, AIRealPoint q, double t) {
        const double d = Distance(q, p);
        if (d <= bestDistance) {
            bestDistance = d;
            best = {true, &path, type, static_cast<ASInt32>(index), t, q};
        }
    };
    if (Selected(request, kHitAnchorPoints)) {
        for (std::size_t i = 0; i < n; ++i) {
            take(kAnchorHit, i, s[i].p, 0);
        }
        if (best.hit) {
            return best;
        }
        if (path.closed && n >= 3) {
            if (const auto bounds = ArtBounds(path)) {
                const AIRealPoint centre{(bounds->left + bounds->right) / 2,
                                         (bounds->top + bounds->bottom) / 2};
                take(kCenterPointHit, 0, centre, 0);
                if (best.hit) {
                    return best;
                }
            }
        }
    }
    if (Selected(request, kHitInHandles) && path.selected) {
        for (std::size_t i = 0; i < n; ++i) {
            take(kInHandleHit, i, s[i].in, 0);
            take(kOutHandleHit, i, s[i].out, 0);
        }
        if (best.hit) {
            return best;
        }
    }
    if (Selected(request, kHitSegments) && n >= 2) {
        for (std::size_t end = 1; end <= n; ++end) {
            if (end == n && !path.closed) {
                break;
            }
            const std::size_t index = end % n;
            const Nearest near = NearestOnBezier(CurveEndingAt(path, index), p);
            if (near.distance <= bestDistance) {
                bestDistance = near.distance;
                best = {true, &path, kSegmentHit, static_cast<ASInt32>(index), near.t, near.point};
            }
        }
        if (best.hit) {
            return best;
        }
    }
    if (Selected(request, kHitFills) && InsideFill(path, p)) {
        best = {true, &path, kFillHit, 0, 0, p};
    }
    return best;
}

Hit Search(std::vector<std::unique_ptr<Art>>& list, AIRealPoint p, double tolerance,
           ASInt32 request, bool cull) {
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        Art& art = **it;
        if (art.hidden || art.locked || art.guide) {
            continue;
        }
        if (art.type == ArtType::Group) {
            if (Hit hit = Search(art.children, p, tolerance, request, cull); hit.hit) {
                return hit;
            }
            continue;
        }
        if (art.type != ArtType::Path || art.segments.empty() ||
            (cull && !NearBox(art, p, tolerance))) {
            continue;
        }
        if (Hit hit = HitPath(art, p, tolerance, request); hit.hit) {
            return hit;
        }
    }
    return {};
}

}  // namespace

Nearest NearestOnBezier(const AIRealBezier& bezier, AIRealPoint point) {
    Nearest best;
    best.distance = std::numeric_limits<double>::max();
    for (int i = 0; i <= kCoarseSamples; ++i) {
        const double t = static_cast<double>(i) / kCoarseSamples;
        const double d = Distance(At(bezier, t), point);
        if (d < best.distance) {
            best.distance = d;
            best.t = t;
        }
    }
    // Narrow down around the best sample.
    double lo = std::max(0.0, best.t - 1.0 / kCoarseSamples);
    double hi = std::min(1.0, best.t + 1.0 / kCoarseSamples);
    for (int i = 0; i < kRefinements; ++i) {
        const double a = lo + (hi - lo) / 3, b = hi - (hi - lo) / 3;
        if (Distance(At(bezier, a), point) < Distance(At(bezier, b), point)) {
            hi = b;
        } else {
            lo = a;
        }
    }
    const double t = (lo + hi) / 2;
    const double d = Distance(At(bezier, t), point);
    if (d < best.distance) {
        best.t = t;
        best.distance = d;
    }
    const P q = At(bezier, best.t);
    best.point = {static_cast<AIReal>(q.x), static_cast<AIReal>(q.y)};
    return best;
}

Hit HitTestDocument(Document& document, AIRealPoint point, double tolerance, ASInt32 request,
                    Art* within, bool cull) {
    if (!std::isfinite(point.h) || !std::isfinite(point.v) || !(tolerance >= 0)) {
        return {};
    }
    if (within != nullptr) {
        if (IsEffectivelyHidden(*within) || IsEffectivelyLocked(*within)) {
            return {};
        }
        if (within->type == ArtType::Group) {
            return Search(within->children, point, tolerance, request, cull);
        }
        if (within->type == ArtType::Path && !within->segments.empty() && !within->guide) {
            return HitPath(*within, point, tolerance, request);
        }
        return {};
    }
    for (auto layer = document.layers.rbegin(); layer != document.layers.rend(); ++layer) {
        if (!(*layer)->visible || (*layer)->locked) {
            continue;
        }
        if (Hit hit = Search((*layer)->art, point, tolerance, request, cull); hit.hit) {
            return hit;
        }
    }
    return {};
}

}  // namespace emulator
