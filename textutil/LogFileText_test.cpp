// Tests of the log file's line and name texts.

#include "textutil/LogFileText.h"

#include "strings/Memory.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

namespace {

const c_DateTime LINE_TIME(2024, 1, 5, 13, 4, 9);

TEST(LogFileText, Forms) {
    const struct {
        const char* m_Name;
        c_String m_Text;
        const char* m_Expected;
    } cases[] = {
        {"line: two blanks between date and time", MakeLogFileLine("text", LINE_TIME),
         "text | 2024-01-05  13:04:09\r\n"},
        {"line rounds to the millisecond", MakeLogFileLine("text", c_DateTime(LINE_TIME.GetValue() + 999600)),
         "text | 2024-01-05  13:04:10\r\n"},
        {"line with an empty message", MakeLogFileLine("", LINE_TIME), " | 2024-01-05  13:04:09\r\n"},
        {"line year without padding", MakeLogFileLine("text", c_DateTime(800, 1, 5, 13, 4, 9)),
         "text | 800-01-05  13:04:09\r\n"},
        {"file name", MakeLogFileName(LINE_TIME), "Installer Log 2024-01-05 130409.log"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ToStd(test.m_Text), test.m_Expected) << test.m_Name;
    }
}

TEST(LogFileText, FailedAllocationGivesAnEmptyLine) {
    n_Memory::FailNthAllocation(1);
    const c_String line = MakeLogFileLine("a message long enough to need the heap", LINE_TIME);
    n_Memory::FailNthAllocation(0);
    EXPECT_EQ(ToStd(line), "");
}

} // namespace
