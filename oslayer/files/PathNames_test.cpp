// Tests of the path-name texts.

#include "oslayer/files/PathNames.h"

#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

namespace {

TEST(PathNames, PartsAndExtensions) {
    const struct {
        const char* m_Path;
        const char* m_FolderWithoutSeparator;
        const char* m_Name;
        const char* m_Extension;
        const char* m_WithoutExtension;
        const char* m_BaseName;
        std::int32_t m_Separators;
    } cases[] = {
        {"C:\\Apps\\Tool.v2.exe", "C:\\Apps", "Tool.v2.exe", ".exe", "C:\\Apps\\Tool.v2", "Tool.v2", 2},
        {"C:/a/b", "C:/a", "b", "", "C:/a/b", "b", 2},
        {"a.b\\c", "a.b", "c", ".b\\c", "a", "c", 1},
        {"name", "", "name", "", "name", "name", 0},
        {"C:x.txt", "C", "x.txt", ".txt", "C:x", "x", 0},
        {"", "", "", "", "", "", 0},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(ToStd(GetFolderPartWithoutSeparator(row.m_Path)), row.m_FolderWithoutSeparator) << row.m_Path;
        EXPECT_EQ(ToStd(GetFileNamePart(row.m_Path)), row.m_Name) << row.m_Path;
        EXPECT_EQ(ToStd(GetFileExtension(row.m_Path)), row.m_Extension) << row.m_Path;
        EXPECT_EQ(ToStd(RemoveFileExtension(row.m_Path)), row.m_WithoutExtension) << row.m_Path;
        EXPECT_EQ(ToStd(GetFileBaseName(row.m_Path)), row.m_BaseName) << row.m_Path;
        EXPECT_EQ(CountPathSeparators(row.m_Path), row.m_Separators) << row.m_Path;
    }
    EXPECT_EQ(GetExtensionPosition("a.b.c"), 3);
    EXPECT_EQ(GetExtensionPosition("abc"), 3);
}

TEST(PathNames, DriveRootsAndFolders) {
    EXPECT_EQ(ToStd(GetDriveRoot("D:\\Apps\\X")), "D:\\");
    EXPECT_EQ(ToStd(GetDriveRoot("\\\\server\\share")), "");
    EXPECT_EQ(ToStd(GetDriveRoot("x:")), "x:\\");
    c_String path = "C:\\old\\file.txt";
    ReplaceFolderOfPath(path, "D:\\new\\");
    EXPECT_EQ(ToStd(path), "D:\\new\\file.txt");
}

TEST(PathNames, InvalidFileNameCharacters) {
    for (const char* name : {"a\\b", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"}) {
        EXPECT_TRUE(ContainsInvalidFileNameCharacter(name)) << name;
    }
    EXPECT_FALSE(ContainsInvalidFileNameCharacter("name (1).txt"));
    c_String name = "a\\b/c:d*e?f\"g<h>i|j";
    RemoveInvalidFileNameCharacters(name);
    EXPECT_EQ(ToStd(name), "abcdefghij");
}

} // namespace
