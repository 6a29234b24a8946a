// c_ZlibDecompressor2: the pull loop over the source and its texts.

#include "network/c_ZlibDecompressor2.h"

#include "network/c_ZlibInflateStream.h"
#include "network/internal/ZlibTexts.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

c_ZlibDecompressor2::c_ZlibDecompressor2(c_StreamReader* source)
    : m_p_Source(source), m_SourceAtEnd(source == nullptr || source->IsAtEnd()) {
    std::memset(&m_Stream, 0, sizeof(m_Stream));
}

c_ZlibDecompressor2::~c_ZlibDecompressor2() {
    if (m_IsInitialized) {
        inflateEnd(&m_Stream);
    }
}

void c_ZlibDecompressor2::SetError(const char* text) {
    if (!m_HasError) {
        m_ErrorText = text;
    }
    m_HasError = true;
}

s_ByteSpan c_ZlibDecompressor2::Read(std::uint64_t n) {
    m_Output.Consume(static_cast<std::uint32_t>(m_HandedOut));
    m_HandedOut = 0;
    if (n == 0) {
        return {};
    }
    if (m_Output.GetSize() < n && !m_SourceAtEnd) {
        Fill(static_cast<std::uint32_t>(std::clamp<std::uint64_t>(n, STEP, MAX_FILL)));
    }
    m_HandedOut = std::min<std::uint64_t>(m_Output.GetSize(), n);
    return s_ByteSpan::FromPointer(m_Output.GetData(), m_HandedOut);
}

void c_ZlibDecompressor2::ClearState() {
    m_HasError = false;
    m_ErrorText.Clear();
    m_SourceAtEnd = false;
    m_Output.Clear(false);
    m_HandedOut = 0;
}

bool c_ZlibDecompressor2::Reset() {
    if (!m_IsInitialized) {
        return InitInflate();
    }
    ClearState();
    inflateReset(&m_Stream);
    return true;
}

bool c_ZlibDecompressor2::TakeSourceInput() {
    const s_ByteSpan input = m_p_Source->Read(STEP);
    if (input.m_Size > STEP || (input.m_p_Data == nullptr && input.m_Size != 0)) {
        std::abort();
    }
    if (input.m_Size == 0 && !m_p_Source->IsAtEnd()) {
        return false;
    }
    m_Stream.next_in = const_cast<Bytef*>(input.GetBytes());
    m_Stream.avail_in = static_cast<uInt>(input.m_Size);
    return true;
}

bool c_ZlibDecompressor2::InitInflate() {
    if (m_IsInitialized) {
        return true;
    }
    ClearState();
    std::memset(&m_Stream, 0, sizeof(m_Stream));
    if (m_p_Source != nullptr) {
        TakeSourceInput();
    }
    const int result = inflateInit2(&m_Stream, c_ZlibInflateStream::WINDOW_BITS_AUTO);
    if (result != Z_OK) {
        SetError(n_ZlibTexts::InflateInitText(result));
        m_SourceAtEnd = true;
        return false;
    }
    m_IsInitialized = true;
    return true;
}

bool c_ZlibDecompressor2::Fill(std::uint32_t wanted) {
    if (m_HasError || m_p_Source == nullptr || (!m_IsInitialized && !InitInflate())) {
        return false;
    }
    while (!m_HasError && m_Output.GetSize() < wanted) {
        if (m_Stream.avail_in == 0 && !TakeSourceInput()) {
            return true;
        }
        const std::uint32_t before = m_Output.GetSize();
        if (!m_Output.SetSize(wanted)) {
            SetError("Failed to expand the output buffer.  Out of memory.");
            break;
        }
        m_Stream.next_out = m_Output.GetData() + before;
        m_Stream.avail_out = wanted - before;
        const int result = inflate(&m_Stream, Z_NO_FLUSH);
        if (const char* text = n_ZlibTexts::InflateErrorText(result); text != nullptr) {
            SetError(text);
            n_ZlibTexts::AppendZlibMessage(&m_ErrorText, m_Stream);
        }
        m_Output.SetSize(wanted - m_Stream.avail_out);
        if (result == Z_STREAM_END) {
            m_SourceAtEnd = true;
            break;
        }
    }
    if (m_HasError) {
        m_SourceAtEnd = true;
    }
    return !m_HasError;
}
