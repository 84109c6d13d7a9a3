// The view pictures of a build without a renderer (the Windows build): every picture is
// refused with the reason.
#include <algorithm>
#include <cctype>

#include "emulator/core/Unicode.h"
#include "emulator/picture/ViewPicture.h"

namespace emulator {

constexpr const char* kNoPictures = "view pictures are made by the Linux build of mesra only";

bool ViewPicturesAvailable() {
    return false;
}

std::optional<PictureFormat> PictureFormatOf(const std::filesystem::path& file) {
    std::string extension = Utf8FromPath(file.extension());
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".png") {
        return PictureFormat::Png;
    }
    if (extension == ".svg") {
        return PictureFormat::Svg;
    }
    return std::nullopt;
}

std::optional<std::string> ViewPicture(const Document&, const DisplayList&, PictureFormat,
                                       std::string* error) {
    if (error != nullptr) {
        *error = kNoPictures;
    }
    return std::nullopt;
}

bool WriteViewPicture(const Document&, const DisplayList&, const std::filesystem::path& file,
                      std::string* error) {
    if (error != nullptr) {
        *error = Utf8FromPath(file) + ": " + kNoPictures;
    }
    return false;
}

}  // namespace emulator
