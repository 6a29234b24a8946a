#pragma once
// CompressedBlocks: the receive side of a compressing socket's stream, which the data-compression
// thread writes as a run of blocks:
//
//   stream       = *block
//   block        = total uncompressed data
//   total        = the whole block, this header included: unsigned 32-bit little-endian, at least 8
//   uncompressed = the length of the data once decompressed: unsigned 32-bit little-endian, at most 16 MiB
//   data         = total - 8 bytes: one LZ4 block (mode 1), or the stream compressor's blocks with
//                  their 16-bit lengths (mode 2), decoded with the history of the blocks before
//
// The peer's words are checked before anything is spent on them: a total below the header, an
// uncompressed length above 16 MiB or above what LZ4 can make of the data, or data longer than the
// stream form of 16 MiB can take, is invalid at once, before the block's bytes have arrived. A block
// that does not decode to exactly its uncompressed length is invalid too, never skipped: the
// stream's bytes would be lost.

#include "network/LZ4Streams.h"
#include "textutil/c_ByteBuffer.h"

#include <cstdint>

constexpr std::uint32_t COMPRESSED_BLOCK_HEADER_SIZE = 8;
constexpr std::uint32_t COMPRESSED_BLOCK_MAX_UNCOMPRESSED = 16777216;
constexpr std::int32_t RECEIVE_DECOMPRESSION_BLOCKS = 1;
constexpr std::int32_t RECEIVE_DECOMPRESSION_STREAM = 2;

enum class e_CompressedBlocksResult {
    // Every whole block decoded; a partial one waits in the input.
    DECODED,
    // A block broke the rules above, or the mode is unknown; the stream cannot go on.
    INVALID,
    // The output could not grow; the blocks before that one are decoded and consumed.
    OUT_OF_MEMORY,
};

// Decodes the whole blocks at the front of compressed, appending their data to output and consuming
// them; the block that fails and the rest stay in compressed. Mode 2 decodes through stream, which
// must then be given; mode 1 ignores it.
e_CompressedBlocksResult DecodeCompressedBlocks(c_ByteBuffer& compressed, c_ByteBuffer& output, std::int32_t mode,
                                                c_LZ4StreamDecompressor* stream);
