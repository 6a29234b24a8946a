// Tests of the Shell Link file format: what we write, byte for byte where readers look, what reads
// back, the forms other writers use, and files cut short or made up.

#include "platform/shell/ShellLinkFile.h"

#include "platform/testing/WideText.h"

#include <gtest/gtest.h>

namespace {

using n_Platform::s_ShellLinkData;

std::uint32_t Read32(const std::string& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes.at(offset + i));
    }
    return value;
}

std::string Bytes32(std::uint32_t value) {
    return std::string{static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
                       static_cast<char>(value >> 24)};
}

s_ShellLinkData MakeFullLink() {
    s_ShellLinkData link;
    link.m_Target = u"C:\\Program Files\\\u00C4pp\\App_64.exe";
    link.m_Description = u"App_64 (C__Program Files_App)";
    link.m_WorkingDirectory = u"C:\\Program Files\\App";
    link.m_Arguments = u"-new-tab \"https://example.invalid/a b\"";
    link.m_IconLocation = u"C:\\Program Files\\App\\app.ico";
    link.m_IconIndex = -2;
    link.m_FileAttributes = 0x20;
    link.m_Creation = {1, 2};
    link.m_LastAccess = {3, 4};
    link.m_LastWrite = {5, 6};
    link.m_FileSize = 1234;
    return link;
}

void ExpectSameLink(const s_ShellLinkData& read, const s_ShellLinkData& written) {
    EXPECT_EQ(Narrow(read.m_Target), Narrow(written.m_Target));
    EXPECT_EQ(Narrow(read.m_Description), Narrow(written.m_Description));
    EXPECT_EQ(Narrow(read.m_WorkingDirectory), Narrow(written.m_WorkingDirectory));
    EXPECT_EQ(Narrow(read.m_Arguments), Narrow(written.m_Arguments));
    EXPECT_EQ(Narrow(read.m_IconLocation), Narrow(written.m_IconLocation));
    EXPECT_EQ(read.m_IconIndex, written.m_IconIndex);
    EXPECT_EQ(read.m_ShowCommand, written.m_ShowCommand);
    EXPECT_EQ(read.m_FileAttributes, written.m_FileAttributes);
    EXPECT_EQ(read.m_Creation.dwHighDateTime, written.m_Creation.dwHighDateTime);
    EXPECT_EQ(read.m_LastAccess.dwLowDateTime, written.m_LastAccess.dwLowDateTime);
    EXPECT_EQ(read.m_LastWrite.dwHighDateTime, written.m_LastWrite.dwHighDateTime);
    EXPECT_EQ(read.m_FileSize, written.m_FileSize);
}

TEST(ShellLinkFile, WhatIsWrittenReadsBack) {
    s_ShellLinkData onlyTarget;
    onlyTarget.m_Target = u"D:\\a.exe";
    s_ShellLinkData noTarget;
    noTarget.m_Description = u"no target";
    s_ShellLinkData longest;
    longest.m_Target = u"C:\\" + std::u16string(n_Platform::LONGEST_LINK_TEXT - 3, u'x');
    longest.m_Arguments = std::u16string(n_Platform::LONGEST_LINK_TEXT, u'\u20AC');
    const struct {
        const char* m_Name;
        s_ShellLinkData m_Link;
    } cases[] = {
        {"every field", MakeFullLink()}, {"only a target", onlyTarget},  {"no target", noTarget},
        {"empty", s_ShellLinkData()},    {"the longest texts", longest},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.m_Name);
        s_ShellLinkData read;
        read.m_Description = u"old";
        ASSERT_TRUE(n_Platform::ReadShellLink(n_Platform::WriteShellLink(row.m_Link), read));
        ExpectSameLink(read, row.m_Link);
    }
}

// Where other readers look: the header, the flags, the link info's local path and the string data.
TEST(ShellLinkFile, LayoutFollowsTheFormat) {
    s_ShellLinkData link;
    link.m_Target = u"C:\\A\\b.exe";
    link.m_Description = u"B";
    link.m_IconLocation = u"C:\\i.ico";
    const std::string bytes = n_Platform::WriteShellLink(link);
    EXPECT_EQ(bytes.substr(0, 20), std::string("\x4C\0\0\0\x01\x14\x02\0\0\0\0\0\xC0\0\0\0\0\0\0\x46", 20));
    EXPECT_EQ(Read32(bytes, 0x14), 0x80u | 0x40u | 0x04u | 0x02u) << "unicode, icon, name and link info";
    EXPECT_EQ(Read32(bytes, 0x3C), 1u) << "SW_SHOWNORMAL";
    const std::size_t info = 0x4C;
    EXPECT_EQ(Read32(bytes, info + 4), 0x24u);
    EXPECT_EQ(Read32(bytes, info + 8), 1u) << "volume id and local base path";
    EXPECT_EQ(Read32(bytes, info + Read32(bytes, info + 12) + 4), 3u) << "a fixed drive";
    EXPECT_EQ(std::string(bytes.c_str() + info + Read32(bytes, info + 16)), "C:\\A\\b.exe");
    EXPECT_EQ(bytes[info + Read32(bytes, info + 24)], '\0') << "an empty common path suffix";
    EXPECT_EQ(bytes.substr(info + Read32(bytes, info + 28), 4), std::string("C\0:\0", 4));
    const std::size_t strings = info + Read32(bytes, info);
    EXPECT_EQ(bytes.substr(strings, 4), std::string("\x01\0B\0", 4)) << "the description, counted";
    EXPECT_EQ(bytes.substr(bytes.size() - 4), std::string(4, '\0')) << "the terminal block";
}

// A file made the way other writers make them: an id list, a link info without UTF-16 fields and
// with a suffix, 8-bit string data with a relative path, and an extra data block.
std::string MakeForeignLink() {
    std::string info = Bytes32(0) + Bytes32(0x1C) + Bytes32(1) + Bytes32(0x1C) + Bytes32(0x2D) + Bytes32(0) +
                       Bytes32(0x37) + Bytes32(0x11) + Bytes32(3) + Bytes32(7) + Bytes32(0x10) + std::string(1, '\0') +
                       std::string("C:\\Tools\\\0", 10) + std::string("R\xE9sum\xE9.exe\0", 11);
    info.replace(0, 4, Bytes32(static_cast<std::uint32_t>(info.size())));
    const std::string header = Bytes32(0x4C) + std::string("\x01\x14\x02\0\0\0\0\0\xC0\0\0\0\0\0\0\x46", 16) +
                               Bytes32(0x01 | 0x02 | 0x04 | 0x08 | 0x40) + std::string(0x4C - 24, '\0');
    return header + std::string("\x04\0\x02\0\0\0", 6) + info + std::string("\x03\0Doc", 5) +
           std::string("\x05\0..\\Re", 7) + std::string("\x05\0i.ico", 7) + Bytes32(0x0C) + Bytes32(0xA0000003) +
           Bytes32(0) + Bytes32(0);
}

TEST(ShellLinkFile, ReadsTheFormsOfOtherWriters) {
    s_ShellLinkData read;
    ASSERT_TRUE(n_Platform::ReadShellLink(MakeForeignLink(), read));
    EXPECT_EQ(Narrow(read.m_Target), "C:\\Tools\\R\xC3\xA9sum\xC3\xA9.exe") << "Windows-1252 texts";
    EXPECT_EQ(Narrow(read.m_Description), "Doc");
    EXPECT_EQ(Narrow(read.m_IconLocation), "i.ico");
    EXPECT_EQ(Narrow(read.m_WorkingDirectory), "");
}

TEST(ShellLinkFile, RefusesFilesCutShortOrMadeUp) {
    const std::string whole = n_Platform::WriteShellLink(MakeFullLink());
    s_ShellLinkData read;
    // Every cut before the terminal block ends inside a part.
    for (std::size_t size = 0; size + 4 < whole.size(); ++size) {
        EXPECT_FALSE(n_Platform::ReadShellLink(std::string_view(whole).substr(0, size), read)) << size;
    }
    std::string badSize = whole;
    badSize[0] = 0x4D;
    std::string badClass = whole;
    badClass[19] = 0x47;
    std::string shortInfo = whole;
    shortInfo.replace(0x4C, 4, Bytes32(0x10));
    std::string longInfo = whole;
    longInfo.replace(0x4C, 4, Bytes32(0x7FFFFFFF));
    std::string pathPastInfo = whole;
    pathPastInfo.replace(0x4C + 28, 4, Bytes32(0xFFFFFF00));
    std::string unterminated = whole;
    const std::size_t infoSize = Read32(whole, 0x4C);
    unterminated.replace(0x4C + 28, 4, Bytes32(static_cast<std::uint32_t>(infoSize - 1)));
    const struct {
        const char* m_Name;
        const std::string& m_Bytes;
    } cases[] = {
        {"header size", badSize},
        {"class id", badClass},
        {"link info too short", shortInfo},
        {"link info past the end", longInfo},
        {"path offset outside", pathPastInfo},
        {"path without its NUL", unterminated},
    };
    for (const auto& row : cases) {
        EXPECT_FALSE(n_Platform::ReadShellLink(row.m_Bytes, read)) << row.m_Name;
    }
}

} // namespace
