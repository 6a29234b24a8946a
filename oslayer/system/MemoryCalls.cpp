// n_OSLayer memory blocks over the Windows calls.

#include "oslayer/system/MemoryCalls.h"

#include "oslayer/system/TextConversion.h"

#include <cstring>

namespace n_OSLayer {

HGLOBAL GlobalAlloc(std::uint64_t bytes) {
    return ::GlobalAlloc(GMEM_MOVEABLE, bytes);
}

std::uint64_t GlobalSize(HGLOBAL block) {
    return ::GlobalSize(block);
}

void* GlobalLock(HGLOBAL block) {
    return ::GlobalLock(block);
}

bool GlobalUnlock(HGLOBAL block) {
    return ::GlobalUnlock(block) != FALSE;
}

HGLOBAL GlobalFree(HGLOBAL block) {
    return ::GlobalFree(block);
}

HGLOBAL CopyToGlobalMemory(const void* data, std::uint64_t bytes) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (block == nullptr) {
        return nullptr;
    }
    void* target = ::GlobalLock(block);
    if (target == nullptr) {
        ::GlobalFree(block);
        return nullptr;
    }
    if (bytes != 0) {
        std::memcpy(target, data, bytes);
    }
    ::GlobalUnlock(block);
    return block;
}

HGLOBAL CreateGlobalText(const c_StringView& text) {
    const c_WString wide = UTF8ToWide(text);
    return CopyToGlobalMemory(wide.GetBuffer(), (static_cast<std::uint64_t>(wide.GetLength()) + 1) * sizeof(char16_t));
}

HLOCAL LocalAlloc(std::uint64_t bytes) {
    return ::LocalAlloc(LMEM_ZEROINIT, bytes);
}

HLOCAL LocalFree(HLOCAL block) {
    return ::LocalFree(block);
}

std::int32_t MulDiv(std::int32_t number, std::int32_t numerator, std::int32_t denominator) {
    return ::MulDiv(number, numerator, denominator);
}

HANDLE CreateFileMapping(HANDLE file, SECURITY_ATTRIBUTES* security, std::uint32_t protection, std::uint32_t sizeHigh,
                         std::uint32_t sizeLow, const c_StringView& name) {
    return CreateFileMappingW(file, security, protection, sizeHigh, sizeLow, UTF8ToWide(name).GetBuffer());
}

HANDLE OpenFileMapping(std::uint32_t access, bool inherit, const c_StringView& name) {
    return OpenFileMappingW(access, inherit ? TRUE : FALSE, UTF8ToWide(name).GetBuffer());
}

} // namespace n_OSLayer
