// Tests of the recursive file search.

#include "oslayer/files/RecursiveFileSearch.h"

#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::vector<std::string> Texts(const std::vector<c_String>& found) {
    std::vector<std::string> texts;
    for (const c_String& text : found) {
        texts.push_back(ToStd(text));
    }
    return texts;
}

TEST(RecursiveFileSearch, WalksEveryFolderDepthFirst) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    std::filesystem::create_directories(drives.GetC() + "/top/a/deep");
    std::filesystem::create_directories(drives.GetC() + "/top/b");
    WriteTestFile(drives.GetC() + "/top/x.txt", "");
    WriteTestFile(drives.GetC() + "/top/a/x.txt", "");
    WriteTestFile(drives.GetC() + "/top/a/deep/.x.txt", "");
    WriteTestFile(drives.GetC() + "/top/b/y.txt", "");
    const struct {
        const char* m_Name;
        const char* m_Folder;
        const char* m_NameToFind;
        bool m_ReturnFiles;
        bool m_NamesOnly;
        std::vector<std::string> m_Found;
    } cases[] = {
        {"every file",
         "C:\\top",
         "",
         true,
         false,
         {"C:\\top\\a\\deep\\.x.txt", "C:\\top\\a\\x.txt", "C:\\top\\b\\y.txt", "C:\\top\\x.txt"}},
        {"one name, as paths", "C:\\top\\", "x.txt", true, false, {"C:\\top\\a\\x.txt", "C:\\top\\x.txt"}},
        {"one name, as names", "C:\\top", "x.txt", true, true, {"x.txt", "x.txt"}},
        {"one name, its folders", "C:\\top", "x.txt", false, false, {"C:\\top\\a", "C:\\top"}},
        {"names compare with case", "C:\\top", "X.TXT", true, false, {}},
    };
    for (const auto& row : cases) {
        std::vector<c_String> found;
        bool error = false;
        FindFilesRecursively(row.m_Folder, row.m_NameToFind, found, row.m_ReturnFiles, &error, "*", row.m_NamesOnly,
                             nullptr);
        EXPECT_EQ(Texts(found), row.m_Found) << row.m_Name;
        EXPECT_FALSE(error) << row.m_Name;
    }
    std::vector<c_String> found;
    bool error = false;
    FindFilesRecursively("C:\\top", "", found, true, &error, "*.doc", false, nullptr);
    EXPECT_TRUE(found.empty());
    EXPECT_FALSE(error) << "nothing that matches is no error";
    FindFilesRecursively("C:\\none", "", found, true, &error, "*", false, nullptr);
    EXPECT_TRUE(error);
    const bool stop = true;
    FindFilesRecursively("C:\\top", "", found, true, nullptr, "*", false, &stop);
    EXPECT_TRUE(found.empty());
}

} // namespace
