// File digests and the executable-header test, over c_File.

#include "oslayer/files/FileDigests.h"

#include "oslayer/files/ProgramNames.h"
#include "oslayer/files/WholeFiles.h"
#include "oslayer/files/c_File.h"
#include "textutil/ExecutableHeader.h"
#include "textutil/c_ByteBuffer.h"

namespace {

// Large enough that the system calls cost little beside the digest, small enough to stay in cache.
constexpr std::uint32_t DIGEST_BLOCK = 256 * 1024;
constexpr std::int64_t EXECUTABLE_HEADER_BYTES = 4096;

} // namespace

bool GetFileMD5(const c_String& path, std::uint8_t digest[c_MD5::DIGEST_SIZE]) {
    c_File file(path);
    c_ByteBuffer block;
    if (!file.OpenForRead(false) || !block.SetSize(DIGEST_BLOCK)) {
        return false;
    }
    c_MD5 context;
    for (;;) {
        std::uint32_t read = 0;
        if (!file.Read(block.GetData(), DIGEST_BLOCK, &read)) {
            return false;
        }
        if (read == 0) {
            break;
        }
        context.Update(s_ByteSpan::FromPointer(block.GetData(), read));
    }
    context.Final(digest);
    return true;
}

c_String GetMD5OfFile(const c_String& path) {
    std::uint8_t digest[c_MD5::DIGEST_SIZE];
    if (!GetFileMD5(path, digest)) {
        return c_String();
    }
    return MD5DigestToHex(digest);
}

bool GetMD5OfOwnExecutable(std::uint8_t digest[c_MD5::DIGEST_SIZE]) {
    return GetFileMD5(GetProgramPath(), digest);
}

bool IsWindowsExecutable64Bit(const c_String& path, bool& is64Bit) {
    is64Bit = false;
    c_ByteBuffer header;
    return ReadWholeFile(path, header, EXECUTABLE_HEADER_BYTES) &&
           IsWindowsExecutableHeader64Bit(header.GetSpan(), is64Bit);
}
