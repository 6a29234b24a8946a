#pragma once
// c_StringStorage: the small-string storage shared by the narrow and wide owning strings.
//
// The object is 32 units long and byte-aligned for narrow text. Units 0-30 hold up to 30 units of
// text and the NUL inline. The byte after them is the flag byte: bit 7 marks the heap form, bits 5-6
// are reserved and carried along, bits 0-4 hold the stored size (length + 1) of an inline text.
// In heap form bytes 0-7 hold the block pointer, 8-11 the capacity and 12-15 the stored size, in
// units, and the rest of the inline area is zero. The stored size 0 is the never-used default state.
//
// Capacities are powers of two from 32 up to 0x40000000, then 0x7FFFFFFF. A heap block never
// shrinks and never returns to the inline form. Memory comes from n_Memory, so no operation throws:
// each failure leaves the result its caller documents.

#include "strings/Memory.h"
#include "strings/internal/TextCore.h"

#include <bit>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace n_StringCore {

template <typename T> class c_StringStorage {
public:
    static constexpr int INLINE_UNITS = 31;
    static constexpr std::size_t FLAG_BYTE = INLINE_UNITS * sizeof(T);
    static constexpr std::size_t OBJECT_BYTES = 32 * sizeof(T);
    static constexpr unsigned char HEAP_BIT = 0x80;
    static constexpr unsigned char SIZE_BITS = 0x1F;
    static constexpr int LARGEST_CAPACITY = 0x7FFFFFFF;

    c_StringStorage() { ResetToDefault(); }
    c_StringStorage(const c_StringStorage& other) { CopyFrom(other); }
    c_StringStorage(c_StringStorage&& other) noexcept {
        if (other.IsOnHeap()) {
            // Field by field, as the fields were written: one wide load over several narrower
            // stores stalls store forwarding, and a move follows the append in every operator+.
            ResetToDefault();
            SetBlock(other.GetBlock());
            WriteSizeFields(other.ReadField(CAPACITY_OFFSET), other.ReadField(STORED_SIZE_OFFSET));
            SetFlags(other.GetFlags());
        } else {
            std::memcpy(m_Bytes, other.m_Bytes, OBJECT_BYTES);
        }
        other.ResetToDefault();
    }
    ~c_StringStorage() { ReleaseBlock(); }

    bool IsOnHeap() const { return (GetFlags() & HEAP_BIT) != 0; }
    int GetStoredSize() const { return IsOnHeap() ? ReadField(STORED_SIZE_OFFSET) : (GetFlags() & SIZE_BITS); }
    int GetLength() const {
        const int size = GetStoredSize();
        return size < 1 ? 0 : size - 1;
    }
    bool IsEmpty() const { return GetStoredSize() < 2; }
    int GetCapacity() const { return IsOnHeap() ? ReadField(CAPACITY_OFFSET) : INLINE_UNITS; }

    T* GetBuffer() { return IsOnHeap() ? GetBlock() : reinterpret_cast<T*>(m_Bytes); }
    const T* GetBuffer() const { return IsOnHeap() ? GetBlock() : reinterpret_cast<const T*>(m_Bytes); }
    t_Text<T> GetText() const {
        const unsigned char flags = GetFlags();
        if ((flags & HEAP_BIT) == 0) {
            const int size = flags & SIZE_BITS;
            return {reinterpret_cast<const T*>(m_Bytes), size == 0 ? 0 : size - 1};
        }
        const int size = ReadField(STORED_SIZE_OFFSET);
        return {GetBlock(), size < 1 ? 0 : size - 1};
    }

    // Capacity rule for a stored size above 31 units.
    static int GetStringCapacity(int size) {
        if (size > 0x40000000) {
            return LARGEST_CAPACITY;
        }
        return static_cast<int>(std::bit_ceil(static_cast<unsigned>(size < 32 ? 32 : size)));
    }

    bool ReserveSize(int size) {
        if (size <= INLINE_UNITS) {
            return true;
        }
        const int capacity = GetStringCapacity(size);
        if (!IsOnHeap()) {
            return MoveToHeap(capacity);
        }
        return capacity > GetCapacity() ? GrowHeap(capacity) : true;
    }

    bool MoveToHeap(int capacity) {
        T* block = static_cast<T*>(n_Memory::Allocate(ByteCount(capacity)));
        if (block == nullptr) {
            return false;
        }
        const unsigned char flags = GetFlags();
        std::memcpy(block, m_Bytes, static_cast<std::size_t>(flags & SIZE_BITS) * sizeof(T));
        std::memset(m_Bytes, 0, FLAG_BYTE);
        SetBlock(block);
        WriteSizeFields(capacity, flags & SIZE_BITS);
        SetFlags(static_cast<unsigned char>((flags & ~SIZE_BITS) | HEAP_BIT));
        return true;
    }

    bool GrowHeap(int capacity) {
        T* block = ByteCount(capacity) <= SMALL_BLOCK_BYTES
                       ? MoveToNewBlock(capacity)
                       : static_cast<T*>(n_Memory::Reallocate(GetBlock(), ByteCount(capacity)));
        if (block == nullptr) {
            return false;
        }
        SetBlock(block);
        WriteSizeFields(capacity, ReadField(STORED_SIZE_OFFSET));
        return true;
    }

    // Raw: room for size units, stored as the stored size; no NUL is written.
    bool SetSize(int size) {
        if (size < 0 || !ReserveSize(size)) {
            return false;
        }
        SetStoredSize(size);
        return true;
    }

    bool Reserve(int length) {
        if (length == INT_MAX) {
            return false;
        }
        ReserveSize(length + 1);
        return true;
    }

    // Stores the length and its NUL; units between the old and new length are not initialised.
    // Returns false, string unchanged, on a negative length or a failed allocation.
    bool SetLength(int length) {
        if (!StoreLength(length)) {
            return false;
        }
        // GCC cannot see that StoreLength moved a long text to the heap, and warns about the inline
        // bytes.
#pragma GCC diagnostic push
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wstringop-overflow"
#endif
        GetBuffer()[length] = 0;
#pragma GCC diagnostic pop
        return true;
    }

    void Clear() {
        SetLength(0);
    }

    void Free() {
        c_StringStorage old(static_cast<c_StringStorage&&>(*this));
        (void)old;
    }

    void SwapStorage(c_StringStorage& other) noexcept {
        unsigned char bytes[OBJECT_BYTES];
        std::memcpy(bytes, m_Bytes, OBJECT_BYTES);
        std::memcpy(m_Bytes, other.m_Bytes, OBJECT_BYTES);
        std::memcpy(other.m_Bytes, bytes, OBJECT_BYTES);
    }

protected:
    static constexpr std::size_t CAPACITY_OFFSET = 8;
    // Small blocks grow faster by a fresh block than by realloc, which skips the per-thread cache.
    static constexpr std::size_t SMALL_BLOCK_BYTES = 1024;

    static constexpr std::size_t STORED_SIZE_OFFSET = 12;

    // Makes a text of count units from source; false when it cannot (the caller picks the result).
    // A source inside this string's own storage is copied first when the storage must grow.
    bool AssignUnits(const T* source, int count) {
        if (count <= 0 || count == INT_MAX) {
            return false;
        }
        if (LiesInStorage(source) && count + 1 > GetCapacity()) {
            c_StringStorage copy;
            if (!copy.AssignUnits(source, count)) {
                return false;
            }
            SwapStorage(copy);
            return true;
        }
        if (!StoreLength(count)) {
            return false;
        }
        std::memmove(GetBuffer(), source, count * sizeof(T));
        GetBuffer()[count] = 0;
        return true;
    }

    // Constructor body from a run of units: stored size count + 1; the default state on failure.
    void ConstructFrom(const T* source, int count) {
        if (count >= 0 && count < INLINE_UNITS) {
            if (count != 0) {
                std::memcpy(m_Bytes, source, count * sizeof(T));
            }
            reinterpret_cast<T*>(m_Bytes)[count] = 0;
            SetFlags(static_cast<unsigned char>(count + 1));
            return;
        }
        ConstructOnHeap(source, count);
    }

    // Kept out of line: the inline path stays small, and GCC, seeing both paths at once, warns
    // about bounds that only the inline path has.
    [[gnu::noinline]] void ConstructOnHeap(const T* source, int count) {
        if (count < 0 || count == INT_MAX || !ReserveSize(count + 1)) {
            return;
        }
        SetStoredSize(count + 1);
        T* buffer = GetBuffer();
        std::memcpy(buffer, source, count * sizeof(T));
        buffer[count] = 0;
    }

    // Appends count units. A source inside this string (its text, or its start) is copied to a
    // temporary first, so growth cannot pull it away. False, string unchanged, on failure.
    bool AppendUnits(const T* source, int count) {
        if (count <= 0) {
            return true;
        }
        const int length = GetLength();
        const T* text = GetBuffer();
        if (source == text || (Address(source) < Address(text + length) && Address(text) < Address(source + count))) {
            c_StringStorage copy;
            copy.ConstructFrom(source, count);
            return copy.GetLength() == count && AppendUnits(copy.GetBuffer(), count);
        }
        const std::int64_t size = std::int64_t(length) + count + 1;
        if (size > INT_MAX || !ReserveSize(static_cast<int>(size))) {
            return false;
        }
        SetStoredSize(static_cast<int>(size));
        T* buffer = GetBuffer();
        std::memcpy(buffer + length, source, count * sizeof(T));
        buffer[length + count] = 0;
        return true;
    }

    // Cuts the text at its first NUL among the stored-size units; without one the NUL is added after
    // them. Always leaves a NUL-terminated text: when that last unit cannot be had, the string is
    // emptied rather than left unterminated.
    void CutStoredAtNul() {
        const int size = GetStoredSize();
        const int length = CutAtNul(GetBuffer(), size);
        if (!SetLength(length)) {
            SetStoredSize(1);
            GetBuffer()[0] = 0;
        }
    }

    bool StoreLength(int length) {
        if (length < 0 || length == INT_MAX || !ReserveSize(length + 1)) {
            return false;
        }
        SetStoredSize(length + 1);
        return true;
    }

    void SetStoredSize(int size) {
        if (IsOnHeap()) {
            WriteSizeFields(ReadField(CAPACITY_OFFSET), size);
        } else {
            SetFlags(static_cast<unsigned char>((GetFlags() & ~SIZE_BITS) | size));
        }
    }

    bool LiesInStorage(const T* pointer) const {
        const T* start = GetBuffer();
        return Address(pointer) >= Address(start) && Address(pointer) < Address(start + GetCapacity());
    }

    unsigned char GetFlags() const {
        return m_Bytes[FLAG_BYTE];
    }
    void SetFlags(unsigned char flags) {
        m_Bytes[FLAG_BYTE] = flags;
    }

private:
    static std::size_t ByteCount(int capacity) {
        return capacity < 0 ? SIZE_MAX : static_cast<std::size_t>(capacity) * sizeof(T);
    }

    T* GetBlock() const {
        T* block;
        std::memcpy(&block, m_Bytes, sizeof block);
        return block;
    }
    void SetBlock(T* block) {
        std::memcpy(m_Bytes, &block, sizeof block);
    }
    int ReadField(std::size_t offset) const {
        std::int32_t value;
        std::memcpy(&value, m_Bytes + offset, sizeof value);
        return value;
    }
    // Capacity and stored size are always written together, in one store, so that a later read of
    // both (a move, a copy) is forwarded from that store instead of stalling on two.
    void WriteSizeFields(int capacity, int size) {
        const std::uint64_t fields =
            std::uint64_t(std::uint32_t(capacity)) | (std::uint64_t(std::uint32_t(size)) << 32);
        std::memcpy(m_Bytes + CAPACITY_OFFSET, &fields, sizeof fields);
    }

    // The whole old block moves to a new one, as realloc would move it.
    T* MoveToNewBlock(int capacity) {
        T* block = static_cast<T*>(n_Memory::Allocate(ByteCount(capacity)));
        if (block != nullptr) {
            std::memcpy(block, GetBlock(), ByteCount(GetCapacity()));
            n_Memory::Free(GetBlock());
        }
        return block;
    }

    void ResetToDefault() {
        std::memset(m_Bytes, 0, OBJECT_BYTES);
    }

    void ReleaseBlock() {
        if (IsOnHeap()) {
            n_Memory::Free(GetBlock());
        }
    }

    // A heap copy gets its own block of the source's capacity holding the source's whole block.
    void CopyFrom(const c_StringStorage& other) {
        std::memcpy(m_Bytes, other.m_Bytes, OBJECT_BYTES);
        if (!other.IsOnHeap()) {
            return;
        }
        const std::size_t bytes = ByteCount(other.GetCapacity());
        T* block = static_cast<T*>(n_Memory::Allocate(bytes));
        if (block == nullptr) {
            ResetToDefault();
            return;
        }
        std::memcpy(block, other.GetBlock(), bytes);
        SetBlock(block);
    }

    alignas(T) unsigned char m_Bytes[OBJECT_BYTES];
};

} // namespace n_StringCore
