// CompressedBlocks: decoding of a compressing socket's blocks.

#include "network/CompressedBlocks.h"

namespace {

// LZ4 makes at most about 255 bytes of one, and the stream form 1024 of three; more is a lie that
// would only cost memory.
constexpr std::uint64_t MAX_EXPANSION = 512;
constexpr std::uint64_t EXPANSION_SLACK = 1024;

std::uint32_t ReadLittleEndian32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

bool DecodeBlock(const std::uint8_t* data, int length, std::uint8_t* target, int uncompressed, std::int32_t mode,
                 c_LZ4StreamDecompressor& decompressor) {
    if (mode == RECEIVE_DECOMPRESSION_STREAM) {
        int consumed = 0;
        const int written = decompressor.Decompress(data, length, target, uncompressed, &consumed);
        return !decompressor.HasFailed() && written == uncompressed && consumed == length &&
               decompressor.GetPendingSize() == 0;
    }
    return mode == RECEIVE_DECOMPRESSION_BLOCKS &&
           LZ4DecompressSafe(data, length, target, uncompressed) == uncompressed;
}

} // namespace

bool DecodeCompressedBlocks(c_ByteBuffer& compressed, c_ByteBuffer& output, std::int32_t mode,
                            c_LZ4StreamDecompressor& decompressor) {
    while (compressed.GetSize() >= COMPRESSED_BLOCK_HEADER_SIZE) {
        const std::uint8_t* header = compressed.GetData();
        const std::uint32_t total = ReadLittleEndian32(header);
        const std::uint32_t uncompressed = ReadLittleEndian32(header + 4);
        if (total < COMPRESSED_BLOCK_HEADER_SIZE) {
            return false;
        }
        if (total > compressed.GetSize()) {
            return true;
        }
        const std::uint32_t length = total - COMPRESSED_BLOCK_HEADER_SIZE;
        if (uncompressed > length * MAX_EXPANSION + EXPANSION_SLACK || uncompressed > 0x7FFFFFFFU - output.GetSize()) {
            return false;
        }
        const std::uint32_t oldSize = output.GetSize();
        if (!output.SetSize(oldSize + uncompressed)) {
            return false;
        }
        if (!DecodeBlock(header + COMPRESSED_BLOCK_HEADER_SIZE, static_cast<int>(length), output.GetData() + oldSize,
                         static_cast<int>(uncompressed), mode, decompressor)) {
            output.SetSize(oldSize);
            return false;
        }
        compressed.Consume(total);
    }
    return true;
}
