// c_ZlibCompressor2: buffering, the deflate loop and its texts.

#include "network/c_ZlibCompressor2.h"

#include "network/internal/ZlibTexts.h"

#include <algorithm>
#include <cstring>

namespace {

// Writes larger than this reach deflate in pieces, because its counts are 32-bit.
constexpr std::uint64_t LARGEST_PIECE = 1u << 30;

} // namespace

c_ZlibCompressor2::c_ZlibCompressor2(c_StreamWriter* target) : m_p_Target(target) {
    std::memset(&m_Stream, 0, sizeof(m_Stream));
}

c_ZlibCompressor2::~c_ZlibCompressor2() {
    Flush(true);
    if (m_IsInitialized) {
        deflateEnd(&m_Stream);
    }
}

void c_ZlibCompressor2::SetError(const char* text) {
    if (!m_HasError) {
        m_ErrorText = text;
    }
    m_HasError = true;
}

void c_ZlibCompressor2::Write(s_ByteSpan data) {
    if (m_HasError) {
        return;
    }
    if (data.m_Size + m_Input.GetSize() > BUFFER_SIZE) {
        Flush(false);
    }
    if (data.m_Size <= BUFFER_SIZE) {
        if (!m_Input.Append(data)) {
            SetError("Failed to expand the input buffer.  Out of memory.");
        }
        return;
    }
    for (std::uint64_t offset = 0; offset < data.m_Size && !m_HasError; offset += LARGEST_PIECE) {
        const std::uint64_t piece = std::min(LARGEST_PIECE, data.m_Size - offset);
        Deflate(data.GetBytes() + offset, static_cast<int>(piece), false);
    }
}

void c_ZlibCompressor2::Flush(bool finish) {
    const std::uint32_t size = m_Input.GetSize();
    Deflate(m_Input.GetData(), static_cast<int>(size), finish);
    m_Input.Consume(size);
}

int c_ZlibCompressor2::SetCompressionLevel(int level) {
    m_CompressionLevel = std::clamp(level, 0, 9);
    return m_CompressionLevel;
}

bool c_ZlibCompressor2::InitDeflate(const std::uint8_t* data, int length) {
    if (m_IsInitialized) {
        return true;
    }
    std::memset(&m_Stream, 0, sizeof(m_Stream));
    m_Stream.next_in = const_cast<Bytef*>(data);
    m_Stream.avail_in = length < 0 ? 0 : static_cast<uInt>(length);
    const int result = deflateInit(&m_Stream, m_CompressionLevel);
    if (result != Z_OK) {
        SetError(n_ZlibTexts::DeflateInitText(result));
        return false;
    }
    if (m_Output.GetSize() != BUFFER_SIZE && !m_Output.SetSize(BUFFER_SIZE)) {
        SetError("Failed to allocate memory for the output buffer.");
        deflateEnd(&m_Stream);
        return false;
    }
    m_IsInitialized = true;
    return true;
}

void c_ZlibCompressor2::Deflate(const std::uint8_t* data, int length, bool finish) {
    if (m_HasError) {
        return;
    }
    if (m_IsInitialized) {
        m_Stream.next_in = const_cast<Bytef*>(data);
        m_Stream.avail_in = length < 0 ? 0 : static_cast<uInt>(length);
    } else {
        // A stream with no input produces no bytes at all, not even a header.
        if (finish && length <= 0) {
            return;
        }
        if (!InitDeflate(data, length)) {
            return;
        }
    }
    while (m_Stream.avail_in != 0 || finish) {
        m_Stream.next_out = m_Output.GetData();
        m_Stream.avail_out = BUFFER_SIZE;
        const int result = deflate(&m_Stream, finish ? Z_FINISH : Z_NO_FLUSH);
        if (result == Z_BUF_ERROR) {
            SetError("No progress is possible.");
        } else if (result == Z_STREAM_ERROR) {
            SetError("Internal error (the stream state was inconsistent).");
        } else if (result != Z_OK && result != Z_STREAM_END) {
            SetError(c_String::MakeFormatted("zlib deflate return an unexpected value (%d).", result).GetChars());
        }
        if (m_HasError) {
            n_ZlibTexts::AppendZlibMessage(&m_ErrorText, m_Stream);
        }
        const std::uint32_t produced = BUFFER_SIZE - m_Stream.avail_out;
        if (produced > 0 && m_p_Target != nullptr) {
            m_p_Target->Write(s_ByteSpan::FromPointer(m_Output.GetData(), produced));
        }
        if (finish && result == Z_STREAM_END) {
            deflateEnd(&m_Stream);
            m_IsInitialized = false;
            return;
        }
        if (m_HasError) {
            return;
        }
    }
}
