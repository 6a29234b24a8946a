#pragma once
// Telling a 64-bit Windows image from the first bytes of its file.

#include "strings/s_ByteSpan.h"

// True when the bytes start with "MZ". is64Bit is set when the PE header they point to lies within
// the bytes and names an x64, ARM64 or Itanium machine; anything the bytes do not hold counts as
// not 64-bit.
bool IsWindowsExecutableHeader64Bit(s_ByteSpan header, bool& is64Bit);
