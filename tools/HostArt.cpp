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
