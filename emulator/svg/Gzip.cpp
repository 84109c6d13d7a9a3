#include "emulator/svg/Gzip.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>

namespace emulator {
namespace {

// zlib counts in unsigned ints: longer data goes through in pieces of this size.
constexpr std::size_t kPiece = std::size_t{1} << 30;
// Window bits of 15 plus 16: a gzip header and trailer rather than zlib's.
constexpr int kGzipWindow = 15 + 16;
// The gzip header's number for Unix file systems.
constexpr int kGzipUnix = 3;
constexpr std::size_t kOutputChunk = std::size_t{1} << 16;

// Hands zlib the next piece of `data` once it has used up the last one; `consumed` counts
// the bytes handed over so far.
void Feed(z_stream& stream, std::string_view data, std::size_t& consumed) {
    if (stream.avail_in != 0 || consumed >= data.size()) {
        return;
    }
    const std::size_t piece = std::min(kPiece, data.size() - consumed);
    // zlib does not write through next_in; its declaration is merely not const.
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + consumed));
    stream.avail_in = static_cast<uInt>(piece);
    consumed += piece;
}

}  // namespace

bool IsGzip(std::string_view data) {
    return data.size() >= 2 && static_cast<unsigned char>(data[0]) == 0x1f &&
           static_cast<unsigned char>(data[1]) == 0x8b;
}

bool GzipInflate(std::string_view data, std::size_t limit, std::string* out, std::string* reason) {
    z_stream stream{};
    if (inflateInit2(&stream, kGzipWindow) != Z_OK) {
        *reason = "zlib cannot start inflating";
        return false;
    }
    out->clear();
    std::size_t consumed = 0;  // bytes of `data` handed to zlib
    bool ended = false;
    bool failed = false;
    char chunk[kOutputChunk];
    while (!failed) {
        Feed(stream, data, consumed);
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = static_cast<uInt>(sizeof chunk);
        const int result = inflate(&stream, Z_NO_FLUSH);
        out->append(chunk, sizeof chunk - stream.avail_out);
        if (out->size() > limit) {
            *reason = "the gzip-compressed data inflates to more than " +
                      std::to_string(limit >> 20) + " MiB";
            failed = true;
        } else if (result == Z_STREAM_END) {
            // Another member may follow; anything else after a member is ignored, as gzip
            // ignores trailing garbage.
            const std::size_t left = stream.avail_in + (data.size() - consumed);
            if (left >= 2 && IsGzip(data.substr(data.size() - left))) {
                inflateReset(&stream);
                continue;
            }
            ended = true;
            break;
        } else if (result == Z_BUF_ERROR && stream.avail_in == 0) {
            // No progress without more input: there is none left.
            if (consumed == data.size()) {
                *reason = "the gzip-compressed data is cut short";
                failed = true;
            }
        } else if (result != Z_OK) {
            *reason = "the gzip-compressed data is damaged";
            if (stream.msg != nullptr) {
                reason->append(" (").append(stream.msg).append(")");
            }
            failed = true;
        }
    }
    inflateEnd(&stream);
    return ended;
}

std::string GzipDeflate(std::string_view data) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, kGzipWindow, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK) {
        return {};
    }
    // The header names no file and no time, and the same system wherever the host runs (Unix,
    // as zlib writes it on Linux): a drawing compresses to the same bytes on every system.
    gz_header header{};
    header.os = kGzipUnix;
    deflateSetHeader(&stream, &header);
    std::string out;
    std::size_t consumed = 0;
    char chunk[kOutputChunk];
    int result = Z_OK;
    while (result != Z_STREAM_END) {
        Feed(stream, data, consumed);
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = static_cast<uInt>(sizeof chunk);
        const bool last = consumed == data.size();
        result = deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
        out.append(chunk, sizeof chunk - stream.avail_out);
        if (result == Z_STREAM_ERROR) {
            break;
        }
    }
    deflateEnd(&stream);
    return out;
}

}  // namespace emulator
