// Feeds arbitrary bytes to the session script reader: it must accept the script or name
// the line that is wrong and why, never crash or hang.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/Session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    app::SessionError error;
    const auto lines =
        app::ParseSession(std::string(reinterpret_cast<const char*>(data), size), &error);
    if (!lines && (error.line <= 0 || error.message.empty())) {
        __builtin_trap();
    }
    return 0;
}
