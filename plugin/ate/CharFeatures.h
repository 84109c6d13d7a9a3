// A set of character features: each one either set, to be given to a range, or left alone.
#pragma once

#include "plugin/ate/ApplicationPaint.h"
#include "plugin/ate/Font.h"
#include "plugin/ate/Reference.h"
#include "plugin/host/TextSuites.h"

namespace ATE {

ATEErr ReleaseCharFeatures(CharFeaturesRef features);

class CharFeatures {
  public:
    // A new set with nothing set.
    CharFeatures();

    CharFeaturesRef Get() const { return ref_.Get(); }

    void SetFont(const Font& font);
    void SetFontSize(AIReal size);
    void SetBaselineShift(AIReal shift);
    void SetTracking(ASInt32 tracking);
    void SetFillColor(const ApplicationPaint& paint);
    void SetFillOverPrint(bool overprint);

  private:
    Reference<CharFeaturesRef, ReleaseCharFeatures> ref_;
};

}  // namespace ATE
