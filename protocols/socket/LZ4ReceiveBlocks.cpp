// LZ4ReceiveBlocks: the decoder of a buffered socket's compressed receive stream.

#include "protocols/socket/LZ4ReceiveBlocks.h"

namespace {

// Room beyond the announced length, so that a block that decodes longer is seen, not cut.
constexpr std::uint32_t DECODE_SLACK = 1024;

std::uint32_t ReadUInt32LE(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// The stream form's bound, larger than a one-shot block's, serves both forms.
std::uint32_t GetMaxDataLength() {
    static const auto MAX_DATA = static_cast<std::uint32_t>(
        c_LZ4StreamCompressor::GetStreamCompressBound(static_cast<int>(LZ4_RECEIVE_BLOCK_MAX_UNCOMPRESSED)));
    return MAX_DATA;
}

e_LZ4ReceiveResult DecodeBlock(const std::uint8_t* data, std::uint32_t length, std::uint32_t uncompressed,
                               c_ByteBuffer& output, c_LZ4StreamDecompressor* stream) {
    const std::uint32_t oldSize = output.GetSize();
    const std::uint32_t capacity = uncompressed + DECODE_SLACK;
    if (!output.SetSize(oldSize + capacity)) {
        return e_LZ4ReceiveResult::OUT_OF_MEMORY;
    }
    std::uint8_t* target = output.GetData() + oldSize;
    const int dataLength = static_cast<int>(length);
    int consumed = dataLength;
    const int decoded = stream == nullptr
                            ? LZ4DecompressSafe(data, dataLength, target, static_cast<int>(capacity))
                            : stream->Decompress(data, dataLength, target, static_cast<int>(capacity), &consumed);
    if (decoded < 0 || static_cast<std::uint32_t>(decoded) != uncompressed || consumed != dataLength) {
        output.SetSize(oldSize);
        return e_LZ4ReceiveResult::INVALID;
    }
    output.SetSize(oldSize + uncompressed);
    return e_LZ4ReceiveResult::DECODED;
}

} // namespace

e_LZ4ReceiveResult DecodeLZ4ReceiveBlocks(c_ByteBuffer& input, c_ByteBuffer& output, c_LZ4StreamDecompressor* stream) {
    // Consumed once at the end: the data pointer stays valid while blocks are decoded.
    std::uint32_t offset = 0;
    e_LZ4ReceiveResult result = e_LZ4ReceiveResult::DECODED;
    while (input.GetSize() - offset >= LZ4_RECEIVE_BLOCK_HEADER_SIZE) {
        const std::uint8_t* block = input.GetData() + offset;
        const std::uint32_t total = ReadUInt32LE(block);
        const std::uint32_t uncompressed = ReadUInt32LE(block + 4);
        if (total < LZ4_RECEIVE_BLOCK_HEADER_SIZE || uncompressed > LZ4_RECEIVE_BLOCK_MAX_UNCOMPRESSED ||
            total - LZ4_RECEIVE_BLOCK_HEADER_SIZE > GetMaxDataLength()) {
            return e_LZ4ReceiveResult::INVALID;
        }
        if (total > input.GetSize() - offset) {
            break;
        }
        result = DecodeBlock(block + LZ4_RECEIVE_BLOCK_HEADER_SIZE, total - LZ4_RECEIVE_BLOCK_HEADER_SIZE, uncompressed,
                             output, stream);
        if (result != e_LZ4ReceiveResult::DECODED) {
            break;
        }
        offset += total;
    }
    input.Consume(offset);
    return result;
}
