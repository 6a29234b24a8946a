// Tests that the message table has a text for every error number that the file calls set.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

TEST(FileErrors, EveryNumberHasAnEnglishLine) {
    const struct {
        DWORD m_Error;
        const char16_t* m_Text;
    } cases[] = {
        {ERROR_NO_MORE_FILES, u"There are no more files.\r\n"},
        {ERROR_BAD_LENGTH, u"The program issued a command but the command length is incorrect.\r\n"},
        {ERROR_BAD_NETPATH, u"The network path was not found.\r\n"},
        {ERROR_PROC_NOT_FOUND, u"The specified procedure could not be found.\r\n"},
        {ERROR_NEGATIVE_SEEK, u"An attempt was made to move the file pointer before the beginning of the file.\r\n"},
        {ERROR_BAD_EXE_FORMAT, u"%1 is not a valid Win32 application.\r\n"},
        {ERROR_ENVVAR_NOT_FOUND, u"The system could not find the environment option that was entered.\r\n"},
        {ERROR_DIRECTORY, u"The directory name is invalid.\r\n"},
        {ERROR_IO_PENDING, u"Overlapped I/O operation is in progress.\r\n"},
        {ERROR_NO_ASSOCIATION, u"No application is associated with the specified file for this operation.\r\n"},
    };
    for (const auto& row : cases) {
        WCHAR buffer[256];
        const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                            row.m_Error, 0, buffer, 256, nullptr);
        EXPECT_EQ(std::u16string(buffer, length), row.m_Text) << row.m_Error;
    }
}

} // namespace
