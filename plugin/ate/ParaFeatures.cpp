#include "plugin/ate/ParaFeatures.h"

#include "plugin/ate/Exception.h"
#include "plugin/hostaccess/Suites.h"

namespace ATE {

ATEErr ReleaseParaFeatures(ParaFeaturesRef features) {
    return sATEParaFeatures->Release(features);
}

ParaFeatures::ParaFeatures() {
    Check(sATEParaFeatures->Initialize(ref_.Put()));
}

void ParaFeatures::SetJustification(ParagraphJustification justification) {
    Check(sATEParaFeatures->SetJustification(Get(), justification));
}

void ParaFeatures::SetFirstLineIndent(AIReal indent) {
    Check(sATEParaFeatures->SetFirstLineIndent(Get(), indent));
}

void ParaFeatures::SetStartIndent(AIReal indent) {
    Check(sATEParaFeatures->SetStartIndent(Get(), indent));
}

void ParaFeatures::SetEndIndent(AIReal indent) {
    Check(sATEParaFeatures->SetEndIndent(Get(), indent));
}

void ParaFeatures::SetSpaceBefore(AIReal space) {
    Check(sATEParaFeatures->SetSpaceBefore(Get(), space));
}

void ParaFeatures::SetSpaceAfter(AIReal space) {
    Check(sATEParaFeatures->SetSpaceAfter(Get(), space));
}

}  // namespace ATE
