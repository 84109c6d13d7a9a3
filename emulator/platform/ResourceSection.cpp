#include "emulator/platform/ResourceSection.h"

#include <elf.h>

#include <cstring>
#include <fstream>

namespace emulator {
namespace {

constexpr char kSectionName[] = ".mesra_resources";

// A file read by pieces: each read says whether it got every byte it asked for.
class PieceReader {
  public:
    explicit PieceReader(const std::filesystem::path& file)
        : in_(file, std::ios::binary | std::ios::ate) {
        const std::streamoff end = in_ ? static_cast<std::streamoff>(in_.tellg()) : -1;
        size_ = end > 0 ? static_cast<std::uint64_t>(end) : 0;
    }
    bool Open() const { return static_cast<bool>(in_); }
    std::uint64_t Size() const { return size_; }

    // Reads `length` bytes at `offset` into `out`; false when they are not all in the file.
    bool Read(std::uint64_t offset, std::uint64_t length, void* out) {
        if (offset > size_ || length > size_ - offset) {
            return false;
        }
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(offset));
        return static_cast<bool>(
            in_.read(static_cast<char*>(out), static_cast<std::streamsize>(length)));
    }

  private:
    std::ifstream in_;
    std::uint64_t size_ = 0;
};

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadResourceSection(const std::filesystem::path& file,
                                                             std::string* error) {
    PieceReader reader(file);
    if (!reader.Open()) {
        *error = "cannot read " + file.string();
        return std::nullopt;
    }
    Elf64_Ehdr header;
    if (!reader.Read(0, sizeof header, &header)) {
        *error = "file too short for an ELF module";
        return std::nullopt;
    }
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64) {
        *error = "not a 64-bit ELF module";
        return std::nullopt;
    }
    if (header.e_shentsize != sizeof(Elf64_Shdr) || header.e_shstrndx >= header.e_shnum) {
        *error = "unreadable section table";
        return std::nullopt;
    }
    std::vector<Elf64_Shdr> sections(header.e_shnum);
    Elf64_Shdr names{};
    if (!reader.Read(header.e_shoff, sections.size() * sizeof(Elf64_Shdr), sections.data()) ||
        (names = sections[header.e_shstrndx], names.sh_size > reader.Size())) {
        *error = "unreadable section table";
        return std::nullopt;
    }
    std::vector<char> nameTable(names.sh_size);
    if (!reader.Read(names.sh_offset, names.sh_size, nameTable.data())) {
        *error = "unreadable section table";
        return std::nullopt;
    }
    for (const Elf64_Shdr& section : sections) {
        if (section.sh_name >= nameTable.size()) {
            continue;
        }
        const char* name = nameTable.data() + section.sh_name;
        const std::size_t room = nameTable.size() - section.sh_name;
        if (strnlen(name, room) == room || std::strcmp(name, kSectionName) != 0) {
            continue;
        }
        std::vector<std::uint8_t> bytes;
        if (section.sh_size <= reader.Size()) {
            bytes.resize(section.sh_size);
            if (reader.Read(section.sh_offset, section.sh_size, bytes.data())) {
                return bytes;
            }
        }
        break;
    }
    *error = "the module has no resources";
    return std::nullopt;
}

}  // namespace emulator
