// Tests of the message table, FormatMessageW, local blocks, module handles and the last error.

#include "platform/kernel/LastError.h"

#include <iphlpapi.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <thread>

namespace {

constexpr DWORD SYSTEM_LOOKUP = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;

std::u16string SystemText(DWORD error) {
    WCHAR* block = nullptr;
    const DWORD length = FormatMessageW(SYSTEM_LOOKUP | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, error, 0,
                                        reinterpret_cast<LPWSTR>(&block), 0, nullptr);
    std::u16string text(block == nullptr ? u"" : block, length);
    EXPECT_EQ(LocalFree(block), nullptr);
    return text;
}

bool IsEnglishLine(const std::u16string& text) {
    return text.size() > 2 && text.substr(text.size() - 2) == u"\r\n";
}

TEST(FormatMessageW, HasATextForEveryErrorTheLayerSets) {
    const DWORD errors[] = {
        ERROR_SUCCESS,
        ERROR_FILE_NOT_FOUND,
        ERROR_PATH_NOT_FOUND,
        ERROR_TOO_MANY_OPEN_FILES,
        ERROR_ACCESS_DENIED,
        ERROR_INVALID_HANDLE,
        ERROR_NOT_ENOUGH_MEMORY,
        ERROR_INVALID_DRIVE,
        ERROR_NOT_SAME_DEVICE,
        ERROR_WRITE_PROTECT,
        ERROR_NOT_READY,
        ERROR_GEN_FAILURE,
        ERROR_SHARING_VIOLATION,
        ERROR_NOT_SUPPORTED,
        ERROR_FILE_EXISTS,
        ERROR_INVALID_PARAMETER,
        ERROR_BROKEN_PIPE,
        ERROR_BUFFER_OVERFLOW,
        ERROR_DISK_FULL,
        ERROR_CALL_NOT_IMPLEMENTED,
        ERROR_INSUFFICIENT_BUFFER,
        ERROR_MOD_NOT_FOUND,
        ERROR_DIR_NOT_EMPTY,
        ERROR_NOT_LOCKED,
        ERROR_BAD_PATHNAME,
        ERROR_ALREADY_EXISTS,
        ERROR_FILENAME_EXCED_RANGE,
        ERROR_FILE_TOO_LARGE,
        ERROR_NO_DATA,
        ERROR_MORE_DATA,
        ERROR_NOT_OWNER,
        ERROR_INVALID_ADDRESS,
        ERROR_MR_MID_NOT_FOUND,
        ERROR_INVALID_FLAGS,
        ERROR_IO_DEVICE,
        ERROR_INVALID_THREAD_ID,
        ERROR_NO_SYSTEM_RESOURCES,
        ERROR_TIMEOUT,
        ERROR_RESOURCE_TYPE_NOT_FOUND,
        ERROR_CANT_RESOLVE_FILENAME,
        ERROR_UNSUPPORTED_TYPE,
    };
    for (DWORD error : errors) {
        EXPECT_TRUE(IsEnglishLine(SystemText(error))) << error;
    }
    for (int errorNumber = 0; errorNumber < 134; ++errorNumber) {
        EXPECT_TRUE(IsEnglishLine(SystemText(n_Platform::WindowsErrorFromErrno(errorNumber)))) << errorNumber;
    }
}

struct s_ErrnoCase {
    int m_Errno;
    DWORD m_Error;
};

TEST(WindowsErrorFromErrno, MapsTheCommonFailures) {
    const s_ErrnoCase cases[] = {
        {ENOENT, ERROR_FILE_NOT_FOUND}, {ENOTDIR, ERROR_PATH_NOT_FOUND}, {EACCES, ERROR_ACCESS_DENIED},
        {EPERM, ERROR_ACCESS_DENIED},   {EEXIST, ERROR_FILE_EXISTS},     {ENOSPC, ERROR_DISK_FULL},
        {EBADF, ERROR_INVALID_HANDLE},  {EPROTO, ERROR_GEN_FAILURE},
    };
    for (const s_ErrnoCase& row : cases) {
        EXPECT_EQ(n_Platform::WindowsErrorFromErrno(row.m_Errno), row.m_Error) << row.m_Errno;
    }
}

TEST(FormatMessageW, GivesTheTextsOfKnownNumbers) {
    EXPECT_EQ(SystemText(0), u"The operation completed successfully.\r\n");
    EXPECT_EQ(SystemText(2), u"The system cannot find the file specified.\r\n");
    EXPECT_EQ(SystemText(5), u"Access is denied.\r\n");
}

TEST(FormatMessageW, FailsForUnknownNumbersAndMissingTables) {
    WCHAR buffer[256];
    SetLastError(0);
    EXPECT_EQ(0u, FormatMessageW(SYSTEM_LOOKUP, nullptr, 0xFFFFFFFF, 0, buffer, 256, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_MR_MID_NOT_FOUND);

    // The program's own module, and a library that is not loaded, carry no message table.
    EXPECT_EQ(GetModuleHandleW(u"wininet.dll"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    const DWORD moduleLookup = FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS;
    EXPECT_EQ(0u, FormatMessageW(moduleLookup, GetModuleHandleW(nullptr), 2, 0, buffer, 256, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
    EXPECT_GT(FormatMessageW(moduleLookup | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 2, 0, buffer, 256, nullptr), 0u);
}

TEST(FormatMessageW, HonoursTheCallersBuffer) {
    const std::u16string expected = u"Access is denied.\r\n";
    const DWORD size = static_cast<DWORD>(expected.size()) + 1;
    WCHAR buffer[64];
    EXPECT_EQ(size - 1, FormatMessageW(SYSTEM_LOOKUP, nullptr, 5, 0, buffer, size, nullptr));
    EXPECT_EQ(std::u16string(buffer), expected);
    SetLastError(0);
    EXPECT_EQ(0u, FormatMessageW(SYSTEM_LOOKUP, nullptr, 5, 0, buffer, size - 1, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    // Inserts are never expanded, so a text with one needs FORMAT_MESSAGE_IGNORE_INSERTS.
    EXPECT_EQ(0u, FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_MR_MID_NOT_FOUND, 0, buffer, 64, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(LocalAlloc, ZeroInitialisesAndRejectsMovableBlocks) {
    auto* block = static_cast<unsigned char*>(LocalAlloc(LMEM_ZEROINIT, 64));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block[0] | block[63], 0);
    EXPECT_EQ(LocalFree(block), nullptr);
    EXPECT_EQ(LocalAlloc(0x0002, 8), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(GetLastError, BelongsToEachThread) {
    SetLastError(ERROR_ACCESS_DENIED);
    DWORD seenByOtherThread = 1;
    std::thread other([&] { seenByOtherThread = GetLastError(); });
    other.join();
    EXPECT_EQ(seenByOtherThread, ERROR_SUCCESS);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

} // namespace
