// Edits and queries of a document's tree of layers, groups and paths.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "emulator/core/Document.h"
#include "plugin/host/Records.h"

namespace emulator {

// The list that holds `art`: its group's children, or its layer's art.
std::vector<std::unique_ptr<Art>>& SiblingsOf(Art& art);

// The art inside a group: its children, or for a layer's group the layer's art.
std::vector<std::unique_ptr<Art>>& ChildrenOf(Art& art);

// The index of `art` in the list that holds it.
std::size_t IndexOf(Art& art);

// Inserts `art` relative to `prep` by `paintOrder` (above, below, inside on top, inside on
// bottom of a group); with a null `prep`, on top of (or below everything in) `layer`.
// Returns the inserted art, or null when the placement is impossible (inside a path).
Art* InsertArt(Layer& layer, Art* prep, ASInt32 paintOrder, std::unique_ptr<Art> art);

// Takes `art` out of the tree; the caller owns it.
std::unique_ptr<Art> DetachArt(Art& art);

// A copy of `art` and everything in it, outside any tree (no layer, no handles); the SVG
// source stays with the original. Without recursion, however deep the groups nest.
std::unique_ptr<Art> CopyArt(const Art& art);

// Calls `visit` for `art` and everything inside it, parents before children. The walk keeps
// its own stack, so that a group nested however deep needs none of the thread's.
template <typename Visit>
void ForEachArt(Art& art, Visit&& visit) {
    if (art.children.empty()) {
        visit(art);
        return;
    }
    std::vector<Art*> stack = {&art};
    while (!stack.empty()) {
        Art& next = *stack.back();
        stack.pop_back();
        visit(next);
        for (auto child = next.children.rbegin(); child != next.children.rend(); ++child) {
            stack.push_back(child->get());
        }
    }
}

// Calls `visit` for every art of the document: layers top first, art top first, groups
// before what they hold (the host's document order). Without recursion, as ForEachArt.
template <typename Visit>
void ForEachArtInDocumentOrder(Document& document, Visit&& visit) {
    // Each entry is a list being walked and how many of its art, from the bottom, are left.
    std::vector<std::pair<std::vector<std::unique_ptr<Art>>*, std::size_t>> stack;
    for (auto layer = document.layers.rbegin(); layer != document.layers.rend(); ++layer) {
        stack.emplace_back(&(*layer)->art, (*layer)->art.size());
        while (!stack.empty()) {
            auto& [list, left] = stack.back();
            if (left == 0) {
                stack.pop_back();
                continue;
            }
            Art& art = *(*list)[--left];
            visit(art);
            if (!art.children.empty()) {
                stack.emplace_back(&art.children, art.children.size());
            }
        }
    }
}

// True when the art, one of its groups or its layer is hidden.
bool IsEffectivelyHidden(const Art& art);
// True when the art, one of its groups or its layer is locked.
bool IsEffectivelyLocked(const Art& art);

// The Bézier of the curve that ends at anchor `end` of a path: from anchor end − 1, or,
// for end 0 of a closed path, the closing curve from the last anchor.
AIRealBezier CurveEndingAt(const Art& path, std::size_t end);

// The extent of a Bézier (its own extrema, not its control points).
AIRealRect BezierBounds(const AIRealBezier& bezier);

// The signed area enclosed by a path, curves included (positive counter-clockwise in
// artwork coordinates), whatever its number of anchors: two curves make a lens, one
// anchor whose handles leave it makes a loop; 0 for no anchor. An open path is taken as
// closed.
double PathArea(const Art& path);

// The extent of the art's geometry; nothing for an empty group or path. Computed once and
// kept with the art until ForgetBounds.
std::optional<AIRealRect> ArtBounds(const Art& art);

// Drops the kept extent of `art` and of the groups and layer that hold it: whoever changes
// the art's geometry, or places art in a group or takes it out, calls it.
void ForgetBounds(Art& art);

// True for the paths and texts that can be hit: those with anchors or characters.
bool HasContent(const Art& art);

// How far `p` lies from the box `b` (0 inside it).
double BoxDistance(const AIRealRect& b, AIRealPoint p);

// True when `a` comes before `b` in the document order (layers top first, art top first,
// groups before what they hold): painted above it.
bool IsAbove(const Document& document, const Art& a, const Art& b);

}  // namespace emulator
