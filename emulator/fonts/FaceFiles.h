// Font files opened by FreeType and measured: the part of the font adapter that both
// systems share (fontconfig finds the files on POSIX systems, a scan of the font folder on
// Windows).
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "emulator/core/FontFaces.h"

namespace emulator {

// One face of a font file, with the advances of the characters measured so far. Every
// length is in ems. A face that could not be opened measures half an em a character, 0.8 em
// above the baseline and 0.2 em below.
class MeasuredFace {
  public:
    // A face with the fallback metrics.
    MeasuredFace() : MeasuredFace(nullptr) {}
    // The metrics of an opened FreeType face (FT_Face); null gives the fallback metrics.
    explicit MeasuredFace(void* face);
    MeasuredFace(const MeasuredFace&) = delete;
    MeasuredFace& operator=(const MeasuredFace&) = delete;

    FaceExtent Extent() const { return extent_; }
    // The advance of `c`; a character the face lacks takes the width of its missing glyph.
    double Advance(char32_t c);

  private:
    void* face_ = nullptr;  // FT_Face, owned by FaceFiles
    double unitsPerEm_ = 1;
    FaceExtent extent_;
    std::unordered_map<char32_t, double> advances_;
};

// The faces of the process, each file and face index opened once (FreeType's library is
// started on first use) and closed when this goes.
class FaceFiles {
  public:
    FaceFiles() = default;
    ~FaceFiles();
    FaceFiles(const FaceFiles&) = delete;
    FaceFiles& operator=(const FaceFiles&) = delete;

    // Face `index` of `file`; a face with the fallback metrics when it cannot be opened or
    // is not scalable (an empty path included).
    MeasuredFace& Open(const std::filesystem::path& file, int index);

    // The PostScript names of the faces of `file`, by face index; empty when the file is
    // not a font FreeType reads.
    std::vector<std::pair<int, std::string>> PostScriptNames(const std::filesystem::path& file);

  private:
    // The face opened through a stream over the file, so that any path the system takes
    // works; null when it cannot be.
    void* OpenFace(const std::filesystem::path& file, int index);
    bool Started();

    bool started_ = false;
    void* library_ = nullptr;  // FT_Library
    std::vector<void*> opened_;
    std::map<std::pair<std::filesystem::path, int>, std::unique_ptr<MeasuredFace>> faces_;
};

}  // namespace emulator
