// Tests of c_FolderListing: folder and mask texts, modes, result kinds, hidden entries and errors.

#include "oslayer/files/c_FolderListing.h"

#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Names(const c_FolderListing& listing) {
    std::vector<std::string> names;
    for (const c_String& name : listing.GetNames()) {
        names.push_back(ToStd(name));
    }
    return names;
}

TEST(c_FolderListing, KeepsTheFolderAndMaskInShape) {
    const struct {
        const char* m_Folder;
        const char* m_Mask;
        const char* m_FolderAfter;
        const char* m_MaskAfter;
    } cases[] = {
        {"C:\\Data", "txt", "C:\\Data\\", ".txt"},
        {"C:/Data/", ".*", "C:/Data/", ".*"},
        {"C:\\Data\\", "*", "C:\\Data\\", ".*"},
        {"", "", "\\", "."},
    };
    for (const auto& row : cases) {
        c_FolderListing listing(row.m_Folder, row.m_Mask, c_FolderListing::MODE_FILES);
        EXPECT_EQ(ToStd(listing.GetFolder()), row.m_FolderAfter);
        EXPECT_EQ(ToStd(listing.GetMask()), row.m_MaskAfter);
        EXPECT_EQ(ToStd(listing.GetPatternPrefix()), "*");
        EXPECT_FALSE(listing.HasError());
    }
}

class c_FolderListingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_Drives.IsReady());
        for (const char* name : {"b.txt", "a.TXT", "c.log", ".hidden.txt", "page.html", "page.htm"}) {
            WriteTestFile(m_Drives.GetC() + "/" + name, name);
        }
        std::filesystem::create_directory(m_Drives.GetC() + "/sub.txt");
        std::filesystem::create_directory(m_Drives.GetC() + "/.hiddenfolder");
        std::filesystem::create_directory(m_Drives.GetC() + "/empty");
    }

    c_TemporaryDrives m_Drives;
};

TEST_F(c_FolderListingTest, ModesAndMasksChooseTheEntries) {
    const struct {
        const char* m_Name;
        const char* m_Folder;
        const char* m_Mask;
        std::int32_t m_Mode;
        std::vector<std::string> m_Names;
    } cases[] = {
        {"every file", "C:\\", ".*", c_FolderListing::MODE_FILES, {"a.TXT", "b.txt", "c.log", "page.htm", "page.html"}},
        {"files with a mask, without case", "C:", "txt", c_FolderListing::MODE_FILES, {"a.TXT", "b.txt"}},
        {"folders only", "C:\\", ".*", c_FolderListing::MODE_FOLDERS, {"empty", "sub.txt"}},
        {"both with a mask", "C:\\", ".txt", c_FolderListing::MODE_BOTH, {"a.TXT", "b.txt", "sub.txt"}},
        {"the mask drops what the Windows pattern admits", "C:\\", ".htm", c_FolderListing::MODE_FILES, {"page.htm"}},
        {"no matching file is an empty result", "C:\\", ".doc", c_FolderListing::MODE_FILES, {}},
        {"an empty folder", "C:\\empty", ".*", c_FolderListing::MODE_FILES, {}},
    };
    for (const auto& row : cases) {
        c_FolderListing listing(row.m_Folder, row.m_Mask, row.m_Mode);
        EXPECT_TRUE(listing.SearchForFiles(c_FolderListing::RESULT_NAMES)) << row.m_Name;
        EXPECT_EQ(Names(listing), row.m_Names) << row.m_Name;
        EXPECT_FALSE(listing.HasError()) << row.m_Name;
    }
}

TEST_F(c_FolderListingTest, FailuresSetTheErrorUntilClear) {
    const struct {
        const char* m_Name;
        std::string m_Folder;
        std::int32_t m_Mode;
        std::int32_t m_Kind;
    } cases[] = {
        {"a missing folder", "C:\\missing", c_FolderListing::MODE_FILES, c_FolderListing::RESULT_NAMES},
        {"a file as the folder", "C:\\b.txt", c_FolderListing::MODE_FILES, c_FolderListing::RESULT_NAMES},
        {"an unmapped drive", "Q:\\", c_FolderListing::MODE_FILES, c_FolderListing::RESULT_NAMES},
        {"mode 0", "C:\\", 0, c_FolderListing::RESULT_NAMES},
        {"an unknown result kind", "C:\\", c_FolderListing::MODE_FILES, 4},
        {"a folder of 259 characters and the separator", "C:\\" + std::string(256, 'f'), c_FolderListing::MODE_FILES,
         c_FolderListing::RESULT_NAMES},
    };
    for (const auto& row : cases) {
        c_FolderListing listing(c_StringView(row.m_Folder.c_str()), ".*", row.m_Mode);
        EXPECT_FALSE(listing.SearchForFiles(row.m_Kind)) << row.m_Name;
        EXPECT_TRUE(listing.HasError()) << row.m_Name;
        listing.SetFolder("C:\\");
        listing.SetMode(c_FolderListing::MODE_FILES);
        EXPECT_FALSE(listing.SearchForFiles(c_FolderListing::RESULT_NAMES)) << row.m_Name << ": refused until Clear";
        listing.Clear();
        EXPECT_TRUE(listing.SearchForFiles(c_FolderListing::RESULT_NAMES)) << row.m_Name;
    }
    c_FolderListing longest(c_StringView(("C:\\" + std::string(255, 'f')).c_str()), ".*", 1);
    EXPECT_FALSE(longest.HasError()) << "259 characters with the separator";
    c_FolderListing noMatch("C:\\", ".doc", c_FolderListing::MODE_FILES);
    EXPECT_TRUE(noMatch.SearchForFiles(4)) << "an unknown kind with nothing to store";
}

TEST_F(c_FolderListingTest, ResultsAddUpOverSearches) {
    c_FolderListing listing("C:\\", "txt", c_FolderListing::MODE_FILES);
    EXPECT_TRUE(listing.SearchForFiles(c_FolderListing::RESULT_NAMES));
    EXPECT_TRUE(listing.SearchForFiles(c_FolderListing::RESULT_NAMES));
    EXPECT_EQ(Names(listing), (std::vector<std::string>{"a.TXT", "b.txt", "a.TXT", "b.txt"}));
}

TEST_F(c_FolderListingTest, NamesDifferingInCaseInTheTwoMaps) {
    WriteTestFile(m_Drives.GetC() + "/Readme.txt", "lower");
    WriteTestFile(m_Drives.GetC() + "/README.TXT", "UPPER CASE");
    c_FolderListing listing("C:\\", "txt", c_FolderListing::MODE_FILES);
    ASSERT_TRUE(listing.SearchForFiles(c_FolderListing::RESULT_FILE_INFO));
    ASSERT_TRUE(listing.SearchForFiles(c_FolderListing::RESULT_FIND_DATA));
    const std::map<c_String, s_FileInfo>& information = listing.GetFileInfoMap();
    std::vector<std::string> keys;
    for (const auto& [name, info] : information) {
        keys.push_back(ToStd(name));
        EXPECT_EQ(ToStd(info.m_Name), ToStd(name));
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"README.TXT", "Readme.txt", "a.TXT", "b.txt"}));
    EXPECT_EQ(information.at(c_String("README.TXT")).m_Size, 10);
    const auto& findData = listing.GetFindDataMap();
    EXPECT_EQ(findData.size(), 3u);
    const auto found = findData.find(c_StringNoCase("readme.TXT"));
    ASSERT_NE(found, findData.end());
    const std::uint64_t size = found->second.nFileSizeLow;
    EXPECT_EQ(ToStd(found->first), size == 5 ? "Readme.txt" : "README.TXT") << "the key names the entry it holds";
}

TEST_F(c_FolderListingTest, FileInformationCarriesTheEntry) {
    c_FolderListing listing("C:\\", ".log", c_FolderListing::MODE_FILES);
    ASSERT_TRUE(listing.SearchForFiles(c_FolderListing::RESULT_FILE_INFO));
    const s_FileInfo& info = listing.GetFileInfoMap().at(c_String("c.log"));
    EXPECT_EQ(info.m_Size, 5);
    EXPECT_EQ(info.m_Attributes, static_cast<std::uint32_t>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_NE(info.m_Modified.GetValue(), 0);
    EXPECT_LE(info.m_Created.GetValue(), info.m_Modified.GetValue());
}

} // namespace
