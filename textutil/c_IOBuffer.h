#pragma once
// c_IOBuffer: the flat byte block behind the socket core's overlapped sends and receives.
//
// It holds a used size from the start of its block, with no read position and no trailing 0 byte,
// and keeps a reserve of free bytes after the used ones. Growth is tuned for socket traffic: steps
// of a granularity (512, or 64 KiB for large send buffers), and at least half the used size at a
// time. Sizes are signed 32-bit. Memory comes from n_Memory and nothing throws.

#include <cstdint>

class c_IOBuffer {
public:
    static constexpr int DEFAULT_GRANULARITY = 512;
    static constexpr int LARGE_GRANULARITY = 0x10000;

    c_IOBuffer() = default;
    c_IOBuffer(const c_IOBuffer&) = delete;
    c_IOBuffer& operator=(const c_IOBuffer&) = delete;
    virtual ~c_IOBuffer();

    // Adds count (which may be negative) to the used size. Growing with keepData keeps the content
    // and, with zeroFill, zeroes everything after it; growing without keepData replaces the block,
    // and when that fails the buffer is left empty without a block.
    bool IncreaseSize(int count, bool zeroReserve, bool keepData, bool zeroFill);
    bool Append(const void* bytes, int count);
    bool Resize(int newSize, bool zeroOnShrink, bool zeroReserve, bool zeroFill);
    // Growing here does not keep the content when the block must be replaced.
    bool SetUsedSize(int size);
    // Sets the used size anywhere within the block, never reallocating: how the socket core hands
    // the whole block to a receive or trims what it sent.
    bool SetUsedSizeWithinCapacity(int size);

    bool HasData() const { return m_Used > 0; }
    int GetUsedSize() const { return m_Used; }
    int GetCapacity() const { return m_Capacity; }
    int GetReserve() const { return m_Reserve; }
    void SetReserve(int reserve) { m_Reserve = reserve < 0 ? 0 : reserve; }
    int GetGranularity() const { return m_Granularity; }
    // Used plus reserve, or 0 while nothing is used.
    int GetTotalSize() const { return m_Used == 0 ? 0 : m_Used + m_Reserve; }
    std::uint8_t* GetData() { return m_p_Data; }
    const std::uint8_t* GetData() const { return m_p_Data; }

    void SetLargeGranularity() { m_Granularity = LARGE_GRANULARITY; }
    void Clear(bool release);
    // Starts over without a block, with the given reserve.
    void Init(int reserve);
    // Exchanges block, capacity, used size, reserve and granularity.
    void Swap(c_IOBuffer& other) noexcept;

    // False unless offset >= 0, count >= 1 and the range lies within the block.
    bool ZeroRange(int offset, int count);
    // Zeroes the reserve after the used bytes; false unless both are positive and within the block.
    bool ZeroReserve();

private:
    bool Grow(std::int64_t newUsed, bool keepData);

    int m_Reserve = 0;
    std::uint8_t* m_p_Data = nullptr;
    int m_Capacity = 0;
    int m_Used = 0;
    int m_Granularity = DEFAULT_GRANULARITY;
};
