#include "emulator/core/HitTest.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "emulator/core/ArtTree.h"
#include "emulator/core/TextLayout.h"

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
            best = {true, &path, type, static_cast<ASInt32>(index), t, q, d};
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
                best = {true,   &path,      kSegmentHit,  static_cast<ASInt32>(index),
                        near.t, near.point, near.distance};
            }
        }
        if (best.hit) {
            return best;
        }
    }
    if (Selected(request, kHitFills) && InsideFill(path, p)) {
        best = {true, &path, kFillHit, 0, 0, p, 0};
    }
    return best;
}

// A text is hit, as a fill, anywhere within the tolerance of its bounds.
Hit HitText(Art& text, AIRealPoint p, double tolerance, ASInt32 request) {
    if (!Selected(request, kHitFills)) {
        return {};
    }
    const AIRealRect b = PointTextBounds(text.pointText);
    const double distance = BoxDistance(b, p);
    if (distance > tolerance) {
        return {};
    }
    return {true, &text, kFillHit, 0, 0, p, distance};
}

// The hit on a path or a text that HasContent.
Hit HitArt(Art& art, AIRealPoint p, double tolerance, ASInt32 request) {
    return art.type == ArtType::Text ? HitText(art, p, tolerance, request)
                                     : HitPath(art, p, tolerance, request);
}

// How a kind of hit ranks against another at the same distance: an anchor first, then a
// centre point, a handle, a segment and a fill.
int KindRank(ASInt32 type) {
    switch (type) {
        case kAnchorHit:
            return 0;
        case kCenterPointHit:
            return 1;
        case kInHandleHit:
        case kOutHandleHit:
            return 2;
        case kSegmentHit:
            return 3;
        default:
            return 4;
    }
}

// True when `candidate` beats `best`: it is nearer, or as near and of a higher kind. Art is
// offered topmost first, so that stacking order breaks the remaining ties.
bool Beats(const Hit& candidate, const Hit& best) {
    if (!candidate.hit) {
        return false;
    }
    if (!best.hit || candidate.distance < best.distance) {
        return true;
    }
    return candidate.distance == best.distance && KindRank(candidate.type) < KindRank(best.type);
}

// True when nothing offered later can beat `best`: an anchor right under the point.
bool Unbeatable(const Hit& best) {
    return best.hit && best.distance == 0 && best.type == kAnchorHit;
}

// Offers every hittable path and text of `list` (and of its groups), topmost first; the
// groups' lists wait on a stack of their own rather than the thread's.
void Search(std::vector<std::unique_ptr<Art>>& list, AIRealPoint p, double tolerance,
            ASInt32 request, Hit& best) {
    std::vector<std::pair<std::vector<std::unique_ptr<Art>>*, std::size_t>> stack = {
        {&list, list.size()}};
    while (!stack.empty() && !Unbeatable(best)) {
        auto& [within, left] = stack.back();
        if (left == 0) {
            stack.pop_back();
            continue;
        }
        Art& art = *(*within)[--left];
        if (art.hidden || art.locked || art.guide) {
            continue;
        }
        if (art.type == ArtType::Group) {
            stack.emplace_back(&art.children, art.children.size());
            continue;
        }
        if (!HasContent(art)) {
            continue;
        }
        if (Hit hit = HitArt(art, p, tolerance, request); Beats(hit, best)) {
            best = hit;
        }
    }
}

// True when neither the art, nor a group holding it, nor its layer is hidden, locked or a
// guide.
bool Hittable(const Art& art) {
    for (const Art* a = &art; a != nullptr; a = a->parent) {
        if (a->hidden || a->locked || a->guide) {
            return false;
        }
    }
    return art.layer == nullptr || (art.layer->visible && !art.layer->locked);
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
                    Art* within, HitIndex* index) {
    if (!std::isfinite(point.h) || !std::isfinite(point.v) || !(tolerance >= 0)) {
        return {};
    }
    if (within != nullptr) {
        if (IsEffectivelyHidden(*within) || IsEffectivelyLocked(*within)) {
            return {};
        }
        if (within->type == ArtType::Group) {
            Hit best;
            Search(within->children, point, tolerance, request, best);
            return best;
        }
        if (HasContent(*within) && !within->guide) {
            return HitArt(*within, point, tolerance, request);
        }
        return {};
    }
    Hit best;
    if (index != nullptr) {
        // Candidates come nearest first: art whose extent lies farther than the best hit so
        // far cannot beat it. Stacking order breaks the ties, as in the literal search.
        for (const HitIndex::Candidate& near : index->Near(document, point, tolerance)) {
            if (best.hit && near.distance > best.distance) {
                break;
            }
            if (!Hittable(*near.art)) {
                continue;
            }
            Hit hit = HitArt(*near.art, point, tolerance, request);
            if (Beats(hit, best) || (hit.hit && hit.distance == best.distance &&
                                     KindRank(hit.type) == KindRank(best.type) &&
                                     IsAbove(document, *hit.art, *best.art))) {
                best = hit;
            }
        }
        return best;
    }
    for (auto layer = document.layers.rbegin(); layer != document.layers.rend(); ++layer) {
        if ((*layer)->visible && !(*layer)->locked) {
            Search((*layer)->art, point, tolerance, request, best);
        }
    }
    return best;
}

}  // namespace emulator
