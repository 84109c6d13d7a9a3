// Gzip streams (RFC 1952) through zlib, for .svgz files.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace emulator {

// True when `data` starts as a gzip stream does (the bytes 1f 8b).
bool IsGzip(std::string_view data);

// The bytes of a gzip stream (its members one after the other, as gzip concatenates them;
// what follows the last member is ignored). Returns false with the reason in English in
// *reason when the stream is damaged or cut short, or when it inflates to more than `limit`
// bytes.
bool GzipInflate(std::string_view data, std::size_t limit, std::string* out, std::string* reason);

// `data` as a gzip stream of one member.
std::string GzipDeflate(std::string_view data);

}  // namespace emulator
