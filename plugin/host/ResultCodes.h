// Result codes shared by the host and the plug-in.
//
// Every operation returns a 32-bit code: 0 is success, anything else a four-character
// code packed big-endian (first character in the high byte).
#pragma once

#include "plugin/host/Records.h"

constexpr ASErr FourCharCode(const char (&code)[5]) {
    return static_cast<ASErr>((static_cast<ASUInt32>(static_cast<unsigned char>(code[0])) << 24) |
                              (static_cast<ASUInt32>(static_cast<unsigned char>(code[1])) << 16) |
                              (static_cast<ASUInt32>(static_cast<unsigned char>(code[2])) << 8) |
                              static_cast<ASUInt32>(static_cast<unsigned char>(code[3])));
}

constexpr ASErr kNoErr = 0;

// Message not handled; turned into 0 before it reaches the host.
constexpr ASErr kUnhandledMsgErr = FourCharCode("!MSG");
// Out of memory.
constexpr ASErr kOutOfMemoryErr = FourCharCode("!MEM");
// An exception other than the host's error type escaped a handler.
constexpr ASErr kCantHappenErr = FourCharCode("CANT");
// Answer to a purge request when caches were flushed.
constexpr ASErr kSPPluginCachesFlushResponse = FourCharCode("pFls");
// A suite is missing or has another version than the one asked for.
constexpr ASErr kSPSuiteNotFoundError = FourCharCode("S!Fd");
// A parameter was missing or out of range.
constexpr ASErr kBadParameterErr = FourCharCode("PARM");
// No document is open.
constexpr ASErr kNoDocumentErr = FourCharCode("DOC?");
// A name or key that the host does not know.
constexpr ASErr kNameNotFoundErr = FourCharCode("NAM?");
// A caller's buffer is too small for the answer; the length written tells the size needed.
constexpr ASErr kBufferTooSmallErr = FourCharCode("BUF!");

// An offset curve would fold over itself (the offset is larger than a bend allows).
constexpr ASErr kOffsetFoldsErr = FourCharCode("OFS!");

// The number that comes after the four-character codes in the frame's quiet list.
constexpr ASErr kQuietNumberErr = 361;
