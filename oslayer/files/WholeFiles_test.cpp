// Tests of reading and writing whole files.

#include "oslayer/files/WholeFiles.h"

#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class WholeFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_Drives.IsReady());
        WriteTestFile(m_Drives.GetC() + "/text.txt", std::string("abc\0def", 7));
        WriteTestFile(m_Drives.GetC() + "/empty.txt", "");
    }

    c_TemporaryDrives m_Drives;
};

TEST_F(WholeFiles, ReadWholeFileWithAndWithoutALimit) {
    c_ByteBuffer buffer;
    buffer.Append(c_StringView("stale"));
    ASSERT_TRUE(ReadWholeFile("C:\\text.txt", buffer));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize()),
              std::string("abc\0def", 7));
    ASSERT_TRUE(ReadWholeFile("C:\\text.txt", buffer, 2));
    EXPECT_EQ(ToStd(buffer.GetView()), "ab");
    ASSERT_TRUE(ReadWholeFile("C:\\empty.txt", buffer));
    EXPECT_EQ(buffer.GetSize(), 0u);
    EXPECT_FALSE(ReadWholeFile("C:\\missing.txt", buffer));
}

TEST_F(WholeFiles, ReadFileToStringCutsAtTheNul) {
    c_String text = "untouched";
    EXPECT_TRUE(ReadFileToString("C:\\empty.txt", text, 100));
    EXPECT_EQ(ToStd(text), "untouched");
    EXPECT_TRUE(ReadFileToString("C:\\text.txt", text, 100));
    EXPECT_EQ(ToStd(text), "abc");
    EXPECT_TRUE(ReadFileToString("C:\\text.txt", text, 2));
    EXPECT_EQ(ToStd(text), "ab");
    EXPECT_FALSE(ReadFileToString("C:\\missing.txt", text, 100));
    WriteTestFile(m_Drives.GetC() + "/lines.txt", "first line\r\nsecond\r\n");
    EXPECT_EQ(ToStd(ReadFileText("C:\\lines.txt")), "first line\r\nsecond\r\n");
    EXPECT_EQ(ToStd(ReadFileText("C:\\missing.txt")), "");
}

TEST_F(WholeFiles, WritesWithTheirMessages) {
    c_ByteBuffer buffer;
    buffer.Append(c_StringView("xxpayload"));
    buffer.Consume(2);
    c_String error;
    ASSERT_TRUE(WriteBufferToFile(buffer, "C:\\out.bin", error));
    EXPECT_EQ(ReadTestFile(m_Drives.GetC() + "/out.bin"), "payload");
    EXPECT_FALSE(WriteBufferToFile(buffer, "C:\\none\\out.bin", error));
    EXPECT_EQ(ToStd(error), "Failed to open the file.  File error: Windows error code 3: The system cannot find the "
                            "path specified.");
    EXPECT_FALSE(WriteBufferToFile(buffer, "/dev/full", error));
    EXPECT_EQ(ToStd(error), "Failed to write the data.  File error: Windows error code 112: There is not enough space "
                            "on the disk.");
    EXPECT_TRUE(WriteStringToFile("C:\\out.bin", "short"));
    EXPECT_EQ(ReadTestFile(m_Drives.GetC() + "/out.bin"), "short");
    EXPECT_FALSE(WriteStringToFile("C:\\none\\out.bin", "x"));
}

} // namespace
