// c_ByteBuffer: growth, compaction, consumption and the observer calls.

#include "textutil/c_ByteBuffer.h"

#include "strings/Memory.h"

#include <climits>
#include <cstring>
#include <utility>

namespace {

thread_local std::uint8_t t_EmptyByte = 0;

constexpr std::uint64_t GROWTH_STEP = 512;

std::uintptr_t Address(const void* pointer) {
    return reinterpret_cast<std::uintptr_t>(pointer);
}

} // namespace

c_ByteBuffer::c_ByteBuffer(c_ByteBuffer&& other) noexcept
    : m_p_Storage(std::exchange(other.m_p_Storage, nullptr)), m_Capacity(std::exchange(other.m_Capacity, 0)),
      m_Size(std::exchange(other.m_Size, 0)), m_ReadOffset(std::exchange(other.m_ReadOffset, 0)) {}

c_ByteBuffer& c_ByteBuffer::operator=(c_ByteBuffer&& other) noexcept {
    Swap(other);
    return *this;
}

c_ByteBuffer::~c_ByteBuffer() {
    n_Memory::Free(m_p_Storage);
}

void c_ByteBuffer::Swap(c_ByteBuffer& other) noexcept {
    std::swap(m_p_Storage, other.m_p_Storage);
    std::swap(m_Capacity, other.m_Capacity);
    std::swap(m_Size, other.m_Size);
    std::swap(m_ReadOffset, other.m_ReadOffset);
}

std::uint8_t* c_ByteBuffer::GetThreadEmptyByte() {
    t_EmptyByte = 0;
    return &t_EmptyByte;
}

c_StringView c_ByteBuffer::GetView() const {
    const int length = m_Size > INT_MAX ? INT_MAX : static_cast<int>(m_Size);
    return c_StringView(reinterpret_cast<const char*>(GetData()), length, true);
}

bool c_ByteBuffer::Grow(std::uint64_t need) {
    std::uint64_t capacity = m_Capacity + m_Capacity / 2;
    if (need > capacity) {
        capacity = need;
    }
    capacity = capacity - capacity % GROWTH_STEP + GROWTH_STEP;
    void* block = n_Memory::Reallocate(m_p_Storage, capacity);
    if (block == nullptr) {
        return false;
    }
    m_p_Storage = static_cast<std::uint8_t*>(block);
    m_Capacity = capacity;
    return true;
}

bool c_ByteBuffer::SetSize(std::uint32_t size) {
    if (size > MAX_SIZE) {
        return false;
    }
    const std::uint64_t need = std::uint64_t(size) + 1;
    if (m_p_Storage != nullptr && m_ReadOffset + need <= m_Capacity) {
        m_Size = size;
        m_p_Storage[m_ReadOffset + size] = 0;
        return true;
    }
    const std::uint8_t* oldData = GetData();
    const std::uint64_t oldSize = m_Size;
    Compact();
    if (need > m_Capacity && !Grow(need)) {
        return false;
    }
    m_Size = size;
    m_p_Storage[size] = 0;
    if (m_p_Observer != nullptr && GetBlockData() != oldData) {
        const std::int64_t delta = static_cast<std::int64_t>(Address(GetBlockData()) - Address(oldData));
        m_p_Observer->OnDataMoved(*this, oldData, static_cast<std::uint32_t>(oldSize), delta);
    }
    return true;
}

bool c_ByteBuffer::IncreaseSize(int count) {
    const std::int64_t size = static_cast<std::int64_t>(m_Size) + count;
    return size >= 0 && size <= MAX_SIZE && SetSize(static_cast<std::uint32_t>(size));
}

bool c_ByteBuffer::Reserve(std::uint32_t size) {
    if (size <= m_Size) {
        return true;
    }
    if (size > MAX_SIZE) {
        return false;
    }
    if (m_p_Storage != nullptr) {
        const std::uint32_t oldSize = GetSize();
        const bool reserved = SetSize(size);
        SetSize(oldSize);
        return reserved;
    }
    if (!Grow(size)) {
        return false;
    }
    WriteTerminator();
    return true;
}

bool c_ByteBuffer::AppendGrowing(const void* bytes, std::uint32_t count) {
    if (count == 0) {
        return true;
    }
    if (m_Size + count > MAX_SIZE) {
        return false;
    }
    // Growing may move or free the block, so a source inside it is found again by its offset. Only
    // the unread bytes are a meaningful source.
    std::uint64_t sourceOffset = 0;
    const bool fromSelf = bytes != nullptr && LiesInBlock(bytes, count);
    if (fromSelf) {
        sourceOffset = Address(bytes) - Address(GetBlockData());
        if (Address(bytes) < Address(GetBlockData()) || sourceOffset + count > m_Size) {
            return false;
        }
    }
    const std::uint64_t position = m_Size;
    if (!SetSize(static_cast<std::uint32_t>(m_Size + count))) {
        return false;
    }
    std::uint8_t* target = GetBlockData() + position;
    if (bytes == nullptr) {
        std::memset(target, 0, count);
    } else {
        std::memcpy(target, fromSelf ? GetBlockData() + sourceOffset : bytes, count);
    }
    return true;
}

bool c_ByteBuffer::Append(s_ByteSpan span) {
    if (span.m_Size > MAX_SIZE) {
        return false;
    }
    return Append(span.m_p_Data, static_cast<std::uint32_t>(span.m_Size));
}

bool c_ByteBuffer::AppendByte(std::uint8_t byte) {
    const std::uint64_t position = m_Size;
    if (!SetSize(static_cast<std::uint32_t>(m_Size + 1))) {
        return false;
    }
    GetBlockData()[position] = byte;
    return true;
}

void c_ByteBuffer::ConsumeWithRewind(std::uint32_t count) {
    const std::uint64_t consumed = count < m_Size ? count : m_Size;
    m_Size -= consumed;
    if (m_Size == 0) {
        m_ReadOffset = 0;
        WriteTerminator();
    } else {
        m_ReadOffset += consumed;
    }
    if (m_p_Observer != nullptr) {
        m_p_Observer->OnDataConsumed(*this, static_cast<std::uint32_t>(consumed));
    }
}

void c_ByteBuffer::Clear(bool release) noexcept {
    if (release) {
        n_Memory::Free(m_p_Storage);
        m_p_Storage = nullptr;
        m_Capacity = 0;
    }
    m_Size = 0;
    m_ReadOffset = 0;
    WriteTerminator();
    if (m_p_Observer != nullptr) {
        m_p_Observer->OnCleared(*this);
    }
}

void c_ByteBuffer::Assign(const c_ByteBuffer& other) {
    if (&other == this || !SetSize(other.GetSize())) {
        return;
    }
    std::memcpy(GetBlockData(), other.GetData(), m_Size);
}

void c_ByteBuffer::Compact() {
    if (m_p_Storage == nullptr || m_ReadOffset == 0) {
        return;
    }
    std::memmove(m_p_Storage, GetBlockData(), m_Size);
    m_ReadOffset = 0;
    WriteTerminator();
}

void c_ByteBuffer::WriteTerminator() {
    if (m_p_Storage != nullptr) {
        m_p_Storage[m_ReadOffset + m_Size] = 0;
    }
}
