// The suites of text: point text frames, the font list, and the text engine's ranges,
// feature sets, paints and fonts.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "emulator/core/ArtTree.h"
#include "emulator/core/CustomColors.h"
#include "emulator/core/SuiteSupport.h"
#include "emulator/core/Unicode.h"
#include "plugin/host/ArtworkSuites.h"
#include "plugin/host/TextSuites.h"

namespace emulator {
namespace {

// ---- References of the text engine -------------------------------------------------------

template <typename Ref>
TextRefHandle HandleOf(Ref ref) {
    return reinterpret_cast<TextRefHandle>(ref);
}

// Hands out a new reference to `object`.
template <typename Ref>
Ref AddRef(Host* host, TextRef object) {
    return reinterpret_cast<Ref>(
        host->TextRefs().Add(std::make_unique<TextRef>(std::move(object))));
}

// The object of a live reference of `kind`; null, with a violation, otherwise.
TextRef* FindRef(Host* host, TextRefHandle handle, TextRef::Kind kind) {
    TextRef* object = host->TextRefs().Find(handle);
    if (object == nullptr) {
        host->RecordViolation("text-engine reference dead or unknown");
        return nullptr;
    }
    if (object->kind != kind) {
        host->RecordViolation("text-engine reference of another kind");
        return nullptr;
    }
    return object;
}

// The Release of every text-engine suite: a reference counts once.
template <typename Suite, TextRef::Kind kind, typename Ref>
ATE::ATEErr Release(Ref ref) {
    Host* host = Enter<Suite>();
    if (host == nullptr) {
        return kBadParameterErr;
    }
    const TextRefHandle handle = HandleOf(ref);
    const TextRef* object = host->TextRefs().Find(handle);
    if (object == nullptr || object->kind != kind) {
        host->RecordViolation("text-engine reference released twice or unknown");
        return kBadParameterErr;
    }
    host->TextRefs().Remove(handle);
    return 0;
}

// ---- AI Text Frame Suite -----------------------------------------------------------------

ASErr NewPointText(ASInt32 paintOrder, AIArtHandle prep, ASInt32 orientation, AIRealPoint anchor,
                   AIArtHandle* newText) {
    Host* host = Enter<AITextFrameSuite>();
    if (host == nullptr || newText == nullptr || orientation != kHorizontalTextOrientation ||
        !std::isfinite(anchor.h) || !std::isfinite(anchor.v)) {
        return kBadParameterErr;
    }
    auto art = std::make_unique<Art>();
    art->type = ArtType::Text;
    PointText& text = art->pointText;
    text.features.font = host->Fonts().empty() ? std::string() : host->Fonts().front();
    text.matrix[4] = anchor.h;
    text.matrix[5] = anchor.v;
    return PlaceArt(host, std::move(art), paintOrder, prep, newText);
}

ASErr GetATETextRange(AIArtHandle handle, ATE::TextRangeRef* range) {
    auto [host, art] = EnterArt<AITextFrameSuite>(handle);
    if (art == nullptr || range == nullptr) {
        return kBadParameterErr;
    }
    if (art->type != ArtType::Text) {
        host->RecordViolation("text range of art that is not a text");
        return kBadParameterErr;
    }
    TextRef object;
    object.kind = TextRef::Kind::Range;
    object.art = handle;
    object.end = art->pointText.text.size();
    *range = AddRef<ATE::TextRangeRef>(host, std::move(object));
    return 0;
}

constexpr AITextFrameSuite kTextFrame{NewPointText, GetATETextRange};

// ---- AI Font Suite -----------------------------------------------------------------------

// A font's key is its index in the list + 1, in disguise.
AIFontKey KeyOf(std::size_t index) {
    return reinterpret_cast<AIFontKey>((index + 1) * 16);
}

// The index in the host's list of the font of `key`; nothing, with a violation, for a key
// the host never gave.
std::optional<std::size_t> IndexOf(Host* host, AIFontKey key) {
    const auto value = reinterpret_cast<std::uintptr_t>(key);
    const std::size_t index = value / 16;
    if (value % 16 != 0 || index == 0 || index > host->Fonts().size()) {
        host->RecordViolation("unknown font");
        return std::nullopt;
    }
    return index - 1;
}

ASErr CountFonts(ASInt32* count) {
    Host* host = Enter<AIFontSuite>();
    if (host == nullptr || count == nullptr) {
        return kBadParameterErr;
    }
    *count = static_cast<ASInt32>(host->Fonts().size());
    return 0;
}

ASErr IndexFontList(ASInt32 index, AIFontKey* font) {
    Host* host = Enter<AIFontSuite>();
    if (host == nullptr || font == nullptr || index < 0 ||
        static_cast<std::size_t>(index) >= host->Fonts().size()) {
        return kBadParameterErr;
    }
    *font = KeyOf(static_cast<std::size_t>(index));
    return 0;
}

ASErr GetFontName(AIFontKey font, char* buffer, ASInt32 capacity, ASInt32* length) {
    Host* host = Enter<AIFontSuite>();
    if (host == nullptr) {
        return kBadParameterErr;
    }
    const std::optional<std::size_t> index = IndexOf(host, font);
    if (!index) {
        return kBadParameterErr;
    }
    return CopyOut(Windows1252FromUtf8(host->Fonts()[*index]), buffer, capacity, length);
}

ASErr FindFont(const char* name, AIFontKey* font) {
    Host* host = Enter<AIFontSuite>();
    if (host == nullptr || name == nullptr || font == nullptr) {
        return kBadParameterErr;
    }
    const std::string wanted = Utf8FromWindows1252(name);
    const auto& fonts = host->Fonts();
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        if (fonts[i] == wanted) {
            *font = KeyOf(i);
            return 0;
        }
    }
    return kNameNotFoundErr;
}

ASErr FontFromFontKey(AIFontKey font, ATE::FontRef* ateFont) {
    Host* host = Enter<AIFontSuite>();
    if (host == nullptr || ateFont == nullptr) {
        return kBadParameterErr;
    }
    const std::optional<std::size_t> index = IndexOf(host, font);
    if (!index) {
        return kBadParameterErr;
    }
    TextRef object;
    object.kind = TextRef::Kind::Font;
    object.font = host->Fonts()[*index];
    *ateFont = AddRef<ATE::FontRef>(host, std::move(object));
    return 0;
}

constexpr AIFontSuite kFont{CountFonts, IndexFontList, GetFontName, FindFont, FontFromFontKey};

// ---- AIATE Paint Suite -------------------------------------------------------------------

ASErr CreateATEApplicationPaint(const AIColor* color, ATE::ApplicationPaintRef* paint) {
    Host* host = Enter<AIATEPaintSuite>();
    if (host == nullptr || color == nullptr || paint == nullptr) {
        return kBadParameterErr;
    }
    std::optional<Paint> model = PaintFromColor(host->CurrentDocument(), *color);
    if (!model) {
        return kBadParameterErr;
    }
    TextRef object;
    object.kind = TextRef::Kind::Paint;
    object.paint = std::move(*model);
    *paint = AddRef<ATE::ApplicationPaintRef>(host, std::move(object));
    return 0;
}

constexpr AIATEPaintSuite kATEPaint{CreateATEApplicationPaint};

// ---- ATE TextRange Suite -----------------------------------------------------------------

struct RangeAccess {
    Host* host = nullptr;
    TextRef* range = nullptr;
    Art* art = nullptr;
    PointText* text = nullptr;
};

// The range of `ref` with the text it lies in, cut to the text's length; a null range,
// with a violation, when the reference or its art is dead.
RangeAccess EnterRange(ATE::TextRangeRef ref) {
    RangeAccess access;
    access.host = Enter<ATETextRangeSuite>();
    if (access.host == nullptr) {
        return access;
    }
    TextRef* range = FindRef(access.host, HandleOf(ref), TextRef::Kind::Range);
    if (range == nullptr) {
        return access;
    }
    if (!access.host->IsLiveArt(range->art)) {
        access.host->RecordViolation("text range of art disposed of");
        return access;
    }
    Art* art = access.host->FindArt(range->art);
    PointText& text = art->pointText;
    range->end = std::min(range->end, text.text.size());
    range->start = std::min(range->start, range->end);
    access.range = range;
    access.art = art;
    access.text = &text;
    return access;
}

ATE::ATEErr GetSize(ATE::TextRangeRef ref, ASInt32* size) {
    const RangeAccess a = EnterRange(ref);
    if (a.range == nullptr || size == nullptr) {
        return kBadParameterErr;
    }
    *size = static_cast<ASInt32>(a.range->end - a.range->start);
    return 0;
}

ATE::ATEErr GetContents(ATE::TextRangeRef ref, ASUnicode* buffer, ASInt32 capacity,
                        ASInt32* length) {
    const RangeAccess a = EnterRange(ref);
    if (a.range == nullptr) {
        return kBadParameterErr;
    }
    return CopyOutUnicode(a.text->text.substr(a.range->start, a.range->end - a.range->start),
                          buffer, capacity, length);
}

ATE::ATEErr InsertAfter(ATE::TextRangeRef ref, const ASUnicode* text, ASInt32 length) {
    const RangeAccess a = EnterRange(ref);
    if (a.range == nullptr || length < 0 || (length > 0 && text == nullptr)) {
        return kBadParameterErr;
    }
    const auto count = static_cast<std::size_t>(length);
    a.host->WillEditContent(*a.art);
    a.text->text.insert(a.range->end, text, count);
    a.range->end += count;
    a.host->ArtChanged(*a.art);
    return 0;
}

ATE::ATEErr Remove(ATE::TextRangeRef ref) {
    const RangeAccess a = EnterRange(ref);
    if (a.range == nullptr) {
        return kBadParameterErr;
    }
    a.host->WillEditContent(*a.art);
    a.text->text.erase(a.range->start, a.range->end - a.range->start);
    a.range->end = a.range->start;
    a.host->ArtChanged(*a.art);
    return 0;
}

// Gives the frame the features that `set` holds; the others stay as they are.
void Apply(const TextRef& set, TextFeatures& to) {
    const TextFeatures& from = set.features;
    const auto has = [&set](std::uint32_t bit) { return (set.set & bit) != 0; };
    if (has(kFeatureFont)) {
        to.font = from.font;
    }
    if (has(kFeatureSize)) {
        to.size = from.size;
    }
    if (has(kFeatureBaselineShift)) {
        to.baselineShift = from.baselineShift;
    }
    if (has(kFeatureTracking)) {
        to.tracking = from.tracking;
    }
    if (has(kFeatureFill)) {
        to.fill = from.fill;
    }
    if (has(kFeatureFillOverprint)) {
        to.fillOverprint = from.fillOverprint;
    }
    if (has(kFeatureJustification)) {
        to.justification = from.justification;
    }
    if (has(kFeatureFirstLineIndent)) {
        to.firstLineIndent = from.firstLineIndent;
    }
    if (has(kFeatureStartIndent)) {
        to.startIndent = from.startIndent;
    }
    if (has(kFeatureEndIndent)) {
        to.endIndent = from.endIndent;
    }
    if (has(kFeatureSpaceBefore)) {
        to.spaceBefore = from.spaceBefore;
    }
    if (has(kFeatureSpaceAfter)) {
        to.spaceAfter = from.spaceAfter;
    }
}

ATE::ATEErr ApplyFeatures(ATE::TextRangeRef ref, TextRefHandle features, TextRef::Kind kind) {
    const RangeAccess a = EnterRange(ref);
    if (a.range == nullptr) {
        return kBadParameterErr;
    }
    const TextRef* set = FindRef(a.host, features, kind);
    if (set == nullptr) {
        return kBadParameterErr;
    }
    a.host->WillEditContent(*a.art);
    Apply(*set, a.text->features);
    a.host->ArtChanged(*a.art);
    return 0;
}

ATE::ATEErr SetLocalCharFeatures(ATE::TextRangeRef ref, ATE::CharFeaturesRef features) {
    return ApplyFeatures(ref, HandleOf(features), TextRef::Kind::CharFeatures);
}

ATE::ATEErr SetLocalParaFeatures(ATE::TextRangeRef ref, ATE::ParaFeaturesRef features) {
    return ApplyFeatures(ref, HandleOf(features), TextRef::Kind::ParaFeatures);
}

constexpr ATETextRangeSuite kATETextRange{
    Release<ATETextRangeSuite, TextRef::Kind::Range, ATE::TextRangeRef>,
    GetSize,
    GetContents,
    InsertAfter,
    Remove,
    SetLocalCharFeatures,
    SetLocalParaFeatures};

// ---- ATE CharFeatures Suite and ATE ParaFeatures Suite -----------------------------------

template <typename Suite, TextRef::Kind kind, typename Ref>
ATE::ATEErr Initialize(Ref* features) {
    Host* host = Enter<Suite>();
    if (host == nullptr || features == nullptr) {
        return kBadParameterErr;
    }
    TextRef object;
    object.kind = kind;
    *features = AddRef<Ref>(host, std::move(object));
    return 0;
}

// Sets one feature of a set: `assign` stores the value when it is acceptable and answers
// whether it was.
template <typename Suite, TextRef::Kind kind, typename Ref, typename Assign>
ATE::ATEErr SetFeature(Ref features, std::uint32_t bit, Assign assign) {
    Host* host = Enter<Suite>();
    if (host == nullptr) {
        return kBadParameterErr;
    }
    TextRef* set = FindRef(host, HandleOf(features), kind);
    if (set == nullptr || !assign(*host, set->features)) {
        return kBadParameterErr;
    }
    set->set |= bit;
    return 0;
}

template <typename Assign>
ATE::ATEErr SetChar(ATE::CharFeaturesRef features, std::uint32_t bit, Assign assign) {
    return SetFeature<ATECharFeaturesSuite, TextRef::Kind::CharFeatures>(features, bit, assign);
}

template <typename Assign>
ATE::ATEErr SetPara(ATE::ParaFeaturesRef features, std::uint32_t bit, Assign assign) {
    return SetFeature<ATEParaFeaturesSuite, TextRef::Kind::ParaFeatures>(features, bit, assign);
}

// An assignment of a length in points: any finite value, or only positive ones.
auto Length(double TextFeatures::*member, AIReal value, bool positive = false) {
    return [member, value, positive](Host&, TextFeatures& f) {
        if (!std::isfinite(value) || (positive && !(value > 0))) {
            return false;
        }
        f.*member = value;
        return true;
    };
}

ATE::ATEErr SetFont(ATE::CharFeaturesRef features, ATE::FontRef font) {
    return SetChar(features, kFeatureFont, [font](Host& host, TextFeatures& f) {
        const TextRef* object = FindRef(&host, HandleOf(font), TextRef::Kind::Font);
        if (object == nullptr) {
            return false;
        }
        f.font = object->font;
        return true;
    });
}

ATE::ATEErr SetFontSize(ATE::CharFeaturesRef features, AIReal size) {
    return SetChar(features, kFeatureSize, Length(&TextFeatures::size, size, true));
}

ATE::ATEErr SetBaselineShift(ATE::CharFeaturesRef features, AIReal shift) {
    return SetChar(features, kFeatureBaselineShift, Length(&TextFeatures::baselineShift, shift));
}

ATE::ATEErr SetTracking(ATE::CharFeaturesRef features, ASInt32 tracking) {
    return SetChar(features, kFeatureTracking, [tracking](Host&, TextFeatures& f) {
        f.tracking = tracking;
        return true;
    });
}

ATE::ATEErr SetFillColor(ATE::CharFeaturesRef features, ATE::ApplicationPaintRef paint) {
    return SetChar(features, kFeatureFill, [paint](Host& host, TextFeatures& f) {
        const TextRef* object = FindRef(&host, HandleOf(paint), TextRef::Kind::Paint);
        if (object == nullptr) {
            return false;
        }
        f.fill = object->paint;
        return true;
    });
}

ATE::ATEErr SetFillOverPrint(ATE::CharFeaturesRef features, ASBoolean overprint) {
    return SetChar(features, kFeatureFillOverprint, [overprint](Host&, TextFeatures& f) {
        f.fillOverprint = overprint != 0;
        return true;
    });
}

constexpr ATECharFeaturesSuite kATECharFeatures{
    Initialize<ATECharFeaturesSuite, TextRef::Kind::CharFeatures, ATE::CharFeaturesRef>,
    Release<ATECharFeaturesSuite, TextRef::Kind::CharFeatures, ATE::CharFeaturesRef>,
    SetFont,
    SetFontSize,
    SetBaselineShift,
    SetTracking,
    SetFillColor,
    SetFillOverPrint};

ATE::ATEErr SetJustification(ATE::ParaFeaturesRef features,
                             ATE::ParagraphJustification justification) {
    return SetPara(features, kFeatureJustification, [justification](Host&, TextFeatures& f) {
        switch (justification) {
            case ATE::kLeftJustify:
                f.justification = Justification::Left;
                return true;
            case ATE::kRightJustify:
                f.justification = Justification::Right;
                return true;
            case ATE::kCenterJustify:
                f.justification = Justification::Center;
                return true;
        }
        return false;
    });
}

ATE::ATEErr SetFirstLineIndent(ATE::ParaFeaturesRef features, AIReal indent) {
    return SetPara(features, kFeatureFirstLineIndent,
                   Length(&TextFeatures::firstLineIndent, indent));
}

ATE::ATEErr SetStartIndent(ATE::ParaFeaturesRef features, AIReal indent) {
    return SetPara(features, kFeatureStartIndent, Length(&TextFeatures::startIndent, indent));
}

ATE::ATEErr SetEndIndent(ATE::ParaFeaturesRef features, AIReal indent) {
    return SetPara(features, kFeatureEndIndent, Length(&TextFeatures::endIndent, indent));
}

ATE::ATEErr SetSpaceBefore(ATE::ParaFeaturesRef features, AIReal space) {
    return SetPara(features, kFeatureSpaceBefore, Length(&TextFeatures::spaceBefore, space));
}

ATE::ATEErr SetSpaceAfter(ATE::ParaFeaturesRef features, AIReal space) {
    return SetPara(features, kFeatureSpaceAfter, Length(&TextFeatures::spaceAfter, space));
}

constexpr ATEParaFeaturesSuite kATEParaFeatures{
    Initialize<ATEParaFeaturesSuite, TextRef::Kind::ParaFeatures, ATE::ParaFeaturesRef>,
    Release<ATEParaFeaturesSuite, TextRef::Kind::ParaFeatures, ATE::ParaFeaturesRef>,
    SetJustification,
    SetFirstLineIndent,
    SetStartIndent,
    SetEndIndent,
    SetSpaceBefore,
    SetSpaceAfter};

// ---- ATE ApplicationPaint Suite and ATE Font Suite ---------------------------------------

constexpr ATEApplicationPaintSuite kATEApplicationPaint{
    Release<ATEApplicationPaintSuite, TextRef::Kind::Paint, ATE::ApplicationPaintRef>};

constexpr ATEFontSuite kATEFont{Release<ATEFontSuite, TextRef::Kind::Font, ATE::FontRef>};

}  // namespace

void OfferTextSuites(SuiteRegistry& registry) {
    Offer(registry, kATEPaint);
    Offer(registry, kTextFrame);
    Offer(registry, kFont);
    Offer(registry, kATEApplicationPaint);
    Offer(registry, kATECharFeatures);
    Offer(registry, kATEFont);
    Offer(registry, kATEParaFeatures);
    Offer(registry, kATETextRange);
}

}  // namespace emulator
