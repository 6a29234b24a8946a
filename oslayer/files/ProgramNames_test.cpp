// Tests of the program's path and folder names and of the fixed names.

#include "oslayer/files/ProgramNames.h"

#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgramNames, FolderNameAndTail) {
    const struct {
        const char* m_Folder;
        const char* m_Name;
        const char* m_TailOfTwo;
        const char* m_TailOfOne;
    } cases[] = {
        {"C:\\A\\B\\", "B", "/A/B", "/B"},
        {"C:\\B\\", "B", "/C:/B", "/B"},
        {"C:\\", "C:", "/C:", "/C:"},
        {"C:", "", "/", "/"},
        {"", "", "/", "/"},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(ToStd(GetFolderName(row.m_Folder)), row.m_Name) << row.m_Folder;
        EXPECT_EQ(ToStd(GetFolderPathTail(row.m_Folder, 2)), row.m_TailOfTwo) << row.m_Folder;
        EXPECT_EQ(ToStd(GetFolderPathTail(row.m_Folder, 1)), row.m_TailOfOne) << row.m_Folder;
    }
}

TEST(ProgramNames, ProgramPathAndFolder) {
    const c_String path = GetProgramPath();
    const c_String folder = GetProgramFolder();
    EXPECT_TRUE(path.GetView().StartsWith(folder));
    EXPECT_EQ(ToStd(path.GetView().RightFrom(folder.GetLength())), "oslayer_tests");
    EXPECT_EQ(ToStd(GetProgramFolderName()), ToStd(GetFolderName(folder)));
    EXPECT_EQ(ToStd(GetProgramFolderPathTail(1)), std::string("/").append(ToStd(GetFolderName(folder))));
}

TEST(ProgramNames, FixedNames) {
    EXPECT_EQ(ToStd(GetButtonBitmapFolder()), "Graphics\\Buttons\\");
    EXPECT_EQ(ToStd(GetButtonBitmapFileName(7)), "Button_7.bmp");
    EXPECT_EQ(ToStd(GetButtonBitmapPath(-3)), "Graphics\\Buttons\\Button_-3.bmp");
    EXPECT_EQ(ToStd(GetInstanceNamePrefix()), "DovrikChartInstance_");
    EXPECT_EQ(ToStd(GetInstanceName(12)), "DovrikChartInstance_12");
}

} // namespace
