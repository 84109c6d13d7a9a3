#include "plugin/ate/ApplicationPaint.h"

#include "plugin/ate/Exception.h"
#include "plugin/hostaccess/Suites.h"

namespace ATE {

ATEErr ReleaseApplicationPaint(ApplicationPaintRef paint) {
    return sATEApplicationPaint->Release(paint);
}

ApplicationPaint ApplicationPaint::FromColor(const AIColor& color) {
    ApplicationPaintRef paint = nullptr;
    Check(sAIATEPaint->CreateATEApplicationPaint(&color, &paint));
    return ApplicationPaint(paint);
}

}  // namespace ATE
