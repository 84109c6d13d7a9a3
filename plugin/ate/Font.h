// A font of the text engine.
#pragma once

#include <string>

#include "plugin/ate/Reference.h"
#include "plugin/host/TextSuites.h"

namespace ATE {

ATEErr ReleaseFont(FontRef font);

class Font {
  public:
    // Takes ownership of `font`.
    explicit Font(FontRef font) : ref_(font) {}
    // The font of the host's font list named exactly `name` (Windows-1252).
    static Font Named(const std::string& name);

    FontRef Get() const { return ref_.Get(); }

  private:
    Reference<FontRef, ReleaseFont> ref_;
};

}  // namespace ATE
