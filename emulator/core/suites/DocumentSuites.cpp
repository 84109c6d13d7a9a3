// The suites of the document: its view, its layers, and hit testing its artwork.
#include <algorithm>
#include <cmath>

#include "emulator/core/HitTest.h"
#include "emulator/core/SuiteSupport.h"
#include "emulator/core/Unicode.h"
#include "plugin/host/ArtworkSuites.h"

namespace emulator {
namespace {

// ---- AI Document View Suite --------------------------------------------------------------

// The view of `handle` (null: the current view), or null without a document.
View* FindView(Host* host, AIDocumentViewHandle handle) {
    Document* document = host->CurrentDocument();
    if (document == nullptr) {
        return nullptr;
    }
    if (handle != nullptr) {
        host->RecordViolation("unknown document view");
    }
    return &document->view;
}

// Answers from the view of `handle` once the host, the caller's parameters (`given`) and a
// document are there.
template <typename Answer>
ASErr WithView(AIDocumentViewHandle handle, bool given, Answer answer) {
    Host* host = Enter<AIDocumentViewSuite>();
    if (host == nullptr || !given) {
        return kBadParameterErr;
    }
    View* view = FindView(host, handle);
    if (view == nullptr) {
        return kNoDocumentErr;
    }
    answer(*view, *host);
    return 0;
}

ASErr GetDocumentViewBounds(AIDocumentViewHandle handle, AIRealRect* bounds) {
    return WithView(handle, bounds != nullptr,
                    [&](const View& view, Host&) { *bounds = view.Bounds(); });
}

ASErr ArtworkPointToViewPoint(AIDocumentViewHandle handle, const AIRealPoint* artworkPoint,
                              AIPoint* viewPoint) {
    return WithView(handle, artworkPoint != nullptr && viewPoint != nullptr,
                    [&](const View& view, Host&) { *viewPoint = view.ToViewPoint(*artworkPoint); });
}

ASErr ViewPointToArtworkPoint(AIDocumentViewHandle handle, const AIPoint* viewPoint,
                              AIRealPoint* artworkPoint) {
    return WithView(
        handle, artworkPoint != nullptr && viewPoint != nullptr,
        [&](const View& view, Host&) { *artworkPoint = view.ToArtworkPoint(*viewPoint); });
}

ASErr GetDocumentViewZoom(AIDocumentViewHandle handle, AIReal* zoom) {
    return WithView(handle, zoom != nullptr,
                    [&](const View& view, Host&) { *zoom = static_cast<AIReal>(view.zoom); });
}

ASErr GetDocumentViewCenter(AIDocumentViewHandle handle, AIRealPoint* center) {
    return WithView(handle, center != nullptr, [&](const View& view, Host&) {
        const AIRealRect b = view.Bounds();
        *center = {(b.left + b.right) / 2, (b.top + b.bottom) / 2};
    });
}

ASErr SetDocumentViewCenter(AIDocumentViewHandle handle, const AIRealPoint* center) {
    const bool given = center != nullptr && std::isfinite(center->h) && std::isfinite(center->v);
    return WithView(handle, given, [&](View& view, Host& host) {
        view.origin = {static_cast<AIReal>(center->h - view.widthPixels / (2 * view.zoom)),
                       static_cast<AIReal>(center->v + view.heightPixels / (2 * view.zoom))};
        host.InvalidateAnnotation();
    });
}

constexpr AIDocumentViewSuite kDocumentView{GetDocumentViewBounds,   ArtworkPointToViewPoint,
                                            ViewPointToArtworkPoint, GetDocumentViewZoom,
                                            GetDocumentViewCenter,   SetDocumentViewCenter};

// ---- AI Layer Suite ----------------------------------------------------------------------

ASErr CountLayers(ASInt32* count) {
    Host* host = Enter<AILayerSuite>();
    if (host == nullptr || count == nullptr) {
        return kBadParameterErr;
    }
    Document* document = host->CurrentDocument();
    if (document == nullptr) {
        return kNoDocumentErr;
    }
    *count = static_cast<ASInt32>(document->layers.size());
    return 0;
}

ASErr GetNthLayer(ASInt32 index, AILayerHandle* layer) {
    Host* host = Enter<AILayerSuite>();
    if (host == nullptr || layer == nullptr) {
        return kBadParameterErr;
    }
    Document* document = host->CurrentDocument();
    if (document == nullptr) {
        return kNoDocumentErr;
    }
    if (index < 0 || static_cast<std::size_t>(index) >= document->layers.size()) {
        return kBadParameterErr;
    }
    *layer = host->HandleOf(document->layers[document->layers.size() - 1 - index].get());
    return 0;
}

ASErr GetCurrentLayer(AILayerHandle* layer) {
    Host* host = Enter<AILayerSuite>();
    if (host == nullptr || layer == nullptr) {
        return kBadParameterErr;
    }
    Document* document = host->CurrentDocument();
    if (document == nullptr) {
        return kNoDocumentErr;
    }
    *layer = host->HandleOf(document->currentLayer);
    return 0;
}

ASErr SetCurrentLayer(AILayerHandle handle) {
    auto [host, layer] = EnterLayer<AILayerSuite>(handle);
    if (layer == nullptr) {
        return kBadParameterErr;
    }
    host->WillChangeCurrentLayer();
    host->CurrentDocument()->currentLayer = layer;
    return 0;
}

ASErr InsertLayer(AILayerHandle base, ASInt32 placement, AILayerHandle* layer) {
    Host* host = Enter<AILayerSuite>();
    if (host == nullptr || layer == nullptr) {
        return kBadParameterErr;
    }
    Document* document = host->CurrentDocument();
    if (document == nullptr) {
        return kNoDocumentErr;
    }
    auto& layers = document->layers;
    std::size_t at = layers.size();
    if (placement != kLayerAboveAll) {
        Layer* reference = host->FindLayer(base);
        if (reference == nullptr) {
            return kBadParameterErr;
        }
        std::size_t index = 0;
        while (index < layers.size() && layers[index].get() != reference) {
            ++index;
        }
        at = placement == kLayerAbove ? index + 1 : index;
    }
    auto added = std::make_unique<Layer>();
    Layer* raw = added.get();
    layers.insert(layers.begin() + static_cast<std::ptrdiff_t>(at), std::move(added));
    host->LayerPlaced(*raw, at);
    // As in an illustration program, a new layer becomes the one new art goes to.
    host->WillChangeCurrentLayer();
    document->currentLayer = raw;
    *layer = host->HandleOf(raw);
    return 0;
}

ASErr GetLayerTitle(AILayerHandle handle, ASUnicode* buffer, ASInt32 capacity, ASInt32* length) {
    auto [host, layer] = EnterLayer<AILayerSuite>(handle);
    if (layer == nullptr) {
        return kBadParameterErr;
    }
    return CopyOutUnicode(Utf16FromUtf8(layer->title), buffer, capacity, length);
}

ASErr SetLayerTitle(AILayerHandle handle, const ASUnicode* title) {
    auto [host, layer] = EnterLayer<AILayerSuite>(handle);
    if (layer == nullptr || title == nullptr) {
        return kBadParameterErr;
    }
    host->WillEditLayer(*layer);
    layer->title = Utf8FromUtf16(title);
    return 0;
}

ASErr GetLayerEditable(AILayerHandle handle, AIBoolean* editable) {
    auto [host, layer] = EnterLayer<AILayerSuite>(handle);
    if (layer == nullptr || editable == nullptr) {
        return kBadParameterErr;
    }
    *editable = !layer->locked;
    return 0;
}

ASErr SetLayerEditable(AILayerHandle handle, AIBoolean editable) {
    auto [host, layer] = EnterLayer<AILayerSuite>(handle);
    if (layer == nullptr) {
        return kBadParameterErr;
    }
    host->WillEditLayer(*layer);
    layer->locked = editable == 0;
    return 0;
}

ASErr GetLayerVisible(AILayerHandle handle, AIBoolean* visible) {
    auto [host, layer] = EnterLayer<AILayerSuite>(handle);
    if (layer == nullptr || visible == nullptr) {
        return kBadParameterErr;
    }
    *visible = layer->visible;
    return 0;
}

ASErr GetLayerColor(AILayerHandle handle, AIRGBColor* color) {
    auto [host, layer] = EnterLayer<AILayerSuite>(handle);
    if (layer == nullptr || color == nullptr) {
        return kBadParameterErr;
    }
    auto component = [](double c) {
        return static_cast<ASUInt16>(std::lround(std::clamp(c, 0.0, 1.0) * 65535.0));
    };
    *color = AIRGBColor{component(layer->color.red), component(layer->color.green),
                        component(layer->color.blue)};
    return 0;
}

ASErr GetFirstArtOfLayer(AILayerHandle handle, AIArtHandle* art) {
    auto [host, layer] = EnterLayer<AILayerSuite>(handle);
    if (layer == nullptr || art == nullptr) {
        return kBadParameterErr;
    }
    *art = host->HandleOf(&layer->group);
    return 0;
}

constexpr AILayerSuite kLayer{CountLayers,     GetNthLayer,      GetCurrentLayer,
                              SetCurrentLayer, InsertLayer,      GetLayerTitle,
                              SetLayerTitle,   GetLayerEditable, SetLayerEditable,
                              GetLayerVisible, GetLayerColor,    GetFirstArtOfLayer};

// ---- AI Hit Test Suite -------------------------------------------------------------------

ASErr HitTest(AIArtHandle handle, const AIRealPoint* point, AIReal tolerance, ASInt32 request,
              AIHitRef* hitRef) {
    Host* host = Enter<AIHitTestSuite>();
    if (host == nullptr || point == nullptr || hitRef == nullptr) {
        return kBadParameterErr;
    }
    Document* document = host->CurrentDocument();
    if (document == nullptr) {
        return kNoDocumentErr;
    }
    Art* within = nullptr;
    if (handle != nullptr && (within = host->FindArt(handle)) == nullptr) {
        return kBadParameterErr;
    }
    // The tolerance is in view pixels: zoomed in, it covers less of the artwork, so that
    // small features can be picked.
    const double artworkTolerance = tolerance / document->view.zoom;
    const Hit hit =
        HitTestDocument(*document, *point, artworkTolerance, request, within, host->Index());
    auto data = std::make_unique<AIToolHitData>();
    data->hit = hit.hit;
    data->art = host->HandleOf(hit.art);
    data->type = hit.type;
    data->segment = hit.segment;
    data->t = static_cast<AIReal>(hit.t);
    data->point = hit.point;
    *hitRef = host->Hits().Add(std::move(data));
    return 0;
}

ASErr GetHitData(AIHitRef hitRef, AIToolHitData* data) {
    Host* host = Enter<AIHitTestSuite>();
    if (host == nullptr || data == nullptr) {
        return kBadParameterErr;
    }
    const AIToolHitData* found = host->Hits().Find(hitRef);
    if (found == nullptr) {
        host->RecordViolation("hit reference dead or unknown");
        return kBadParameterErr;
    }
    *data = *found;
    return 0;
}

ASErr ReleaseHitRef(AIHitRef hitRef) {
    Host* host = Enter<AIHitTestSuite>();
    if (host == nullptr) {
        return kBadParameterErr;
    }
    if (!host->Hits().Remove(hitRef)) {
        host->RecordViolation("hit reference released twice or unknown");
        return kBadParameterErr;
    }
    return 0;
}

constexpr AIHitTestSuite kHitTest{HitTest, GetHitData, ReleaseHitRef};

constexpr AIDocumentSuite kDocument{};

}  // namespace

void OfferDocumentSuites(SuiteRegistry& registry) {
    Offer(registry, kDocumentView);
    Offer(registry, kLayer);
    Offer(registry, kHitTest);
    Offer(registry, kDocument);
}

}  // namespace emulator
