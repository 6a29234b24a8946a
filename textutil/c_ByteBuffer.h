#pragma once
// c_ByteBuffer: the growable byte FIFO that carries bodies, frames, records and whole files.
//
// Producers append at the end, consumers read from the front and Consume what they handled; a drained
// buffer rewinds to the front of its block for free. A 0 byte always follows the data, so the content
// reads as text without a copy. Fields are 64-bit but every operation takes and returns 32-bit sizes,
// and a buffer never holds 0xFFFFFFFF bytes or more. Memory comes from n_Memory; nothing throws, and a
// failure to grow is a false result with the content unchanged.

#include "strings/c_String.h"
#include "strings/c_StringView.h"
#include "strings/s_ByteSpan.h"

#include <cstdint>
#include <cstring>

class c_ByteBuffer;

// Told when a buffer's data moves, is consumed or is cleared. No class of ours needs one yet; the
// buffer makes the calls whenever one is set.
class c_ByteBufferObserver {
public:
    virtual void OnDataMoved(c_ByteBuffer& buffer, const std::uint8_t* oldData, std::uint32_t oldSize,
                             std::int64_t delta) = 0;
    virtual void OnDataConsumed(c_ByteBuffer& buffer, std::uint32_t count) = 0;
    virtual void OnCleared(c_ByteBuffer& buffer) = 0;

protected:
    ~c_ByteBufferObserver() = default;
};

class c_ByteBuffer {
public:
    // The largest size a buffer can hold; requests beyond it fail.
    static constexpr std::uint32_t MAX_SIZE = 0xFFFFFFFEu;

    explicit c_ByteBuffer(c_ByteBufferObserver* observer = nullptr) : m_p_Observer(observer) {}
    c_ByteBuffer(c_ByteBuffer&& other) noexcept;
    c_ByteBuffer& operator=(c_ByteBuffer&& other) noexcept;
    c_ByteBuffer(const c_ByteBuffer&) = delete;
    c_ByteBuffer& operator=(const c_ByteBuffer&) = delete;
    ~c_ByteBuffer();

    // Exchanges the content; each buffer keeps its observer.
    void Swap(c_ByteBuffer& other) noexcept;

    // The first unread byte. Without a block: a 0 byte, per thread for the writable form.
    std::uint8_t* GetData() { return m_p_Storage != nullptr ? GetBlockData() : GetThreadEmptyByte(); }
    const std::uint8_t* GetData() const { return m_p_Storage != nullptr ? GetBlockData() : &READ_ONLY_EMPTY_BYTE; }
    std::uint32_t GetSize() const { return static_cast<std::uint32_t>(m_Size); }
    std::uint64_t GetCapacity() const { return m_Capacity; }
    bool IsEmpty() const { return m_Size == 0; }
    s_ByteSpan GetSpan() const { return s_ByteSpan::FromPointer(GetData(), m_Size); }
    // The data as text, cut at its first 0 byte.
    c_StringView GetView() const;

    bool SetSize(std::uint32_t size);
    bool IncreaseSize(int count);
    bool Reserve(std::uint32_t size);
    // Null bytes append count zero bytes.
    bool Append(const void* bytes, std::uint32_t count) {
        // Inline when the bytes fit behind the data and come from elsewhere: the common case of a
        // socket or parser feeding the buffer.
        const std::uint64_t end = m_ReadOffset + m_Size + count;
        if (bytes != nullptr && end < m_Capacity && m_Size + count <= MAX_SIZE && IsOutsideBlock(bytes, count)) {
            std::memcpy(m_p_Storage + m_ReadOffset + m_Size, bytes, count);
            m_Size += count;
            m_p_Storage[end] = 0;
            return true;
        }
        return AppendGrowing(bytes, count);
    }
    bool Append(s_ByteSpan span);
    bool Append(const c_StringView& text) { return Append(text.begin(), static_cast<std::uint32_t>(text.GetLength())); }
    bool Append(const c_String& text) { return Append(c_StringView(text)); }
    bool Append(const c_ByteBuffer& other) { return Append(other.GetData(), other.GetSize()); }
    bool AppendByte(std::uint8_t byte);
    c_ByteBuffer& operator+=(const c_String& text) {
        Append(text);
        return *this;
    }
    c_ByteBuffer& operator+=(const c_ByteBuffer& other) {
        Append(other);
        return *this;
    }

    void Consume(std::uint32_t count) {
        if (m_p_Observer == nullptr && count < m_Size) {
            m_Size -= count;
            m_ReadOffset += count;
            return;
        }
        ConsumeWithRewind(count);
    }
    void Clear(bool release) noexcept;
    // Copies the other's unread bytes; keeps the old content when it cannot make room.
    void Assign(const c_ByteBuffer& other);
    void Compact();
    // The capacity rule: need counts from the start of the block, the 0 byte included.
    bool Grow(std::uint64_t need);
    void WriteTerminator();

private:
    static constexpr std::uint8_t READ_ONLY_EMPTY_BYTE = 0;
    // Set to 0 on every call; a caller writing through it touches only its own thread's byte.
    static std::uint8_t* GetThreadEmptyByte();
    std::uint8_t* GetBlockData() const { return m_p_Storage + m_ReadOffset; }
    bool LiesInBlock(const void* bytes, std::uint32_t count) const { return !IsOutsideBlock(bytes, count); }
    bool IsOutsideBlock(const void* bytes, std::uint32_t count) const {
        const auto start = reinterpret_cast<std::uintptr_t>(bytes);
        const auto block = reinterpret_cast<std::uintptr_t>(m_p_Storage);
        return m_p_Storage == nullptr || start >= block + m_Capacity || block >= start + count;
    }
    bool AppendGrowing(const void* bytes, std::uint32_t count);
    void ConsumeWithRewind(std::uint32_t count);

    c_ByteBufferObserver* m_p_Observer = nullptr;
    std::uint8_t* m_p_Storage = nullptr;
    std::uint64_t m_Capacity = 0;
    std::uint64_t m_Size = 0;
    std::uint64_t m_ReadOffset = 0;
};
