// c_IOBuffer: the growth rule and the zeroing helpers.

#include "textutil/c_IOBuffer.h"

#include "strings/Memory.h"

#include <climits>
#include <cstring>
#include <utility>

c_IOBuffer::~c_IOBuffer() {
    n_Memory::Free(m_p_Data);
}

bool c_IOBuffer::IncreaseSize(int count, bool zeroReserve, bool keepData, bool zeroFill) {
    const std::int64_t newUsed = std::int64_t(m_Used) + count;
    if (newUsed < 0) {
        return false;
    }
    if (m_Capacity >= newUsed + m_Reserve) {
        m_Used = static_cast<int>(newUsed);
        if (zeroReserve && zeroFill) {
            ZeroRange(m_Used, m_Reserve);
        }
        return true;
    }
    const int oldUsed = m_Used;
    if (!Grow(newUsed, keepData)) {
        return false;
    }
    m_Used = static_cast<int>(newUsed);
    if (keepData && zeroFill) {
        std::memset(m_p_Data + oldUsed, 0, static_cast<std::size_t>(m_Capacity - oldUsed));
    }
    return true;
}

bool c_IOBuffer::Grow(std::int64_t newUsed, bool keepData) {
    // The reserve counts towards the need only while the buffer is empty; a need that is already a
    // multiple of the granularity still gains a whole step.
    const std::int64_t need = newUsed - m_Used + (m_Used == 0 ? m_Reserve : 0);
    const std::int64_t step = need - need % m_Granularity + m_Granularity;
    const std::int64_t half = m_Used / 2;
    std::int64_t capacity = std::int64_t(m_Capacity) + (half > step ? half : step);
    // A reserve larger than a step would otherwise be left outside the block.
    if (capacity < newUsed + m_Reserve) {
        const std::int64_t wanted = newUsed + m_Reserve;
        capacity = wanted - wanted % m_Granularity + m_Granularity;
    }
    if (capacity > INT_MAX) {
        return false;
    }
    if (keepData) {
        void* block = n_Memory::Reallocate(m_p_Data, static_cast<std::size_t>(capacity));
        if (block == nullptr) {
            return false;
        }
        m_p_Data = static_cast<std::uint8_t*>(block);
    } else {
        // The content is not wanted: free first, so peak memory never holds both blocks.
        n_Memory::Free(m_p_Data);
        m_p_Data = static_cast<std::uint8_t*>(n_Memory::Allocate(static_cast<std::size_t>(capacity)));
        if (m_p_Data == nullptr) {
            m_Capacity = 0;
            m_Used = 0;
            return false;
        }
    }
    m_Capacity = static_cast<int>(capacity);
    return true;
}

bool c_IOBuffer::Append(const void* bytes, int count) {
    if (count < 0) {
        return false;
    }
    const int position = m_Used;
    if (!IncreaseSize(count, false, true, false)) {
        return false;
    }
    if (count != 0) {
        std::memcpy(m_p_Data + position, bytes, static_cast<std::size_t>(count));
    }
    return true;
}

bool c_IOBuffer::Resize(int newSize, bool zeroOnShrink, bool zeroReserve, bool zeroFill) {
    if (newSize < 0) {
        return false;
    }
    if (newSize > m_Used) {
        return IncreaseSize(newSize - m_Used, zeroReserve, true, zeroFill);
    }
    if (zeroOnShrink && zeroFill) {
        ZeroRange(newSize, GetTotalSize() - newSize);
    }
    m_Used = newSize;
    return true;
}

bool c_IOBuffer::SetUsedSize(int size) {
    if (size < 0) {
        return false;
    }
    if (size > m_Used) {
        return IncreaseSize(size - m_Used, false, false, false);
    }
    m_Used = size;
    return true;
}

bool c_IOBuffer::SetUsedSizeWithinCapacity(int size) {
    if (size < 0 || size > m_Capacity) {
        return false;
    }
    m_Used = size;
    return true;
}

void c_IOBuffer::Clear(bool release) {
    if (release) {
        n_Memory::Free(m_p_Data);
        m_p_Data = nullptr;
        m_Capacity = 0;
        m_Granularity = DEFAULT_GRANULARITY;
    }
    m_Used = 0;
}

void c_IOBuffer::Init(int reserve) {
    Clear(true);
    SetReserve(reserve);
}

void c_IOBuffer::Swap(c_IOBuffer& other) noexcept {
    std::swap(m_Reserve, other.m_Reserve);
    std::swap(m_p_Data, other.m_p_Data);
    std::swap(m_Capacity, other.m_Capacity);
    std::swap(m_Used, other.m_Used);
    std::swap(m_Granularity, other.m_Granularity);
}

bool c_IOBuffer::ZeroRange(int offset, int count) {
    if (offset < 0 || count < 1 || std::int64_t(offset) + count > m_Capacity) {
        return false;
    }
    std::memset(m_p_Data + offset, 0, static_cast<std::size_t>(count));
    return true;
}

bool c_IOBuffer::ZeroReserve() {
    if (m_Used < 1) {
        return false;
    }
    return ZeroRange(m_Used, m_Reserve);
}
