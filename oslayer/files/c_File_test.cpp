// Tests of c_File: open modes and sharing, transfers, line reading, positions, errors and moves.

#include "oslayer/files/c_File.h"

#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"
#include "textutil/c_ByteBuffer.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class c_FileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_Drives.IsReady()); }

    std::string Linux(const char* name) const { return m_Drives.GetC() + "/" + name; }

    c_TemporaryDrives m_Drives;
};

// A mode of opening, as a table row calls it.
struct s_OpenMode {
    const char* m_Name;
    bool (*m_Open)(c_File& file);
    bool m_OpensMissingFile;
    const char* m_ContentAfterOpen; // of an existing file holding "0123456789"
    const char* m_ContentAfterWritingAB;
};

const s_OpenMode OPEN_MODES[] = {
    {"OpenCreateReadWrite", [](c_File& f) { return f.OpenCreateReadWrite(); }, true, "", "AB"},
    {"OpenForWrite", [](c_File& f) { return f.OpenForWrite(true, false); }, true, "", "AB"},
    {"OpenReadWriteRandomAccess", [](c_File& f) { return f.OpenReadWriteRandomAccess(true); }, true, "0123456789",
     "AB23456789"},
    {"OpenReadWriteSequential", [](c_File& f) { return f.OpenReadWriteSequential(false); }, true, "0123456789",
     "AB23456789"},
    {"OpenWriteSequential", [](c_File& f) { return f.OpenWriteSequential(true, false); }, true, "0123456789",
     "AB23456789"},
    {"OpenForAppend", [](c_File& f) { return f.OpenForAppend(); }, true, "0123456789", "0123456789AB"},
    {"OpenReadRandomAccess", [](c_File& f) { return f.OpenReadRandomAccess(); }, false, "0123456789", nullptr},
    {"OpenReadWriteExisting", [](c_File& f) { return f.OpenReadWriteExisting(false); }, false, "0123456789",
     "AB23456789"},
    {"OpenReadWriteExisting overlapped", [](c_File& f) { return f.OpenReadWriteExisting(true); }, false, "0123456789",
     nullptr},
    {"OpenForRead", [](c_File& f) { return f.OpenForRead(false); }, false, "0123456789", nullptr},
    {"OpenReadWriteExistingSequential", [](c_File& f) { return f.OpenReadWriteExistingSequential(true); }, false,
     "0123456789", "AB23456789"},
};

TEST_F(c_FileTest, EveryOpenModeOnExistingAndMissingFiles) {
    for (const s_OpenMode& mode : OPEN_MODES) {
        WriteTestFile(Linux("existing.txt"), "0123456789");
        c_File existing(c_String("C:\\existing.txt"));
        ASSERT_TRUE(mode.m_Open(existing)) << mode.m_Name;
        EXPECT_TRUE(existing.IsOpen());
        EXPECT_EQ(ReadTestFile(Linux("existing.txt")), mode.m_ContentAfterOpen) << mode.m_Name;
        if (mode.m_ContentAfterWritingAB != nullptr) {
            EXPECT_TRUE(existing.WriteText("AB")) << mode.m_Name;
            EXPECT_TRUE(existing.Close(false, true));
            EXPECT_EQ(ReadTestFile(Linux("existing.txt")), mode.m_ContentAfterWritingAB) << mode.m_Name;
        }
        c_File missing(c_String("C:\\missing.txt"));
        EXPECT_EQ(mode.m_Open(missing), mode.m_OpensMissingFile) << mode.m_Name;
        if (!mode.m_OpensMissingFile) {
            EXPECT_EQ(missing.GetErrorCode(), ERROR_FILE_NOT_FOUND) << mode.m_Name;
            EXPECT_EQ(ToStd(missing.GetLastErrorText()),
                      "File error: Windows error code 2: The system cannot find the file specified.");
            EXPECT_EQ(missing.GetHandle(), INVALID_HANDLE_VALUE) << "a failed open leaves the invalid handle";
        }
        missing.Close(false, false);
        std::remove(Linux("missing.txt").c_str());
        c_File unnamed;
        EXPECT_FALSE(mode.m_Open(unnamed)) << mode.m_Name;
        EXPECT_EQ(unnamed.GetErrorCode(), c_File::FILE_ERROR_MISSING_PATH);
        EXPECT_EQ(ToStd(unnamed.GetLastErrorText()), "Missing path and file name.");
    }
}

TEST_F(c_FileTest, WriterRefusesASecondWriterButAdmitsAReader) {
    WriteTestFile(Linux("shared.txt"), std::string(100, 'x'));
    c_File writer(c_String("C:\\shared.txt"));
    ASSERT_TRUE(writer.OpenForWrite(true, false));
    EXPECT_EQ(writer.GetSize(), 0);
    c_File secondWriter(c_String("C:\\shared.txt"));
    EXPECT_FALSE(secondWriter.OpenForWrite(true, false));
    EXPECT_EQ(secondWriter.GetErrorCode(), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(ToStd(secondWriter.GetLastErrorText()),
              "File error: Windows error code 32: The process cannot access the file because it is being used by "
              "another process.");
    c_File reader(c_String("C:\\shared.txt"));
    EXPECT_TRUE(reader.OpenForRead(false));
    c_File exclusiveReader(c_String("C:\\shared.txt"));
    EXPECT_FALSE(exclusiveReader.OpenForRead(true));
}

// Emptying fails, as it may on a file system that refuses it.
class c_UntruncatableFile : public c_File {
public:
    using c_File::c_File;
    bool Truncate() override {
        SetLastError(ERROR_ACCESS_DENIED);
        SetErrorFromLastError();
        return false;
    }
};

TEST_F(c_FileTest, OpenForWriteFailsWhenTheFileCannotBeEmptied) {
    WriteTestFile(Linux("old.txt"), "old content");
    c_UntruncatableFile file(c_String("C:\\old.txt"));
    EXPECT_FALSE(file.OpenForWrite(true, false));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.GetHandle(), nullptr);
    EXPECT_EQ(file.GetErrorCode(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(ToStd(file.GetLastErrorText()), "File error: Windows error code 5: Access is denied.");
    c_File again(c_String("C:\\old.txt"));
    EXPECT_TRUE(again.OpenForWrite(true, false)) << "the failed open left no handle behind";
}

TEST_F(c_FileTest, OpenForAppendWritesAfterTheEnd) {
    WriteTestFile(Linux("log.txt"), "first\r\n");
    c_File log(c_String("C:\\log.txt"));
    ASSERT_TRUE(log.OpenForAppend());
    EXPECT_TRUE(log.WriteLine(c_StringView("second"), c_File::LINE_END_CRLF));
    EXPECT_TRUE(log.WriteLine(c_String("third"), c_File::LINE_END_LF));
    EXPECT_TRUE(log.WriteText("fourth"));
    EXPECT_TRUE(log.WriteLineEnd(c_File::LINE_END_CRLF));
    EXPECT_FALSE(log.WriteLineEnd(3));
    EXPECT_FALSE(log.WriteLine(c_StringView("x"), 3));
    log.Close(false, false);
    EXPECT_EQ(ReadTestFile(Linux("log.txt")), "first\r\nsecond\r\nthird\nfourth\r\nx");
}

TEST_F(c_FileTest, ALiteralLineIsWrittenAsAView) {
    c_File file(c_String("C:\\lines.txt"));
    ASSERT_TRUE(file.OpenForWrite(true, false));
    EXPECT_TRUE(file.WriteLine("abc", c_File::LINE_END_CRLF));
    // The view form writes the text, then fails on the unknown line end; the string form would not.
    EXPECT_FALSE(file.WriteLine("de", 3));
    file.Close(false, false);
    EXPECT_EQ(ReadTestFile(Linux("lines.txt")), "abc\r\nde");
}

TEST_F(c_FileTest, WriteOfAByteBufferWritesItsUnreadBytes) {
    c_ByteBuffer buffer;
    ASSERT_TRUE(buffer.Append(c_StringView("headerbody")));
    buffer.Consume(6);
    c_File file(c_String("C:\\buffer.bin"));
    ASSERT_TRUE(file.OpenForWrite(true, false));
    EXPECT_TRUE(file.Write(buffer));
    EXPECT_TRUE(file.Write(c_ByteBuffer())) << "an empty buffer writes nothing";
    EXPECT_TRUE(file.WriteBuffer(buffer));
    file.Close(false, false);
    EXPECT_EQ(ReadTestFile(Linux("buffer.bin")), "bodybody");
}

struct s_LineCase {
    const char* m_Name;
    std::string m_Content;
    std::uint32_t m_BufferSize;
    std::vector<std::string> m_Lines; // "!" + code for a failing call
};

std::vector<std::string> ReadLines(c_File& file, std::uint32_t bufferSize) {
    std::vector<std::string> results;
    std::vector<char> buffer(bufferSize + 1, '?');
    for (int call = 0; call < 12; ++call) {
        std::uint32_t length = 99;
        if (file.ReadLine(buffer.data(), bufferSize, &length)) {
            results.push_back(std::string(buffer.data(), length));
            continue;
        }
        results.push_back(std::string("!")
                              .append(std::to_string(file.GetErrorCode() - 0x20000000))
                              .append(":")
                              .append(buffer.data(), length));
        if (file.GetErrorCode() == c_File::FILE_ERROR_END_OF_FILE) {
            break;
        }
    }
    return results;
}

TEST_F(c_FileTest, ReadLineSplitsLinesOfEveryShape) {
    const s_LineCase cases[] = {
        {"CRLF and LF lines", std::string("a\r\nbc\n"), 100, {"a", "bc", "!5:"}},
        {"last line without LF", "one\ntwo", 100, {"one", "two", "!5:"}},
        {"CR only before LF is dropped", "a\rb\r\r\n", 100, {"a\rb\r", "!5:"}},
        {"empty lines", "\n\r\n\n", 100, {"", "", "", "!5:"}},
        {"line longer than a 4-byte buffer", "0123456789\nx\n", 4, {"!6:012", "!6:345", "!6:678", "9", "x", "!5:"}},
        {"line exactly as long as the buffer", "abcd", 4, {"!6:abc", "d", "!5:"}},
        {"empty file", "", 100, {"!4:", "!5:"}},
    };
    for (const s_LineCase& row : cases) {
        WriteTestFile(Linux("lines.txt"), row.m_Content);
        c_File file(c_String("C:\\lines.txt"));
        ASSERT_TRUE(file.OpenForRead(false)) << row.m_Name;
        EXPECT_EQ(ReadLines(file, row.m_BufferSize), row.m_Lines) << row.m_Name;
    }
}

TEST_F(c_FileTest, ReadLineLeavesTheFileAtTheNextLine) {
    WriteTestFile(Linux("lines.txt"), "0123456789\n");
    c_File file(c_String("C:\\lines.txt"));
    ASSERT_TRUE(file.OpenForRead(false));
    char buffer[4];
    std::uint32_t length = 0;
    EXPECT_FALSE(file.ReadLine(buffer, 4, &length));
    EXPECT_EQ(file.GetErrorCode(), c_File::FILE_ERROR_NO_LINE_END);
    EXPECT_EQ(ToStd(file.GetLastErrorText()), "End of line is not found.");
    EXPECT_EQ(length, 3u);
    EXPECT_EQ(file.GetPosition(), 3);
}

TEST_F(c_FileTest, ReadLineRefusesBuffersThatHoldNoText) {
    WriteTestFile(Linux("lines.txt"), "abc\n");
    c_File file(c_String("C:\\lines.txt"));
    ASSERT_TRUE(file.OpenForRead(false));
    char buffer[2];
    std::uint32_t length = 7;
    for (std::uint32_t size : {0u, 1u}) {
        EXPECT_FALSE(file.ReadLine(buffer, size, &length)) << size;
        EXPECT_EQ(file.GetErrorCode(), c_File::FILE_ERROR_NO_INPUT_BUFFER);
        EXPECT_EQ(ToStd(file.GetLastErrorText()), "Input buffer is not set.");
        EXPECT_EQ(length, 0u);
    }
    EXPECT_FALSE(file.ReadLine(nullptr, 10, &length));
    EXPECT_EQ(file.GetPosition(), 0) << "nothing was read";
}

// Reads come back short, as from a pipe or a file still being written.
class c_ShortReadFile : public c_File {
public:
    using c_File::c_File;
    bool Read(void* buffer, std::uint32_t count, std::uint32_t* bytesRead) override {
        return c_File::Read(buffer, count < 3 ? count : 3, bytesRead);
    }
};

TEST_F(c_FileTest, ReadLineKeepsTheBytesOfAShortRead) {
    WriteTestFile(Linux("lines.txt"), "abcdef\ngh\n");
    c_ShortReadFile file(c_String("C:\\lines.txt"));
    ASSERT_TRUE(file.OpenForRead(false));
    EXPECT_EQ(ReadLines(file, 10), (std::vector<std::string>{"!6:abc", "!6:def", "", "gh", "!5:"}));
}

// Moving the position fails, as it may on a handle that cannot seek.
class c_UnmovableFile : public c_File {
public:
    using c_File::c_File;
    bool MovePosition(std::int64_t) override {
        SetLastError(ERROR_NEGATIVE_SEEK);
        SetErrorFromLastError();
        return false;
    }
};

TEST_F(c_FileTest, ReadLineFailsWithTheErrorOfAFailedMove) {
    const struct {
        const char* m_Name;
        const char* m_Content;
    } rows[] = {
        {"back to the byte after the LF", "ab\ncd\n"},
        {"back to the byte that gave way to the NUL", "abcdefgh\n"},
    };
    for (const auto& row : rows) {
        WriteTestFile(Linux("lines.txt"), row.m_Content);
        c_UnmovableFile file(c_String("C:\\lines.txt"));
        ASSERT_TRUE(file.OpenForRead(false)) << row.m_Name;
        char buffer[5];
        std::uint32_t length = 0;
        EXPECT_FALSE(file.ReadLine(buffer, sizeof buffer, &length)) << row.m_Name;
        EXPECT_EQ(file.GetErrorCode(), ERROR_NEGATIVE_SEEK) << row.m_Name;
    }
}

TEST_F(c_FileTest, ReadsValuesStringsAndCountsBytes) {
    c_File file(c_String("C:\\values.bin"));
    ASSERT_TRUE(file.OpenCreateReadWrite());
    EXPECT_TRUE(file.WriteValue(std::int32_t(-5)));
    EXPECT_TRUE(file.WriteValue(2.5));
    EXPECT_TRUE(file.WriteValue(true));
    EXPECT_TRUE(file.WriteText(c_StringView("abc\0def", 7)));
    EXPECT_TRUE(file.SetPosition());
    std::int32_t number = 0;
    double real = 0;
    bool flag = false;
    c_String text;
    EXPECT_TRUE(file.ReadValue(&number));
    EXPECT_TRUE(file.ReadValue(&real));
    EXPECT_TRUE(file.ReadValue(&flag));
    EXPECT_TRUE(file.ReadString(&text, 7));
    EXPECT_EQ(number, -5);
    EXPECT_EQ(real, 2.5);
    EXPECT_TRUE(flag);
    EXPECT_EQ(ToStd(text), "abc");
    EXPECT_EQ(file.GetBytesRead(), 4 + 8 + 1 + 7);
    EXPECT_FALSE(file.ReadValue(&number));
    EXPECT_EQ(file.GetErrorCode(), c_File::FILE_ERROR_NOT_ENOUGH_DATA);
    EXPECT_EQ(ToStd(file.GetLastErrorText()), "Not enough read data.");
    EXPECT_FALSE(file.ReadValue(static_cast<std::int16_t*>(nullptr)));
    EXPECT_EQ(file.GetErrorCode(), c_File::FILE_ERROR_NO_INPUT_BUFFER);
    EXPECT_TRUE(file.SetPosition(17));
    EXPECT_FALSE(file.ReadString(&text, 20));
    EXPECT_EQ(file.GetErrorCode(), c_File::FILE_ERROR_NOT_ENOUGH_DATA);
    EXPECT_EQ(ToStd(text), "def") << "a short read still gives what came";
    EXPECT_FALSE(file.ReadString(&text, -1));
    EXPECT_FALSE(file.HasError());
    EXPECT_FALSE(file.Write(nullptr, 3, nullptr));
    EXPECT_EQ(ToStd(file.GetLastErrorText()), "Output buffer is not set.");
}

TEST_F(c_FileTest, PositionsSizesAndTheAtEndFlag) {
    WriteTestFile(Linux("hundred.bin"), std::string(100, 'x'));
    c_File file(c_String("C:\\hundred.bin"));
    EXPECT_EQ(file.GetSize(), 100) << "a closed file gives its path's size";
    EXPECT_TRUE(file.IsAtEnd());
    ASSERT_TRUE(file.OpenReadWriteExisting(false));
    const struct {
        const char* m_Name;
        bool (*m_Move)(c_File& file);
        std::int64_t m_Position;
        bool m_AtEnd;
    } moves[] = {
        {"from the end, back past the start", [](c_File& f) { return f.SetPositionFromEnd(-500); }, 0, false},
        {"to an offset", [](c_File& f) { return f.SetPosition(40); }, 40, false},
        {"forward", [](c_File& f) { return f.MovePosition(60); }, 100, true},
        {"back from the end", [](c_File& f) { return f.SetPositionFromEnd(-1); }, 99, false},
        {"to the end", [](c_File& f) { return f.SetPositionFromEnd(); }, 100, true},
        {"to the start", [](c_File& f) { return f.SetPosition(); }, 0, false},
    };
    for (const auto& move : moves) {
        EXPECT_TRUE(move.m_Move(file)) << move.m_Name;
        EXPECT_EQ(file.GetPosition(), move.m_Position) << move.m_Name;
        EXPECT_EQ(file.GetAtEnd(), move.m_AtEnd) << move.m_Name;
    }
    EXPECT_FALSE(file.MovePosition(-1));
    EXPECT_EQ(file.GetErrorCode(), ERROR_NEGATIVE_SEEK);
    EXPECT_TRUE(file.SetPosition(30));
    EXPECT_TRUE(file.Truncate());
    EXPECT_EQ(file.GetSize(), 30);
    EXPECT_EQ(c_File::GetFileSizeOfPath(c_String("C:\\hundred.bin")), 30);
    EXPECT_EQ(c_File::GetFileSizeOfPath(c_String("C:\\none.bin")), -1);
    EXPECT_EQ(c_File::GetFileSizeOfPath(c_String()), -1);
}

TEST_F(c_FileTest, ClosedFileFailsWithTheSystemError) {
    c_File file(c_String("C:\\none.bin"));
    EXPECT_EQ(file.GetSize(), -1);
    EXPECT_FALSE(file.HasError()) << "the size of a missing path records no error";
    char buffer[5];
    EXPECT_TRUE(file.Read(buffer, 0, nullptr));
    EXPECT_FALSE(file.Read(buffer, 5, nullptr));
    EXPECT_EQ(file.GetErrorCode(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(ToStd(file.GetLastErrorText()), "File error: Windows error code 6: The handle is invalid.");
    EXPECT_FALSE(file.Flush());
    EXPECT_EQ(file.GetErrorCode(), c_File::FILE_ERROR_NOT_OPEN);
    EXPECT_EQ(ToStd(file.GetLastErrorText()), "File has not been opened.");
    EXPECT_TRUE(file.IsAtEnd());
    EXPECT_TRUE(file.Close(true, false));
    EXPECT_FALSE(file.Exists());
    EXPECT_EQ(file.GetErrorCode(), c_File::FILE_ERROR_MISSING_PATH);
}

TEST_F(c_FileTest, ErrorTexts) {
    const struct {
        std::int32_t m_Code;
        const char* m_Text;
    } cases[] = {
        {0x20000001, "Missing path and file name."},
        {0x20000002, "Input buffer is not set."},
        {0x20000003, "Output buffer is not set."},
        {0x20000004, "Not enough read data."},
        {0x20000005, "No Data for read.  End of file."},
        {0x20000006, "End of line is not found."},
        {0x20000007, "File has not been opened."},
        {0x20000008, "Memory allocation error."},
        {0x20000009, "Unknown error."},
        {5, "Unknown error."},
    };
    for (const auto& row : cases) {
        EXPECT_STREQ(c_File::GetErrorText(row.m_Code), row.m_Text);
    }
}

TEST_F(c_FileTest, MovesAndSwapsCarryTheHandle) {
    c_File first(c_String("C:\\first.txt"));
    ASSERT_TRUE(first.OpenForWrite(true, false));
    c_File moved(std::move(first));
    // A moved-from c_File is closed and without a path, by its contract.
    EXPECT_FALSE(first.IsOpen()); // NOLINT(bugprone-use-after-move)
    EXPECT_TRUE(first.GetPathAndFileName().IsEmpty());
    EXPECT_TRUE(moved.IsOpen());
    EXPECT_TRUE(moved.WriteText("m"));
    c_File second(c_String("C:\\second.txt"));
    ASSERT_TRUE(second.OpenForWrite(true, false));
    moved.Swap(second);
    EXPECT_EQ(ToStd(moved.GetPathAndFileName()), "C:\\second.txt");
    EXPECT_TRUE(moved.WriteText("s"));
    c_File taker;
    EXPECT_TRUE(taker.MoveFrom(second));
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(second.GetHandle(), nullptr);
    EXPECT_TRUE(taker.WriteText("f"));
    taker.Close(false, false);
    moved.Close(false, false);
    EXPECT_EQ(ReadTestFile(Linux("first.txt")), "mf");
    EXPECT_EQ(ReadTestFile(Linux("second.txt")), "s");
    taker.SetPathAndFileName(c_String("C:\\first.txt"));
    EXPECT_TRUE(taker.Exists());
}

} // namespace
