#pragma once
// s_ByteSpan: a non-owning run of bytes, a 64-bit size followed by a pointer.
//
// Strings, views and byte buffers hand their bytes to the encoders and stream interfaces as spans.
// A span whose size is all ones, or whose pointer is null with a non-zero size, breaks the contract
// of every function that takes one; building such a span ends the process.

#include <cstdint>
#include <cstdlib>

struct s_ByteSpan {
    std::uint64_t m_Size = 0;
    const void* m_p_Data = nullptr;

    static s_ByteSpan FromPointer(const void* data, std::uint64_t size) {
        if (size == UINT64_MAX || (data == nullptr && size != 0)) {
            std::abort();
        }
        return {size, data};
    }

    const unsigned char* GetBytes() const { return static_cast<const unsigned char*>(m_p_Data); }
    bool IsEmpty() const { return m_Size == 0; }
};
