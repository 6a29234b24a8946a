#pragma once
// The MD5 digest of a file and of the program's own executable, and the 64-bit test of a Windows
// executable's file.

#include "strings/c_String.h"
#include "textutil/c_MD5.h"

#include <cstdint>

// Reads the file in blocks, so its size does not matter to memory. False when it cannot be opened
// or read.
bool GetFileMD5(const c_String& path, std::uint8_t digest[c_MD5::DIGEST_SIZE]);
// 32 lower-case hex digits; empty when the file cannot be read.
c_String GetMD5OfFile(const c_String& path);
bool GetMD5OfOwnExecutable(std::uint8_t digest[c_MD5::DIGEST_SIZE]);
// From at most the first 4096 bytes of the file: true when it starts with "MZ", is64Bit telling
// whether its PE header names a 64-bit machine. False when the file cannot be read.
bool IsWindowsExecutable64Bit(const c_String& path, bool& is64Bit);
