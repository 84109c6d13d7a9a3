// The resources of a plug-in file as the host reads them: the property list, the PNG
// images by id and the named texts. On POSIX systems they are parsed from the bundle that
// the plug-in file carries (emulator/platform/ResourceSection.h); on Windows the loader
// finds each one in the module's resources and hands them over by FromParts.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace emulator {

struct PngSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// The width and height of PNG data, or nothing when it is not a PNG.
std::optional<PngSize> ReadPngSize(const std::vector<std::uint8_t>& png);

// The four properties of a plug-in's property list.
struct PropertyList {
    std::string kind;  // four-character code, such as "SPEA"
    std::int32_t interfaceVersion = 0;
    std::string codeEntry;  // name of the entry point
    std::string pluginName;
};

class Resources {
  public:
    // Reads a bundle: a header "MESRARSC", the number of entries, then per entry its type
    // ("PNGI", "TXT " or "PiPL"), id, name, offset and size. On failure returns nothing and
    // says why in *error.
    static std::optional<Resources> Parse(const std::vector<std::uint8_t>& bundle,
                                          std::string* error);
    // The resources found one by one: the property list's data (a list that does not read
    // leaves Properties() empty), the PNG images by id and the texts by name.
    static Resources FromParts(const std::vector<std::uint8_t>& propertyList,
                               std::map<std::int32_t, std::vector<std::uint8_t>> pngs,
                               std::map<std::string, std::string> texts);

    // The PNG resource `id`, or null.
    const std::vector<std::uint8_t>* Png(std::int32_t id) const;
    // The text resource `name`, or null.
    const std::string* Text(const std::string& name) const;
    const std::optional<PropertyList>& Properties() const { return properties_; }
    const std::map<std::int32_t, std::vector<std::uint8_t>>& Pngs() const { return pngs_; }

  private:
    std::map<std::int32_t, std::vector<std::uint8_t>> pngs_;
    std::map<std::string, std::string> texts_;
    std::optional<PropertyList> properties_;
};

}  // namespace emulator
