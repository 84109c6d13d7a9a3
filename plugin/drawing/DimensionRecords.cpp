#include "plugin/drawing/DimensionRecords.h"
#include "plugin/hostaccess/Alert.h"

#include <algorithm>
#include <functional>
#include <map>
#include <vector>

#include "plugin/drawing/Steps.h"
#include "plugin/host/ArtworkSuites.h"
#include "plugin/host/ResultCodes.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/hostaccess/WindowsText.h"

namespace drawing {

const char* const kMeasuredPathNotFound =
    "Le tracé correspondant à cette cote n'a pas été trouvé !"_w1252;

namespace {

// The largest link number or index the records hold: they are read as 16-bit values.
constexpr int kMaxIndexDigits = 5;

bool Has(AIArtHandle art, const char* key) {
    const char* type = nullptr;
    return art != nullptr && sAITag->GetTagType(art, key, &type) == 0;
}

std::optional<std::string> Read(AIArtHandle art, const char* key) {
    char buffer[64];
    ASInt32 length = 0;
    const ASErr error = sAITag->GetTag(art, key, kTagString, buffer, sizeof buffer, &length);
    if (error == kBufferTooSmallErr && length > 0) {
        std::vector<char> larger(static_cast<std::size_t>(length) + 1);
        if (sAITag->GetTag(art, key, kTagString, larger.data(), length + 1, &length) == 0) {
            return std::string(larger.data(), static_cast<std::size_t>(length));
        }
        return std::nullopt;
    }
    if (error != 0) {
        return std::nullopt;
    }
    return std::string(buffer, static_cast<std::size_t>(length));
}

ASErr Write(AIArtHandle art, const char* key, const std::string& value) {
    return art != nullptr ? sAITag->SetTag(art, key, kTagString, value.c_str()) : 0;
}

ASErr WriteIndex(AIArtHandle art, const char* key, std::int16_t index) {
    return Write(art, key, std::to_string(index));
}

ASErr CopyLink(const SegmentRecordArt& art, const char* key, const std::string& number,
               const char* indexKey, std::int16_t index) {
    Steps steps;
    for (AIArtHandle half : {art.lineHalf1, art.lineHalf2}) {
        steps += Write(half, key, number);
        steps += WriteIndex(half, indexKey, index);
    }
    return steps.first;
}

// A link number written by "%d", or nothing for a value that is not one.
std::optional<long long> ParseLinkNumber(const std::string& text) {
    constexpr std::size_t kMaxLinkDigits = 9;
    if (text.empty() || text.size() > kMaxLinkDigits) {
        return std::nullopt;
    }
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

ASErr PathsWithout(ASInt32 whichAttr, std::vector<AIArtHandle>* paths) {
    ASInt32 count = 0;
    ASErr error = sAIMatchingArt->GetMatchingArt(kPathArt, whichAttr, 0, nullptr, 0, &count);
    if (error != 0 && error != kBufferTooSmallErr) {
        return error;
    }
    paths->assign(static_cast<std::size_t>(count), nullptr);
    return sAIMatchingArt->GetMatchingArt(kPathArt, whichAttr, 0, paths->data(), count, &count);
}

std::optional<std::int16_t> ParseIndex(const std::string& text) {
    if (text.empty() || text.size() > kMaxIndexDigits) {
        return std::nullopt;
    }
    std::int16_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = static_cast<std::int16_t>(value * 10 + (c - '0'));
    }
    return value;
}

ASErr TagAuxiliary(AIArtHandle art) {
    return Write(art, kAuxiliaryKey, kMarker);
}

namespace {

// The highest link number of each key in the document, as counted once and then given.
struct LinkCounter {
    bool known = false;
    // What tells this document's layers from another's.
    AILayerHandle firstLayer = nullptr;
    ASInt32 layers = 0;
    std::map<std::string, long long, std::less<>> highest;
};

LinkCounter& Counter() {
    static LinkCounter counter;
    return counter;
}

// The highest number any path of the document carries under `key` (−1 for none).
ASErr HighestLinkNumber(const char* key, long long* highest) {
    LinkCounter& counter = Counter();
    ASInt32 layers = 0;
    AILayerHandle first = nullptr;
    if (sAILayer->CountLayers(&layers) != 0 || layers < 1 ||
        sAILayer->GetNthLayer(0, &first) != 0) {
        counter = LinkCounter{};
    } else if (!counter.known || counter.firstLayer != first || counter.layers != layers) {
        counter = LinkCounter{true, first, layers, {}};
    }
    if (const auto kept = counter.highest.find(key);
        counter.known && kept != counter.highest.end()) {
        *highest = kept->second;
        return 0;
    }
    std::vector<AIArtHandle> paths;
    if (const ASErr error = PathsWithout(0, &paths)) {
        return error;
    }
    *highest = -1;
    for (AIArtHandle other : paths) {
        if (const auto value = Read(other, key)) {
            if (const auto parsed = ParseLinkNumber(*value)) {
                *highest = std::max(*highest, *parsed);
            }
        }
    }
    if (counter.known) {
        counter.highest[key] = *highest;
    }
    return 0;
}

}  // namespace

void ForgetLinkNumbers() {
    Counter() = LinkCounter{};
}

ASErr LinkNumber(AIArtHandle path, const char* key, std::string* number) {
    if (const auto carried = Read(path, key)) {
        *number = *carried;
        return 0;
    }
    long long highest = -1;
    if (const ASErr error = HighestLinkNumber(key, &highest)) {
        return error;
    }
    *number = std::to_string(highest + 1);
    if (const ASErr error = Write(path, key, *number)) {
        return error;
    }
    if (Counter().known) {
        Counter().highest[key] = highest + 1;
    }
    return 0;
}

ASErr WritePointLink(AIArtHandle path, std::int16_t anchorIndex, Point which,
                     const SegmentRecordArt& art) {
    const char* key = which == Point::First ? kFirstPointKey : kSecondPointKey;
    std::string number;
    if (const ASErr error = LinkNumber(path, key, &number)) {
        return error;
    }
    return CopyLink(art, key, number, which == Point::First ? kIndex1Key : kIndex2Key, anchorIndex);
}

ASErr WriteSegmentLink(AIArtHandle path, std::int16_t startIndex, std::int16_t endIndex,
                       const SegmentRecordArt& art) {
    std::string number;
    if (const ASErr error = LinkNumber(path, kSegmentKey, &number)) {
        return error;
    }
    Steps steps;
    steps += CopyLink(art, kSegmentKey, number, kIndex1Key, startIndex);
    for (AIArtHandle half : {art.lineHalf1, art.lineHalf2}) {
        steps += WriteIndex(half, kIndex2Key, endIndex);
    }
    return steps.first;
}

ASErr WriteAngleLink(AIArtHandle path, std::int16_t firstSideEnd, std::int16_t vertex,
                     std::int16_t secondSideEnd, AIArtHandle arcPath) {
    std::string number;
    if (const ASErr error = LinkNumber(path, kAngleKey, &number)) {
        return error;
    }
    Steps steps;
    steps += Write(arcPath, kAngleKey, number);
    steps += Write(arcPath, kAngleKindKey, kMarker);
    steps += WriteIndex(arcPath, kIndex1Key, firstSideEnd);
    steps += WriteIndex(arcPath, kIndex2Key, vertex);
    steps += WriteIndex(arcPath, kIndex3Key, secondSideEnd);
    return steps.first;
}

ASErr WriteCircleLink(AIArtHandle path, std::int16_t firstEnd, std::int16_t secondEnd,
                      AIArtHandle firstPath, AIArtHandle secondPath) {
    std::string number;
    if (const ASErr error = LinkNumber(path, kCircleKey, &number)) {
        return error;
    }
    Steps steps;
    for (AIArtHandle art : {firstPath, secondPath}) {
        steps += Write(art, kCircleKey, number);
        steps += WriteIndex(art, kIndex1Key, firstEnd);
        steps += WriteIndex(art, kIndex2Key, secondEnd);
    }
    return steps.first;
}

ASErr UnlinkFirstPoint(const SegmentRecordArt& art) {
    Steps steps;
    for (AIArtHandle half : {art.lineHalf1, art.lineHalf2}) {
        if (half != nullptr) {
            steps += sAITag->RemoveTag(half, kSegmentKindKey);
            steps += sAITag->RemoveTag(half, kFirstPointKey);
            steps += sAITag->RemoveTag(half, kIndex1Key);
        }
    }
    return steps.first;
}

std::optional<AIArtHandle> FindMeasuredPath(AIArtHandle dimensionArt, const char* key,
                                            const char* kindTag) {
    const auto number = Read(dimensionArt, key);
    if (!number) {
        return std::nullopt;
    }
    std::vector<AIArtHandle> paths;
    if (PathsWithout(kArtLocked, &paths) == 0) {
        for (AIArtHandle path : paths) {
            if (!Has(path, kindTag) && !Has(path, kAuxiliaryKey) && Read(path, key) == number) {
                return path;
            }
        }
    }
    ShowAlert(kMeasuredPathNotFound);
    return std::nullopt;
}

ASErr MeasuredPathIndex::Build(const std::vector<const char*>& keys,
                               const std::vector<RecordKind>& kinds) {
    paths_.clear();
    records_.assign(kinds.size(), {});
    // Locked paths too: one may be unlocked by the time a dimension looks for it.
    std::vector<AIArtHandle> paths;
    if (const ASErr error = PathsWithout(0, &paths)) {
        return error;
    }
    std::vector<std::optional<std::string>> numbers(keys.size());
    for (AIArtHandle path : paths) {
        bool any = false;
        for (std::size_t k = 0; k < keys.size(); ++k) {
            numbers[k] = Read(path, keys[k]);
            any = any || numbers[k].has_value();
        }
        if (!any) {
            continue;
        }
        // A dimension's own art is never the path it measures, and never stops being the
        // dimension's (a rebuild only adds art and disposes of art).
        if (!Has(path, kAuxiliaryKey)) {
            for (std::size_t k = 0; k < keys.size(); ++k) {
                if (numbers[k]) {
                    paths_[{keys[k], *numbers[k]}].push_back(path);
                }
            }
        }
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            const auto k = static_cast<std::size_t>(
                std::find(keys.begin(), keys.end(), kinds[i].key) - keys.begin());
            if (k < keys.size() && numbers[k] && Has(path, kinds[i].marker)) {
                records_[i].push_back(path);
            }
        }
    }
    return 0;
}

std::optional<AIArtHandle> MeasuredPathIndex::Find(AIArtHandle dimensionArt, const char* key,
                                                   const char* kindTag) const {
    auto number = Read(dimensionArt, key);
    if (!number) {
        return std::nullopt;
    }
    const auto found = paths_.find({key, *number});
    if (found != paths_.end()) {
        for (AIArtHandle path : found->second) {
            // The records as they are now: the rebuilds before this one changed the document.
            ASInt32 locked = 0;
            if (sAIArt->ValidArt(path) && sAIArt->GetArtUserAttr(path, kArtLocked, &locked) == 0 &&
                locked == 0 && !Has(path, kindTag) && !Has(path, kAuxiliaryKey) &&
                Read(path, key) == number) {
                return path;
            }
        }
    }
    ShowAlert(kMeasuredPathNotFound);
    return std::nullopt;
}

std::optional<std::int16_t> ReadIndex(AIArtHandle art, const char* key) {
    const auto value = Read(art, key);
    return value ? ParseIndex(*value) : std::nullopt;
}

}  // namespace drawing
