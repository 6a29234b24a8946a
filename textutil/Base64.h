#pragma once
// Base64 of RFC 4648 with the standard alphabet and '=' padding, over byte spans.
//
// The encoder writes ((n + 2) / 3) * 4 characters. The decoder skips every character outside the
// alphabet (blanks, line breaks, '=' wherever it stands) and yields exactly the bytes the alphabet
// characters carry, padded input or not: "YQ" and "YQ==" both give "a". Output that does not fit
// the output area is dropped. Nothing throws, and only the forms that return a c_String or fill a
// c_ByteBuffer allocate.

#include "strings/c_String.h"
#include "strings/c_StringView.h"
#include "strings/s_ByteSpan.h"
#include "textutil/c_ByteBuffer.h"

#include <cstdint>

std::uint64_t GetBase64EncodedLength(std::uint64_t byteCount);
// The most bytes that many characters can decode to.
std::uint64_t GetBase64DecodedLength(std::uint64_t characterCount);

// The alphabet character of an index 0-63; NUL otherwise.
char Base64EncodeChar(int index);
// 0-63 for an alphabet character, 64 for NUL, 65 for any other byte.
std::uint8_t Base64DecodeChar(char c);
bool IsBase64Char(int c);

// Both return the written part of the output area.
s_ByteSpan Base64Encode(s_ByteSpan input, void* output, std::uint64_t outputSize);
s_ByteSpan Base64Decode(s_ByteSpan input, void* output, std::uint64_t outputSize);
s_ByteSpan Base64Decode(const c_StringView& input, void* output, std::uint64_t outputSize);

// Empty when the text cannot be allocated.
c_String Base64EncodeToString(s_ByteSpan input);
c_String Base64EncodeToString(const c_StringView& input);

// Clears out (with its observer told) and leaves exactly the decoded bytes in it; false when it
// cannot be sized, and then it is empty.
bool Base64DecodeToBuffer(s_ByteSpan input, c_ByteBuffer& out);
bool Base64DecodeToBuffer(const c_StringView& input, c_ByteBuffer& out);

// The decoded bytes as text, ending at the first decoded 0 byte; Base64DecodeToBuffer is the form
// for arbitrary bytes.
c_String Base64DecodeToString(s_ByteSpan input);
c_String Base64DecodeToString(const c_StringView& input);
