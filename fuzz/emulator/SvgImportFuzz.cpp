// Feeds arbitrary bytes to the SVG reader: it must return a document or a reason, never
// crash, hang or read out of bounds. A document it reads is written back: the text must be
// well-formed XML, and the reader must take it again (what the program writes, it opens).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "emulator/svg/SvgExport.h"
#include "emulator/svg/SvgImport.h"
#include "fuzz/support/WrittenSvgCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto document = emulator::ReadSvg(text, &error);
    if (!document) {
        if (error.empty()) {
            __builtin_trap();
        }
        return 0;
    }
    const std::string written = emulator::WriteSvg(*document);
    const std::string problem = fuzzing::ProblemInWrittenSvg(written, false);
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        __builtin_trap();
    }
    if (!emulator::ReadSvg(written, &error)) {
        std::fprintf(stderr, "the written file is refused: %s\n", error.c_str());
        __builtin_trap();
    }
    return 0;
}
