// On POSIX systems the plug-in reads the keys from the host's platform suite, which answers
// from the host's own record of them: the system has nothing to be told.
#include "emulator/core/SystemKeys.h"

namespace emulator {

void PublishHeldKeys(const std::set<ASInt32>&) {}

}  // namespace emulator
