#include "tools/HostArt.h"

#include "hostaccess/Suites.h"

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
    paths->clear();
    ASInt32 count = 0;
    const ASInt32 skipped = kArtLocked | kArtHidden | kArtIsGuide;
    ASErr error = sAIMatchingArt->GetMatchingArt(kPathArt, skipped, 0, nullptr, 0, &count);
    if (error != 0 && error != kBufferTooSmallErr) {
        return error;
    }
    paths->resize(static_cast<std::size_t>(count));
    error = sAIMatchingArt->GetMatchingArt(kPathArt, skipped, 0, paths->data(), count, &count);
    paths->resize(error == 0 ? static_cast<std::size_t>(count) : 0);
    return error;
}

bool OnVisibleLayer(AIArtHandle art) {
    AILayerHandle layer = nullptr;
    AIBoolean visible = true;
    return sAIArt->GetArtLayer(art, &layer) == 0 &&
           sAILayer->GetLayerVisible(layer, &visible) == 0 && visible;
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
