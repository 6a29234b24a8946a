#pragma once
// c_StreamReader: the pull interface of a byte stream, with reads into the caller's memory and skips.
//
// Read hands out up to n bytes as a span that stays valid until the next call on the reader; it never
// hands out more than asked. A short or empty read is no end: IsAtEnd says when the stream is over.

#include "strings/s_ByteSpan.h"

#include <cstdint>

class c_StreamReader {
public:
    virtual ~c_StreamReader() = 0;
    virtual s_ByteSpan Read(std::uint64_t n) = 0;
    virtual bool IsAtEnd() const = 0;
    // Reads up to size bytes into destination and returns how many came. A reader that hands out
    // more than asked, or a null span with a non-zero size, breaks the contract: the process ends.
    virtual std::uint64_t ReadInto(std::uint8_t* destination, std::uint64_t size);
    // Reads and drops up to n bytes; returns how many.
    virtual std::uint64_t Skip(std::uint64_t n);
};
