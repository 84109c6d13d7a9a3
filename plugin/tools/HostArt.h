// The tools' thin layer over the host's art: hit tests, tags, the anchors of a path.
// Every function answers from the host and never leaves anything acquired behind.
#pragma once

#include <string>
#include <vector>

#include "plugin/host/ArtworkSuites.h"
#include "plugin/hostaccess/PathGeometry.h"

namespace tools {

// The tags that mark a dimension's own art.
constexpr const char* kSegmentDimensionTag = "mods";
constexpr const char* kAngleDimensionTag = "moda";
constexpr const char* kCircleDimensionTag = "modc";
// The tag of every other path a dimension is made of (arrowheads, extension lines...).
constexpr const char* kAuxiliaryTag = "vorn";

struct HitResult {
    ASErr error = 0;
    AIToolHitData data{};
};

// Hit-tests the whole document (or only `art`) at `point`; the host's reference is
// released before this returns, whatever happens.
HitResult HitAt(AIRealPoint point, AIReal tolerance, ASInt32 request, AIArtHandle art = nullptr);

// True when the art carries the tag `name`.
bool HasTag(AIArtHandle art, const char* name);

// True when the art carries one of the dimension tags ("mods", "moda", "modc").
bool IsDimensionArt(AIArtHandle art);

// The paths the user can reach, in the host's order: neither locked, hidden nor guides
// (whatever their layer). A host error is the result.
ASErr ReachablePaths(std::vector<AIArtHandle>* paths);

// True when the layer of `art` is visible and unlocked: the user can reach its art.
bool OnOpenLayer(AIArtHandle art);

// The anchors of paths, read from the host.
using hostaccess::PathGeometry;
using hostaccess::ReadPath;

// Locks `art` for the life of the object (when it was not locked already) and unlocks it on
// every way out.
class TemporaryLock {
  public:
    explicit TemporaryLock(AIArtHandle art);
    ~TemporaryLock();
    // True when this object locked the art (and will unlock it).
    bool Locked() const { return art_ != nullptr; }
    TemporaryLock(const TemporaryLock&) = delete;
    TemporaryLock& operator=(const TemporaryLock&) = delete;

  private:
    AIArtHandle art_ = nullptr;
};

}  // namespace tools
