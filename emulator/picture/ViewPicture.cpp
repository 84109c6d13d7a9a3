#include "emulator/picture/ViewPicture.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <system_error>
#include <vector>

#include "emulator/platform/FileSave.h"
#include "emulator/svg/SvgExport.h"

namespace emulator {
namespace {

constexpr char kModuleName[] = "mesra-picture.so";

// The folder of the running program, or an empty path.
std::filesystem::path ProgramFolder() {
    std::array<char, 4096> buffer{};
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    return length > 0 ? std::filesystem::path(std::string(buffer.data(), length)).parent_path()
                      : std::filesystem::path();
}

// The renderer of the module, loaded once for the life of the process; null with the reason
// in *error when it cannot be.
RenderPictureFunction Renderer(std::string* error) {
    static std::string failure;
    static const RenderPictureFunction renderer = []() -> RenderPictureFunction {
        std::vector<std::filesystem::path> places = {ProgramFolder() / kModuleName};
#ifdef MESRA_PICTURE_MODULE
        places.emplace_back(MESRA_PICTURE_MODULE);
#endif
        for (const std::filesystem::path& place : places) {
            std::error_code ec;
            if (!std::filesystem::is_regular_file(place, ec)) {
                continue;
            }
            void* module = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (module == nullptr) {
                const char* reason = dlerror();
                failure = reason != nullptr ? reason : place.string();
                return nullptr;
            }
            using Entry = RenderPictureFunction (*)();
            const auto entry = reinterpret_cast<Entry>(dlsym(module, kPictureRendererEntry));
            if (entry == nullptr) {
                failure = place.string() + " has no picture renderer";
                return nullptr;
            }
            return entry();
        }
        failure = std::string(kModuleName) + " is not beside the program";
        return nullptr;
    }();
    if (renderer == nullptr) {
        *error = "the view picture renderer cannot be loaded: " + failure;
    }
    return renderer;
}

}  // namespace

bool ViewPicturesAvailable() {
    return true;
}

std::optional<PictureFormat> PictureFormatOf(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
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

std::optional<std::string> ViewPicture(const Document& document, const DisplayList& drawing,
                                       PictureFormat format, std::string* error) {
    std::string ignored;
    std::string& reason = error != nullptr ? *error : ignored;
    const RenderPictureFunction render = Renderer(&reason);
    if (render == nullptr) {
        return std::nullopt;
    }
    PictureRequest request;
    request.svg = WriteSvg(document);
    request.view = document.view;
    request.unitScale = document.unitScale;
    request.width = document.width;
    request.height = document.height;
    request.drawing = &drawing;
    request.format = format;
    std::string bytes;
    if (!render(request, &bytes, &reason)) {
        return std::nullopt;
    }
    return bytes;
}

bool WriteViewPicture(const Document& document, const DisplayList& drawing,
                      const std::filesystem::path& file, std::string* error) {
    const std::optional<PictureFormat> format = PictureFormatOf(file);
    std::string reason = "a view picture is a .png or .svg file";
    std::optional<std::string> bytes;
    if (format) {
        bytes = ViewPicture(document, drawing, *format, &reason);
    }
    if (!bytes) {
        if (error != nullptr) {
            *error = file.string() + ": " + reason;
        }
        return false;
    }
    return WriteFileWhole(file, *bytes, error);
}

}  // namespace emulator
