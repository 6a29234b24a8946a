// c_ZlibInflateStream: the inflate loop, the compressed block and the one-shot deflate.

#include "network/c_ZlibInflateStream.h"

#include "network/internal/ZlibTexts.h"

#include <climits>
#include <cstring>

using n_ZlibTexts::AppendZlibMessage;
using n_ZlibTexts::SetText;

namespace {

constexpr const char* PREVIOUS_ERROR_TEXT = "Encountered a previous error.";
constexpr const char* OUTPUT_GROWTH_TEXT = "Failed to expand the output buffer.  Out of memory.";
constexpr const char* OUTPUT_LIMIT_TEXT = "The inflated data is larger than the output limit.";

std::uint32_t NonNegative(int length) {
    return length < 0 ? 0 : static_cast<std::uint32_t>(length);
}

std::uint32_t ReadLittleEndian32(const std::uint8_t* bytes) {
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
           std::uint32_t(bytes[3]) << 24;
}

} // namespace

c_ZlibInflateStream::c_ZlibInflateStream() {
    std::memset(&m_Stream, 0, sizeof(m_Stream));
}

void c_ZlibInflateStream::End() {
    if (m_IsInitialized) {
        inflateEnd(&m_Stream);
    }
    m_IsInitialized = false;
    m_HasError = false;
    m_IsAtStreamEnd = false;
    m_InflatedSize = 0;
}

void c_ZlibInflateStream::Reset() {
    End();
    std::memset(&m_Stream, 0, sizeof(m_Stream));
}

bool c_ZlibInflateStream::Init(const std::uint8_t* data, int length, bool raw, c_String* error) {
    return m_IsInitialized || InitStream(data, NonNegative(length), raw, error);
}

bool c_ZlibInflateStream::InitStream(const std::uint8_t* data, std::uint32_t length, bool raw, c_String* error) {
    std::memset(&m_Stream, 0, sizeof(m_Stream));
    m_Stream.next_in = const_cast<Bytef*>(data);
    m_Stream.avail_in = length;
    const int result = inflateInit2(&m_Stream, raw ? WINDOW_BITS_RAW : WINDOW_BITS_AUTO);
    if (result != Z_OK) {
        SetText(error, n_ZlibTexts::InflateInitText(result));
        return false;
    }
    m_IsInitialized = true;
    m_InflatedSize = 0;
    return true;
}

bool c_ZlibInflateStream::InflateLoop(const std::uint8_t* data, std::uint32_t length, bool raw, std::uint32_t& consumed,
                                      c_ByteBuffer& output, c_String* error) {
    consumed = 0;
    if (m_HasError) {
        SetText(error, PREVIOUS_ERROR_TEXT);
        return false;
    }
    if (!m_IsInitialized && !InitStream(data, length, raw, error)) {
        return false;
    }
    m_Stream.next_in = const_cast<Bytef*>(data);
    m_Stream.avail_in = length;

    int result = Z_OK;
    std::uint32_t produced = 0;
    do {
        const std::uint32_t size = output.GetSize();
        if (std::uint64_t(size) + OUTPUT_STEP > c_ByteBuffer::MAX_SIZE || !output.SetSize(size + OUTPUT_STEP)) {
            SetText(error, OUTPUT_GROWTH_TEXT);
            m_HasError = true;
            break;
        }
        // One byte past the limit is room enough to see that the data goes past it.
        const std::uint64_t allowed = std::uint64_t(m_MaxOutputSize) - m_InflatedSize;
        const std::uint32_t window = allowed < OUTPUT_STEP ? static_cast<std::uint32_t>(allowed) + 1 : OUTPUT_STEP;
        m_Stream.next_out = output.GetData() + size;
        m_Stream.avail_out = window;
        result = inflate(&m_Stream, Z_NO_FLUSH);
        produced = window - m_Stream.avail_out;
        // The bytes past the limit come before any error that zlib found further on in the data.
        if (produced > allowed) {
            produced = static_cast<std::uint32_t>(allowed);
            SetText(error, OUTPUT_LIMIT_TEXT);
            m_HasError = true;
        } else if (const char* text = n_ZlibTexts::InflateErrorText(result); text != nullptr && result != Z_BUF_ERROR) {
            SetText(error, text);
            AppendZlibMessage(error, m_Stream);
            m_HasError = true;
        }
        m_InflatedSize += produced;
        output.SetSize(size + produced);
    } while (!m_HasError && result != Z_STREAM_END && produced != 0);
    m_IsAtStreamEnd = !m_HasError && result == Z_STREAM_END;

    consumed = length - m_Stream.avail_in;
    return !m_HasError;
}

bool c_ZlibInflateStream::Inflate(c_ByteBuffer& input, c_ByteBuffer& output, c_String* error) {
    std::uint32_t consumed = 0;
    const bool inflated = InflateLoop(input.GetData(), input.GetSize(), false, consumed, output, error);
    input.Consume(consumed);
    return inflated;
}

bool c_ZlibInflateStream::Inflate(const c_ByteBuffer& input, int* consumed, c_ByteBuffer& output, c_String* error) {
    const std::uint32_t length = input.GetSize() > INT_MAX ? INT_MAX : input.GetSize();
    std::uint32_t taken = 0;
    const bool inflated = InflateLoop(input.GetData(), length, false, taken, output, error);
    if (consumed != nullptr) {
        *consumed = static_cast<int>(taken);
    }
    return inflated;
}

bool c_ZlibInflateStream::Inflate(const std::uint8_t* data, int length, c_ByteBuffer& output, c_String* error) {
    std::uint32_t taken = 0;
    return InflateLoop(data, NonNegative(length), false, taken, output, error);
}

bool c_ZlibInflateStream::Inflate(const std::uint8_t* data, int length, int* consumed, c_ByteBuffer& output,
                                  c_String* error, bool raw) {
    std::uint32_t taken = 0;
    const bool inflated = InflateLoop(data, NonNegative(length), raw, taken, output, error);
    if (consumed != nullptr) {
        *consumed = static_cast<int>(taken);
    }
    return inflated;
}

bool c_ZlibInflateStream::DecompressBlock(const std::uint8_t* data, std::uint32_t length, c_ByteBuffer& output,
                                          c_String* error) {
    if (length < 6) {
        SetText(error, "Not enough data");
        return false;
    }
    if (data[0] != 0) {
        SetText(error, "Unsupported data format");
        return false;
    }
    const std::uint32_t check = ReadLittleEndian32(data + length - 4);
    output.SetSize(0);
    std::uint32_t consumed = 0;
    if (!InflateLoop(data + 1, length - 5, true, consumed, output, error)) {
        return false;
    }
    const uLong adler = adler32(adler32(0, Z_NULL, 0), output.GetData(), output.GetSize());
    if (adler != check) {
        SetText(error, "Checksum failed");
        return false;
    }
    return true;
}

bool CompressWithZlib(c_ByteBuffer& output, const std::uint8_t* data, int length, c_String* error) {
    output.Clear(true);
    z_stream stream;
    std::memset(&stream, 0, sizeof(stream));
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = NonNegative(length);
    const int initResult = deflateInit(&stream, Z_DEFAULT_COMPRESSION);
    if (initResult != Z_OK) {
        SetText(error, n_ZlibTexts::DeflateInitText(initResult));
        return false;
    }
    const uLong bound = deflateBound(&stream, stream.avail_in);
    if (bound > c_ByteBuffer::MAX_SIZE || !output.SetSize(static_cast<std::uint32_t>(bound))) {
        SetText(error, "Failed to expand the output stream.  Out of memory.");
        deflateEnd(&stream);
        return false;
    }
    stream.next_out = output.GetData();
    stream.avail_out = static_cast<uInt>(bound);
    const int result = deflate(&stream, Z_FINISH);
    switch (result) {
        case Z_STREAM_END:
            break;
        case Z_BUF_ERROR:
            SetText(error, "No progress is possible.");
            break;
        case Z_STREAM_ERROR:
            SetText(error, "Internal error (the stream state was inconsistent).");
            break;
        default:
            SetText(error, "Failed to compress all of the data.");
            break;
    }
    output.SetSize(static_cast<std::uint32_t>(bound - stream.avail_out));
    deflateEnd(&stream);
    return result == Z_STREAM_END;
}

void PrepareOutputBuffer(c_ByteBuffer& buffer, int length) {
    const std::uint64_t size = std::uint64_t(NonNegative(length)) + c_ZlibInflateStream::OUTPUT_STEP;
    buffer.SetSize(size > c_ByteBuffer::MAX_SIZE ? c_ByteBuffer::MAX_SIZE : static_cast<std::uint32_t>(size));
    buffer.SetSize(0);
}
