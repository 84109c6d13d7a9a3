#include "emulator/core/Resources.h"

#include <cstring>
#include <utility>

namespace emulator {
namespace {

constexpr char kMagic[] = "MESRARSC";
constexpr std::size_t kEntrySize = 32;

std::uint32_t ReadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint32_t ReadBigU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | static_cast<std::uint32_t>(p[3]);
}

// A four-character code stored as a little-endian integer, as text.
std::string CodeText(const std::uint8_t* p) {
    return {static_cast<char>(p[3]), static_cast<char>(p[2]), static_cast<char>(p[1]),
            static_cast<char>(p[0])};
}

std::string FixedText(const std::uint8_t* p, std::size_t width) {
    std::size_t n = 0;
    while (n < width && p[n] != 0) {
        ++n;
    }
    return {reinterpret_cast<const char*>(p), n};
}

std::optional<PropertyList> ParsePropertyList(const std::vector<std::uint8_t>& data) {
    if (data.size() < 10 || data[0] != 1 || data[1] != 0) {
        return std::nullopt;
    }
    PropertyList list;
    const std::uint32_t count = ReadU32(data.data() + 6);
    std::size_t at = 10;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (at + 16 > data.size()) {
            return std::nullopt;
        }
        const std::string key = CodeText(data.data() + at + 4);
        const std::uint32_t length = ReadU32(data.data() + at + 12);
        at += 16;
        if (length > data.size() - at) {
            return std::nullopt;
        }
        const std::uint8_t* value = data.data() + at;
        if (key == "kind" && length >= 4) {
            list.kind = CodeText(value);
        } else if (key == "ivrs" && length >= 4) {
            list.interfaceVersion = static_cast<std::int32_t>(ReadU32(value));
        } else if (key == "wx86") {
            list.codeEntry = FixedText(value, length);
        } else if (key == "pinm") {
            list.pluginName = FixedText(value, length);
        }
        at += (length + 3) / 4 * 4;
    }
    return list;
}

}  // namespace

std::optional<PngSize> ReadPngSize(const std::vector<std::uint8_t>& png) {
    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 24 || std::memcmp(png.data(), kSignature, 8) != 0 ||
        std::memcmp(png.data() + 12, "IHDR", 4) != 0) {
        return std::nullopt;
    }
    return PngSize{ReadBigU32(png.data() + 16), ReadBigU32(png.data() + 20)};
}

std::optional<Resources> Resources::Parse(const std::vector<std::uint8_t>& bundle,
                                          std::string* error) {
    if (bundle.size() < 12 || std::memcmp(bundle.data(), kMagic, 8) != 0) {
        *error = "resources without a header";
        return std::nullopt;
    }
    const std::uint32_t count = ReadU32(bundle.data() + 8);
    if (count > (bundle.size() - 12) / kEntrySize) {
        *error = "truncated resource directory";
        return std::nullopt;
    }
    Resources resources;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = bundle.data() + 12 + i * kEntrySize;
        const std::string type = FixedText(entry, 4);
        const auto id = static_cast<std::int32_t>(ReadU32(entry + 4));
        const std::string name = FixedText(entry + 8, 16);
        const std::uint32_t offset = ReadU32(entry + 24);
        const std::uint32_t size = ReadU32(entry + 28);
        if (offset > bundle.size() || size > bundle.size() - offset) {
            *error = "resource out of bounds";
            return std::nullopt;
        }
        std::vector<std::uint8_t> data(bundle.begin() + offset, bundle.begin() + offset + size);
        if (type == "PNGI") {
            resources.pngs_[id] = std::move(data);
        } else if (type == "TXT ") {
            resources.texts_[name] = std::string(data.begin(), data.end());
        } else if (type == "PiPL") {
            resources.properties_ = ParsePropertyList(data);
        }
    }
    return resources;
}

Resources Resources::FromParts(const std::vector<std::uint8_t>& propertyList,
                               std::map<std::int32_t, std::vector<std::uint8_t>> pngs,
                               std::map<std::string, std::string> texts) {
    Resources resources;
    resources.properties_ = ParsePropertyList(propertyList);
    resources.pngs_ = std::move(pngs);
    resources.texts_ = std::move(texts);
    return resources;
}

const std::vector<std::uint8_t>* Resources::Png(std::int32_t id) const {
    auto it = pngs_.find(id);
    return it == pngs_.end() ? nullptr : &it->second;
}

const std::string* Resources::Text(const std::string& name) const {
    auto it = texts_.find(name);
    return it == texts_.end() ? nullptr : &it->second;
}

}  // namespace emulator
