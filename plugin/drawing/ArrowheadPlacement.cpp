#include "plugin/drawing/ArrowheadPlacement.h"

#include <cmath>
#include <numbers>

#include "plugin/drawing/Arrowheads.h"
#include "plugin/drawing/DimensionArt.h"
#include "plugin/drawing/DimensionStyles.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/settings/DimensionSettings.h"

namespace drawing {
namespace {

constexpr double kPi = std::numbers::pi;

// One head: created just below `below` when it does not exist yet, given the shape and
// style of `shape`, and moved to `tip` with its body along `angle`. With `scaleStrokes` a
// stroked head's line width grows with the head's size.
void PlaceHead(AIArtHandle& head, AIRealPoint tip, double angle, AIArtHandle below,
               const ArrowTemplate& shape = CurrentArrowTemplate(), bool scaleStrokes = false) {
    if (!IsLive(head)) {
        head = NewDimensionPath(below);
        if (head == nullptr) {
            return;
        }
    }
    const DimensionStyles& styles = Styles();
    Steps& errors = WorkingArt().errors;
    errors +=
        sAIPathStyle->SetPathStyle(head, shape.stroked ? &styles.solidLine : &styles.arrowFill);
    errors += sAIPath->SetPathClosed(head, shape.closed);
    const double scale = settings::Settings().arrowSize * 0.01;
    ApplyArrowTemplate(ScaleRotateTranslate(scale, angle, tip), head, shape, scaleStrokes);
}

// At size 0 a dimension has no heads: those it had are disposed of.
bool WithoutHeads(std::array<AIArtHandle, 2>& heads) {
    if (settings::Settings().arrowSize != 0) {
        return false;
    }
    for (AIArtHandle& head : heads) {
        DisposeArt(head);
    }
    return true;
}

}  // namespace

void ApplyArrowTemplate(const AIRealMatrix& matrix, AIArtHandle path, const ArrowTemplate& shape,
                        bool scaleStrokes) {
    Steps& errors = WorkingArt().errors;
    errors += sAIPath->SetPathSegmentCount(path, shape.segmentCount);
    errors += sAIPath->SetPathSegments(path, 0, shape.segmentCount, shape.segments.data());
    if (!scaleStrokes) {
        errors += sAITransformArt->TransformArt(path, &matrix, 1.0f, kTransformObjects);
        return;
    }
    // The line width grows by the matrix's scale.
    const double scale = std::sqrt(std::fabs(static_cast<double>(matrix.a) * matrix.d -
                                             static_cast<double>(matrix.b) * matrix.c));
    errors += sAITransformArt->TransformArt(path, &matrix, static_cast<AIReal>(scale),
                                            kTransformObjects | kTransformScaleStrokes);
}

void PlaceLineArrowheads(AIRealPoint tip1, AIRealPoint tip2, double lineAngle, bool reversed,
                         int index) {
    LineArt& line = WorkingArt().lines[index == 1 ? 1 : 0];
    if (WithoutHeads(line.heads)) {
        return;
    }
    const double r = reversed ? 1.0 : 0.0;
    PlaceHead(line.heads[0], tip1, lineAngle + kPi * r, line.lineHalf1);
    PlaceHead(line.heads[1], tip2, lineAngle + kPi * (1.0 - r), line.lineHalf1);
}

void PlaceRadiusArrowheads(AIRealPoint tip1, AIRealPoint tip2, double lineAngle, bool reversed,
                           bool radiusLineDrawn, bool diameter, AIArtHandle line) {
    auto& heads = WorkingArt().lines[0].heads;
    if (WithoutHeads(heads)) {
        return;
    }
    const double r = reversed ? 1.0 : 0.0;
    PlaceHead(heads[0], tip1, radiusLineDrawn ? lineAngle + kPi * r : lineAngle + kPi * (1.0 - r),
              line);
    if (radiusLineDrawn && diameter) {
        PlaceHead(heads[1], tip2, lineAngle + kPi * (1.0 - r), line);
    } else {
        DisposeArt(heads[1]);
    }
}

void PlaceCurveArrowheads(AIRealPoint tip1, double angle1, AIRealPoint tip2, double angle2,
                          bool reversed, AIArtHandle line) {
    auto& heads = WorkingArt().lines[0].heads;
    if (WithoutHeads(heads)) {
        return;
    }
    const double r = reversed ? kPi : 0.0;
    PlaceHead(heads[0], tip1, angle1 + r, line, CurrentArrowTemplate(), true);
    PlaceHead(heads[1], tip2, angle2 + r, line, CurrentArrowTemplate(), true);
}

double ArcHeadCorrection(double radius, double arrowSize) {
    if (!(std::isfinite(radius) && radius != 0.0)) {
        return 0.0;
    }
    return sAIRealMath->ATan2(static_cast<AIReal>(0.025 * arrowSize),
                              static_cast<AIReal>(std::fabs(radius)));
}

void PlaceArcArrowheads(double radius, AIRealPoint end1, double angle1, AIRealPoint end2,
                        double angle2, double sweep, bool reversed, AIArtHandle arc) {
    auto& heads = WorkingArt().lines[0].heads;
    if (WithoutHeads(heads)) {
        return;
    }
    const double r = reversed ? 1.0 : 0.0;
    const double c = ArcHeadCorrection(radius, settings::Settings().arrowSize);
    double head1 = 0.0;
    double head2 = 0.0;
    if (sweep >= 0.0) {
        head1 = angle1 + kPi / 2 + c + r * (kPi - 2 * c);
        head2 = angle2 - kPi / 2 - c + r * (kPi + 2 * c);
    } else {
        head1 = angle1 - kPi / 2 - c + r * (kPi + 2 * c);
        head2 = angle2 + kPi / 2 + c + r * (kPi - 2 * c);
    }
    // The tick shape crosses an arc straight, not slanted.
    const ArrowTemplate shape =
        BuildArrowTemplate(settings::Settings().arrowShape, TickForm::AngleTool);
    PlaceHead(heads[0], end1, head1, arc, shape);
    PlaceHead(heads[1], end2, head2, arc, shape);
}

}  // namespace drawing
