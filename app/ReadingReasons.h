// The page speaks French: why an uploaded file is no drawing, in its words.
#pragma once

#include <string>

namespace app {

// The sentence the page shows for a file the SVG reader refused with `reason` (its English
// reason, "not an SVG document: ..."). A reason it has no words for leaves the sentence
// without one rather than in English.
std::string FrenchReadingFailure(const std::string& reason);

}  // namespace app
