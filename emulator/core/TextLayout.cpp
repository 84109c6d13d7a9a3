#include "emulator/core/TextLayout.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H

#include <algorithm>
#include <map>
#include <memory>
#include <unordered_map>
#include <utility>

namespace emulator {
namespace {

constexpr double kLeadingRatio = 1.2;

// What a line is measured with when not even a substitute font can be opened: half an em
// a character, 0.8 em above the baseline and 0.2 em below.
constexpr double kFallbackAdvance = 0.5;
constexpr double kFallbackAscent = 0.8;
constexpr double kFallbackDescent = 0.2;

// A font file opened by FreeType, with the advances of the characters measured so far.
// Every length is in ems.
struct Face {
    FT_Face face = nullptr;
    double unitsPerEm = 1;
    double ascent = kFallbackAscent;
    double descent = kFallbackDescent;
    std::unordered_map<char32_t, double> advances;

    double Advance(char32_t c) {
        if (face == nullptr) {
            return kFallbackAdvance;
        }
        auto it = advances.find(c);
        if (it == advances.end()) {
            // Glyph 0, the font's missing glyph, stands for characters it lacks.
            const FT_UInt glyph = FT_Get_Char_Index(face, c);
            FT_Fixed advance = 0;
            const double value = FT_Get_Advance(face, glyph, FT_LOAD_NO_SCALE, &advance) == 0
                                     ? static_cast<double>(advance) / unitsPerEm
                                     : kFallbackAdvance;
            it = advances.emplace(c, value).first;
        }
        return it->second;
    }
};

// The faces of the process, opened on first use and closed at exit.
class Faces {
  public:
    Faces() {
        if (FT_Init_FreeType(&library_) != 0) {
            library_ = nullptr;
        }
        // A configuration of our own, destroyed with the cache: the library's shared one
        // would stay allocated until the process ends.
        config_ = FcInitLoadConfigAndFonts();
    }
    ~Faces() {
        for (auto& [file, face] : files_) {
            if (face->face != nullptr) {
                FT_Done_Face(face->face);
            }
        }
        if (library_ != nullptr) {
            FT_Done_FreeType(library_);
        }
        if (config_ != nullptr) {
            FcConfigDestroy(config_);
        }
    }
    Faces(const Faces&) = delete;
    Faces& operator=(const Faces&) = delete;

    Face& Find(const std::string& postScriptName) {
        auto it = names_.find(postScriptName);
        if (it == names_.end()) {
            it = names_.emplace(postScriptName, &Open(Match(postScriptName))).first;
        }
        return *it->second;
    }

  private:
    using FileIndex = std::pair<std::string, int>;

    // The file and face index fontconfig chooses for the name; an empty file when it
    // chooses none.
    FileIndex Match(const std::string& postScriptName) const {
        FileIndex found{"", 0};
        if (config_ == nullptr) {
            return found;
        }
        FcPattern* pattern = FcPatternCreate();
        if (!postScriptName.empty()) {
            FcPatternAddString(pattern, FC_POSTSCRIPT_NAME,
                               reinterpret_cast<const FcChar8*>(postScriptName.c_str()));
        }
        FcConfigSubstitute(config_, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(config_, pattern, &result);
        if (match != nullptr) {
            FcChar8* file = nullptr;
            int index = 0;
            if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
                found.first = reinterpret_cast<const char*>(file);
                if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) {
                    found.second = index;
                }
            }
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
        return found;
    }

    // The face of a file, opened once; a face with fallback metrics when it cannot be.
    Face& Open(const FileIndex& file) {
        auto it = files_.find(file);
        if (it != files_.end()) {
            return *it->second;
        }
        auto face = std::make_unique<Face>();
        FT_Face opened = nullptr;
        if (library_ != nullptr && !file.first.empty() &&
            FT_New_Face(library_, file.first.c_str(), file.second, &opened) == 0) {
            if (FT_IS_SCALABLE(opened) && opened->units_per_EM > 0) {
                face->face = opened;
                face->unitsPerEm = opened->units_per_EM;
                face->ascent = std::max(0.0, opened->ascender / face->unitsPerEm);
                face->descent = std::max(0.0, -opened->descender / face->unitsPerEm);
            } else {
                FT_Done_Face(opened);
            }
        }
        return *files_.emplace(file, std::move(face)).first->second;
    }

    FT_Library library_ = nullptr;
    FcConfig* config_ = nullptr;
    std::map<FileIndex, std::unique_ptr<Face>> files_;
    std::map<std::string, Face*> names_;
};

Face& FaceOf(const std::string& postScriptName) {
    static Faces faces;
    return faces.Find(postScriptName);
}

// The characters of UTF-16 text; unpaired surrogates become U+FFFD.
template <typename Visit>
void ForEachCharacter(std::u16string_view text, Visit visit) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        visit(c);
    }
}

}  // namespace

double Leading(double size) {
    return kLeadingRatio * size;
}

FontExtent FontExtentOf(const std::string& postScriptName, double size) {
    const Face& face = FaceOf(postScriptName);
    return {face.ascent * size, face.descent * size};
}

double LineWidth(const std::string& postScriptName, double size, double tracking,
                 std::u16string_view line) {
    Face& face = FaceOf(postScriptName);
    double ems = 0;
    int characters = 0;
    ForEachCharacter(line, [&](char32_t c) {
        ems += face.Advance(c);
        ++characters;
    });
    const int gaps = std::max(0, characters - 1);
    return ems * size + gaps * tracking * size / 1000;
}

PointTextLayout LayOutPointText(const PointText& text) {
    const TextFeatures& f = text.features;
    PointTextLayout layout;
    layout.extent = FontExtentOf(f.font, f.size);
    std::u16string_view rest = text.text;
    double baseline = 0;
    for (;;) {
        const std::size_t end = rest.find(u'\r');
        TextLine line;
        line.text = std::u16string(rest.substr(0, end));
        line.width = LineWidth(f.font, f.size, f.tracking, line.text);
        switch (f.justification) {
            case Justification::Center:
                line.x = -line.width / 2;
                break;
            case Justification::Right:
                line.x = -line.width;
                break;
            case Justification::Left:
                line.x = 0;
                break;
        }
        line.baseline = baseline + f.baselineShift;
        layout.lines.push_back(std::move(line));
        if (end == std::u16string_view::npos) {
            break;
        }
        rest.remove_prefix(end + 1);
        baseline -= Leading(f.size) + f.spaceAfter + f.spaceBefore;
    }
    return layout;
}

AIRealRect PointTextBounds(const PointText& text) {
    const double* m = text.matrix;
    if (text.text.empty()) {
        const auto x = static_cast<AIReal>(m[4]);
        const auto y = static_cast<AIReal>(m[5]);
        return {x, y, x, y};
    }
    const PointTextLayout layout = LayOutPointText(text);
    double left = layout.lines[0].x, right = left;
    double top = layout.lines[0].baseline, bottom = top;
    for (const TextLine& line : layout.lines) {
        left = std::min(left, line.x);
        right = std::max(right, line.x + line.width);
        bottom = std::min(bottom, line.baseline - layout.extent.descent);
        top = std::max(top, line.baseline + layout.extent.ascent);
    }
    AIRealRect bounds{0, 0, 0, 0};
    bool first = true;
    for (const double x : {left, right}) {
        for (const double y : {bottom, top}) {
            const auto h = static_cast<AIReal>(m[0] * x + m[2] * y + m[4]);
            const auto v = static_cast<AIReal>(m[1] * x + m[3] * y + m[5]);
            if (first) {
                bounds = {h, v, h, v};
                first = false;
            }
            bounds.left = std::min(bounds.left, h);
            bounds.right = std::max(bounds.right, h);
            bounds.bottom = std::min(bounds.bottom, v);
            bounds.top = std::max(bounds.top, v);
        }
    }
    return bounds;
}

}  // namespace emulator
