// Feeds arbitrary bytes to the SVG reader: it must return a document or a reason, never
// crash, hang or read out of bounds. Build with clang and -fsanitize=fuzzer,address,undefined
// together with emulator/SvgImport.cpp, emulator/SvgImportEntities.cpp,
// emulator/SvgImportPaths.cpp, emulator/SvgImportStyles.cpp, emulator/SvgImportText.cpp,
// emulator/SvgImportUnits.cpp, emulator/SvgSyntax.cpp, emulator/Gzip.cpp and
// emulator/Unicode.cpp, linked with pugixml and zlib.
#include <cstddef>
#include <cstdint>
#include <string>

#include "emulator/SvgImport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto document = emulator::ReadSvg(text, &error);
    if (!document && error.empty()) {
        __builtin_trap();
    }
    return 0;
}
