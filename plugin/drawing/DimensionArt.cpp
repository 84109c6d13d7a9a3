#include "plugin/drawing/DimensionArt.h"
#include "plugin/hostaccess/Alert.h"

#include <cmath>
#include <string>

#include "plugin/drawing/DimensionRecords.h"
#include "plugin/geometry/Trigonometry.h"
#include "plugin/host/ResultCodes.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/hostaccess/WindowsText.h"
#include "plugin/settings/DimensionSettings.h"

namespace drawing {

const char* const kLayerLocked = "Cotation impossible. Calque verrouillé."_w1252;

namespace {

std::u16string LayerTitle(AILayerHandle layer) {
    ASInt32 length = 0;
    const ASErr sized = sAILayer->GetLayerTitle(layer, nullptr, 0, &length);
    if ((sized != 0 && sized != kBufferTooSmallErr) || length <= 0) {
        return {};
    }
    std::u16string title(static_cast<std::size_t>(length) + 1, u'\0');
    if (sAILayer->GetLayerTitle(layer, title.data(), length + 1, &length) != 0) {
        return {};
    }
    title.resize(static_cast<std::size_t>(length));
    return title;
}

bool Editable(AILayerHandle layer) {
    AIBoolean editable = false;
    return sAILayer->GetLayerEditable(layer, &editable) == 0 && editable;
}

// The layer titled `title`, inserted above all layers when there is none; null when the
// host refused.
AILayerHandle FindOrInsertLayer(const std::u16string& title, bool* locked) {
    ASInt32 count = 0;
    if (sAILayer->CountLayers(&count) == 0) {
        for (ASInt32 i = 0; i < count; ++i) {
            AILayerHandle layer = nullptr;
            if (sAILayer->GetNthLayer(i, &layer) == 0 && LayerTitle(layer) == title) {
                *locked = !Editable(layer);
                return layer;
            }
        }
    }
    AILayerHandle current = nullptr;
    AILayerHandle layer = nullptr;
    Steps& errors = WorkingArt().errors;
    errors += sAILayer->GetCurrentLayer(&current);
    const ASErr inserted = sAILayer->InsertLayer(current, kLayerAboveAll, &layer);
    errors += inserted;
    if (inserted != 0) {
        return nullptr;
    }
    errors += sAILayer->SetLayerTitle(layer, title.c_str());
    return layer;
}

}  // namespace

DimensionArt& WorkingArt() {
    static DimensionArt art;
    return art;
}

void ForgetWorkingArt() {
    WorkingArt() = {};
}

void DiscardUnfinishedDimension() {
    DimensionArt& working = WorkingArt();
    if (!working.laidOut) {
        DisposeArt(working.group);
        working.lines = {};
        working.arcCopies.clear();
        working.ticks.clear();
    }
}

bool IsLive(AIArtHandle art) {
    return art != nullptr && sAIArt->ValidArt(art);
}

void DisposeArt(AIArtHandle& art) {
    if (IsLive(art)) {
        WorkingArt().errors += sAIArt->DisposeArt(art);
    }
    art = nullptr;
}

bool PrepareDimensionGroup() {
    DimensionArt& working = WorkingArt();
    working.errors = {};
    const std::u16string title = text::ToHostUnicode(settings::Settings().layerName);
    bool locked = false;
    AILayerHandle layer = FindOrInsertLayer(title, &locked);
    if (layer == nullptr) {
        return false;
    }
    AILayerHandle current = nullptr;
    if (locked || (sAILayer->GetCurrentLayer(&current) == 0 && !Editable(current))) {
        ShowAlert(kLayerLocked);
        return false;
    }
    AIArtHandle layerGroup = nullptr;
    if (const ASErr error = sAILayer->GetFirstArtOfLayer(layer, &layerGroup)) {
        working.errors += error;
        return false;
    }
    // A dimension whose construction made nothing leaves an empty group behind.
    AIArtHandle child = nullptr;
    if (IsLive(working.group) && sAIArt->GetArtFirstChild(working.group, &child) == 0 &&
        child == nullptr) {
        DisposeArt(working.group);
    }
    DiscardUnfinishedDimension();
    working.layer = layer;
    working.lines = {};
    working.arcCopies.clear();
    working.ticks.clear();
    working.laidOut = false;
    const ASErr created = sAIArt->NewArt(kGroupArt, kPlaceInsideOnTop, layerGroup, &working.group);
    if (created != 0) {
        working.errors += created;
        working.group = nullptr;
        return false;
    }
    return true;
}

AIArtHandle NewDimensionPath(AIArtHandle below) {
    DimensionArt& working = WorkingArt();
    AIArtHandle path = nullptr;
    const ASErr error = IsLive(below)
                            ? sAIArt->NewArt(kPathArt, kPlaceBelow, below, &path)
                            : sAIArt->NewArt(kPathArt, kPlaceInsideOnTop, working.group, &path);
    if (error != 0) {
        working.errors += error;
        return nullptr;
    }
    working.errors += TagAuxiliary(path);
    return path;
}

void SetTwoPointPath(AIRealPoint a, AIRealPoint b, AIArtHandle path, const AIPathStyle& style) {
    if (!IsLive(path)) {
        return;
    }
    AIPathSegment segments[2] = {{a, a, a, true}, {b, b, b, true}};
    Steps& errors = WorkingArt().errors;
    errors += sAIPath->SetPathSegmentCount(path, 2);
    errors += sAIPath->SetPathSegments(path, 0, 2, segments);
    errors += sAIPath->SetPathClosed(path, false);
    errors += sAIPathStyle->SetPathStyle(path, &style);
}

void SetPathAnchors(const std::vector<AIPathSegment>& segments, bool closed, AIArtHandle path,
                    const AIPathStyle& style) {
    if (!IsLive(path)) {
        return;
    }
    Steps& errors = WorkingArt().errors;
    const auto count = static_cast<ASInt16>(segments.size());
    errors += sAIPath->SetPathSegmentCount(path, count);
    if (count > 0) {
        errors += sAIPath->SetPathSegments(path, 0, count, segments.data());
    }
    errors += sAIPath->SetPathClosed(path, closed);
    errors += sAIPathStyle->SetPathStyle(path, &style);
}

void SetPolyline(const std::vector<AIRealPoint>& points, AIArtHandle path,
                 const AIPathStyle& style) {
    std::vector<AIPathSegment> segments;
    segments.reserve(points.size());
    for (const AIRealPoint& p : points) {
        segments.push_back({p, p, p, true});
    }
    SetPathAnchors(segments, false, path, style);
}

AIRealMatrix ScaleRotateTranslate(double scale, double angle, AIRealPoint to) {
    const geometry::SineCosine turn = geometry::SinCos(angle);
    const double c = turn.cosine * scale;
    const double s = turn.sine * scale;
    return {static_cast<AIReal>(c),
            static_cast<AIReal>(s),
            static_cast<AIReal>(-s),
            static_cast<AIReal>(c),
            to.h,
            to.v};
}

void TranslateArt(AIArtHandle art, double dx, double dy) {
    if (!IsLive(art)) {
        return;
    }
    const AIRealMatrix move{1, 0, 0, 1, static_cast<AIReal>(dx), static_cast<AIReal>(dy)};
    WorkingArt().errors += sAITransformArt->TransformArt(art, &move, 1.0f, kTransformObjects);
}

void RotateArt(AIArtHandle art, double angle, AIRealPoint about) {
    if (!IsLive(art) || angle == 0.0) {
        return;
    }
    // Rotation about `about`: p' = R (p - about) + about.
    const geometry::SineCosine sc = geometry::SinCos(angle);
    const double c = sc.cosine;
    const double s = sc.sine;
    const AIRealPoint to{static_cast<AIReal>(about.h - (c * about.h - s * about.v)),
                         static_cast<AIReal>(about.v - (s * about.h + c * about.v))};
    const AIRealMatrix turn = ScaleRotateTranslate(1.0, angle, to);
    WorkingArt().errors += sAITransformArt->TransformArt(art, &turn, 1.0f, kTransformObjects);
}

AIRealPoint ArtSize(AIArtHandle art) {
    AIRealRect bounds{};
    if (!IsLive(art) || sAIArt->GetArtBounds(art, &bounds) != 0) {
        return {0, 0};
    }
    return {bounds.right - bounds.left, bounds.top - bounds.bottom};
}

}  // namespace drawing
