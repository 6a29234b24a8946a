#pragma once
// c_ZlibCompressor2: a stream writer that deflates what is written to it and passes the zlib stream
// (RFC 1950) on to another writer.
//
// Small writes gather in a 256 KiB input buffer; a write that would overflow it deflates the buffer
// first, and a write larger than the buffer goes to deflate directly. Finish (or the destructor) ends
// the zlib stream; a later write starts a new one. A compressor that was never written to writes
// nothing at all. The first error is final: later writes do nothing, and the text stays.

#include "network/c_StreamWriter.h"
#include "strings/c_String.h"
#include "textutil/c_ByteBuffer.h"

#include <zlib.h>

#include <cstdint>

class c_ZlibCompressor2 : public c_StreamWriter {
public:
    // The input buffer's size and deflate's output window.
    static constexpr std::uint32_t BUFFER_SIZE = 262144;

    // The target is not owned and must outlive the compressor, whose destructor still writes.
    explicit c_ZlibCompressor2(c_StreamWriter* target);
    ~c_ZlibCompressor2() override;
    c_ZlibCompressor2(const c_ZlibCompressor2&) = delete;
    c_ZlibCompressor2& operator=(const c_ZlibCompressor2&) = delete;

    void Write(s_ByteSpan data) override;
    // Deflates the buffered input; finish ends the zlib stream.
    void Flush(bool finish);
    void Finish() { Flush(true); }

    // Clamps the level to 0..9, keeps it for the next stream and returns it.
    int SetCompressionLevel(int level);

    bool HasError() const { return m_HasError; }
    const c_String& GetErrorText() const { return m_ErrorText; }
    // Bytes written and not yet deflated.
    std::uint32_t GetBufferedSize() const { return m_Input.GetSize(); }

    // Starts a zlib stream over the given input unless one is running.
    bool InitDeflate(const std::uint8_t* data, int length);
    void Deflate(const std::uint8_t* data, int length, bool finish);

private:
    void SetError(const char* text);

    c_StreamWriter* m_p_Target;
    c_ByteBuffer m_Input;
    c_ByteBuffer m_Output;
    z_stream m_Stream;
    bool m_IsInitialized = false;
    bool m_HasError = false;
    c_String m_ErrorText;
    int m_CompressionLevel = Z_DEFAULT_COMPRESSION;
};
