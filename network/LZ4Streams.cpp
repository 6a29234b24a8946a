// LZ4Streams: the block framing, the rings and the one-shot helpers.

#include "network/LZ4Streams.h"

#include "strings/Memory.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace {

constexpr int LENGTH_FIELD_SIZE = 2;

const char* Chars(const std::uint8_t* bytes) {
    return reinterpret_cast<const char*>(bytes);
}

char* Chars(std::uint8_t* bytes) {
    return reinterpret_cast<char*>(bytes);
}

void WriteLength(std::uint8_t* destination, int length) {
    destination[0] = static_cast<std::uint8_t>(length);
    destination[1] = static_cast<std::uint8_t>(length >> 8);
}

// The worst case of one framed block of k bytes.
int FramedBound(int k) {
    return LENGTH_FIELD_SIZE + LZ4_COMPRESSBOUND(k);
}

} // namespace

int LZ4CompressBound(int n) {
    return LZ4_COMPRESSBOUND(n);
}

// ---- c_LZ4StreamCompressor

c_LZ4StreamCompressor::c_LZ4StreamCompressor() {
    if (void* state = n_Memory::Allocate(sizeof(LZ4_stream_t)); state != nullptr) {
        m_p_Stream = LZ4_initStream(state, sizeof(LZ4_stream_t));
    }
    if (!m_Ring.SetSize(RING_SIZE)) {
        m_Ring.Clear(true);
    }
}

c_LZ4StreamCompressor::~c_LZ4StreamCompressor() {
    n_Memory::Free(m_p_Stream);
}

int c_LZ4StreamCompressor::GetStreamCompressBound(int sourceLength) {
    if (sourceLength <= 0) {
        return 0;
    }
    const std::int64_t chunks = sourceLength / CHUNK_SIZE;
    const int rest = sourceLength % CHUNK_SIZE;
    const std::int64_t bound = chunks * FramedBound(CHUNK_SIZE) + (rest > 0 ? FramedBound(rest) : 0);
    return bound > INT_MAX ? 0 : static_cast<int>(bound);
}

int c_LZ4StreamCompressor::Compress(const std::uint8_t* source, int sourceLength, std::uint8_t* destination,
                                    int destinationCapacity) {
    if (sourceLength <= 0) {
        return 0;
    }
    // A refusal here touches neither the history nor the destination, so the caller may retry with
    // a larger destination.
    const int bound = GetStreamCompressBound(sourceLength);
    if (m_HasFailed || m_p_Stream == nullptr || m_Ring.GetSize() != RING_SIZE || source == nullptr ||
        destination == nullptr || bound == 0 || destinationCapacity < bound) {
        return LZ4_STREAM_FAILED;
    }
    std::uint8_t* const ring = m_Ring.GetData();
    int written = 0;
    while (sourceLength > 0) {
        if (RING_SIZE < m_RingPosition + m_ChunkSize) {
            m_RingPosition = 0;
        }
        const int k = std::min(sourceLength, m_ChunkSize);
        std::uint8_t* const chunk = ring + m_RingPosition;
        std::memcpy(chunk, source, static_cast<std::size_t>(k));
        const int c = LZ4_compress_fast_continue(m_p_Stream, Chars(chunk), Chars(destination + LENGTH_FIELD_SIZE), k,
                                                 LZ4_COMPRESSBOUND(k), 1);
        if (c <= 0) {
            // Cannot happen with room for the worst case; if it does, the history is lost.
            m_HasFailed = true;
            return LZ4_STREAM_FAILED;
        }
        m_RingPosition += static_cast<std::uint64_t>(k);
        WriteLength(destination, c);
        destination += c + LENGTH_FIELD_SIZE;
        source += k;
        written += c + LENGTH_FIELD_SIZE;
        sourceLength -= k;
    }
    return written;
}

// ---- c_LZ4StreamDecompressor

c_LZ4StreamDecompressor::c_LZ4StreamDecompressor() {
    if (void* state = n_Memory::Allocate(sizeof(LZ4_streamDecode_t)); state != nullptr) {
        std::memset(state, 0, sizeof(LZ4_streamDecode_t));
        m_p_Stream = static_cast<LZ4_streamDecode_t*>(state);
    }
    try {
        m_Ring.assign(c_LZ4StreamCompressor::RING_SIZE, 0);
    } catch (const std::bad_alloc&) {
        m_Ring.clear();
    }
}

c_LZ4StreamDecompressor::~c_LZ4StreamDecompressor() {
    n_Memory::Free(m_p_Stream);
}

std::uint16_t c_LZ4StreamDecompressor::ReadUInt16(const std::uint8_t** cursor, int* remaining) {
    if (*remaining < 2) {
        return 0;
    }
    const std::uint16_t value = static_cast<std::uint16_t>((*cursor)[0] | (*cursor)[1] << 8);
    *cursor += 2;
    *remaining -= 2;
    return value;
}

bool c_LZ4StreamDecompressor::SkipBytes(const std::uint8_t** cursor, int* remaining, int n) {
    if (*remaining < n) {
        return false;
    }
    *cursor += n;
    *remaining -= n;
    return true;
}

int c_LZ4StreamDecompressor::Decompress(const std::uint8_t* source, int sourceLength, std::uint8_t* destination,
                                        int destinationCapacity, int* consumed) {
    if (consumed != nullptr) {
        *consumed = 0;
    }
    if (source == nullptr || destination == nullptr || m_p_Stream == nullptr || m_Ring.empty()) {
        return 0;
    }
    int written = 0;
    // Bytes of the last block that did not fit the last call's destination come first.
    if (m_PendingSize > 0) {
        const int n = std::min(m_PendingSize, destinationCapacity < 0 ? 0 : destinationCapacity);
        std::memcpy(destination, m_Ring.data() + m_PendingOffset, static_cast<std::size_t>(n));
        m_PendingOffset += static_cast<std::uint64_t>(n);
        m_PendingSize -= n;
        destination += n;
        destinationCapacity -= n;
        written += n;
        if (m_PendingSize > 0) {
            return written;
        }
    }
    const std::uint8_t* cursor = source;
    int remaining = sourceLength;
    while (!m_HasFailed && remaining > 0 && destinationCapacity > 0) {
        const std::uint8_t* block = cursor;
        int left = remaining;
        if (left < LENGTH_FIELD_SIZE) {
            break;
        }
        const int length = ReadUInt16(&block, &left);
        if (length > left) {
            break;
        }
        if (length > 0) {
            if (m_Ring.size() < m_RingPosition + m_ChunkSize) {
                m_RingPosition = 0;
            }
            std::uint8_t* const target = m_Ring.data() + m_RingPosition;
            const int c = LZ4_decompress_safe_continue(m_p_Stream, Chars(block), Chars(target), length, m_ChunkSize);
            if (c <= 0) {
                m_HasFailed = true;
                break;
            }
            const int n = std::min(c, destinationCapacity);
            std::memcpy(destination, target, static_cast<std::size_t>(n));
            m_PendingOffset = m_RingPosition + static_cast<std::uint64_t>(n);
            m_PendingSize = c - n;
            m_RingPosition += static_cast<std::uint64_t>(c);
            destination += n;
            destinationCapacity -= n;
            written += n;
        }
        SkipBytes(&block, &left, length);
        cursor = block;
        remaining = left;
        if (consumed != nullptr) {
            *consumed = static_cast<int>(cursor - source);
        }
    }
    return written;
}

// ---- c_LZ4HCStreamCompressor

c_LZ4HCStreamCompressor::c_LZ4HCStreamCompressor(int chunkSize, int ringSize) {
    m_ChunkSize = std::min(chunkSize, MAX_CHUNK_SIZE);
    // A ring smaller than a chunk would take the chunk past its end.
    if (m_ChunkSize <= 0 || ringSize < m_ChunkSize || !m_Ring.SetSize(static_cast<std::uint32_t>(ringSize))) {
        m_Ring.Clear(true);
        return;
    }
    if (void* state = n_Memory::Allocate(sizeof(LZ4_streamHC_t)); state != nullptr) {
        m_p_Stream = LZ4_initStreamHC(state, sizeof(LZ4_streamHC_t));
    }
}

c_LZ4HCStreamCompressor::~c_LZ4HCStreamCompressor() {
    n_Memory::Free(m_p_Stream);
}

int c_LZ4HCStreamCompressor::Compress(const std::uint8_t* source, int sourceLength, std::uint8_t* destination,
                                      int destinationCapacity, int* consumed) {
    if (consumed != nullptr) {
        *consumed = 0;
    }
    if (!IsUsable()) {
        return LZ4_STREAM_FAILED;
    }
    if (source == nullptr || destination == nullptr || sourceLength <= 0) {
        return 0;
    }
    const std::uint64_t ringSize = m_Ring.GetSize();
    std::uint8_t* const ring = m_Ring.GetData();
    int written = 0;
    int taken = 0;
    while (taken < sourceLength) {
        const int k = std::min(sourceLength - taken, m_ChunkSize);
        // Stopping before a chunk that might not fit keeps the history valid for the next call.
        if (destinationCapacity - written < FramedBound(k)) {
            break;
        }
        if (m_RingPosition + m_ChunkSize >= ringSize) {
            m_RingPosition = 0;
        }
        std::uint8_t* const chunk = ring + m_RingPosition;
        std::memcpy(chunk, source + taken, static_cast<std::size_t>(k));
        const int c = LZ4_compress_HC_continue(
            m_p_Stream, Chars(chunk), Chars(destination + written + LENGTH_FIELD_SIZE), k, LZ4_COMPRESSBOUND(k));
        if (c <= 0) {
            m_HasFailed = true;
            break;
        }
        m_RingPosition += static_cast<std::uint64_t>(k);
        WriteLength(destination + written, c);
        written += c + LENGTH_FIELD_SIZE;
        taken += k;
    }
    if (consumed != nullptr) {
        *consumed = taken;
    }
    return written;
}

// ---- c_LZ4BlockCompressor

c_LZ4BlockCompressor::c_LZ4BlockCompressor(int chunkSize)
    : m_ChunkSize(std::min(chunkSize, c_LZ4HCStreamCompressor::MAX_CHUNK_SIZE)) {
    if (m_ChunkSize <= 0) {
        return;
    }
    if (void* state = n_Memory::Allocate(sizeof(LZ4_stream_t)); state != nullptr) {
        m_p_Stream = LZ4_initStream(state, sizeof(LZ4_stream_t));
    }
}

c_LZ4BlockCompressor::~c_LZ4BlockCompressor() {
    n_Memory::Free(m_p_Stream);
}

int c_LZ4BlockCompressor::Compress(const c_ByteBuffer& source, std::uint8_t* destination, int destinationCapacity,
                                   int* consumed, int acceleration) {
    if (consumed != nullptr) {
        *consumed = 0;
    }
    if (m_p_Stream == nullptr) {
        return LZ4_STREAM_FAILED;
    }
    // Every call is a fresh stream over the source, which stays in place for the whole call.
    LZ4_initStream(m_p_Stream, sizeof(LZ4_stream_t));
    const int length = source.GetSize() > INT_MAX ? INT_MAX : static_cast<int>(source.GetSize());
    const std::uint8_t* const data = source.GetData();
    int written = 0;
    int taken = 0;
    while (taken < length) {
        const int room = destinationCapacity - written - LENGTH_FIELD_SIZE;
        if (room <= 0) {
            break;
        }
        const int k = std::min(length - taken, m_ChunkSize);
        const int c = LZ4_compress_fast_continue(m_p_Stream, Chars(data + taken),
                                                 Chars(destination + written + LENGTH_FIELD_SIZE), k,
                                                 std::min(room, LZ4_COMPRESSBOUND(k)), acceleration);
        if (c <= 0) {
            break;
        }
        WriteLength(destination + written, c);
        written += c + LENGTH_FIELD_SIZE;
        taken += k;
    }
    if (consumed != nullptr) {
        *consumed = taken;
    }
    return written;
}

// ---- one-shot helpers

int CompressLZ4(const c_ByteBuffer& source, c_ByteBuffer& destination, int acceleration) {
    const int size = source.GetSize() > INT_MAX ? INT_MAX : static_cast<int>(source.GetSize());
    const int bound = LZ4CompressBound(size);
    if (!destination.SetSize(static_cast<std::uint32_t>(bound))) {
        return 0;
    }
    const int result =
        LZ4_compress_fast(Chars(source.GetData()), Chars(destination.GetData()), size, bound, acceleration);
    destination.SetSize(static_cast<std::uint32_t>(std::max(result, 0)));
    return result;
}

int CompressLZ4(const std::vector<std::uint8_t>& source, std::vector<std::uint8_t>& destination, int acceleration) {
    const int size = source.size() > INT_MAX ? INT_MAX : static_cast<int>(source.size());
    const int bound = LZ4CompressBound(size);
    try {
        destination.resize(static_cast<std::size_t>(bound));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    const int result = LZ4_compress_fast(Chars(source.data()), Chars(destination.data()), size, bound, acceleration);
    destination.resize(static_cast<std::size_t>(std::max(result, 0)));
    return result;
}

int LZ4CompressFast(const std::uint8_t* source, int sourceLength, std::uint8_t* destination, int destinationCapacity,
                    int acceleration) {
    return LZ4_compress_fast(Chars(source), Chars(destination), sourceLength, destinationCapacity, acceleration);
}

int LZ4DecompressSafe(const std::uint8_t* source, int sourceLength, std::uint8_t* destination,
                      int destinationCapacity) {
    return LZ4_decompress_safe(Chars(source), Chars(destination), sourceLength, destinationCapacity);
}
