#include "emulator/fonts/FaceFiles.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H

#include <algorithm>
#include <fstream>

namespace emulator {
namespace {

constexpr double kFallbackAdvance = 0.5;
constexpr double kFallbackAscent = 0.8;
constexpr double kFallbackDescent = 0.2;

// A font file read by FreeType through the standard library's streams, which take every
// path the system has (FreeType's own file access takes narrow paths only).
struct FileStream {
    FT_StreamRec stream{};
    std::ifstream in;
};

unsigned long ReadStream(FT_Stream stream, unsigned long offset, unsigned char* buffer,
                         unsigned long count) {
    auto* file = static_cast<FileStream*>(stream->descriptor.pointer);
    if (count == 0) {
        // A seek alone: 0 when the place is inside the file.
        return offset <= stream->size ? 0 : 1;
    }
    file->in.clear();
    file->in.seekg(static_cast<std::streamoff>(offset));
    file->in.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(count));
    return static_cast<unsigned long>(std::max<std::streamsize>(0, file->in.gcount()));
}

void CloseStream(FT_Stream stream) {
    delete static_cast<FileStream*>(stream->descriptor.pointer);
}

}  // namespace

MeasuredFace::MeasuredFace(void* face) : face_(face), extent_{kFallbackAscent, kFallbackDescent} {
    const auto* opened = static_cast<FT_Face>(face);
    if (opened == nullptr) {
        return;
    }
    unitsPerEm_ = opened->units_per_EM;
    extent_.ascent = std::max(0.0, opened->ascender / unitsPerEm_);
    extent_.descent = std::max(0.0, -opened->descender / unitsPerEm_);
}

double MeasuredFace::Advance(char32_t c) {
    if (face_ == nullptr) {
        return kFallbackAdvance;
    }
    auto it = advances_.find(c);
    if (it == advances_.end()) {
        // Glyph 0, the font's missing glyph, stands for characters it lacks.
        const auto face = static_cast<FT_Face>(face_);
        const FT_UInt glyph = FT_Get_Char_Index(face, c);
        FT_Fixed advance = 0;
        const double value = FT_Get_Advance(face, glyph, FT_LOAD_NO_SCALE, &advance) == 0
                                 ? static_cast<double>(advance) / unitsPerEm_
                                 : kFallbackAdvance;
        it = advances_.emplace(c, value).first;
    }
    return it->second;
}

FaceFiles::~FaceFiles() {
    for (void* face : opened_) {
        FT_Done_Face(static_cast<FT_Face>(face));
    }
    if (library_ != nullptr) {
        FT_Done_FreeType(static_cast<FT_Library>(library_));
    }
}

bool FaceFiles::Started() {
    if (!started_) {
        FT_Library library = nullptr;
        library_ = FT_Init_FreeType(&library) == 0 ? library : nullptr;
        started_ = true;
    }
    return library_ != nullptr;
}

void* FaceFiles::OpenFace(const std::filesystem::path& file, int index) {
    if (file.empty() || !Started()) {
        return nullptr;
    }
    auto* stream = new FileStream;
    stream->in.open(file, std::ios::binary | std::ios::ate);
    const std::streamoff size = stream->in ? static_cast<std::streamoff>(stream->in.tellg()) : -1;
    if (size <= 0) {
        delete stream;
        return nullptr;
    }
    stream->stream.size = static_cast<unsigned long>(size);
    stream->stream.descriptor.pointer = stream;
    stream->stream.read = ReadStream;
    stream->stream.close = CloseStream;
    FT_Open_Args arguments{};
    arguments.flags = FT_OPEN_STREAM;
    arguments.stream = &stream->stream;
    FT_Face face = nullptr;
    // From here the face owns the stream: FreeType closes it, even when the face fails.
    if (FT_Open_Face(static_cast<FT_Library>(library_), &arguments, index, &face) != 0) {
        return nullptr;
    }
    return face;
}

MeasuredFace& FaceFiles::Open(const std::filesystem::path& file, int index) {
    const auto key = std::make_pair(file, index);
    auto it = faces_.find(key);
    if (it == faces_.end()) {
        auto face = static_cast<FT_Face>(OpenFace(file, index));
        if (face != nullptr && (!FT_IS_SCALABLE(face) || face->units_per_EM == 0)) {
            FT_Done_Face(face);
            face = nullptr;
        }
        if (face != nullptr) {
            opened_.push_back(face);
        }
        it = faces_.emplace(key, std::make_unique<MeasuredFace>(face)).first;
    }
    return *it->second;
}

std::vector<std::pair<int, std::string>> FaceFiles::PostScriptNames(
    const std::filesystem::path& file) {
    std::vector<std::pair<int, std::string>> names;
    int count = 1;
    for (int index = 0; index < count; ++index) {
        void* opened = OpenFace(file, index);
        if (opened == nullptr) {
            if (index == 0) {
                break;
            }
            continue;
        }
        const auto face = static_cast<FT_Face>(opened);
        count = static_cast<int>(face->num_faces);
        if (const char* name = FT_Get_Postscript_Name(face); name != nullptr && *name != '\0') {
            names.emplace_back(index, name);
        }
        FT_Done_Face(face);
    }
    return names;
}

}  // namespace emulator
