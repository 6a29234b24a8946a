#pragma once
// Hex text of bytes: two digits per byte, the upper four bits first.

#include "strings/c_String.h"
#include "strings/s_ByteSpan.h"

#include <cstdint>

void ByteToHexDigits(std::uint8_t byte, char* high, char* low, bool upperCase);
// Empty for no bytes or when the text cannot be allocated.
c_String HexEncodeBytes(s_ByteSpan bytes, bool upperCase);
c_String HexEncodeString(const c_String& text, bool upperCase);
