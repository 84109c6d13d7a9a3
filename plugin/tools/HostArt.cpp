#include "plugin/tools/HostArt.h"

#include <algorithm>

#include "plugin/hostaccess/Suites.h"

namespace tools {

HitResult HitAt(AIRealPoint point, AIReal tolerance, ASInt32 request, AIArtHandle art) {
    HitResult result;
    AIHitRef hit = nullptr;
    result.error = sAIHitTest->HitTest(art, &point, tolerance, request, &hit);
    if (result.error != 0) {
        return result;
    }
    result.error = sAIHitTest->GetHitData(hit, &result.data);
    const ASErr released = sAIHitTest->ReleaseHitRef(hit);
    if (result.error == 0) {
        result.error = released;
    }
    if (result.error != 0) {
        result.data.hit = false;
    }
    return result;
}

bool HasTag(AIArtHandle art, const char* name) {
    const char* type = nullptr;
    return art != nullptr && sAITag->GetTagType(art, name, &type) == 0;
}

bool IsDimensionArt(AIArtHandle art) {
    return HasTag(art, kSegmentDimensionTag) || HasTag(art, kAngleDimensionTag) ||
           HasTag(art, kCircleDimensionTag);
}

ASErr ReachablePaths(std::vector<AIArtHandle>* paths) {
    // Asked on every move of some tools: the buffer is sized from the last answer, so that
    // the host walks the document once unless it has grown since.
    static std::size_t expected = 256;
    const ASInt32 skipped = kArtLocked | kArtHidden | kArtIsGuide;
    ASErr error = kBufferTooSmallErr;
    ASInt32 count = static_cast<ASInt32>(expected);
    for (int attempt = 0; attempt < 2 && error == kBufferTooSmallErr; ++attempt) {
        paths->resize(static_cast<std::size_t>(std::max<ASInt32>(count, 0)));
        error = sAIMatchingArt->GetMatchingArt(kPathArt, skipped, 0, paths->data(),
                                               static_cast<ASInt32>(paths->size()), &count);
    }
    paths->resize(error == 0 ? static_cast<std::size_t>(count) : 0);
    if (error == 0) {
        expected = std::max<std::size_t>(static_cast<std::size_t>(count), 16);
    }
    return error;
}

bool OnOpenLayer(AIArtHandle art) {
    AILayerHandle layer = nullptr;
    AIBoolean visible = true;
    AIBoolean editable = true;
    return sAIArt->GetArtLayer(art, &layer) == 0 &&
           sAILayer->GetLayerVisible(layer, &visible) == 0 && visible &&
           sAILayer->GetLayerEditable(layer, &editable) == 0 && editable;
}

TemporaryLock::TemporaryLock(AIArtHandle art) {
    ASInt32 attributes = 0;
    if (art != nullptr && sAIArt->GetArtUserAttr(art, kArtLocked, &attributes) == 0 &&
        (attributes & kArtLocked) == 0 &&
        sAIArt->SetArtUserAttr(art, kArtLocked, kArtLocked) == 0) {
        art_ = art;
    }
}

TemporaryLock::~TemporaryLock() {
    if (art_ != nullptr) {
        sAIArt->SetArtUserAttr(art_, kArtLocked, 0);
    }
}

}  // namespace tools
