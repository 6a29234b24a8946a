// Tests of the transfers on file handles: reads, writes, positions, ends, flushes, times and devices.

#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <string>

namespace {

HANDLE OpenReadWrite(const char16_t* path, DWORD disposition = OPEN_ALWAYS, DWORD flags = 0) {
    return CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, disposition, flags, nullptr);
}

LARGE_INTEGER Distance(LONGLONG value) {
    LARGE_INTEGER distance;
    distance.QuadPart = value;
    return distance;
}

std::string ReadAll(HANDLE file, DWORD count) {
    std::string text(count, '\0');
    DWORD read = 0;
    EXPECT_TRUE(ReadFile(file, text.data(), count, &read, nullptr));
    text.resize(read);
    return text;
}

TEST(FileTransfers, WriteSeekReadAndEndTheFile) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    HANDLE file = OpenReadWrite(u"C:\\data.bin");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, "0123456789", 10, &written, nullptr));
    EXPECT_EQ(written, 10u);
    LARGE_INTEGER position;
    const struct {
        LONGLONG m_Distance;
        DWORD m_Method;
        LONGLONG m_Position;
        const char* m_Rest;
    } moves[] = {
        {0, FILE_BEGIN, 0, "0123456789"}, {-3, FILE_END, 7, "789"}, {4, FILE_BEGIN, 4, "456789"},
        {-2, FILE_CURRENT, 8, "89"},      {5, FILE_END, 15, ""},
    };
    for (const auto& move : moves) {
        if (move.m_Method == FILE_CURRENT) {
            ASSERT_TRUE(SetFilePointerEx(file, Distance(10), nullptr, FILE_BEGIN));
        }
        ASSERT_TRUE(SetFilePointerEx(file, Distance(move.m_Distance), &position, move.m_Method));
        EXPECT_EQ(position.QuadPart, move.m_Position);
        EXPECT_EQ(ReadAll(file, 20), move.m_Rest) << move.m_Position;
    }
    EXPECT_FALSE(SetFilePointerEx(file, Distance(-1), nullptr, FILE_BEGIN));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
    ASSERT_TRUE(SetFilePointerEx(file, Distance(6), nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file));
    LARGE_INTEGER size;
    ASSERT_TRUE(GetFileSizeEx(file, &size));
    EXPECT_EQ(size.QuadPart, 6);
    EXPECT_TRUE(FlushFileBuffers(file));
    CloseHandle(file);
    EXPECT_EQ(ReadTestFile(drives.GetC() + "/data.bin"), "012345");
}

TEST(FileTransfers, AccessDecidesWhatAHandleMayDo) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    WriteTestFile(drives.GetC() + "/f.txt", "abc");
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    HANDLE reader = CreateFileW(u"C:\\f.txt", GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE writer = CreateFileW(u"C:\\f.txt", GENERIC_WRITE, share, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    char buffer[4];
    DWORD count = 7;
    EXPECT_FALSE(WriteFile(reader, "x", 1, &count, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(count, 0u);
    EXPECT_FALSE(SetEndOfFile(reader));
    EXPECT_FALSE(FlushFileBuffers(reader));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(ReadFile(writer, buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    CloseHandle(reader);
    CloseHandle(writer);
    for (HANDLE stale : {reader, static_cast<HANDLE>(nullptr), INVALID_HANDLE_VALUE}) {
        EXPECT_FALSE(ReadFile(stale, buffer, sizeof buffer, &count, nullptr));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    }
}

TEST(FileTransfers, OverlappedTransfersUseTheirOffsetAndCompleteAtOnce) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    WriteTestFile(drives.GetC() + "/o.bin", "0123456789");
    HANDLE file = OpenReadWrite(u"C:\\o.bin", OPEN_EXISTING, FILE_FLAG_OVERLAPPED);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    OVERLAPPED overlapped = {};
    overlapped.Offset = 6;
    overlapped.hEvent = event;
    char buffer[8] = {};
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(file, buffer, 3, &read, &overlapped));
    EXPECT_EQ(std::string(buffer, read), "678");
    EXPECT_EQ(overlapped.InternalHigh, 3u);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    overlapped.Offset = 1;
    ASSERT_TRUE(WriteFile(file, "AB", 2, nullptr, &overlapped));
    CloseHandle(event);
    CloseHandle(file);
    EXPECT_EQ(ReadTestFile(drives.GetC() + "/o.bin"), "0AB3456789");
}

TEST(FileTransfers, FullDeviceFailsWritesAndFlushes) {
    HANDLE device = CreateFileW(u"/dev/full", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                0, nullptr);
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    DWORD written = 9;
    EXPECT_FALSE(WriteFile(device, "abc", 3, &written, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
    EXPECT_EQ(written, 0u);
    EXPECT_TRUE(SetEndOfFile(device)) << "a device has no end to move";
    EXPECT_FALSE(FlushFileBuffers(device));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    CloseHandle(device);
}

TEST(FileTransfers, CompressionControlsAreNotSupported) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    HANDLE file = OpenReadWrite(u"C:\\c.bin");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    WORD format = 0;
    DWORD returned = 5;
    for (DWORD code : {DWORD(FSCTL_GET_COMPRESSION), DWORD(FSCTL_SET_COMPRESSION)}) {
        EXPECT_FALSE(DeviceIoControl(file, code, &format, sizeof format, &format, sizeof format, &returned, nullptr));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    }
    CloseHandle(file);
}

TEST(FileTransfers, FileTimesAndIdentity) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    HANDLE file = OpenReadWrite(u"C:\\.timed");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const FILETIME written = {0x12345670, 0x01D00000};
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
    FILETIME read = {};
    ASSERT_TRUE(GetFileTime(file, nullptr, nullptr, &read));
    EXPECT_EQ(CompareFileTime(&read, &written), 0);
    BY_HANDLE_FILE_INFORMATION information;
    ASSERT_TRUE(GetFileInformationByHandle(file, &information));
    EXPECT_EQ(information.dwFileAttributes, DWORD(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(information.nNumberOfLinks, 1u);
    CloseHandle(file);
    const FILETIME later = {0, 0x01D00001};
    EXPECT_EQ(CompareFileTime(&written, &later), -1);
    EXPECT_EQ(CompareFileTime(&later, &written), 1);
}

} // namespace
