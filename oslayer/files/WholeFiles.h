#pragma once
// Reading and writing whole files at once.

#include "strings/c_String.h"
#include "textutil/c_ByteBuffer.h"

#include <cstdint>
#include <optional>

// The file's bytes, at most maxBytes of them when given; out holds what was read. False when the
// file cannot be opened or read, or holds 0xFFFFFFFF bytes or more.
bool ReadWholeFile(const c_String& path, c_ByteBuffer& out, std::optional<std::int64_t> maxBytes = std::nullopt);
// At most maxBytes of the file as text, cut at its first NUL, line breaks kept. An empty file gives
// true and leaves out as it was; a file of 2 GiB or more, or fewer bytes than asked, gives false.
bool ReadFileToString(const c_String& path, c_String& out, std::int32_t maxBytes);
// Up to 1 MiB of the file as text; empty when it cannot be read.
c_String ReadFileText(const c_String& path);
// Creates or empties the file (others may read it meanwhile, not write) and writes the buffer's
// unread bytes. The error becomes "Failed to open the file.  " or "Failed to write the data.  " and
// the file's error text.
bool WriteBufferToFile(const c_ByteBuffer& data, const c_String& path, c_String& error);
// The same with the text's bytes, without a message.
bool WriteStringToFile(const c_String& path, const c_StringView& text);
