// Tests of the file digests against md5sum, their memory, and of the executable-header test.

#include "oslayer/files/FileDigests.h"

#include "oslayer/files/ProgramNames.h"
#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

// What md5sum says of the file.
std::string RunMd5sum(const std::string& linuxPath) {
    FILE* pipe = popen(("md5sum '" + linuxPath + "'").c_str(), "r");
    char digest[33] = {};
    const bool read = pipe != nullptr && std::fread(digest, 1, 32, pipe) == 32;
    if (pipe != nullptr) {
        pclose(pipe);
    }
    return read ? digest : "";
}

// The largest resident size the process has had, in KiB.
long PeakResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmHWM:")) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

void WritePatternFile(const std::string& linuxPath, std::size_t size) {
    std::ofstream file(linuxPath, std::ios::binary);
    std::string block(1 << 20, '\0');
    std::uint32_t state = 2463534242u;
    for (std::size_t written = 0; written < size; written += block.size()) {
        for (char& byte : block) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            byte = static_cast<char>(state);
        }
        file.write(block.data(), static_cast<std::streamsize>(std::min(block.size(), size - written)));
    }
}

TEST(FileDigests, EqualMd5sumWithFlatMemory) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    const struct {
        const char* m_Name;
        std::size_t m_Size;
    } cases[] = {
        {"empty.bin", 0},
        {"one.bin", 1 << 20},
        {"hundred.bin", std::size_t(100) << 20},
    };
    for (const auto& row : cases) {
        const std::string linuxPath = drives.GetC() + "/" + row.m_Name;
        WritePatternFile(linuxPath, row.m_Size);
        const long peakBefore = PeakResidentKiB();
        const c_String digest = GetMD5OfFile(c_String("C:\\") + row.m_Name);
        const long peakAfter = PeakResidentKiB();
        EXPECT_EQ(ToStd(digest), RunMd5sum(linuxPath)) << row.m_Name;
        EXPECT_LT(peakAfter - peakBefore, 8 * 1024) << row.m_Name << ": the file is read in blocks";
        std::remove(linuxPath.c_str());
    }
    EXPECT_EQ(ToStd(GetMD5OfFile("C:\\missing.bin")), "");
    std::uint8_t digest[c_MD5::DIGEST_SIZE];
    EXPECT_FALSE(GetFileMD5("C:\\missing.bin", digest));
}

TEST(FileDigests, OwnExecutable) {
    std::uint8_t digest[c_MD5::DIGEST_SIZE];
    ASSERT_TRUE(GetMD5OfOwnExecutable(digest));
    EXPECT_EQ(ToStd(MD5DigestToHex(digest)), ToStd(GetMD5OfFile(GetProgramPath())));
}

// "MZ", the PE header's offset at 60, and "PE\0\0" with the machine there.
std::string MakeImage(std::uint32_t headerOffset, std::uint16_t machine, std::size_t size) {
    std::string image(size, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    for (int i = 0; i < 4; ++i) {
        image[60 + i] = static_cast<char>(headerOffset >> (8 * i));
    }
    if (headerOffset + 6 <= size) {
        image.replace(headerOffset, 4, std::string("PE\0\0", 4));
        image[headerOffset + 4] = static_cast<char>(machine);
        image[headerOffset + 5] = static_cast<char>(machine >> 8);
    }
    return image;
}

TEST(FileDigests, WindowsExecutableHeaders) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    const struct {
        const char* m_Name;
        std::string m_Content;
        bool m_Result;
        bool m_Is64Bit;
    } cases[] = {
        {"x64", MakeImage(128, 0x8664, 512), true, true},
        {"ARM64", MakeImage(128, 0xAA64, 512), true, true},
        {"Itanium", MakeImage(128, 0x0200, 512), true, true},
        {"x86", MakeImage(128, 0x014C, 512), true, false},
        {"header beyond the first 4096 bytes", MakeImage(5000, 0x8664, 6000), true, false},
        {"header past the end of the file", MakeImage(400, 0x8664, 300), true, false},
        {"no MZ", "ELF and more", false, false},
        {"empty", "", false, false},
    };
    for (const auto& row : cases) {
        WriteTestFile(drives.GetC() + "/image.exe", row.m_Content);
        bool is64Bit = !row.m_Is64Bit;
        EXPECT_EQ(IsWindowsExecutable64Bit("C:\\image.exe", is64Bit), row.m_Result) << row.m_Name;
        EXPECT_EQ(is64Bit, row.m_Is64Bit) << row.m_Name;
    }
    bool is64Bit = true;
    EXPECT_FALSE(IsWindowsExecutable64Bit("C:\\missing.exe", is64Bit));
    EXPECT_FALSE(is64Bit);
}

} // namespace
