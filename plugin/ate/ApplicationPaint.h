// A paint of the text engine: the colour characters are filled with.
#pragma once

#include "plugin/ate/Reference.h"
#include "plugin/host/PaintRecords.h"
#include "plugin/host/TextSuites.h"

namespace ATE {

ATEErr ReleaseApplicationPaint(ApplicationPaintRef paint);

class ApplicationPaint {
  public:
    // Takes ownership of `paint`.
    explicit ApplicationPaint(ApplicationPaintRef paint) : ref_(paint) {}
    // The text engine's paint of a host colour.
    static ApplicationPaint FromColor(const AIColor& color);

    ApplicationPaintRef Get() const { return ref_.Get(); }

  private:
    Reference<ApplicationPaintRef, ReleaseApplicationPaint> ref_;
};

}  // namespace ATE
