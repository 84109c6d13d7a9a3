// The records that keep a dimension linked to what it measures: string tags on the
// measured path (which link it belongs to) and on the dimension's own art (its kind, its
// link number and the anchor indices it measured). They live in the document, so the link
// survives saving and reopening.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "plugin/host/Records.h"

namespace drawing {

// The keys of the records.
inline constexpr const char* kAuxiliaryKey = "vorn";
inline constexpr const char* kSegmentKindKey = "mods";
inline constexpr const char* kAngleKindKey = "moda";
inline constexpr const char* kCircleKindKey = "modc";
inline constexpr const char* kRebuildKey = "red";
inline constexpr const char* kFirstPointKey = "segpt1";
inline constexpr const char* kSecondPointKey = "segpt2";
inline constexpr const char* kSegmentKey = "surseg";
inline constexpr const char* kAngleKey = "ang";
inline constexpr const char* kCircleKey = "cer";
inline constexpr const char* kIndex1Key = "num1";
inline constexpr const char* kIndex2Key = "num2";
inline constexpr const char* kIndex3Key = "num3";
// The value of a tag whose presence is what counts.
inline constexpr const char* kMarker = "jj";

// The message shown when a dimension's measured path cannot be found (Windows-1252).
extern const char* const kMeasuredPathNotFound;

// The art of a segment dimension that carries its records: line half 1 always, line half
// 2 when the dimension line is broken around its text.
struct SegmentRecordArt {
    AIArtHandle lineHalf1 = nullptr;
    AIArtHandle lineHalf2 = nullptr;
};

enum class Point { First, Second };

// Every path of the document whose attributes selected by `whichAttr` (for instance
// kArtLocked) are all off, in the host's stable order.
ASErr PathsWithout(ASInt32 whichAttr, std::vector<AIArtHandle>* paths);

// Tags a path the plug-in made for a dimension as auxiliary art ("vorn").
ASErr TagAuxiliary(AIArtHandle art);

// The link number of `path` under `key`: the one it carries, or a new one, one more than
// the highest number any path of the document carries under `key` ("0" for the first),
// written on the path. A number is never given twice, even after linked paths were
// deleted, so a rebuild never finds another path than the one it measured.
// The highest number of each key is counted from the document once and then kept, until
// ForgetLinkNumbers: only the plug-in gives numbers, and every other change of the
// document comes with a notification that forgets them.
ASErr LinkNumber(AIArtHandle path, const char* key, std::string* number);

// Forgets the highest link numbers LinkNumber keeps: the document may have changed in
// other hands (a selection change, another document, the plug-in's start).
void ForgetLinkNumbers();

// The records of a two-point segment dimension: the link of `path` under "segpt1" or
// "segpt2" copied onto the record art with "num1" or "num2" = `anchorIndex`.
ASErr WritePointLink(AIArtHandle path, std::int16_t anchorIndex, Point which,
                     const SegmentRecordArt& art);

// The records of a whole-segment dimension: "surseg" and the segment's two anchors.
ASErr WriteSegmentLink(AIArtHandle path, std::int16_t startIndex, std::int16_t endIndex,
                       const SegmentRecordArt& art);

// The records of an angle dimension on its arc path: "ang", "moda" and the three anchors.
ASErr WriteAngleLink(AIArtHandle path, std::int16_t firstSideEnd, std::int16_t vertex,
                     std::int16_t secondSideEnd, AIArtHandle arcPath);

// The records of a circle dimension on its two paths: "cer" and the arc's two end anchors.
ASErr WriteCircleLink(AIArtHandle path, std::int16_t firstEnd, std::int16_t secondEnd,
                      AIArtHandle firstPath, AIArtHandle secondPath);

// Takes the first point's link off a segment dimension whose second point is not an
// anchor: "mods", "segpt1" and "num1" leave both line halves.
ASErr UnlinkFirstPoint(const SegmentRecordArt& art);

// The path a dimension measures: the first unlocked path, in the document's order, whose
// `key` value equals the one `dimensionArt` carries and that is no dimension art (it
// carries neither `kindTag` nor "vorn"). Without a link number on the dimension art,
// nothing and no message; when no path matches, the user is told that the path was not
// found.
std::optional<AIArtHandle> FindMeasuredPath(AIArtHandle dimensionArt, const char* key,
                                            const char* kindTag);

// The paths that dimensions measure, by their link numbers, read once for a rebuild of all
// dimensions of a kind: Find gives what FindMeasuredPath gives, without listing the
// document and reading its records for every dimension.
class MeasuredPathIndex {
  public:
    // A kind of record art: the art that carries both `key` and `marker`, one per dimension.
    struct RecordKind {
        const char* key;
        const char* marker;
    };
    // Reads the records `keys` of every path of the document, and notes the record art of
    // each of `kinds` (whose keys are among `keys`).
    ASErr Build(const std::vector<const char*>& keys, const std::vector<RecordKind>& kinds);
    // The record art of kinds[i] when the index was built, in the document's order.
    const std::vector<AIArtHandle>& RecordArt(std::size_t i) const { return records_[i]; }
    // The path FindMeasuredPath(dimensionArt, key, kindTag) finds: the first path in the
    // document's order that carries `dimensionArt`'s link number under `key`, is unlocked
    // and is no dimension art, as the paths are now. The same message when none is.
    std::optional<AIArtHandle> Find(AIArtHandle dimensionArt, const char* key,
                                    const char* kindTag) const;

  private:
    // The paths carrying each key and number, in the document's order.
    std::map<std::pair<std::string, std::string>, std::vector<AIArtHandle>> paths_;
    std::vector<std::vector<AIArtHandle>> records_;
};

// The anchor index stored under `key` ("num1", "num2", "num3"); nothing when the art has
// no such tag or its value is not a decimal number of at most five digits.
std::optional<std::int16_t> ReadIndex(AIArtHandle art, const char* key);

// The decimal value of a record, by the rule of the records: each character adds
// (character − '0') to ten times the running value, in 16-bit arithmetic. Nothing when a
// character is not a digit or the text is empty or longer than five digits.
std::optional<std::int16_t> ParseIndex(const std::string& text);

}  // namespace drawing
