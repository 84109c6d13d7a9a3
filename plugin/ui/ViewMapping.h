// Artwork points as pixels of a document view, y downwards, without rounding: the highlights
// follow curves more closely than whole pixels would.
#pragma once

#include "plugin/host/ArtworkSuites.h"
#include "plugin/host/Records.h"

namespace ui {

class ViewMapping {
  public:
    // Reads the view's bounds and zoom; the host's error, if any, is the result.
    ASErr Read(AIDocumentViewHandle view);

    AIRealPoint ToView(AIRealPoint artwork) const;

  private:
    double left_ = 0;
    double top_ = 0;
    double zoom_ = 1;
};

}  // namespace ui
