// The suites of the artwork: art sets, art, paths, tags, and matching and transforming art.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "emulator/core/ArtTree.h"
#include "emulator/core/SuiteSupport.h"
#include "emulator/core/Unicode.h"
#include "plugin/host/ArtworkSuites.h"

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

// The members of a live art set; a set that is unknown is a misuse.
std::vector<AIArtHandle>* Members(Host* host, AIArtSet artSet) {
    std::vector<AIArtHandle>* members = host->ArtSets().Find(artSet);
    if (members == nullptr) {
        host->RecordViolation("art set unknown or already disposed of");
    }
    return members;
}

ASErr CountArtSet(AIArtSet artSet, ASInt32* count) {
    Host* host = Enter<AIArtSetSuite>();
    if (host == nullptr || count == nullptr) {
        return kBadParameterErr;
    }
    const std::vector<AIArtHandle>* members = Members(host, artSet);
    if (members == nullptr) {
        return kBadParameterErr;
    }
    *count = static_cast<ASInt32>(members->size());
    return 0;
}

ASErr IndexArtSet(AIArtSet artSet, ASInt32 index, AIArtHandle* art) {
    Host* host = Enter<AIArtSetSuite>();
    if (host == nullptr || art == nullptr) {
        return kBadParameterErr;
    }
    const std::vector<AIArtHandle>* members = Members(host, artSet);
    if (members == nullptr || index < 0 || static_cast<std::size_t>(index) >= members->size()) {
        return kBadParameterErr;
    }
    *art = (*members)[static_cast<std::size_t>(index)];
    return 0;
}

ASErr AddArtToArtSet(AIArtSet artSet, AIArtHandle art) {
    Host* host = Enter<AIArtSetSuite>();
    if (host == nullptr || host->FindArt(art) == nullptr) {
        return kBadParameterErr;
    }
    std::vector<AIArtHandle>* members = Members(host, artSet);
    if (members == nullptr) {
        return kBadParameterErr;
    }
    if (std::find(members->begin(), members->end(), art) == members->end()) {
        members->push_back(art);
    }
    return 0;
}

ASErr RemoveArtFromArtSet(AIArtSet artSet, AIArtHandle art) {
    Host* host = Enter<AIArtSetSuite>();
    if (host == nullptr) {
        return kBadParameterErr;
    }
    std::vector<AIArtHandle>* members = Members(host, artSet);
    if (members == nullptr) {
        return kBadParameterErr;
    }
    members->erase(std::remove(members->begin(), members->end(), art), members->end());
    return 0;
}

constexpr AIArtSetSuite kArtSet{NewArtSet,   DisposeArtSet,  CountArtSet,
                                IndexArtSet, AddArtToArtSet, RemoveArtFromArtSet};

// ---- AI Art Suite ------------------------------------------------------------------------

ASErr NewArt(ASInt32 type, ASInt32 paintOrder, AIArtHandle prep, AIArtHandle* newArt) {
    Host* host = Enter<AIArtSuite>();
    if (host == nullptr || newArt == nullptr || (type != kGroupArt && type != kPathArt)) {
        return kBadParameterErr;
    }
    auto art = std::make_unique<Art>();
    art->type = type == kGroupArt ? ArtType::Group : ArtType::Path;
    return PlaceArt(host, std::move(art), paintOrder, prep, newArt);
}

ASErr DuplicateArt(AIArtHandle handle, ASInt32 paintOrder, AIArtHandle prep, AIArtHandle* newArt) {
    auto [host, art] = EnterArt<AIArtSuite>(handle);
    if (art == nullptr || newArt == nullptr || art->isLayerGroup) {
        return kBadParameterErr;
    }
    // Copied before it is placed, so that a copy placed inside the original holds no copy
    // of itself.
    return PlaceArt(host, CopyArt(*art), paintOrder, prep, newArt);
}

ASErr DisposeArt(AIArtHandle handle) {
    auto [host, art] = EnterArt<AIArtSuite>(handle);
    if (art == nullptr || art->isLayerGroup) {
        return kBadParameterErr;
    }
    host->DisposeArt(*art);
    return 0;
}

ASErr GetArtType(AIArtHandle handle, ASInt32* type) {
    auto [host, art] = EnterArt<AIArtSuite>(handle);
    if (art == nullptr || type == nullptr) {
        return kBadParameterErr;
    }
    *type = static_cast<ASInt32>(art->type);
    return 0;
}

ASErr GetArtParent(AIArtHandle handle, AIArtHandle* parent) {
    auto [host, art] = EnterArt<AIArtSuite>(handle);
    if (art == nullptr || parent == nullptr) {
        return kBadParameterErr;
    }
    *parent = host->HandleOf(art->parent);
    return 0;
}

ASErr GetArtFirstChild(AIArtHandle handle, AIArtHandle* child) {
    auto [host, art] = EnterArt<AIArtSuite>(handle);
    if (art == nullptr || child == nullptr) {
        return kBadParameterErr;
    }
    const auto& children = ChildrenOf(*art);
    *child = children.empty() ? nullptr : host->HandleOf(children.back().get());
    return 0;
}

ASErr GetArtSibling(AIArtHandle handle, AIArtHandle* sibling) {
    auto [host, art] = EnterArt<AIArtSuite>(handle);
    if (art == nullptr || sibling == nullptr) {
        return kBadParameterErr;
    }
    const std::size_t at = art->isLayerGroup ? 0 : IndexOf(*art);
    *sibling = at == 0 ? nullptr : host->HandleOf(SiblingsOf(*art)[at - 1].get());
    return 0;
}

ASErr GetArtLayer(AIArtHandle handle, AILayerHandle* layer) {
    auto [host, art] = EnterArt<AIArtSuite>(handle);
    if (art == nullptr || layer == nullptr) {
        return kBadParameterErr;
    }
    *layer = host->HandleOf(art->layer);
    return 0;
}

AIBoolean ValidArt(AIArtHandle handle) {
    Host* host = Enter<AIArtSuite>();
    return host != nullptr && host->IsLiveArt(handle);
}

ASInt32 Attributes(const Art& art) {
    return (art.selected ? kArtSelected | kArtFullySelected : 0) | (art.locked ? kArtLocked : 0) |
           (art.hidden ? kArtHidden : 0) | (art.guide ? kArtIsGuide : 0);
}

ASErr GetArtUserAttr(AIArtHandle handle, ASInt32 whichAttr, ASInt32* attr) {
    auto [host, art] = EnterArt<AIArtSuite>(handle);
    if (art == nullptr || attr == nullptr) {
        return kBadParameterErr;
    }
    *attr = Attributes(*art) & whichAttr;
    return 0;
}

ASErr SetArtUserAttr(AIArtHandle handle, ASInt32 whichAttr, ASInt32 attr) {
    // Named apart: the lambdas below capture the host, and clang before version 16
    // captures no structured binding.
    const auto [entered, art] = EnterArt<AIArtSuite>(handle);
    Host* const host = entered;
    if (art == nullptr) {
        return kBadParameterErr;
    }
    if ((whichAttr & (kArtSelected | kArtFullySelected)) != 0) {
        const bool selected = (attr & whichAttr & (kArtSelected | kArtFullySelected)) != 0;
        ForEachArt(*art, [host, selected](Art& a) {
            if (a.selected != selected) {
                host->WillEditAttributes(a);
                a.selected = selected;
            }
        });
    }
    host->WillEditAttributes(*art);
    if ((whichAttr & kArtLocked) != 0) {
        art->locked = (attr & kArtLocked) != 0;
        host->NoteLockChange(*art, art->locked);
    }
    if ((whichAttr & kArtHidden) != 0) {
        art->hidden = (attr & kArtHidden) != 0;
    }
    if ((whichAttr & kArtIsGuide) != 0) {
        art->guide = (attr & kArtIsGuide) != 0;
    }
    return 0;
}

ASErr GetArtBounds(AIArtHandle handle, AIRealRect* bounds) {
    auto [host, art] = EnterArt<AIArtSuite>(handle);
    if (art == nullptr || bounds == nullptr) {
        return kBadParameterErr;
    }
    *bounds = ArtBounds(*art).value_or(AIRealRect{0, 0, 0, 0});
    return 0;
}

ASErr GetArtName(AIArtHandle handle, ASUnicode* buffer, ASInt32 capacity, ASInt32* length) {
    auto [host, art] = EnterArt<AIArtSuite>(handle);
    if (art == nullptr) {
        return kBadParameterErr;
    }
    return CopyOutUnicode(Utf16FromUtf8(art->name), buffer, capacity, length);
}

ASErr SetArtName(AIArtHandle handle, const ASUnicode* name) {
    auto [host, art] = EnterArt<AIArtSuite>(handle);
    if (art == nullptr || name == nullptr) {
        return kBadParameterErr;
    }
    host->WillEditContent(*art);
    art->name = Utf8FromUtf16(name);
    return 0;
}

constexpr AIArtSuite kArt{NewArt,        DisposeArt,  GetArtType, GetArtParent,   GetArtFirstChild,
                          GetArtSibling, GetArtLayer, ValidArt,   GetArtUserAttr, SetArtUserAttr,
                          GetArtBounds,  GetArtName,  SetArtName, DuplicateArt};

// ---- AI Path Suite -----------------------------------------------------------------------

Art* FindPath(Host* host, AIArtHandle handle) {
    Art* art = host != nullptr ? host->FindArt(handle) : nullptr;
    if (art != nullptr && art->type != ArtType::Path) {
        host->RecordViolation("path operation on art that is not a path");
        return nullptr;
    }
    return art;
}

// The largest path the host keeps (anchor indices are 16-bit).
constexpr ASInt16 kMaxAnchors = 32767;

ASErr GetPathSegmentCount(AIArtHandle handle, ASInt16* count) {
    Art* path = FindPath(Enter<AIPathSuite>(), handle);
    if (path == nullptr || count == nullptr) {
        return kBadParameterErr;
    }
    *count = static_cast<ASInt16>(std::min<std::size_t>(path->segments.size(), kMaxAnchors));
    return 0;
}

ASErr SetPathSegmentCount(AIArtHandle handle, ASInt16 count) {
    Art* path = FindPath(Enter<AIPathSuite>(), handle);
    if (path == nullptr || count < 0) {
        return kBadParameterErr;
    }
    Host::Current()->WillEditContent(*path);
    path->segments.resize(static_cast<std::size_t>(count),
                          AIPathSegment{{0, 0}, {0, 0}, {0, 0}, 1});
    Host::Current()->ArtChanged(*path);
    return 0;
}

bool InRange(const Art& path, ASInt16 first, ASInt16 count) {
    return first >= 0 && count >= 0 &&
           static_cast<std::size_t>(first) + static_cast<std::size_t>(count) <=
               path.segments.size();
}

ASErr GetPathSegments(AIArtHandle handle, ASInt16 first, ASInt16 count, AIPathSegment* segments) {
    Host* host = Enter<AIPathSuite>();
    Art* path = FindPath(host, handle);
    if (path == nullptr || segments == nullptr) {
        return kBadParameterErr;
    }
    if (!InRange(*path, first, count)) {
        host->RecordViolation("path anchors read out of range");
        return kBadParameterErr;
    }
    std::copy_n(path->segments.begin() + first, count, segments);
    return 0;
}

ASErr SetPathSegments(AIArtHandle handle, ASInt16 first, ASInt16 count,
                      const AIPathSegment* segments) {
    Host* host = Enter<AIPathSuite>();
    Art* path = FindPath(host, handle);
    if (path == nullptr || segments == nullptr) {
        return kBadParameterErr;
    }
    if (!InRange(*path, first, count)) {
        host->RecordViolation("path anchors written out of range");
        return kBadParameterErr;
    }
    host->WillEditContent(*path);
    std::copy_n(segments, count, path->segments.begin() + first);
    host->ArtChanged(*path);
    return 0;
}

ASErr GetPathClosed(AIArtHandle handle, AIBoolean* closed) {
    Art* path = FindPath(Enter<AIPathSuite>(), handle);
    if (path == nullptr || closed == nullptr) {
        return kBadParameterErr;
    }
    *closed = path->closed;
    return 0;
}

ASErr SetPathClosed(AIArtHandle handle, AIBoolean closed) {
    Art* path = FindPath(Enter<AIPathSuite>(), handle);
    if (path == nullptr) {
        return kBadParameterErr;
    }
    Host::Current()->WillEditContent(*path);
    path->closed = closed != 0;
    Host::Current()->ArtChanged(*path);
    return 0;
}

ASErr GetPathArea(AIArtHandle handle, AIReal* area) {
    Art* path = FindPath(Enter<AIPathSuite>(), handle);
    if (path == nullptr || area == nullptr) {
        return kBadParameterErr;
    }
    *area = static_cast<AIReal>(PathArea(*path));
    return 0;
}

constexpr AIPathSuite kPath{GetPathSegmentCount, SetPathSegmentCount, GetPathSegments,
                            SetPathSegments,     GetPathClosed,       SetPathClosed,
                            GetPathArea};

// ---- AI Tag Suite ------------------------------------------------------------------------

bool StringTag(Host* host, const char* name, const char* type) {
    if (name == nullptr || *name == '\0') {
        return false;
    }
    if (type != nullptr && std::strcmp(type, kTagString) != 0) {
        host->RecordViolation(std::string("tag of an unknown type: ") + type);
        return false;
    }
    return true;
}

ASErr SetTag(AIArtHandle handle, const char* name, const char* type, const char* value) {
    auto [host, art] = EnterArt<AITagSuite>(handle);
    if (art == nullptr || value == nullptr || !StringTag(host, name, type)) {
        return kBadParameterErr;
    }
    host->WillEditTag(*art, name, value);
    art->tags[name] = value;
    return 0;
}

ASErr GetTag(AIArtHandle handle, const char* name, const char* type, char* buffer, ASInt32 capacity,
             ASInt32* length) {
    auto [host, art] = EnterArt<AITagSuite>(handle);
    if (art == nullptr || !StringTag(host, name, type)) {
        return kBadParameterErr;
    }
    const auto it = art->tags.find(name);
    if (it == art->tags.end()) {
        return kNameNotFoundErr;
    }
    return CopyOut(it->second, buffer, capacity, length);
}

ASErr GetTagType(AIArtHandle handle, const char* name, const char** type) {
    auto [host, art] = EnterArt<AITagSuite>(handle);
    if (art == nullptr || type == nullptr || !StringTag(host, name, nullptr)) {
        return kBadParameterErr;
    }
    if (art->tags.count(name) == 0) {
        return kNameNotFoundErr;
    }
    *type = kTagString;
    return 0;
}

ASErr RemoveTag(AIArtHandle handle, const char* name) {
    auto [host, art] = EnterArt<AITagSuite>(handle);
    if (art == nullptr || !StringTag(host, name, nullptr)) {
        return kBadParameterErr;
    }
    host->WillEditTag(*art, name, nullptr);
    art->tags.erase(name);
    return 0;
}

constexpr AITagSuite kTag{SetTag, GetTag, GetTagType, RemoveTag};

// ---- AI Matching Art Suite ---------------------------------------------------------------

ASErr GetMatchingArt(ASInt32 type, ASInt32 whichAttr, ASInt32 attr, AIArtHandle* buffer,
                     ASInt32 capacity, ASInt32* count) {
    Host* host = Enter<AIMatchingArtSuite>();
    if (host == nullptr || count == nullptr || capacity < 0 ||
        (capacity > 0 && buffer == nullptr)) {
        return kBadParameterErr;
    }
    Document* document = host->CurrentDocument();
    if (document == nullptr) {
        return kNoDocumentErr;
    }
    // Straight into the caller's buffer, counting what does not fit.
    ASInt32 matches = 0;
    ForEachArtInDocumentOrder(*document, [&](Art& art) {
        if (static_cast<ASInt32>(art.type) == type &&
            (Attributes(art) & whichAttr) == (attr & whichAttr)) {
            if (matches < capacity) {
                buffer[matches] = host->HandleOf(&art);
            }
            ++matches;
        }
    });
    *count = matches;
    return matches > capacity ? kBufferTooSmallErr : 0;
}

ASErr DeselectAll() {
    Host* host = Enter<AIMatchingArtSuite>();
    if (host == nullptr) {
        return kBadParameterErr;
    }
    Document* document = host->CurrentDocument();
    if (document == nullptr) {
        return kNoDocumentErr;
    }
    ForEachArtInDocumentOrder(*document, [host](Art& art) {
        if (art.selected) {
            host->WillEditAttributes(art);
            art.selected = false;
        }
    });
    return 0;
}

constexpr AIMatchingArtSuite kMatchingArt{GetMatchingArt, DeselectAll};

// ---- AI Transform Art Suite --------------------------------------------------------------

bool FiniteMatrix(const AIRealMatrix& m) {
    return std::isfinite(m.a) && std::isfinite(m.b) && std::isfinite(m.c) && std::isfinite(m.d) &&
           std::isfinite(m.tx) && std::isfinite(m.ty);
}

AIRealPoint Transformed(const AIRealMatrix& m, const AIRealPoint& p) {
    return {m.a * p.h + m.c * p.v + m.tx, m.b * p.h + m.d * p.v + m.ty};
}

ASErr TransformArt(AIArtHandle handle, const AIRealMatrix* matrix, AIReal lineScale,
                   ASInt32 flags) {
    // Named apart: the lambdas below capture the host, and clang before version 16
    // captures no structured binding.
    const auto [entered, art] = EnterArt<AITransformArtSuite>(handle);
    Host* const host = entered;
    const bool scaleStrokes = (flags & kTransformScaleStrokes) != 0;
    if (art == nullptr || matrix == nullptr || !FiniteMatrix(*matrix) ||
        (scaleStrokes && !(std::isfinite(lineScale) && lineScale >= 0))) {
        return kBadParameterErr;
    }
    const bool moveObjects = (flags & kTransformObjects) != 0;
    ForEachArt(*art, [&](Art& a) {
        host->WillEditContent(a);
        if (a.type == ArtType::Text && moveObjects) {
            // The frame's matrix takes the transformation on: sizes and spacing stay as
            // they are, in the frame's own coordinates.
            double* t = a.pointText.matrix;
            const double m[6] = {matrix->a, matrix->b,  matrix->c,
                                 matrix->d, matrix->tx, matrix->ty};
            const double concatenated[6] = {
                m[0] * t[0] + m[2] * t[1],        m[1] * t[0] + m[3] * t[1],
                m[0] * t[2] + m[2] * t[3],        m[1] * t[2] + m[3] * t[3],
                m[0] * t[4] + m[2] * t[5] + m[4], m[1] * t[4] + m[3] * t[5] + m[5]};
            std::copy_n(concatenated, 6, t);
        }
        if (a.type != ArtType::Path) {
            return;
        }
        if (moveObjects) {
            for (AIPathSegment& s : a.segments) {
                s.p = Transformed(*matrix, s.p);
                s.in = Transformed(*matrix, s.in);
                s.out = Transformed(*matrix, s.out);
            }
        }
        if (scaleStrokes) {
            a.style.strokeWidth *= lineScale;
            a.style.dashOffset *= lineScale;
            for (double& d : a.style.dash) {
                d *= lineScale;
            }
        }
    });
    host->ArtChanged(*art);
    return 0;
}

constexpr AITransformArtSuite kTransformArt{TransformArt};
constexpr AIArtConverterSuite kArtConverter{};

}  // namespace

void OfferArtworkSuites(SuiteRegistry& registry) {
    Offer(registry, kArtSet);
    Offer(registry, kArt);
    Offer(registry, kPath);
    Offer(registry, kTag);
    Offer(registry, kMatchingArt);
    Offer(registry, kTransformArt);
    Offer(registry, kArtConverter);
}

}  // namespace emulator
