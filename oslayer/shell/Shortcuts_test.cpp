// Tests of CreateShortcut and the shortcut texts: the saved link read back through the shell link
// object, replaced when it exists, and each failing step logged alone.

#include "oslayer/shell/Shortcuts.h"

#include "oslayer/shell/c_COMInitializer.h"
#include "oslayer/shell/c_COMSharedPointer.h"
#include "oslayer/system/TextConversion.h"
#include "oslayer/testing/ShortcutReading.h"
#include "oslayer/testing/c_LogRecorder.h"
#include "platform/testing/ShellHooks.h"
#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using n_Platform::e_ShellCall;

class Shortcuts : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_Drives.IsReady());
        std::filesystem::create_directory(m_Drives.GetC() + "/Apps");
        std::filesystem::create_directory(m_Drives.GetC() + "/Links");
        WriteTestFile(m_Drives.GetC() + "/Apps/App_64.exe", "#!/bin/sh\n");
    }

    bool LinkExists(const std::string& name) const { return TestFileExists(m_Drives.GetC() + "/Links/" + name); }

    c_TemporaryDrives m_Drives;
    c_LogRecorder m_Log;
};

TEST_F(Shortcuts, SavesALinkThatReadsBack) {
    const struct { const char* m_Icon; } cases[] = {{"C:\\Apps\\app.ico"}, {""}};
    for (const auto& row : cases) {
        CreateShortcut("C:\\Apps\\App_64.exe", "C:\\Links\\", "App_64 (C__Apps)", row.m_Icon);
        EXPECT_EQ(m_Log.TakeLines(), std::vector<std::string>()) << "success logs nothing";
        const s_ReadShortcut read = ReadShortcut("C:\\Links\\App_64 (C__Apps).lnk");
        EXPECT_TRUE(read.m_Loaded);
        EXPECT_EQ(read.m_Target, "C:\\Apps\\App_64.exe");
        EXPECT_EQ(read.m_Description, "App_64 (C__Apps)");
        EXPECT_EQ(read.m_Icon, row.m_Icon) << "an empty icon path keeps the target's own icon";
    }
}

TEST_F(Shortcuts, AnEmptyIconPathSetsNoIcon) {
    const c_InjectedShellFault fault(e_ShellCall::SET_ICON_LOCATION, E_FAIL);
    CreateShortcut("C:\\Apps\\App_64.exe", "C:\\Links\\", "App", "");
    EXPECT_EQ(m_Log.TakeLines(), std::vector<std::string>()) << "the icon step is not tried";
    EXPECT_TRUE(LinkExists("App.lnk"));
}

TEST_F(Shortcuts, ReplacesAnExistingShortcut) {
    WriteTestFile(m_Drives.GetC() + "/Links/App.lnk", "an old shortcut that is not one");
    CreateShortcut("C:\\Apps\\App_64.exe", "C:\\Links\\", "App", "");
    EXPECT_EQ(m_Log.TakeLines(), std::vector<std::string>());
    EXPECT_EQ(ReadShortcut("C:\\Links\\App.lnk").m_Target, "C:\\Apps\\App_64.exe");
}

TEST_F(Shortcuts, EachFailingStepLogsItsLineAndStops) {
    const struct {
        const char* m_Name;
        e_ShellCall m_Call;
        const char* m_Line;
    } cases[] = {
        {"initialise", e_ShellCall::CO_INITIALIZE, "CreateShortcut: CoInitialize error"},
        {"create", e_ShellCall::CO_CREATE_INSTANCE, "CreateShortcut: CoCreateInstance error"},
        {"path", e_ShellCall::SET_PATH, "CreateShortcut: SetPath error"},
        {"description", e_ShellCall::SET_DESCRIPTION, "CreateShortcut: SetDescription error"},
        {"icon", e_ShellCall::SET_ICON_LOCATION, "CreateShortcut: SetIconLocation error"},
        {"query", e_ShellCall::QUERY_PERSIST_FILE, "CreateShortcut: QueryInterface error"},
        {"save", e_ShellCall::SAVE, "CreateShortcut: Save error"},
    };
    for (const auto& row : cases) {
        {
            const c_InjectedShellFault fault(row.m_Call, E_FAIL);
            CreateShortcut("C:\\Apps\\App_64.exe", "C:\\Links\\", "App", "C:\\Apps\\app.ico");
        }
        EXPECT_EQ(m_Log.TakeLines(), std::vector<std::string>{row.m_Line}) << row.m_Name;
        EXPECT_FALSE(LinkExists("App.lnk")) << row.m_Name;
        EXPECT_EQ(CoInitialize(nullptr), S_OK) << row.m_Name << ": COM is uninitialised";
        CoUninitialize();
    }
}

TEST_F(Shortcuts, EdgeCases) {
    const struct {
        const char* m_Name;
        const char* m_Destination;
        const char* m_Folder;
        const char* m_ShortcutName;
        std::vector<std::string> m_Lines;
        const char* m_Saved;
    } cases[] = {
        {"no destination",
         "",
         "C:\\Links\\",
         "App",
         {"CreateShortcut: DestinationPathAndFileName/ShortcutPath/ShortcutName is empty"},
         nullptr},
        {"no folder",
         "C:\\Apps\\App_64.exe",
         "",
         "App",
         {"CreateShortcut: DestinationPathAndFileName/ShortcutPath/ShortcutName is empty"},
         nullptr},
        {"no name",
         "C:\\Apps\\App_64.exe",
         "C:\\Links\\",
         "",
         {"CreateShortcut: DestinationPathAndFileName/ShortcutPath/ShortcutName is empty"},
         nullptr},
        {"a missing target", "C:\\Apps\\Missing.exe", "C:\\Links\\", "App", {"CreateShortcut: SetPath error"}, nullptr},
        {"a missing folder", "C:\\Apps\\App_64.exe", "C:\\Missing\\", "App", {"CreateShortcut: Save error"}, nullptr},
        {"a folder without its separator", "C:\\Apps\\App_64.exe", "C:\\Links", "App", {}, "/c/LinksApp.lnk"},
    };
    for (const auto& row : cases) {
        CreateShortcut(row.m_Destination, row.m_Folder, row.m_ShortcutName, "");
        EXPECT_EQ(m_Log.TakeLines(), row.m_Lines) << row.m_Name;
        if (row.m_Saved != nullptr) {
            EXPECT_TRUE(TestFileExists(m_Drives.GetRoot() + row.m_Saved)) << row.m_Name;
        }
    }
    EXPECT_FALSE(LinkExists("App.lnk"));
}

TEST_F(Shortcuts, WorksWhereCOMIsAlreadyInitialisedAndLeavesItSo) {
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    CreateShortcut("C:\\Apps\\App_64.exe", "C:\\Links\\", "App", "");
    EXPECT_EQ(m_Log.TakeLines(), std::vector<std::string>());
    EXPECT_TRUE(LinkExists("App.lnk"));
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE) << "the caller's initialisation is still open";
    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(CoInitialize(nullptr), S_OK) << "and the matching uninitialise was made";
    CoUninitialize();
}

TEST(ShortcutTexts, FileNameJoinsFolderNameAndExtension) {
    EXPECT_EQ(ToStd(MakeShortcutFileName("C:\\Links\\", "App")), "C:\\Links\\App.lnk");
    EXPECT_EQ(ToStd(MakeShortcutFileName("C:\\Links", "App")), "C:\\LinksApp.lnk");
}

TEST(ShortcutTexts, HRESULTErrorTextIsThatOfItsLow16Bits) {
    const struct {
        HRESULT m_Result;
        const char* m_Text;
    } cases[] = {
        {E_ACCESSDENIED, "Windows error code 5: Access is denied."},
        {HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), "Windows error code 3: The system cannot find the path specified."},
        {E_FAIL, "Unknown Windows error code 16389."},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(ToStd(GetHRESULTErrorText(row.m_Result)), row.m_Text);
    }
}

TEST_F(Shortcuts, TargetPathIsCutToTheBuffer) {
    const std::string folder = "C:\\" + std::string(200, 'f');
    const std::string longTarget = folder + "\\" + std::string(100, 't') + ".exe";
    const n_OSLayer::c_COMInitializer com;
    const n_OSLayer::c_COMSharedPointer<IShellLinkW> link(CLSID_ShellLink);
    EXPECT_EQ(ToStd(GetShortcutTargetPath(link.Get())), "") << "no target yet";
    link->SetPath(n_OSLayer::UTF8ToWide(longTarget.c_str()).begin());
    EXPECT_EQ(ToStd(GetShortcutTargetPath(link.Get())), longTarget.substr(0, 255));
}

} // namespace
