// A set of paragraph features: each one either set, to be given to a range, or left alone.
#pragma once

#include "plugin/ate/Reference.h"
#include "plugin/host/TextSuites.h"

namespace ATE {

ATEErr ReleaseParaFeatures(ParaFeaturesRef features);

class ParaFeatures {
  public:
    // A new set with nothing set.
    ParaFeatures();

    ParaFeaturesRef Get() const { return ref_.Get(); }

    void SetJustification(ParagraphJustification justification);
    void SetFirstLineIndent(AIReal indent);
    void SetStartIndent(AIReal indent);
    void SetEndIndent(AIReal indent);
    void SetSpaceBefore(AIReal space);
    void SetSpaceAfter(AIReal space);

  private:
    Reference<ParaFeaturesRef, ReleaseParaFeatures> ref_;
};

}  // namespace ATE
