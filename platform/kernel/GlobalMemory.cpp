// Global memory blocks in a table of the layer.
//
// A movable block's handle is a value of the table that is never reused, so a freed handle fails
// instead of reaching a later block; a fixed block's handle is its address, found in the same table.

#include "platform/kernel/LastError.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

struct s_GlobalBlock {
    std::unique_ptr<unsigned char[]> m_Bytes;
    SIZE_T m_Size = 0;
    bool m_Moveable = false;
    unsigned m_Locks = 0;
};

struct s_GlobalTable {
    std::mutex m_Lock;
    std::unordered_map<ULONG_PTR, s_GlobalBlock> m_Blocks;
    // Odd values, which no aligned address has.
    ULONG_PTR m_NextHandle = 0x10001;
};

s_GlobalTable& GetGlobalTable() {
    static s_GlobalTable* table = new s_GlobalTable;
    return *table;
}

s_GlobalBlock* FindBlock(s_GlobalTable& table, HGLOBAL handle) {
    const auto found = table.m_Blocks.find(reinterpret_cast<ULONG_PTR>(handle));
    if (found == table.m_Blocks.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return &found->second;
}

} // namespace

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) {
    if ((flags & ~static_cast<UINT>(GMEM_MOVEABLE | GMEM_ZEROINIT)) != 0) {
        return n_Platform::FailWith<HGLOBAL>(nullptr, ERROR_INVALID_PARAMETER);
    }
    s_GlobalBlock block;
    // A zero-byte request still gets an address of its own.
    block.m_Bytes.reset(new (std::nothrow) unsigned char[bytes == 0 ? 1 : bytes]);
    if (block.m_Bytes == nullptr) {
        return n_Platform::FailWith<HGLOBAL>(nullptr, ERROR_NOT_ENOUGH_MEMORY);
    }
    if ((flags & GMEM_ZEROINIT) != 0) {
        std::memset(block.m_Bytes.get(), 0, bytes);
    }
    block.m_Size = bytes;
    block.m_Moveable = (flags & GMEM_MOVEABLE) != 0;
    s_GlobalTable& table = GetGlobalTable();
    std::lock_guard<std::mutex> lock(table.m_Lock);
    ULONG_PTR handle = reinterpret_cast<ULONG_PTR>(block.m_Bytes.get());
    if (block.m_Moveable) {
        handle = table.m_NextHandle;
        table.m_NextHandle += 2;
    }
    table.m_Blocks.emplace(handle, std::move(block));
    return reinterpret_cast<HGLOBAL>(handle);
}

LPVOID WINAPI GlobalLock(HGLOBAL handle) {
    s_GlobalTable& table = GetGlobalTable();
    std::lock_guard<std::mutex> lock(table.m_Lock);
    s_GlobalBlock* block = FindBlock(table, handle);
    if (block == nullptr) {
        return nullptr;
    }
    if (block->m_Moveable) {
        ++block->m_Locks;
    }
    return block->m_Bytes.get();
}

BOOL WINAPI GlobalUnlock(HGLOBAL handle) {
    s_GlobalTable& table = GetGlobalTable();
    std::lock_guard<std::mutex> lock(table.m_Lock);
    s_GlobalBlock* block = FindBlock(table, handle);
    if (block == nullptr) {
        return FALSE;
    }
    if (block->m_Locks == 0) {
        return n_Platform::FailWith(FALSE, ERROR_NOT_LOCKED);
    }
    --block->m_Locks;
    return block->m_Locks != 0 ? TRUE : n_Platform::FailWith(FALSE, ERROR_SUCCESS);
}

SIZE_T WINAPI GlobalSize(HGLOBAL handle) {
    s_GlobalTable& table = GetGlobalTable();
    std::lock_guard<std::mutex> lock(table.m_Lock);
    s_GlobalBlock* block = FindBlock(table, handle);
    return block == nullptr ? 0 : block->m_Size;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL handle) {
    s_GlobalTable& table = GetGlobalTable();
    std::lock_guard<std::mutex> lock(table.m_Lock);
    if (table.m_Blocks.erase(reinterpret_cast<ULONG_PTR>(handle)) == 0) {
        return n_Platform::FailWith(handle, ERROR_INVALID_HANDLE);
    }
    return nullptr;
}
