#pragma once
// LZ4ReceiveBlocks: the decoder of a buffered socket's compressed receive stream.
//
//   stream       = *block
//   block        = total uncompressed data
//   total        = the block's length in bytes, header included: unsigned 32-bit little-endian
//   uncompressed = the length of the decoded data: unsigned 32-bit little-endian
//   data         = total - 8 bytes: one LZ4 block (one-shot form), or LZ4 blocks framed as in
//                  network/LZ4Streams.h (stream form, with the history of the blocks before)
//
// The peer's words are checked before anything is spent on them: a total below the header, an
// uncompressed length above 16 MiB, or data longer than the stream form of 16 MiB can take, is
// invalid at once, before the block's bytes have arrived. A block that does not decode to exactly
// its uncompressed length is invalid too; nothing is dropped quietly.

#include "network/LZ4Streams.h"
#include "textutil/c_ByteBuffer.h"

#include <cstdint>

constexpr std::uint32_t LZ4_RECEIVE_BLOCK_HEADER_SIZE = 8;
constexpr std::uint32_t LZ4_RECEIVE_BLOCK_MAX_UNCOMPRESSED = 16777216;

enum class e_LZ4ReceiveResult {
    // Every whole block decoded; a partial one waits in the input.
    DECODED,
    // A block broke the rules above; the connection must end.
    INVALID,
    // The output could not grow; the blocks before the failed one are decoded and consumed.
    OUT_OF_MEMORY,
};

// Decodes the whole blocks at the front of input, appends their data to output and consumes them
// from input. stream null: the one-shot form; else the stream form through that decompressor.
e_LZ4ReceiveResult DecodeLZ4ReceiveBlocks(c_ByteBuffer& input, c_ByteBuffer& output, c_LZ4StreamDecompressor* stream);
