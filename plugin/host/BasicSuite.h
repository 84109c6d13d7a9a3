// The host's basic suite: the one service handed to the plug-in in every message, through
// which every other suite is acquired by name and version.
#pragma once

#include "plugin/host/Records.h"

struct SPBasicSuite {
    // Hands out the suite `name` at `version` in *suite. A name the host does not know,
    // or another version, answers kSPSuiteNotFoundError and leaves *suite null. Each
    // successful acquisition must be matched by one ReleaseSuite.
    ASErr (*AcquireSuite)(const char* name, ASInt32 version, const void** suite);
    // Gives back one acquisition of `name` at `version`.
    ASErr (*ReleaseSuite)(const char* name, ASInt32 version);
    // True when the two strings are equal (byte for byte).
    ASBoolean (*IsEqual)(const char* token1, const char* token2);
};
