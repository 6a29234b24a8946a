#pragma once
// The framing rules of an HTTP/1.1 response body (RFC 9112 sections 6 and 7): the "Content-Length"
// value, the transfer and content codings, and the chunk-size line.

#include "strings/c_StringView.h"

#include <cstdint>

namespace n_HTTPFraming {

// The largest length or chunk size a response may announce.
constexpr std::int64_t MAX_LENGTH = 2147483647;
// More hexadecimal digits than 64 bits hold.
constexpr int MAX_CHUNK_SIZE_DIGITS = 16;

enum e_LengthResult { LENGTH_VALID, LENGTH_NEGATIVE, LENGTH_INVALID, LENGTH_TOO_LARGE };

// The joined value of every "Content-Length" field ("5, 5" for two): digits only, all equal.
e_LengthResult ParseContentLength(const c_StringView& value, std::int64_t* length);

enum e_BodyCoding { CODING_NONE, CODING_GZIP, CODING_DEFLATE };

// "gzip" or "deflate" without case; any other content coding passes the body through as it is.
e_BodyCoding ParseContentCoding(const c_StringView& value);

struct s_TransferCodings {
    // Some coding other than "identity" is named.
    bool m_Present = false;
    // "chunked" is the last coding.
    bool m_Chunked = false;
    // A "gzip" or "deflate" before it.
    e_BodyCoding m_Compression = CODING_NONE;
    bool m_Supported = true;
};

s_TransferCodings ParseTransferCodings(const c_StringView& value);

enum e_ChunkSizeResult { CHUNK_SIZE_VALID, CHUNK_SIZE_INVALID, CHUNK_SIZE_TOO_MANY_DIGITS, CHUNK_SIZE_TOO_LARGE };

// chunk-size [ ";" chunk-ext ], the line without its CRLF; the extension is ignored.
e_ChunkSizeResult ParseChunkSize(const c_StringView& line, std::int64_t* size);

} // namespace n_HTTPFraming
