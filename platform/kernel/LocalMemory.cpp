// Local memory blocks: fixed blocks from the C heap, as FORMAT_MESSAGE_ALLOCATE_BUFFER needs them.

#include "platform/kernel/LastError.h"

#include <cstdlib>

HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes) {
    if ((flags & ~static_cast<UINT>(LMEM_ZEROINIT)) != 0) {
        return n_Platform::FailWith<HLOCAL>(nullptr, ERROR_INVALID_PARAMETER);
    }
    // A zero-byte request still gets a block of its own, as on Windows.
    const SIZE_T size = bytes == 0 ? 1 : bytes;
    void* block = (flags & LMEM_ZEROINIT) != 0 ? std::calloc(1, size) : std::malloc(size);
    if (block == nullptr) {
        return n_Platform::FailWith<HLOCAL>(nullptr, ERROR_NOT_ENOUGH_MEMORY);
    }
    return block;
}

HLOCAL WINAPI LocalFree(HLOCAL block) {
    std::free(block);
    return nullptr;
}
