#pragma once
// c_HTTPBodyDecoder: inflates a "gzip" or "deflate" response body while it arrives, and tells at the
// body's end whether the compressed stream ended with it.
//
// A "deflate" body whose first two bytes are not a zlib header is raw deflate (RFC 1951), which some
// servers send. Every failure ends decoding: corrupt data, a stream cut short, bytes after the
// stream's end, and output beyond the limit.

#include "network/c_ZlibInflateStream.h"
#include "protocols/http/internal/HTTPFraming.h"
#include "strings/c_String.h"
#include "textutil/c_ByteBuffer.h"

#include <cstdint>

class c_HTTPBodyDecoder {
public:
    void Start(n_HTTPFraming::e_BodyCoding coding, std::uint32_t maxOutputSize);
    void Reset();
    bool IsDecoding() const { return m_Coding != n_HTTPFraming::CODING_NONE; }

    // Inflates what it can of the body bytes into body; false with the error text on a failure.
    bool Append(const std::uint8_t* data, std::uint32_t length, c_ByteBuffer& body, c_String* error);
    // The body has ended: true when nothing was sent or the stream has reached its end.
    bool Finish(c_ByteBuffer& body, c_String* error);

private:
    bool Inflate(c_ByteBuffer& body, c_String* error);
    bool IsRawDeflate() const;

    n_HTTPFraming::e_BodyCoding m_Coding = n_HTTPFraming::CODING_NONE;
    bool m_HasInput = false;
    c_ByteBuffer m_CompressedInput;
    c_ZlibInflateStream m_Inflater;
};
