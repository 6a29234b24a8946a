// c_StreamReader: the reads that every reader shares.

#include "network/c_StreamReader.h"

#include <cstdlib>
#include <cstring>

c_StreamReader::~c_StreamReader() = default;

std::uint64_t c_StreamReader::ReadInto(std::uint8_t* destination, std::uint64_t size) {
    const s_ByteSpan span = Read(size);
    if (span.m_Size > size || (span.m_p_Data == nullptr && span.m_Size != 0)) {
        std::abort();
    }
    if (span.m_Size != 0) {
        std::memcpy(destination, span.m_p_Data, span.m_Size);
    }
    return span.m_Size;
}

std::uint64_t c_StreamReader::Skip(std::uint64_t n) {
    return n == 0 ? 0 : Read(n).m_Size;
}
