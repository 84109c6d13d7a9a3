// The grid that lets a hit test examine only the art near its point.
#pragma once

#include <vector>

#include "emulator/core/Document.h"

namespace emulator {

// A grid over the document's paths and texts by their extents. It holds geometry only: the
// locked, hidden and guide states and the stacking order are read at each test. It is built
// from the document at the first search and then kept up to date art by art: whoever
// changes the geometry of art or places it reports it with Changed, whoever takes art out
// of the document reports it with Removed, and a new document calls Invalidate. The grid is
// sized again only when the art it holds has doubled since it was built.
class HitIndex {
  public:
    // Drops everything: the next search builds the grid from the document.
    void Invalidate();
    // `art` was placed or its geometry changed: its entry is brought up to date before the
    // next search. Only `art` itself, not what it holds.
    void Changed(Art& art);
    // `art` leaves the document: its entry goes at once. Only `art` itself.
    void Removed(Art& art);

    // A path or text near a point, and how far its extent lies from it (0 inside).
    struct Candidate {
        Art* art;
        double distance;
    };
    // The paths and texts whose extent comes within `tolerance` of `point`, nearest first.
    std::vector<Candidate> Near(Document& document, AIRealPoint point, double tolerance);

    // How many times the grid was built from the whole document (for tests and benchmarks).
    int Builds() const { return builds_; }

  private:
    struct Entry {
        Art* art = nullptr;  // null for a free slot
        AIRealRect box{0, 0, 0, 0};
        bool everywhere = false;
    };

    void Build(Document& document);
    void ApplyPending();
    // Puts the entry of `slot` into the cells its box covers, or with the art examined
    // everywhere when its box is not finite, leaves the grid or covers too many cells.
    void Place(int slot);
    void Unplace(int slot);
    void Forget(int slot);
    // The slot of `art`, or −1.
    int SlotOf(const Art& art) const;
    // True when `art` is in the list of changes to take in.
    bool IsPending(const Art& art) const;

    bool valid_ = false;
    int builds_ = 0;
    std::size_t builtWith_ = 0;  // the art the grid was sized for
    std::vector<Entry> entries_;
    std::vector<int> freeSlots_;
    std::vector<Art*> pending_;
    double left_ = 0, bottom_ = 0, cell_ = 1;
    int columns_ = 0, rows_ = 0;
    std::vector<std::vector<int>> cells_;
    std::vector<int> everywhere_;  // art too large for the grid, or outside it
};

}  // namespace emulator
