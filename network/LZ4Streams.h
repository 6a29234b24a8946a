#pragma once
// LZ4Streams: LZ4 compression of a socket's byte stream into small framed blocks, and back.
//
// The compressed stream is a run of blocks:
//
//   block  = length data
//   length = the size of data, unsigned 16-bit little-endian; 0 marks an empty block, skipped
//   data   = one LZ4 block, compressed with the history of the blocks before it
//
// The stream compressor cuts its input into 1024-byte chunks; the others take chunks of up to 64000
// bytes, whose worst case (64266 bytes) still fits the length field. Each streaming class keeps its
// recent input (compressor) or output (decompressor) in a ring, because LZ4's streaming calls need
// earlier data to stay in place. Before each block, when the ring cannot hold a whole chunk at the
// current position, the position goes back to 0; after it, the position moves on by the block's
// uncompressed size. The stream compressor and the stream decompressor use the same ring (64 KiB),
// the same chunk and the same rule, so the decoder's ring mirrors the encoder's (LZ4's synchronized
// ring mode): every block is decoded exactly once, in the order made, and neither side can be reset
// alone.
//
// The stream compressor never drops data: it compresses the whole input or nothing. Its output must
// have room for the worst case of every chunk (GetStreamCompressBound); with less, or after an LZ4
// failure, the call fails (-1) and the compressor stays failed, because its history would no longer
// match the peer's. The other compressors report how much input they took and stop before a chunk
// whose worst case no longer fits, so their history stays valid.

#include "textutil/c_ByteBuffer.h"

#include <lz4.h>
#include <lz4hc.h>

#include <cstdint>
#include <vector>

// The result of a stream compression that failed.
constexpr int LZ4_STREAM_FAILED = -1;

// The largest output of one LZ4 block of n bytes: n + n / 255 + 16, or 0 above LZ4's input limit.
int LZ4CompressBound(int n);

class c_LZ4StreamCompressor {
public:
    static constexpr int CHUNK_SIZE = 1024;
    static constexpr std::uint32_t RING_SIZE = 65536;

    c_LZ4StreamCompressor();
    ~c_LZ4StreamCompressor();
    c_LZ4StreamCompressor(const c_LZ4StreamCompressor&) = delete;
    c_LZ4StreamCompressor& operator=(const c_LZ4StreamCompressor&) = delete;

    // The output size that always holds the blocks of sourceLength bytes; 0 when the input is too
    // large for one call.
    static int GetStreamCompressBound(int sourceLength);

    // Compresses the whole source into blocks, continuing the history of earlier calls, and returns
    // the bytes written (0 for an empty source). LZ4_STREAM_FAILED when the destination is smaller
    // than GetStreamCompressBound(sourceLength), a pointer is null, the state could not be allocated
    // or the compressor failed before.
    int Compress(const std::uint8_t* source, int sourceLength, std::uint8_t* destination, int destinationCapacity);

    bool HasFailed() const { return m_HasFailed; }
    std::uint64_t GetRingPosition() const { return m_RingPosition; }

private:
    LZ4_stream_t* m_p_Stream = nullptr;
    int m_ChunkSize = CHUNK_SIZE;
    std::uint64_t m_RingPosition = 0;
    c_ByteBuffer m_Ring;
    bool m_HasFailed = false;
};

class c_LZ4StreamDecompressor {
public:
    c_LZ4StreamDecompressor();
    ~c_LZ4StreamDecompressor();
    c_LZ4StreamDecompressor(const c_LZ4StreamDecompressor&) = delete;
    c_LZ4StreamDecompressor& operator=(const c_LZ4StreamDecompressor&) = delete;

    // Decodes whole blocks into the destination and returns the bytes written. It stops, without an
    // error, at a remainder shorter than a length field, at a length that runs past the source and
    // when the destination is full. consumed (when given) receives the source bytes of the blocks
    // taken, so the caller can keep the rest for the next call. A block larger than the destination
    // space left is taken whole: what does not fit is kept and comes first in the next call, before
    // any new block. A block that does not decode ends the call and every later one, because the
    // history is lost.
    int Decompress(const std::uint8_t* source, int sourceLength, std::uint8_t* destination, int destinationCapacity,
                   int* consumed = nullptr);

    // The little-endian 16-bit value at the cursor, moving past it; 0 and no move with fewer than 2
    // bytes left.
    static std::uint16_t ReadUInt16(const std::uint8_t** cursor, int* remaining);
    // Moves past n bytes; false, without moving, when fewer remain.
    static bool SkipBytes(const std::uint8_t** cursor, int* remaining, int n);

    bool HasFailed() const { return m_HasFailed; }
    std::uint64_t GetRingPosition() const { return m_RingPosition; }
    // Decoded bytes waiting for the next call.
    int GetPendingSize() const { return m_PendingSize; }

private:
    LZ4_streamDecode_t* m_p_Stream = nullptr;
    int m_ChunkSize = c_LZ4StreamCompressor::CHUNK_SIZE;
    std::uint64_t m_RingPosition = 0;
    std::vector<std::uint8_t> m_Ring;
    std::uint64_t m_PendingOffset = 0;
    int m_PendingSize = 0;
    bool m_HasFailed = false;
};

// The high-compression stream form (LZ4HC level 9). Its ring wraps one chunk earlier than the fast
// form's: when position + chunk reaches the ring size. Its blocks decode with LZ4's streaming decoder
// over one flat buffer of all the output, or over a ring with the same rule.
class c_LZ4HCStreamCompressor {
public:
    static constexpr int MAX_CHUNK_SIZE = 64000;

    // The chunk is min(chunkSize, 64000). A chunk of 0 or less, or a ring smaller than the chunk, is
    // refused: every Compress fails.
    c_LZ4HCStreamCompressor(int chunkSize, int ringSize);
    ~c_LZ4HCStreamCompressor();
    c_LZ4HCStreamCompressor(const c_LZ4HCStreamCompressor&) = delete;
    c_LZ4HCStreamCompressor& operator=(const c_LZ4HCStreamCompressor&) = delete;

    // Compresses chunk after chunk while the worst case of the next one fits, continuing the history,
    // and returns the bytes written; consumed (when given) receives the source bytes taken. A refused
    // or failed compressor gives LZ4_STREAM_FAILED.
    int Compress(const std::uint8_t* source, int sourceLength, std::uint8_t* destination, int destinationCapacity,
                 int* consumed);

    bool IsUsable() const { return m_p_Stream != nullptr && !m_HasFailed; }
    std::uint64_t GetRingPosition() const { return m_RingPosition; }

private:
    LZ4_streamHC_t* m_p_Stream = nullptr;
    int m_ChunkSize = 0;
    std::uint64_t m_RingPosition = 0;
    c_ByteBuffer m_Ring;
    bool m_HasFailed = false;
};

// Blocks without history across calls: each call starts a fresh LZ4 stream over its source, which
// stays in place, so blocks refer back into the same call's earlier chunks.
class c_LZ4BlockCompressor {
public:
    explicit c_LZ4BlockCompressor(int chunkSize);
    ~c_LZ4BlockCompressor();
    c_LZ4BlockCompressor(const c_LZ4BlockCompressor&) = delete;
    c_LZ4BlockCompressor& operator=(const c_LZ4BlockCompressor&) = delete;

    // Compresses the source's bytes chunk by chunk until one does not fit; consumed (when given)
    // receives the source bytes taken. LZ4_STREAM_FAILED when the state is missing.
    int Compress(const c_ByteBuffer& source, std::uint8_t* destination, int destinationCapacity, int* consumed,
                 int acceleration);

private:
    LZ4_stream_t* m_p_Stream = nullptr;
    int m_ChunkSize = 0;
};

// One plain LZ4 block, no framing: the destination is sized to the bound, then to the result (0 when
// the result is negative). Returns LZ4's result.
int CompressLZ4(const c_ByteBuffer& source, c_ByteBuffer& destination, int acceleration);
int CompressLZ4(const std::vector<std::uint8_t>& source, std::vector<std::uint8_t>& destination, int acceleration);
int LZ4CompressFast(const std::uint8_t* source, int sourceLength, std::uint8_t* destination, int destinationCapacity,
                    int acceleration);
int LZ4DecompressSafe(const std::uint8_t* source, int sourceLength, std::uint8_t* destination, int destinationCapacity);
