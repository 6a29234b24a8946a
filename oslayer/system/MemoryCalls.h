#pragma once
// n_OSLayer memory blocks: global and local blocks, text blocks for the clipboard, MulDiv and
// file mappings.

#include "strings/c_StringView.h"

#include <windows.h>

#include <cstdint>

namespace n_OSLayer {

// A movable block.
HGLOBAL GlobalAlloc(std::uint64_t bytes);
std::uint64_t GlobalSize(HGLOBAL block);
void* GlobalLock(HGLOBAL block);
bool GlobalUnlock(HGLOBAL block);
HGLOBAL GlobalFree(HGLOBAL block);
// A movable block holding a copy of the bytes; null when the allocation or the lock fails.
HGLOBAL CopyToGlobalMemory(const void* data, std::uint64_t bytes);
// A movable block holding the UTF-16 form of the text and its NUL; null when the allocation or
// the lock fails.
HGLOBAL CreateGlobalText(const c_StringView& text);

// A zeroed block.
HLOCAL LocalAlloc(std::uint64_t bytes);
HLOCAL LocalFree(HLOCAL block);

std::int32_t MulDiv(std::int32_t number, std::int32_t numerator, std::int32_t denominator);

HANDLE CreateFileMapping(HANDLE file, SECURITY_ATTRIBUTES* security, std::uint32_t protection, std::uint32_t sizeHigh,
                         std::uint32_t sizeLow, const c_StringView& name);
HANDLE OpenFileMapping(std::uint32_t access, bool inherit, const c_StringView& name);

} // namespace n_OSLayer
