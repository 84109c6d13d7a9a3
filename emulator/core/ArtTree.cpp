#include "emulator/core/ArtTree.h"

#include <algorithm>
#include <cmath>

#include "emulator/core/TextLayout.h"
#include "plugin/host/ArtworkSuites.h"

namespace emulator {
namespace {

void Include(AIRealRect& r, double x, double y) {
    r.left = std::min(r.left, static_cast<AIReal>(x));
    r.right = std::max(r.right, static_cast<AIReal>(x));
    r.bottom = std::min(r.bottom, static_cast<AIReal>(y));
    r.top = std::max(r.top, static_cast<AIReal>(y));
}

// The parameters in (0, 1) where one coordinate of a cubic has a zero derivative.
std::vector<double> Extrema(double p0, double p1, double p2, double p3) {
    const double a = -p0 + 3 * p1 - 3 * p2 + p3;
    const double b = 2 * (p0 - 2 * p1 + p2);
    const double c = p1 - p0;
    std::vector<double> roots;
    if (std::fabs(a) < 1e-12) {
        if (std::fabs(b) > 1e-12) {
            roots.push_back(-c / b);
        }
    } else {
        const double d = b * b - 4 * a * c;
        if (d >= 0) {
            const double s = std::sqrt(d);
            roots.push_back((-b + s) / (2 * a));
            roots.push_back((-b - s) / (2 * a));
        }
    }
    std::vector<double> inside;
    for (double t : roots) {
        if (t > 0 && t < 1) {
            inside.push_back(t);
        }
    }
    return inside;
}

// Grows `bounds` (nothing yet, or a box) to hold `r`.
void Merge(std::optional<AIRealRect>& bounds, const AIRealRect& r) {
    if (!bounds) {
        bounds = r;
        return;
    }
    bounds->left = std::min(bounds->left, r.left);
    bounds->right = std::max(bounds->right, r.right);
    bounds->bottom = std::min(bounds->bottom, r.bottom);
    bounds->top = std::max(bounds->top, r.top);
}

double Cubic(double p0, double p1, double p2, double p3, double t) {
    const double u = 1 - t;
    return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
}

// A copy of `art` alone, without what it holds.
std::unique_ptr<Art> CopyOne(const Art& art) {
    auto copy = std::make_unique<Art>();
    copy->type = art.type;
    copy->name = art.name;
    copy->locked = art.locked;
    copy->hidden = art.hidden;
    copy->selected = art.selected;
    copy->guide = art.guide;
    copy->tags = art.tags;
    copy->segments = art.segments;
    copy->closed = art.closed;
    copy->style = art.style;
    copy->pointText = art.pointText;
    return copy;
}

}  // namespace

std::vector<std::unique_ptr<Art>>& SiblingsOf(Art& art) {
    return art.parent != nullptr ? art.parent->children : art.layer->art;
}

std::vector<std::unique_ptr<Art>>& ChildrenOf(Art& art) {
    return art.isLayerGroup ? art.layer->art : art.children;
}

std::size_t IndexOf(Art& art) {
    auto& siblings = SiblingsOf(art);
    const std::size_t n = siblings.size();
    // Where the art was last found, unless what was inserted or removed below it since
    // moved it: then a plain scan of the list.
    if (art.indexHint < n && siblings[art.indexHint].get() == &art) {
        return art.indexHint;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (siblings[i].get() == &art) {
            return art.indexHint = i;
        }
    }
    return n;
}

Art* InsertArt(Layer& layer, Art* prep, ASInt32 paintOrder, std::unique_ptr<Art> art) {
    std::vector<std::unique_ptr<Art>>* list = &layer.art;
    std::size_t at = layer.art.size();
    Art* parent = nullptr;
    Layer* home = &layer;
    if (prep != nullptr) {
        home = prep->layer;
        switch (paintOrder) {
            case kPlaceAbove:
            case kPlaceBelow:
                if (prep->isLayerGroup) {
                    return nullptr;
                }
                list = &SiblingsOf(*prep);
                parent = prep->parent;
                at = IndexOf(*prep) + (paintOrder == kPlaceAbove ? 1 : 0);
                break;
            case kPlaceInsideOnTop:
            case kPlaceInsideOnBottom:
                if (prep->type != ArtType::Group) {
                    return nullptr;
                }
                list = &ChildrenOf(*prep);
                parent = prep->isLayerGroup ? nullptr : prep;
                at = paintOrder == kPlaceInsideOnTop ? list->size() : 0;
                break;
            default:
                if (prep->isLayerGroup) {
                    return nullptr;
                }
                list = &SiblingsOf(*prep);
                parent = prep->parent;
                at = paintOrder == kPlaceBelowAll ? 0 : list->size();
                break;
        }
    } else if (paintOrder == kPlaceBelowAll || paintOrder == kPlaceInsideOnBottom ||
               paintOrder == kPlaceBelow) {
        at = 0;
    }
    art->parent = parent;
    ForEachArt(*art, [home](Art& a) { a.layer = home; });
    Art* raw = art.get();
    raw->indexHint = at;
    list->insert(list->begin() + static_cast<std::ptrdiff_t>(at), std::move(art));
    return raw;
}

std::unique_ptr<Art> DetachArt(Art& art) {
    auto& siblings = SiblingsOf(art);
    const std::size_t at = IndexOf(art);
    std::unique_ptr<Art> taken = std::move(siblings[at]);
    siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(at));
    // The art below stays where it was: the next one taken out is often that one.
    if (at > 0) {
        siblings[at - 1]->indexHint = at - 1;
    }
    taken->parent = nullptr;
    return taken;
}

std::unique_ptr<Art> CopyArt(const Art& art) {
    std::unique_ptr<Art> copy = CopyOne(art);
    std::vector<std::pair<const Art*, Art*>> stack = {{&art, copy.get()}};
    while (!stack.empty()) {
        const auto [from, to] = stack.back();
        stack.pop_back();
        to->children.reserve(from->children.size());
        for (const auto& child : from->children) {
            std::unique_ptr<Art> childCopy = CopyOne(*child);
            childCopy->parent = to;
            stack.emplace_back(child.get(), childCopy.get());
            to->children.push_back(std::move(childCopy));
        }
    }
    return copy;
}

bool IsEffectivelyHidden(const Art& art) {
    for (const Art* a = &art; a != nullptr; a = a->parent) {
        if (a->hidden) {
            return true;
        }
    }
    return art.layer != nullptr && !art.layer->visible;
}

bool IsEffectivelyLocked(const Art& art) {
    for (const Art* a = &art; a != nullptr; a = a->parent) {
        if (a->locked) {
            return true;
        }
    }
    return art.layer != nullptr && art.layer->locked;
}

AIRealBezier CurveEndingAt(const Art& path, std::size_t end) {
    const auto& s = path.segments;
    const std::size_t start = end == 0 ? s.size() - 1 : end - 1;
    return {s[start].p, s[start].out, s[end].in, s[end].p};
}

AIRealRect BezierBounds(const AIRealBezier& b) {
    AIRealRect r{b.p0.h, b.p0.v, b.p0.h, b.p0.v};
    Include(r, b.p3.h, b.p3.v);
    // The curve lies within the hull of its control points: along an axis on which the
    // handles stay between the ends, the ends bound it.
    const auto between = [](AIReal a, AIReal low, AIReal high) { return a >= low && a <= high; };
    if (!between(b.p1.h, r.left, r.right) || !between(b.p2.h, r.left, r.right)) {
        for (double t : Extrema(b.p0.h, b.p1.h, b.p2.h, b.p3.h)) {
            Include(r, Cubic(b.p0.h, b.p1.h, b.p2.h, b.p3.h, t), b.p0.v);
        }
    }
    if (!between(b.p1.v, r.bottom, r.top) || !between(b.p2.v, r.bottom, r.top)) {
        for (double t : Extrema(b.p0.v, b.p1.v, b.p2.v, b.p3.v)) {
            Include(r, b.p0.h, Cubic(b.p0.v, b.p1.v, b.p2.v, b.p3.v, t));
        }
    }
    return r;
}

double PathArea(const Art& path) {
    const std::size_t n = path.segments.size();
    if (path.type != ArtType::Path || n == 0) {
        return 0;
    }
    // x·y' − y·x' is a polynomial of degree 5 on a cubic: three Gauss-Legendre points
    // integrate it exactly.
    const double nodes[3] = {0.5 - 0.5 * std::sqrt(0.6), 0.5, 0.5 + 0.5 * std::sqrt(0.6)};
    const double weights[3] = {5.0 / 18, 8.0 / 18, 5.0 / 18};
    double twice = 0;
    for (std::size_t end = 1; end <= n; ++end) {
        const AIRealBezier b = CurveEndingAt(path, end % n);
        for (int i = 0; i < 3; ++i) {
            const double t = nodes[i], u = 1 - t;
            const double x = Cubic(b.p0.h, b.p1.h, b.p2.h, b.p3.h, t);
            const double y = Cubic(b.p0.v, b.p1.v, b.p2.v, b.p3.v, t);
            const double dx = 3 * (u * u * (b.p1.h - b.p0.h) + 2 * u * t * (b.p2.h - b.p1.h) +
                                   t * t * (b.p3.h - b.p2.h));
            const double dy = 3 * (u * u * (b.p1.v - b.p0.v) + 2 * u * t * (b.p2.v - b.p1.v) +
                                   t * t * (b.p3.v - b.p2.v));
            twice += weights[i] * (x * dy - y * dx);
        }
    }
    return twice / 2;
}

namespace {

std::optional<AIRealRect> OwnBounds(const Art& art) {
    std::optional<AIRealRect> bounds;
    if (art.type == ArtType::Path && !art.segments.empty()) {
        // The anchors bound every curve whose handles stay inside their box (a curve lies in
        // the hull of its control points); only the others need their extrema.
        const auto& s = art.segments;
        AIRealRect anchors{s[0].p.h, s[0].p.v, s[0].p.h, s[0].p.v};
        for (const AIPathSegment& segment : s) {
            Include(anchors, segment.p.h, segment.p.v);
        }
        const auto inside = [&anchors](const AIRealPoint& q) {
            return q.h >= anchors.left && q.h <= anchors.right && q.v >= anchors.bottom &&
                   q.v <= anchors.top;
        };
        bounds = anchors;
        const std::size_t first = art.closed ? 0 : 1;
        for (std::size_t end = first; s.size() > 1 && end < s.size(); ++end) {
            const AIRealBezier curve = CurveEndingAt(art, end);
            if (!inside(curve.p1) || !inside(curve.p2)) {
                Merge(bounds, BezierBounds(curve));
            }
        }
    }
    if (art.type == ArtType::Text) {
        Merge(bounds, PointTextBounds(art.pointText));
    }
    return bounds;
}

}  // namespace

Art::~Art() {
    std::vector<std::unique_ptr<Art>> pending = std::move(children);
    while (!pending.empty()) {
        std::unique_ptr<Art> art = std::move(pending.back());
        pending.pop_back();
        for (auto& child : art->children) {
            pending.push_back(std::move(child));
        }
        // Emptied, the art is destroyed here without nesting another walk.
        art->children.clear();
    }
}

std::optional<AIRealRect> ArtBounds(const Art& art) {
    if (art.boundsKnown) {
        return art.bounds;
    }
    // The groups whose extent is not known wait on the stack until what they hold is known.
    std::vector<std::pair<const Art*, bool>> stack = {{&art, false}};
    while (!stack.empty()) {
        auto& [next, opened] = stack.back();
        const Art& a = *next;
        const auto& inside = a.isLayerGroup ? a.layer->art : a.children;
        if (!opened) {
            opened = true;
            for (const auto& child : inside) {
                if (!child->boundsKnown) {
                    stack.emplace_back(child.get(), false);
                }
            }
            continue;
        }
        stack.pop_back();
        std::optional<AIRealRect> bounds = OwnBounds(a);
        for (const auto& child : inside) {
            if (child->bounds) {
                Merge(bounds, *child->bounds);
            }
        }
        a.bounds = bounds;
        a.boundsKnown = true;
    }
    return art.bounds;
}

void ForgetBounds(Art& art) {
    for (Art* a = &art; a != nullptr; a = a->parent) {
        a->boundsKnown = false;
    }
    if (art.layer != nullptr) {
        art.layer->group.boundsKnown = false;
    }
}

bool HasContent(const Art& art) {
    return (art.type == ArtType::Path && !art.segments.empty()) ||
           (art.type == ArtType::Text && !art.pointText.text.empty());
}

double BoxDistance(const AIRealRect& b, AIRealPoint p) {
    const double dx = std::max({b.left - p.h, p.h - b.right, 0.0f});
    const double dy = std::max({b.bottom - p.v, p.v - b.top, 0.0f});
    return std::hypot(dx, dy);
}

bool IsAbove(const Document& document, const Art& a, const Art& b) {
    if (a.layer != b.layer) {
        for (auto layer = document.layers.rbegin(); layer != document.layers.rend(); ++layer) {
            if (layer->get() == a.layer || layer->get() == b.layer) {
                return layer->get() == a.layer;
            }
        }
        return false;
    }
    // The chains from the top of the layer down to each art.
    const auto chain = [](const Art& art) {
        std::vector<const Art*> list;
        for (const Art* p = &art; p != nullptr; p = p->parent) {
            list.push_back(p);
        }
        std::reverse(list.begin(), list.end());
        return list;
    };
    const std::vector<const Art*> ca = chain(a), cb = chain(b);
    std::size_t depth = 0;
    while (depth < ca.size() && depth < cb.size() && ca[depth] == cb[depth]) {
        ++depth;
    }
    if (depth == ca.size() || depth == cb.size()) {
        // One holds the other: the group comes first.
        return ca.size() < cb.size();
    }
    // Siblings at the first difference: the later in the list is painted above.
    for (const auto& sibling : SiblingsOf(const_cast<Art&>(*ca[depth]))) {
        if (sibling.get() == ca[depth] || sibling.get() == cb[depth]) {
            return sibling.get() == cb[depth];
        }
    }
    return false;
}

}  // namespace emulator
