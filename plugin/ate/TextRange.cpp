#include "plugin/ate/TextRange.h"

#include "plugin/ate/Exception.h"
#include "plugin/host/ResultCodes.h"
#include "plugin/hostaccess/Suites.h"

namespace ATE {

ATEErr ReleaseTextRange(TextRangeRef range) {
    return sATETextRange->Release(range);
}

TextRange TextRange::OfFrame(AIArtHandle text) {
    TextRangeRef range = nullptr;
    Check(sAITextFrame->GetATETextRange(text, &range));
    return TextRange(range);
}

ASInt32 TextRange::GetSize() const {
    ASInt32 size = 0;
    Check(sATETextRange->GetSize(Get(), &size));
    return size;
}

std::u16string TextRange::GetContents() const {
    ASInt32 length = 0;
    const ATEErr sized = sATETextRange->GetContents(Get(), nullptr, 0, &length);
    if (sized != kBufferTooSmallErr) {
        Check(sized);
    }
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    Check(
        sATETextRange->GetContents(Get(), text.data(), static_cast<ASInt32>(text.size()), &length));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void TextRange::InsertAfter(std::u16string_view text) {
    Check(sATETextRange->InsertAfter(Get(), text.data(), static_cast<ASInt32>(text.size())));
}

void TextRange::Remove() {
    Check(sATETextRange->Remove(Get()));
}

void TextRange::SetLocalCharFeatures(const CharFeatures& features) {
    Check(sATETextRange->SetLocalCharFeatures(Get(), features.Get()));
}

void TextRange::SetLocalParaFeatures(const ParaFeatures& features) {
    Check(sATETextRange->SetLocalParaFeatures(Get(), features.Get()));
}

}  // namespace ATE
