// CompressedBlocks: decoding of a compressing socket's blocks.

#include "network/CompressedBlocks.h"

namespace {

// LZ4 makes at most about 255 bytes of one, and the stream form 1024 of three; more is a lie that
// would only cost memory.
constexpr std::uint64_t MAX_EXPANSION = 512;
constexpr std::uint64_t EXPANSION_SLACK = 1024;
// Room beyond the announced length, so that a block that decodes longer is seen, not cut.
constexpr std::uint32_t DECODE_SLACK = 1024;

std::uint32_t ReadLittleEndian32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// The stream form's bound, larger than a one-shot block's, serves both forms.
std::uint32_t GetMaxDataLength() {
    static const auto MAX_DATA = static_cast<std::uint32_t>(
        c_LZ4StreamCompressor::GetStreamCompressBound(static_cast<int>(COMPRESSED_BLOCK_MAX_UNCOMPRESSED)));
    return MAX_DATA;
}

bool IsValidHeader(std::uint32_t total, std::uint32_t uncompressed) {
    if (total < COMPRESSED_BLOCK_HEADER_SIZE || uncompressed > COMPRESSED_BLOCK_MAX_UNCOMPRESSED) {
        return false;
    }
    const std::uint32_t length = total - COMPRESSED_BLOCK_HEADER_SIZE;
    return length <= GetMaxDataLength() && uncompressed <= length * MAX_EXPANSION + EXPANSION_SLACK;
}

// The decoded length, or -1 when the data does not decode whole.
int DecodeData(const std::uint8_t* data, int length, std::uint8_t* target, int capacity, std::int32_t mode,
               c_LZ4StreamDecompressor* stream) {
    if (mode == RECEIVE_DECOMPRESSION_BLOCKS) {
        return LZ4DecompressSafe(data, length, target, capacity);
    }
    if (mode != RECEIVE_DECOMPRESSION_STREAM || stream == nullptr) {
        return -1;
    }
    int consumed = 0;
    const int written = stream->Decompress(data, length, target, capacity, &consumed);
    const bool whole = !stream->HasFailed() && consumed == length && stream->GetPendingSize() == 0;
    return whole ? written : -1;
}

e_CompressedBlocksResult DecodeBlock(const std::uint8_t* data, std::uint32_t length, std::uint32_t uncompressed,
                                     c_ByteBuffer& output, std::int32_t mode, c_LZ4StreamDecompressor* stream) {
    const std::uint32_t oldSize = output.GetSize();
    const std::uint32_t capacity = uncompressed + DECODE_SLACK;
    if (capacity > c_ByteBuffer::MAX_SIZE - oldSize || !output.SetSize(oldSize + capacity)) {
        return e_CompressedBlocksResult::OUT_OF_MEMORY;
    }
    const int decoded = DecodeData(data, static_cast<int>(length), output.GetData() + oldSize,
                                   static_cast<int>(capacity), mode, stream);
    if (decoded < 0 || static_cast<std::uint32_t>(decoded) != uncompressed) {
        output.SetSize(oldSize);
        return e_CompressedBlocksResult::INVALID;
    }
    output.SetSize(oldSize + uncompressed);
    return e_CompressedBlocksResult::DECODED;
}

} // namespace

e_CompressedBlocksResult DecodeCompressedBlocks(c_ByteBuffer& compressed, c_ByteBuffer& output, std::int32_t mode,
                                                c_LZ4StreamDecompressor* stream) {
    // Consumed once at the end: the data pointer stays valid while blocks are decoded.
    std::uint32_t offset = 0;
    e_CompressedBlocksResult result = e_CompressedBlocksResult::DECODED;
    while (result == e_CompressedBlocksResult::DECODED &&
           compressed.GetSize() - offset >= COMPRESSED_BLOCK_HEADER_SIZE) {
        const std::uint8_t* block = compressed.GetData() + offset;
        const std::uint32_t total = ReadLittleEndian32(block);
        const std::uint32_t uncompressed = ReadLittleEndian32(block + 4);
        if (!IsValidHeader(total, uncompressed)) {
            result = e_CompressedBlocksResult::INVALID;
        } else if (total > compressed.GetSize() - offset) {
            break;
        } else {
            result = DecodeBlock(block + COMPRESSED_BLOCK_HEADER_SIZE, total - COMPRESSED_BLOCK_HEADER_SIZE,
                                 uncompressed, output, mode, stream);
            offset += result == e_CompressedBlocksResult::DECODED ? total : 0;
        }
    }
    compressed.Consume(offset);
    return result;
}
