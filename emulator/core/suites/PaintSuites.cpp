// The suites of colours and path styles: the document's custom colours, its swatches, and
// the style of each path.
#include <cmath>

#include "emulator/core/CustomColors.h"
#include "emulator/core/SuiteSupport.h"
#include "emulator/core/Unicode.h"
#include "plugin/host/ArtworkSuites.h"
#include "plugin/host/PaintSuites.h"

namespace emulator {
namespace {

// ---- AI Custom Color Suite ---------------------------------------------------------------

ASErr NewCustomColor(const AICustomColor* definition, const ASUnicode* name,
                     AICustomColorHandle* color) {
    Host* host = Enter<AICustomColorSuite>();
    if (host == nullptr || definition == nullptr || name == nullptr || color == nullptr) {
        return kBadParameterErr;
    }
    Document* document = host->CurrentDocument();
    if (document == nullptr) {
        return kNoDocumentErr;
    }
    const std::optional<Paint> paint = DefinitionFromRecord(*definition);
    std::string text = Utf8FromUtf16(name);
    if (!paint || text.empty() || FindCustomColorByName(*document, text) != nullptr) {
        return kBadParameterErr;
    }
    *color = HandleOfCustomColor(AddCustomColor(*document, std::move(text), *paint));
    return 0;
}

// The custom colour of `handle` in the current document; null, with *error set, when there
// is no document or the handle is not one of its colours.
CustomColor* FindColor(Host* host, AICustomColorHandle handle, ASErr* error) {
    Document* document = host != nullptr ? host->CurrentDocument() : nullptr;
    if (document == nullptr) {
        *error = host != nullptr ? kNoDocumentErr : kBadParameterErr;
        return nullptr;
    }
    CustomColor* color = FindCustomColor(*document, handle);
    if (color == nullptr) {
        host->RecordViolation("custom colour unknown or of another document");
        *error = kBadParameterErr;
    }
    return color;
}

ASErr GetCustomColor(AICustomColorHandle handle, AICustomColor* definition) {
    ASErr error = 0;
    CustomColor* color = FindColor(Enter<AICustomColorSuite>(), handle, &error);
    if (color == nullptr) {
        return error;
    }
    if (definition == nullptr) {
        return kBadParameterErr;
    }
    *definition = RecordFromDefinition(color->definition);
    return 0;
}

ASErr GetCustomColorName(AICustomColorHandle handle, ASUnicode* buffer, ASInt32 capacity,
                         ASInt32* length) {
    ASErr error = 0;
    CustomColor* color = FindColor(Enter<AICustomColorSuite>(), handle, &error);
    if (color == nullptr) {
        return error;
    }
    return CopyOutUnicode(Utf16FromUtf8(color->name), buffer, capacity, length);
}

// The current document for an operation of `Suite` that writes to `out`; null, with
// *error set, when there is none (or no host, or nowhere to write).
template <typename Suite>
Document* DocumentFor(const void* out, ASErr* error) {
    Host* host = Enter<Suite>();
    if (host == nullptr || out == nullptr) {
        *error = kBadParameterErr;
        return nullptr;
    }
    Document* document = host->CurrentDocument();
    *error = document == nullptr ? kNoDocumentErr : 0;
    return document;
}

ASErr CountCustomColors(ASInt32* count) {
    ASErr error = 0;
    Document* document = DocumentFor<AICustomColorSuite>(count, &error);
    if (document == nullptr) {
        return error;
    }
    *count = static_cast<ASInt32>(document->customColors.size());
    return 0;
}

ASErr GetNthCustomColor(ASInt32 index, AICustomColorHandle* color) {
    ASErr error = 0;
    Document* document = DocumentFor<AICustomColorSuite>(color, &error);
    if (document == nullptr) {
        return error;
    }
    if (index < 0 || static_cast<std::size_t>(index) >= document->customColors.size()) {
        return kBadParameterErr;
    }
    *color = HandleOfCustomColor(document->customColors[static_cast<std::size_t>(index)]);
    return 0;
}

ASErr GetCurrentCustomColor(AICustomColorHandle* color) {
    ASErr error = 0;
    Document* document = DocumentFor<AICustomColorSuite>(color, &error);
    if (document == nullptr) {
        return error;
    }
    if (!document->currentCustomColor) {
        return kNameNotFoundErr;
    }
    *color = HandleOfCustomColor(document->customColors[*document->currentCustomColor]);
    return 0;
}

constexpr AICustomColorSuite kCustomColorTable{NewCustomColor,     GetCustomColor,
                                               GetCustomColorName, CountCustomColors,
                                               GetNthCustomColor,  GetCurrentCustomColor};

// ---- AI Swatch List Suite and AI Swatch Group Suite --------------------------------------

// The document's swatches are its custom colours, each at full strength.
template <typename Suite>
ASErr CountSwatchesOf(ASInt32* count) {
    ASErr error = 0;
    Document* document = DocumentFor<Suite>(count, &error);
    if (document == nullptr) {
        return error;
    }
    *count = static_cast<ASInt32>(document->customColors.size());
    return 0;
}

template <typename Suite>
ASErr NthSwatchColorOf(ASInt32 index, AIColor* color) {
    ASErr error = 0;
    Document* document = DocumentFor<Suite>(color, &error);
    if (document == nullptr) {
        return error;
    }
    if (index < 0 || static_cast<std::size_t>(index) >= document->customColors.size()) {
        return kBadParameterErr;
    }
    *color = AIColor{};
    color->kind = kCustomColor;
    color->custom = {HandleOfCustomColor(document->customColors[static_cast<std::size_t>(index)]),
                     0};
    return 0;
}

constexpr AISwatchListSuite kSwatchList{CountSwatchesOf<AISwatchListSuite>,
                                        NthSwatchColorOf<AISwatchListSuite>};
constexpr AISwatchGroupSuite kSwatchGroup{CountSwatchesOf<AISwatchGroupSuite>,
                                          NthSwatchColorOf<AISwatchGroupSuite>};

constexpr AIPaintStyleSuite kPaintStyle{};

// ---- AI Path Style Suite -----------------------------------------------------------------

Art* FindPath(Host* host, AIArtHandle handle) {
    Art* art = host != nullptr ? host->FindArt(handle) : nullptr;
    if (art != nullptr && art->type != ArtType::Path) {
        host->RecordViolation("path style of art that is not a path");
        return nullptr;
    }
    return art;
}

bool FiniteAtLeast(double value, double least) {
    return std::isfinite(value) && value >= least;
}

// The model's style of a style record; nothing when a value is out of range.
std::optional<PathStyle> StyleFromRecord(Document* document, const AIPathStyle& record) {
    const AIStrokeStyle& stroke = record.stroke;
    const AIDashStyle& dash = stroke.dash;
    if (!FiniteAtLeast(stroke.width, 0) || dash.length < 0 || dash.length > kMaxDashComponents ||
        !std::isfinite(dash.offset) || stroke.cap < kButtCap || stroke.cap > kProjectingCap ||
        stroke.join < kMiterJoin || stroke.join > kBevelJoin ||
        !FiniteAtLeast(stroke.miterLimit, 1)) {
        return std::nullopt;
    }
    PathStyle style;
    for (ASInt32 i = 0; i < dash.length; ++i) {
        if (!FiniteAtLeast(dash.array[i], 0)) {
            return std::nullopt;
        }
        style.dash.push_back(dash.array[i]);
    }
    if (record.fillPaint) {
        const std::optional<Paint> fill = PaintFromColor(document, record.fill.color);
        if (!fill) {
            return std::nullopt;
        }
        style.fill = *fill;
    }
    if (record.strokePaint) {
        const std::optional<Paint> paint = PaintFromColor(document, stroke.color);
        if (!paint) {
            return std::nullopt;
        }
        style.stroke = *paint;
    }
    style.strokeWidth = stroke.width;
    style.dashOffset = dash.offset;
    style.cap = static_cast<LineCap>(stroke.cap);
    style.join = static_cast<LineJoin>(stroke.join);
    style.miterLimit = stroke.miterLimit;
    style.fillOverprint = record.fill.overprint != 0;
    style.strokeOverprint = stroke.overprint != 0;
    return style;
}

ASErr GetPathStyle(AIArtHandle handle, AIPathStyle* style) {
    Host* host = Enter<AIPathStyleSuite>();
    Art* path = FindPath(host, handle);
    if (path == nullptr || style == nullptr) {
        return kBadParameterErr;
    }
    const PathStyle& from = path->style;
    Document* document = host->CurrentDocument();
    *style = AIPathStyle{};
    style->fillPaint = from.fill.kind != Paint::Kind::None;
    style->fill.color = ColorFromPaint(document, from.fill);
    style->fill.overprint = from.fillOverprint;
    style->strokePaint = from.stroke.kind != Paint::Kind::None;
    AIStrokeStyle& stroke = style->stroke;
    stroke.color = ColorFromPaint(document, from.stroke);
    stroke.overprint = from.strokeOverprint;
    stroke.width = static_cast<AIReal>(from.strokeWidth);
    stroke.dash.length =
        static_cast<ASInt32>(std::min<std::size_t>(from.dash.size(), kMaxDashComponents));
    stroke.dash.offset = static_cast<AIReal>(from.dashOffset);
    for (ASInt32 i = 0; i < stroke.dash.length; ++i) {
        stroke.dash.array[i] = static_cast<AIReal>(from.dash[static_cast<std::size_t>(i)]);
    }
    stroke.cap = static_cast<ASInt32>(from.cap);
    stroke.join = static_cast<ASInt32>(from.join);
    stroke.miterLimit = static_cast<AIReal>(from.miterLimit);
    return 0;
}

ASErr SetPathStyle(AIArtHandle handle, const AIPathStyle* style) {
    Host* host = Enter<AIPathStyleSuite>();
    Art* path = FindPath(host, handle);
    if (path == nullptr || style == nullptr) {
        return kBadParameterErr;
    }
    std::optional<PathStyle> model = StyleFromRecord(host->CurrentDocument(), *style);
    if (!model) {
        return kBadParameterErr;
    }
    host->WillEditContent(*path);
    path->style = std::move(*model);
    // Whether a path is filled decides whether its inside is hit.
    host->ArtChanged(*path);
    return 0;
}

constexpr AIPathStyleSuite kPathStyle{GetPathStyle, SetPathStyle};

}  // namespace

void OfferPaintSuites(SuiteRegistry& registry) {
    Offer(registry, kCustomColorTable);
    Offer(registry, kSwatchList);
    Offer(registry, kSwatchGroup);
    Offer(registry, kPaintStyle);
    Offer(registry, kPathStyle);
}

}  // namespace emulator
