#pragma once
// CompressedBlocks: the receive side of a compressing socket's stream, which the data-compression
// thread writes as a run of blocks:
//
//   block        = total uncompressed data
//   total        = the whole block, this header included: unsigned 32-bit little-endian, at least 8
//   uncompressed = the length of the data once decompressed: unsigned 32-bit little-endian
//   data         = total - 8 bytes: one LZ4 block (mode 1), or the stream compressor's blocks with
//                  their 16-bit lengths (mode 2), decoded with the history of the blocks before
//
// A block that does not decode to exactly its uncompressed length is an error, never skipped: the
// stream's bytes would be lost. A header whose uncompressed length is more than LZ4 can make of the
// data is refused before any memory is taken for it.

#include "network/LZ4Streams.h"
#include "textutil/c_ByteBuffer.h"

#include <cstdint>

constexpr int COMPRESSED_BLOCK_HEADER_SIZE = 8;
constexpr std::int32_t RECEIVE_DECOMPRESSION_BLOCKS = 1;
constexpr std::int32_t RECEIVE_DECOMPRESSION_STREAM = 2;

// Decodes the whole blocks at the front of compressed, appending their data to output and consuming
// them; an incomplete block stays for the next call. False on a malformed block or when output
// cannot grow: that block and the rest stay in compressed, and the stream cannot go on.
bool DecodeCompressedBlocks(c_ByteBuffer& compressed, c_ByteBuffer& output, std::int32_t mode,
                            c_LZ4StreamDecompressor& decompressor);
