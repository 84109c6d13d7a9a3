#include "plugin/ate/CharFeatures.h"

#include "plugin/ate/Exception.h"
#include "plugin/hostaccess/Suites.h"

namespace ATE {

ATEErr ReleaseCharFeatures(CharFeaturesRef features) {
    return sATECharFeatures->Release(features);
}

CharFeatures::CharFeatures() {
    Check(sATECharFeatures->Initialize(ref_.Put()));
}

void CharFeatures::SetFont(const Font& font) {
    Check(sATECharFeatures->SetFont(Get(), font.Get()));
}

void CharFeatures::SetFontSize(AIReal size) {
    Check(sATECharFeatures->SetFontSize(Get(), size));
}

void CharFeatures::SetBaselineShift(AIReal shift) {
    Check(sATECharFeatures->SetBaselineShift(Get(), shift));
}

void CharFeatures::SetTracking(ASInt32 tracking) {
    Check(sATECharFeatures->SetTracking(Get(), tracking));
}

void CharFeatures::SetFillColor(const ApplicationPaint& paint) {
    Check(sATECharFeatures->SetFillColor(Get(), paint.Get()));
}

void CharFeatures::SetFillOverPrint(bool overprint) {
    Check(sATECharFeatures->SetFillOverPrint(Get(), overprint ? 1 : 0));
}

}  // namespace ATE
