// c_HTTPBodyDecoder: the inflate calls, the raw-deflate choice and the end checks.

#include "protocols/http/internal/c_HTTPBodyDecoder.h"

namespace {

constexpr const char* DECODE_TEXT = "Response body could not be decoded.  ";
constexpr const char* BODY_LIMIT_TEXT = "Response body is larger than the limit.";
constexpr const char* CUT_SHORT_TEXT = "The compressed data ended before the end of its stream.";
constexpr const char* TRAILING_TEXT = "Data followed the end of the compressed stream.";

bool Fail(c_String* error, const c_StringView& text) {
    *error = Concat({DECODE_TEXT, text});
    return false;
}

// RFC 1950: deflate method, a window of at most 32 KiB, and a check that makes the pair a multiple of 31.
bool IsZlibHeader(std::uint8_t first, std::uint8_t second) {
    return (first & 0x0F) == 8 && (first >> 4) <= 7 && (first * 256 + second) % 31 == 0;
}

bool IsGzipHeader(std::uint8_t first, std::uint8_t second) {
    return first == 0x1F && second == 0x8B;
}

} // namespace

void c_HTTPBodyDecoder::Start(n_HTTPFraming::e_BodyCoding coding, std::uint32_t maxOutputSize) {
    Reset();
    m_Coding = coding;
    m_Inflater.SetMaxOutputSize(maxOutputSize);
}

void c_HTTPBodyDecoder::Reset() {
    m_Coding = n_HTTPFraming::CODING_NONE;
    m_HasInput = false;
    m_CompressedInput.Clear(true);
    m_Inflater.Reset();
}

bool c_HTTPBodyDecoder::Append(const std::uint8_t* data, std::uint32_t length, c_ByteBuffer& body, c_String* error) {
    if (length == 0) {
        return true;
    }
    if (m_Inflater.IsAtStreamEnd()) {
        return Fail(error, TRAILING_TEXT);
    }
    m_HasInput = true;
    m_CompressedInput.Append(data, length);
    // The raw-deflate choice needs the first two bytes.
    if (!m_Inflater.IsInitialized() && m_Coding == n_HTTPFraming::CODING_DEFLATE && m_CompressedInput.GetSize() < 2) {
        return true;
    }
    return Inflate(body, error);
}

bool c_HTTPBodyDecoder::Finish(c_ByteBuffer& body, c_String* error) {
    if (!m_HasInput) {
        return true;
    }
    if (!m_Inflater.IsAtStreamEnd() && !m_CompressedInput.IsEmpty() && !Inflate(body, error)) {
        return false;
    }
    return m_Inflater.IsAtStreamEnd() || Fail(error, CUT_SHORT_TEXT);
}

bool c_HTTPBodyDecoder::Inflate(c_ByteBuffer& body, c_String* error) {
    c_String zlibText;
    if (!m_Inflater.Init(nullptr, 0, IsRawDeflate(), &zlibText) ||
        !m_Inflater.Inflate(m_CompressedInput, body, &zlibText)) {
        if (m_Inflater.HasError() && body.GetSize() >= m_Inflater.GetMaxOutputSize()) {
            *error = BODY_LIMIT_TEXT;
            return false;
        }
        return Fail(error, zlibText);
    }
    if (m_Inflater.IsAtStreamEnd() && !m_CompressedInput.IsEmpty()) {
        return Fail(error, TRAILING_TEXT);
    }
    return true;
}

bool c_HTTPBodyDecoder::IsRawDeflate() const {
    const std::uint8_t* bytes = m_CompressedInput.GetData();
    return m_Coding == n_HTTPFraming::CODING_DEFLATE && m_CompressedInput.GetSize() >= 2 &&
           !IsZlibHeader(bytes[0], bytes[1]) && !IsGzipHeader(bytes[0], bytes[1]);
}
