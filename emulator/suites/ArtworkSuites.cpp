// The suites of the document and its artwork.
#include "host/ArtworkSuites.h"
#include "emulator/SuiteSupport.h"

namespace emulator {
namespace {

// ---- AI Art Set Suite --------------------------------------------------------------------

ASErr NewArtSet(AIArtSet* artSet) {
    Host* host = Enter<AIArtSetSuite>();
    if (host == nullptr || artSet == nullptr) {
        return kBadParameterErr;
    }
    *artSet = host->ArtSets().Add(std::make_unique<std::vector<AIArtHandle>>());
    return 0;
}

ASErr DisposeArtSet(AIArtSet* artSet) {
    Host* host = Enter<AIArtSetSuite>();
    if (host == nullptr || artSet == nullptr) {
        return kBadParameterErr;
    }
    if (!host->ArtSets().Remove(*artSet)) {
        host->RecordViolation("art set unknown or already disposed of");
        return kBadParameterErr;
    }
    *artSet = nullptr;
    return 0;
}

constexpr AIArtSetSuite kArtSet{NewArtSet, DisposeArtSet};

// ---- AI Document View Suite --------------------------------------------------------------

// The view of `handle` (null: the current view), or null without a document.
const View* FindView(Host* host, AIDocumentViewHandle handle) {
    Document* document = host->CurrentDocument();
    if (document == nullptr) {
        return nullptr;
    }
    if (handle != nullptr) {
        host->RecordViolation("unknown document view");
    }
    return &document->view;
}

ASErr GetDocumentViewBounds(AIDocumentViewHandle handle, AIRealRect* bounds) {
    Host* host = Enter<AIDocumentViewSuite>();
    if (host == nullptr || bounds == nullptr) {
        return kBadParameterErr;
    }
    const View* view = FindView(host, handle);
    if (view == nullptr) {
        return kNoDocumentErr;
    }
    *bounds = view->Bounds();
    return 0;
}

ASErr ArtworkPointToViewPoint(AIDocumentViewHandle handle, const AIRealPoint* artworkPoint,
                              AIPoint* viewPoint) {
    Host* host = Enter<AIDocumentViewSuite>();
    if (host == nullptr || artworkPoint == nullptr || viewPoint == nullptr) {
        return kBadParameterErr;
    }
    const View* view = FindView(host, handle);
    if (view == nullptr) {
        return kNoDocumentErr;
    }
    *viewPoint = view->ToViewPoint(*artworkPoint);
    return 0;
}

constexpr AIDocumentViewSuite kDocumentView{GetDocumentViewBounds, ArtworkPointToViewPoint};

constexpr AIArtSuite kArt{};
constexpr AIPathSuite kPath{};
constexpr AIPathStyleSuite kPathStyle{};
constexpr AILayerSuite kLayer{};
constexpr AITagSuite kTag{};
constexpr AIHitTestSuite kHitTest{};
constexpr AIMatchingArtSuite kMatchingArt{};
constexpr AITransformArtSuite kTransformArt{};
constexpr AIArtConverterSuite kArtConverter{};
constexpr AIDocumentSuite kDocument{};

}  // namespace

void OfferArtworkSuites(SuiteRegistry& registry) {
    Offer(registry, kArtSet);
    Offer(registry, kDocumentView);
    Offer(registry, kArt);
    Offer(registry, kPath);
    Offer(registry, kPathStyle);
    Offer(registry, kLayer);
    Offer(registry, kTag);
    Offer(registry, kHitTest);
    Offer(registry, kMatchingArt);
    Offer(registry, kTransformArt);
    Offer(registry, kArtConverter);
    Offer(registry, kDocument);
}

}  // namespace emulator
