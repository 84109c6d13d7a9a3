#include "emulator/core/HitIndex.h"

#include <algorithm>
#include <cmath>

#include "emulator/core/ArtTree.h"
#include "emulator/core/TextLayout.h"

namespace emulator {
namespace {

// Art whose extent covers more cells than this is kept apart and examined everywhere.
constexpr long kMaxCellsPerPath = 64;
constexpr int kMaxGridSide = 1024;
// Art placed outside the grid since it was built is examined everywhere; past this many
// (beyond a sixteenth of the entries), the grid is built again around the whole document.
constexpr std::size_t kMaxStrays = 64;

// The box of the control points: it holds the curves, and costs no extrema.
AIRealRect ControlBox(const Art& path) {
    AIRealRect r{path.segments[0].p.h, path.segments[0].p.v, path.segments[0].p.h,
                 path.segments[0].p.v};
    for (const AIPathSegment& s : path.segments) {
        for (const AIRealPoint& q : {s.p, s.in, s.out}) {
            r.left = std::min(r.left, q.h);
            r.right = std::max(r.right, q.h);
            r.bottom = std::min(r.bottom, q.v);
            r.top = std::max(r.top, q.v);
        }
    }
    return r;
}

AIRealRect BoxOf(const Art& art) {
    return art.type == ArtType::Text ? PointTextBounds(art.pointText) : ControlBox(art);
}

bool Finite(const AIRealRect& b) {
    return std::isfinite(b.left) && std::isfinite(b.right) && std::isfinite(b.top) &&
           std::isfinite(b.bottom);
}

void Erase(std::vector<int>& list, int slot) {
    const auto it = std::find(list.begin(), list.end(), slot);
    if (it != list.end()) {
        *it = list.back();
        list.pop_back();
    }
}

}  // namespace

void HitIndex::Invalidate() {
    // The places the art keeps are checked against the lists at each use: nothing of the
    // art is touched here (some may be gone already).
    valid_ = false;
    entries_.clear();
    freeSlots_.clear();
    pending_.clear();
    cells_.clear();
    everywhere_.clear();
    columns_ = rows_ = 0;
}

int HitIndex::SlotOf(const Art& art) const {
    const int slot = art.hitSlot;
    return slot >= 0 && static_cast<std::size_t>(slot) < entries_.size() &&
                   entries_[static_cast<std::size_t>(slot)].art == &art
               ? slot
               : -1;
}

bool HitIndex::IsPending(const Art& art) const {
    const int at = art.hitPending;
    return at >= 0 && static_cast<std::size_t>(at) < pending_.size() &&
           pending_[static_cast<std::size_t>(at)] == &art;
}

void HitIndex::Changed(Art& art) {
    if (valid_ && !IsPending(art)) {
        art.hitPending = static_cast<int>(pending_.size());
        pending_.push_back(&art);
    }
}

void HitIndex::Removed(Art& art) {
    if (!valid_) {
        return;
    }
    if (IsPending(art)) {
        // Out of the list of changes, the last change taking its place.
        const auto at = static_cast<std::size_t>(art.hitPending);
        pending_[at] = pending_.back();
        pending_[at]->hitPending = static_cast<int>(at);
        pending_.pop_back();
        art.hitPending = -1;
    }
    if (const int slot = SlotOf(art); slot >= 0) {
        Forget(slot);
    }
}

void HitIndex::Build(Document& document) {
    Invalidate();
    ++builds_;
    ForEachArtInDocumentOrder(document, [this](Art& art) {
        if (HasContent(art)) {
            art.hitSlot = static_cast<int>(entries_.size());
            entries_.push_back({&art, BoxOf(art), false});
        }
    });
    valid_ = true;
    builtWith_ = entries_.size();
    if (entries_.empty()) {
        return;
    }
    bool first = true;
    double right = 0, top = 0;
    for (const Entry& e : entries_) {
        if (!Finite(e.box)) {
            continue;
        }
        left_ = first ? e.box.left : std::min<double>(left_, e.box.left);
        bottom_ = first ? e.box.bottom : std::min<double>(bottom_, e.box.bottom);
        right = first ? e.box.right : std::max<double>(right, e.box.right);
        top = first ? e.box.top : std::max<double>(top, e.box.top);
        first = false;
    }
    const double extent = std::max({right - left_, top - bottom_, 1.0});
    const int side = std::clamp(static_cast<int>(std::sqrt(static_cast<double>(entries_.size()))),
                                1, kMaxGridSide);
    cell_ = extent / side;
    columns_ = first ? 0 : std::max(1, static_cast<int>((right - left_) / cell_) + 1);
    rows_ = first ? 0 : std::max(1, static_cast<int>((top - bottom_) / cell_) + 1);
    cells_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), {});
    for (int i = 0; i < static_cast<int>(entries_.size()); ++i) {
        Place(i);
    }
}

void HitIndex::Place(int slot) {
    Entry& e = entries_[static_cast<std::size_t>(slot)];
    const AIRealRect& b = e.box;
    const double gridRight = left_ + columns_ * cell_, gridTop = bottom_ + rows_ * cell_;
    e.everywhere = columns_ == 0 || !Finite(b) || b.left < left_ || b.bottom < bottom_ ||
                   b.right > gridRight || b.top > gridTop;
    int c0 = 0, c1 = 0, r0 = 0, r1 = 0;
    if (!e.everywhere) {
        c0 = static_cast<int>((b.left - left_) / cell_);
        c1 = std::min(columns_ - 1, static_cast<int>((b.right - left_) / cell_));
        r0 = static_cast<int>((b.bottom - bottom_) / cell_);
        r1 = std::min(rows_ - 1, static_cast<int>((b.top - bottom_) / cell_));
        e.everywhere = static_cast<long>(c1 - c0 + 1) * (r1 - r0 + 1) > kMaxCellsPerPath;
    }
    if (e.everywhere) {
        everywhere_.push_back(slot);
        return;
    }
    for (int r = r0; r <= r1; ++r) {
        for (int c = c0; c <= c1; ++c) {
            cells_[static_cast<std::size_t>(r) * columns_ + c].push_back(slot);
        }
    }
}

void HitIndex::Unplace(int slot) {
    const Entry& e = entries_[static_cast<std::size_t>(slot)];
    if (e.everywhere) {
        Erase(everywhere_, slot);
        return;
    }
    const AIRealRect& b = e.box;
    const int c0 = static_cast<int>((b.left - left_) / cell_);
    const int c1 = std::min(columns_ - 1, static_cast<int>((b.right - left_) / cell_));
    const int r0 = static_cast<int>((b.bottom - bottom_) / cell_);
    const int r1 = std::min(rows_ - 1, static_cast<int>((b.top - bottom_) / cell_));
    for (int r = r0; r <= r1; ++r) {
        for (int c = c0; c <= c1; ++c) {
            Erase(cells_[static_cast<std::size_t>(r) * columns_ + c], slot);
        }
    }
}

void HitIndex::Forget(int slot) {
    Unplace(slot);
    Entry& e = entries_[static_cast<std::size_t>(slot)];
    e.art->hitSlot = -1;
    e = Entry{};
    freeSlots_.push_back(slot);
}

void HitIndex::ApplyPending() {
    for (Art* art : pending_) {
        art->hitPending = -1;
        int slot = SlotOf(*art);
        if (!HasContent(*art)) {
            if (slot >= 0) {
                Forget(slot);
            }
            continue;
        }
        if (slot >= 0) {
            Unplace(slot);
        } else if (!freeSlots_.empty()) {
            slot = freeSlots_.back();
            freeSlots_.pop_back();
        } else {
            slot = static_cast<int>(entries_.size());
            entries_.emplace_back();
        }
        art->hitSlot = slot;
        entries_[static_cast<std::size_t>(slot)].art = art;
        entries_[static_cast<std::size_t>(slot)].box = BoxOf(*art);
        Place(slot);
    }
    pending_.clear();
}

std::vector<HitIndex::Candidate> HitIndex::Near(Document& document, AIRealPoint point,
                                                double tolerance) {
    if (valid_ && !pending_.empty()) {
        ApplyPending();
        // The grid is sized for the art it was built with: once that has doubled, or too
        // much lies outside it, it is built again (as a table grows, once in a while).
        const std::size_t live = entries_.size() - freeSlots_.size();
        if (everywhere_.size() > kMaxStrays + live / 16 || live > 2 * builtWith_ + kMaxStrays) {
            valid_ = false;
        }
    }
    if (!valid_) {
        Build(document);
    }
    std::vector<int> found = everywhere_;
    if (columns_ > 0) {
        const auto clampColumn = [this](double x) {
            return std::clamp(static_cast<int>(std::floor((x - left_) / cell_)), 0, columns_ - 1);
        };
        const auto clampRow = [this](double y) {
            return std::clamp(static_cast<int>(std::floor((y - bottom_) / cell_)), 0, rows_ - 1);
        };
        const double x0 = point.h - tolerance, x1 = point.h + tolerance;
        const double y0 = point.v - tolerance, y1 = point.v + tolerance;
        if (x1 >= left_ && y1 >= bottom_ && x0 <= left_ + columns_ * cell_ &&
            y0 <= bottom_ + rows_ * cell_) {
            for (int r = clampRow(y0); r <= clampRow(y1); ++r) {
                for (int c = clampColumn(x0); c <= clampColumn(x1); ++c) {
                    const auto& cell = cells_[static_cast<std::size_t>(r) * columns_ + c];
                    found.insert(found.end(), cell.begin(), cell.end());
                }
            }
        }
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    std::vector<Candidate> near;
    for (int i : found) {
        const Entry& e = entries_[static_cast<std::size_t>(i)];
        // Art of no finite extent is offered as if the point were inside it.
        const double distance = Finite(e.box) ? BoxDistance(e.box, point) : 0;
        if (distance <= tolerance) {
            near.push_back({e.art, distance});
        }
    }
    std::stable_sort(near.begin(), near.end(), [](const Candidate& a, const Candidate& b) {
        return a.distance < b.distance;
    });
    return near;
}

}  // namespace emulator
