// The paths the Lengths & Areas scan reaches, with their extents, on a grid: a cursor move
// looks only at the paths whose extent comes near the cursor, instead of asking the host
// for every path and its extent at each move. The index is read from the host once and
// kept while only the cursor moves; any other message may have changed the document, and
// forgets it.
#pragma once

#include <vector>

#include "plugin/host/Records.h"

namespace tools {

class AreaScanIndex {
  public:
    // The paths the user can reach (ReachablePaths), with their extents. A host error is
    // the result, and leaves the index empty.
    ASErr Build();
    // The paths whose extent comes within `tolerance` of `cursor` (compared as the scan
    // compares it), or whose extent the host could not give, in the host's order.
    std::vector<AIArtHandle> Near(AIRealPoint cursor, AIReal tolerance) const;

  private:
    struct Entry {
        AIArtHandle art;
        AIRealRect box;
        bool known;  // false when the host could not give the extent
    };
    std::vector<Entry> entries_;   // in the host's order
    std::vector<int> everywhere_;  // extents unknown, or too large for the grid
    double left_ = 0, bottom_ = 0, cell_ = 1;
    int columns_ = 0, rows_ = 0;
    std::vector<std::vector<int>> cells_;
};

// The index the scan keeps between cursor moves; built at the first move after Forget.
const AreaScanIndex* KeptAreaScanIndex(ASErr* error);
// Forgets the kept index: the document may have changed.
void ForgetAreaScanIndex();

}  // namespace tools
