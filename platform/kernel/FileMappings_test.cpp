// Tests of file mappings backed by memory.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(FileMappings, NamedMappingIsSharedByItsViews) {
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 64, u"FileMappings_test");
    ASSERT_NE(mapping, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    auto* written = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 64));
    ASSERT_NE(written, nullptr);
    EXPECT_EQ(written[63], 0);
    std::strcpy(written + 8, "shared");
    HANDLE opened = OpenFileMappingW(FILE_MAP_READ, FALSE, u"FileMappings_test");
    ASSERT_NE(opened, nullptr);
    CloseHandle(mapping);
    auto* read = static_cast<const char*>(MapViewOfFile(opened, FILE_MAP_READ, 0, 8, 16));
    ASSERT_NE(read, nullptr);
    EXPECT_STREQ(read, "shared");
    HANDLE again = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 64, u"FileMappings_test");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    CloseHandle(again);
    CloseHandle(opened);
    // The views keep the bytes after every handle is closed.
    EXPECT_STREQ(written + 8, "shared");
    EXPECT_TRUE(UnmapViewOfFile(read));
    EXPECT_TRUE(UnmapViewOfFile(written));
    EXPECT_FALSE(UnmapViewOfFile(written));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ADDRESS));
    EXPECT_EQ(OpenFileMappingW(FILE_MAP_READ, FALSE, u"FileMappings_test"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(FileMappings, RefusedRequests) {
    struct s_Case {
        const char* m_Name;
        HANDLE m_File;
        DWORD m_Protection;
        DWORD m_Size;
        DWORD m_Error;
    } const cases[] = {
        {"a file", reinterpret_cast<HANDLE>(0x40), PAGE_READWRITE, 64, ERROR_NOT_SUPPORTED},
        {"no size", INVALID_HANDLE_VALUE, PAGE_READWRITE, 0, ERROR_INVALID_PARAMETER},
        {"unknown protection", INVALID_HANDLE_VALUE, 0x40, 64, ERROR_INVALID_PARAMETER},
    };
    for (const s_Case& row : cases) {
        EXPECT_EQ(CreateFileMappingW(row.m_File, nullptr, row.m_Protection, 0, row.m_Size, nullptr), nullptr)
            << row.m_Name;
        EXPECT_EQ(GetLastError(), row.m_Error) << row.m_Name;
    }
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 16, nullptr);
    EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_READ, 0, 8, 9), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    CloseHandle(mapping);
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, u"FileMappings_test event");
    EXPECT_EQ(OpenFileMappingW(FILE_MAP_READ, FALSE, u"FileMappings_test event"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    CloseHandle(event);
}

} // namespace
