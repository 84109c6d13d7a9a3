// A range of characters of a text frame.
#pragma once

#include <string>
#include <string_view>

#include "plugin/ate/CharFeatures.h"
#include "plugin/ate/ParaFeatures.h"
#include "plugin/ate/Reference.h"
#include "plugin/host/TextSuites.h"

namespace ATE {

ATEErr ReleaseTextRange(TextRangeRef range);

class TextRange {
  public:
    // Takes ownership of `range`.
    explicit TextRange(TextRangeRef range) : ref_(range) {}
    // The range of the whole text of the text frame `text`.
    static TextRange OfFrame(AIArtHandle text);

    TextRangeRef Get() const { return ref_.Get(); }

    ASInt32 GetSize() const;
    std::u16string GetContents() const;
    // Inserts `text` after the range, which grows to hold it.
    void InsertAfter(std::u16string_view text);
    // Deletes the range's characters.
    void Remove();
    void SetLocalCharFeatures(const CharFeatures& features);
    void SetLocalParaFeatures(const ParaFeatures& features);

  private:
    Reference<TextRangeRef, ReleaseTextRange> ref_;
};

}  // namespace ATE
