#pragma once
// c_ZlibInflateStream: inflates zlib, gzip or raw deflate data into a growable byte buffer, one piece
// of input at a time, with a limit on the inflated size.
//
// The HTTP client decodes "gzip" and "deflate" response bodies through it, and it reads the system's
// own compressed block:
//
//   block     = format-byte raw-deflate adler32
//   format    = 0x00
//   raw-deflate = one RFC 1951 stream, no zlib or gzip header
//   adler32   = RFC 1950 Adler-32 of the inflated bytes, 4 bytes little-endian
//
// Window bits are 47 (zlib detects a zlib or gzip header) or -15 (raw deflate), chosen by the call
// that initialises the stream; End or Reset lets the next call choose again. Every inflate call takes
// exactly the bytes zlib took: bytes after the end of the stream stay unread, and a stream cut short
// gives all output so far and goes on when more input comes. The first error is sticky: every later
// call fails with "Encountered a previous error." until End or Reset.
//
// The inflated size is limited (SetMaxOutputSize), because a small body can inflate to gigabytes.
// Going past the limit is an error like any other; the output keeps the bytes up to the limit.

#include "strings/c_String.h"
#include "textutil/c_ByteBuffer.h"

#include <zlib.h>

#include <cstdint>

class c_ZlibInflateStream {
public:
    // The output grows by this much before each inflate call and is cut back to what was made.
    static constexpr std::uint32_t OUTPUT_STEP = 262144;
    static constexpr int WINDOW_BITS_AUTO = 47;
    static constexpr int WINDOW_BITS_RAW = -15;

    c_ZlibInflateStream();
    ~c_ZlibInflateStream() { End(); }
    c_ZlibInflateStream(const c_ZlibInflateStream&) = delete;
    c_ZlibInflateStream& operator=(const c_ZlibInflateStream&) = delete;

    // Releases zlib's state; the next call initialises a fresh stream. Clears the error.
    void End();
    void Reset();

    // Initialises the stream over the given input when it is not initialised yet.
    bool Init(const std::uint8_t* data, int length, bool raw, c_String* error);

    // Inflates the unread bytes of input, appends to output and consumes from input what zlib took.
    bool Inflate(c_ByteBuffer& input, c_ByteBuffer& output, c_String* error);
    // The same, leaving input unchanged and storing the bytes taken through consumed.
    bool Inflate(const c_ByteBuffer& input, int* consumed, c_ByteBuffer& output, c_String* error);
    bool Inflate(const std::uint8_t* data, int length, c_ByteBuffer& output, c_String* error);
    // raw chooses raw deflate when this call initialises the stream.
    bool Inflate(const std::uint8_t* data, int length, int* consumed, c_ByteBuffer& output, c_String* error, bool raw);

    // Reads one compressed block (see above) into output, which is emptied first. The stream is not
    // reset afterwards: a second block needs Reset first.
    bool DecompressBlock(const std::uint8_t* data, std::uint32_t length, c_ByteBuffer& output, c_String* error);

    // The most bytes the stream may inflate between initialisation and End or Reset. The default is
    // the largest size a byte buffer holds. It survives Reset.
    void SetMaxOutputSize(std::uint32_t size) { m_MaxOutputSize = size; }
    std::uint32_t GetMaxOutputSize() const { return m_MaxOutputSize; }

    bool IsInitialized() const { return m_IsInitialized; }
    bool HasError() const { return m_HasError; }
    // The stream's end has been inflated: later bytes are not part of it.
    bool IsAtStreamEnd() const { return m_IsAtStreamEnd; }

private:
    bool InitStream(const std::uint8_t* data, std::uint32_t length, bool raw, c_String* error);
    // The inflate loop shared by every form; consumed receives the bytes zlib took.
    bool InflateLoop(const std::uint8_t* data, std::uint32_t length, bool raw, std::uint32_t& consumed,
                     c_ByteBuffer& output, c_String* error);

    z_stream m_Stream;
    bool m_IsInitialized = false;
    bool m_HasError = false;
    bool m_IsAtStreamEnd = false;
    std::uint32_t m_MaxOutputSize = c_ByteBuffer::MAX_SIZE;
    // Bytes inflated since the stream was initialised.
    std::uint64_t m_InflatedSize = 0;
};

// Compresses the whole input to one zlib stream (RFC 1950) at the default level. The output is
// emptied and its storage released first. A negative length counts as none.
bool CompressWithZlib(c_ByteBuffer& output, const std::uint8_t* data, int length, c_String* error);

// Gives the buffer room for length bytes and one inflate step, leaving it empty.
void PrepareOutputBuffer(c_ByteBuffer& buffer, int length);
