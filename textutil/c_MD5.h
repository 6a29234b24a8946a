#pragma once
// c_MD5: the MD5 digest of RFC 1321, and the digest texts the downloader compares.
//
// The installer checks every received file, and every file it may skip, against the MD5 listed for
// it: 32 lower-case hex digits, compared with case. The digest of a whole file lives with the file
// class in oslayer/.

#include "strings/c_String.h"
#include "strings/s_ByteSpan.h"

#include <cstdint>

class c_MD5 {
public:
    static constexpr int DIGEST_SIZE = 16;
    static constexpr int BLOCK_SIZE = 64;

    c_MD5() { Init(); }

    void Init();
    // Nothing for a length of 0 or below.
    void Update(const std::uint8_t* data, std::int32_t length);
    // Any number of bytes, fed in pieces that Update takes.
    void Update(s_ByteSpan data);
    // Pads, appends the bit count and writes the digest; the context is not cleared.
    void Final(std::uint8_t digest[DIGEST_SIZE]);
    // The compression function on one block, at any alignment.
    void Transform(const std::uint8_t block[BLOCK_SIZE]);

private:
    std::uint32_t m_BitCount[2];
    std::uint32_t m_State[4];
    std::uint8_t m_Block[BLOCK_SIZE];
};

void MD5Digest(const void* data, std::int32_t length, std::uint8_t digest[c_MD5::DIGEST_SIZE]);
void MD5Digest(s_ByteSpan data, std::uint8_t digest[c_MD5::DIGEST_SIZE]);
// Two lower-case hex digits per byte, in byte order.
c_String MD5DigestToHex(const std::uint8_t digest[c_MD5::DIGEST_SIZE]);
c_String GetMD5OfData(const void* data, std::int32_t length);
c_String GetMD5OfData(s_ByteSpan data);
// Over the text's bytes, without the terminating NUL.
c_String GetMD5OfText(const c_String& text);
