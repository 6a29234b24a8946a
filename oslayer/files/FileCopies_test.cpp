// Tests of the byte copy, moves by copying, folder copies and backup copies, with their log lines.

#include "oslayer/files/FileCopies.h"

#include "oslayer/files/PathCalls.h"
#include "oslayer/testing/c_LogRecorder.h"
#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

class FileCopies : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_Drives.IsReady());
        WriteTestFile(C("source.bin"), Pattern(20000));
        WriteTestFile(C("empty.bin"), "");
        WriteTestFile(C("old.bin"), "old");
        WriteTestFile(C("sealed.bin"), "sealed");
        ASSERT_TRUE(MakeTestPathReadOnly(C("sealed.bin")));
    }

    static std::string Pattern(std::size_t size) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<char>(i * 7 + i / 251);
        }
        return bytes;
    }
    std::string C(const std::string& name) const { return m_Drives.GetC() + "/" + name; }

    c_TemporaryDrives m_Drives;
    c_LogRecorder m_Log;
};

TEST_F(FileCopies, BitCopyFileCopiesOrSaysWhyNot) {
    const struct {
        const char* m_Name;
        const char* m_Source;
        const char* m_Destination;
        bool m_Overwrite;
        bool m_Copied;
        std::vector<std::string> m_Log;
    } cases[] = {
        {"an empty file", "C:\\empty.bin", "D:\\empty.bin", false, true, {}},
        {"20000 bytes in three blocks", "C:\\source.bin", "D:\\source.bin", false, true, {}},
        {"over an existing file", "C:\\source.bin", "C:\\old.bin", true, true, {}},
        {"onto an existing file without overwrite",
         "C:\\empty.bin",
         "D:\\source.bin",
         false,
         false,
         {"BitCopyFile | D:\\source.bin file exists and overwrite not allowed"}},
        {"a missing source",
         "C:\\none.bin",
         "D:\\x.bin",
         true,
         false,
         {"Error opening C:\\none.bin.  File error: Windows error code 2: The system cannot find the file "
          "specified."}},
        {"onto a read-only file",
         "C:\\source.bin",
         "C:\\sealed.bin",
         true,
         false,
         {"Error opening C:\\sealed.bin.  File error: Windows error code 5: Access is denied."}},
        {"into a missing folder",
         "C:\\source.bin",
         "C:\\none\\x.bin",
         true,
         false,
         {"Error opening C:\\none\\x.bin.  File error: Windows error code 3: The system cannot find the path "
          "specified."}},
        {"onto itself",
         "C:\\source.bin",
         "C:\\source.bin",
         true,
         false,
         {"Error opening C:\\source.bin.  File error: Windows error code 32: The process cannot access the file "
          "because it is being used by another process."}},
        {"onto itself under another name",
         "C:\\source.bin",
         "C:\\.\\Source.bin\\..\\source.bin",
         true,
         false,
         {"Error opening C:\\.\\Source.bin\\..\\source.bin.  File error: Windows error code 32: The process cannot "
          "access the file because it is being used by another process."}},
        {"onto a full disk",
         "C:\\source.bin",
         "/dev/full",
         true,
         false,
         {"Error writing /dev/full during file copy.  File error: Windows error code 112: There is not enough space "
          "on the disk."}},
        {"with a flush that fails",
         "C:\\empty.bin",
         "/dev/full",
         true,
         false,
         {"Error writing /dev/full during file copy.  File error: Windows error code 87: The parameter is "
          "incorrect."}},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(BitCopyFile(row.m_Source, row.m_Destination, row.m_Overwrite), row.m_Copied) << row.m_Name;
        EXPECT_EQ(m_Log.TakeLines(), row.m_Log) << row.m_Name;
    }
    EXPECT_EQ(ReadTestFile(m_Drives.GetD() + "/source.bin"), Pattern(20000));
    EXPECT_EQ(ReadTestFile(C("old.bin")), Pattern(20000));
    EXPECT_EQ(ReadTestFile(C("source.bin")), Pattern(20000)) << "a copy onto itself leaves it whole";
    EXPECT_EQ(ReadTestFile(m_Drives.GetD() + "/empty.bin"), "");
    EXPECT_EQ(ReadTestFile(C("sealed.bin")), "sealed");
}

TEST_F(FileCopies, MoveFileByCopyingLogsTheMove) {
    EXPECT_TRUE(MoveFileByCopying("C:\\source.bin", "D:\\moved.bin", false));
    EXPECT_EQ(m_Log.TakeLines(),
              (std::vector<std::string>{"Successfully moved C:\\source.bin file to the folder D:\\"}));
    EXPECT_FALSE(TestFileExists(C("source.bin")));
    EXPECT_FALSE(MoveFileByCopying("C:\\old.bin", "C:\\sealed.bin", true));
    EXPECT_EQ(m_Log.TakeLines(),
              (std::vector<std::string>{
                  "Error opening C:\\sealed.bin.  File error: Windows error code 5: Access is denied."}));
    EXPECT_EQ(ReadTestFile(C("old.bin")), "old") << "the source stays";
    EXPECT_FALSE(MoveFileByCopying("C:\\sealed.bin", "D:\\sealed.bin", false));
    EXPECT_EQ(m_Log.TakeLines(),
              (std::vector<std::string>{"Error deleting C:\\sealed.bin file: \"Windows error code 5: "
                                        "Access is denied.\""}));
    EXPECT_EQ(ReadTestFile(m_Drives.GetD() + "/sealed.bin"), "sealed") << "the copy stays beside the source";
}

TEST_F(FileCopies, WholeFolders) {
    std::filesystem::create_directory(m_Drives.GetD() + "/copy");
    EXPECT_TRUE(CopyAllFilesInFolder("C:\\", "D:\\copy\\", ".bin", false));
    EXPECT_EQ(ReadTestFile(m_Drives.GetD() + "/copy/source.bin"), Pattern(20000));
    EXPECT_EQ(ReadTestFile(m_Drives.GetD() + "/copy/sealed.bin"), "sealed");
    m_Log.TakeLines();
    WriteTestFile(C("old.bin"), "new");
    HANDLE file = CreateFileW(u"C:\\old.bin", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME same;
    HANDLE copy = CreateFileW(u"D:\\copy\\old.bin", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(GetFileTime(copy, nullptr, nullptr, &same));
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &same));
    CloseHandle(copy);
    CloseHandle(file);
    EXPECT_TRUE(CopyAllFilesInFolder("C:\\", "D:\\copy\\", "bin", true));
    EXPECT_EQ(ReadTestFile(m_Drives.GetD() + "/copy/old.bin"), "old") << "the same time: skipped";
    EXPECT_FALSE(CopyAllFilesInFolder("C:\\none\\", "D:\\copy\\", ".bin", true));
    std::filesystem::create_directory(m_Drives.GetD() + "/moved");
    EXPECT_TRUE(MoveAllFilesInFolder("D:\\copy\\", "D:\\moved\\", ".*", false));
    EXPECT_TRUE(TestFileExists(m_Drives.GetD() + "/moved/source.bin"));
    EXPECT_FALSE(TestFileExists(m_Drives.GetD() + "/copy/source.bin"));
    EXPECT_FALSE(MoveAllFilesInFolder(c_String(std::string(260, 'f').c_str()), "D:\\", ".*", false));
}

TEST_F(FileCopies, SaveBackupCopy) {
    c_String error;
    EXPECT_FALSE(SaveBackupCopy("C:\\none.bin", false, "", "Backups", error, false));
    EXPECT_EQ(ToStd(error), "Source file does not exist when saving backup of C:\\none.bin. No backup made.");
    EXPECT_TRUE(SaveBackupCopy("C:\\source.bin", false, "D:\\backup.bin", "", error, false));
    EXPECT_EQ(ReadTestFile(m_Drives.GetD() + "/backup.bin"), Pattern(20000));
    EXPECT_FALSE(SaveBackupCopy("C:\\source.bin", false, "C:\\none\\backup.bin", "", error, false));
    EXPECT_EQ(ToStd(error), "Error copying C:\\source.bin to C:\\none\\backup.bin. Windows error code 3: The system "
                            "cannot find the path specified.");
}

TEST_F(FileCopies, SaveBackupCopyBesideTheProgramRotates) {
    const std::string subfolder = "BackupsOfTest" + std::to_string(getpid());
    c_String error;
    ASSERT_TRUE(SaveBackupCopy("C:\\old.bin", false, "", subfolder.c_str(), error, true));
    ASSERT_TRUE(SaveBackupCopy("C:\\old.bin", true, "", subfolder.c_str(), error, false));
    std::vector<std::string> names;
    std::string linuxBackups;
    {
        char path[4096];
        const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
        linuxBackups = std::string(path, static_cast<std::size_t>(length));
        linuxBackups = linuxBackups.substr(0, linuxBackups.rfind('/')) + "/" + subfolder;
    }
    for (const auto& entry : std::filesystem::directory_iterator(linuxBackups)) {
        names.push_back(entry.path().filename().string());
        EXPECT_EQ(ReadTestFile(entry.path().string()), "old");
    }
    std::filesystem::remove_all(linuxBackups);
    ASSERT_EQ(names.size(), 2u);
    // The date and time ("2024-01-05 070102.old.bin") first, then the day and hour ("5.7.old.bin").
    if (names[0].find(' ') == std::string::npos) {
        std::swap(names[0], names[1]);
    }
    EXPECT_TRUE(names[0].size() == 25 && names[0].ends_with(".old.bin") && names[0][10] == ' ') << names[0];
    EXPECT_TRUE(names[1].size() <= 13 && names[1].ends_with(".old.bin") && names[1].find('.') <= 2) << names[1];
}

} // namespace
