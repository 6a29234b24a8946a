#pragma once
// c_ZlibDecompressor2: a stream reader that pulls a zlib or gzip stream from another reader and hands
// out the inflated bytes.
//
// Read inflates on demand: when fewer bytes than asked are ready and the stream has not ended, it
// fills its output buffer to at least 256 KiB (at most 16 MiB) from the source, which it reads 256 KiB
// at a time. A source that has nothing yet but is not at its end is waited for: Read hands out what
// is ready, possibly nothing. The stream ends at zlib's end of stream, or at the first error; a source
// that ends before the stream does gives "No progress is possible.". Bytes after the end of the zlib
// stream stay with the reader, and Reset starts a new stream on them.

#include "network/c_StreamReader.h"
#include "strings/c_String.h"
#include "textutil/c_ByteBuffer.h"

#include <zlib.h>

#include <cstdint>

class c_ZlibDecompressor2 : public c_StreamReader {
public:
    // How much is asked of the source at a time, and the least that a fill aims for.
    static constexpr std::uint32_t STEP = 262144;
    // The most that one fill aims for, so that a huge read cannot ask for a huge buffer.
    static constexpr std::uint32_t MAX_FILL = 16u << 20;

    // The source is not owned and must outlive the reader.
    explicit c_ZlibDecompressor2(c_StreamReader* source);
    ~c_ZlibDecompressor2() override;
    c_ZlibDecompressor2(const c_ZlibDecompressor2&) = delete;
    c_ZlibDecompressor2& operator=(const c_ZlibDecompressor2&) = delete;

    // Up to n inflated bytes, valid until the next call; a read of 0 returns an empty span and only
    // consumes the bytes handed out before.
    s_ByteSpan Read(std::uint64_t n) override;
    // The stream has ended (or failed) and every inflated byte was handed out.
    bool IsAtEnd() const override { return m_SourceAtEnd && m_HandedOut >= m_Output.GetSize(); }
    // As IsAtEnd, and the last bytes handed out were consumed by a later read.
    bool IsDrained() const { return m_HandedOut == 0 && m_Output.IsEmpty() && m_SourceAtEnd; }
    int GetBufferedSize() const { return static_cast<int>(m_Output.GetSize()); }

    bool HasError() const { return m_HasError; }
    const c_String& GetErrorText() const { return m_ErrorText; }

    // Starts a new stream: initialises zlib when it is not yet, else clears the state and resets it.
    bool Reset();
    void ClearState();
    bool InitInflate();
    // Inflates until the output holds wanted bytes, the stream ends, fails or waits for its source.
    bool Fill(std::uint32_t wanted);

private:
    void SetError(const char* text);
    // The next piece of input from the source; false when the source has none yet.
    bool TakeSourceInput();

    c_StreamReader* m_p_Source;
    z_stream m_Stream;
    bool m_IsInitialized = false;
    bool m_HasError = false;
    c_String m_ErrorText;
    bool m_SourceAtEnd;
    c_ByteBuffer m_Output;
    std::uint64_t m_HandedOut = 0;
};
