#pragma once
// Integers as text: decimal with optional zero padding, hexadecimal forms, dotted IPv4 addresses,
// ordinals and counted nouns.
//
// Every function returns a new c_String, empty when it cannot be allocated. Decimal writers fill a
// stack buffer from the right, two digits per division, and allocate once. long is 64 bits wide here,
// so the long overloads are the 64-bit ones.

#include "strings/c_String.h"
#include "strings/c_StringView.h"
#include "strings/s_ByteSpan.h"

#include <cstdint>

// The most digits any padding asks for; larger requests are taken as this.
constexpr int MAX_PADDED_DIGITS = 20;

// The digits of a magnitude, zero-padded to minDigits, with '-' in front when negative (-005).
c_String IntToDecimal(std::uint32_t magnitude, bool negative, int minDigits);
c_String Int64ToDecimal(std::uint64_t magnitude, bool negative, int minDigits);

c_String ToString(int value, int minDigits = 0);
c_String ToString(unsigned int value, int minDigits = 0);
c_String ToString(long value, int minDigits = 0);
c_String ToString(unsigned long value, int minDigits = 0);
c_String ToString(long long value, int minDigits = 0);
c_String ToString(unsigned long long value, int minDigits = 0);

// Lower case, no leading zeros.
c_String ToHexString(unsigned int value);
c_String ToHexString(unsigned long value);
c_String ToHexString(unsigned long long value);
c_String ByteToHexUpper(std::uint8_t byte);
c_String ByteToHexLower(std::uint8_t byte);
// Two upper-case digits per byte, the separator (unless NUL) between bytes: 0A:FF.
c_String BytesToHex(s_ByteSpan bytes, char separator);
// 16 upper-case digits in four groups joined by '-': 0000-0000-0000-00FF.
c_String ToGroupedHexString(std::uint64_t value);

// A host-order address, most significant byte first: 0x7F000001 gives 127.0.0.1.
c_String IPv4ToString(std::uint32_t address);
// The address, ':' and the port's low 16 bits.
c_String IPv4PortToString(std::uint32_t address, std::uint32_t port);

// "st", "nd", "rd" or "th"; 11 to 13 and every negative number take "th".
c_String GetOrdinalSuffix(int n);
c_String ToOrdinalString(int n);
// The number, a blank, then one when n is 1 and many otherwise.
c_String FormatCount(int n, const c_StringView& one, const c_StringView& many);
