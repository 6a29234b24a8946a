// Tests of the known folders: each under the test's own drives, made when missing, the Desktop
// where the XDG user folders put it.

#include "platform/shell/DesktopFolder.h"

#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"
#include "platform/testing/WideText.h"

#include <gtest/gtest.h>
#include <shlobj.h>

namespace {

// The folder's path, or the result when the call fails.
struct s_Answer {
    HRESULT m_Result;
    std::string m_Path;
};

s_Answer AskFor(REFKNOWNFOLDERID id) {
    PWSTR path = reinterpret_cast<PWSTR>(&path);
    s_Answer answer{SHGetKnownFolderPath(id, 0, nullptr, &path), ""};
    if (path != nullptr) {
        answer.m_Path = Narrow(path);
    }
    CoTaskMemFree(path);
    return answer;
}

class KnownFolders : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_Drives.IsReady()); }

    c_TemporaryDrives m_Drives;
};

TEST_F(KnownFolders, AreFoldersUnderTheTestsDrivesMadeOnFirstAsk) {
    const struct {
        const KNOWNFOLDERID* m_Id;
        const char* m_Path;
        const char* m_Linux;
    } cases[] = {
        {&FOLDERID_Desktop, "C:\\Desktop", "/c/Desktop"},
        {&FOLDERID_CommonPrograms, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs",
         "/c/ProgramData/Microsoft/Windows/Start Menu/Programs"},
        {&FOLDERID_ProgramFiles, "C:\\Program Files", "/c/Program Files"},
        {&FOLDERID_ProgramFilesX86, "C:\\Program Files (x86)", "/c/Program Files (x86)"},
        {&FOLDERID_System, "C:\\Windows\\System32", "/c/Windows/System32"},
    };
    for (const auto& row : cases) {
        const s_Answer answer = AskFor(*row.m_Id);
        EXPECT_EQ(answer.m_Result, S_OK) << row.m_Path;
        EXPECT_EQ(answer.m_Path, row.m_Path);
        EXPECT_TRUE(std::filesystem::is_directory(m_Drives.GetRoot() + row.m_Linux)) << row.m_Linux;
        EXPECT_EQ(AskFor(*row.m_Id).m_Path, row.m_Path) << "asked again, the folder exists";
    }
}

TEST_F(KnownFolders, DesktopIsWhereTheXDGUserFoldersSay) {
    std::filesystem::create_directory(m_Drives.GetC() + "/.config");
    WriteTestFile(m_Drives.GetC() + "/.config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    EXPECT_EQ(AskFor(FOLDERID_Desktop).m_Path, "C:\\Schreibtisch");
    std::filesystem::create_directory(m_Drives.GetRoot() + "/config");
    WriteTestFile(m_Drives.GetRoot() + "/config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"" + m_Drives.GetD() + "/Desk\"\n");
    setenv("XDG_CONFIG_HOME", (m_Drives.GetRoot() + "/config").c_str(), 1);
    EXPECT_EQ(AskFor(FOLDERID_Desktop).m_Path, "D:\\Desk");
    EXPECT_TRUE(TestFileExists(m_Drives.GetD() + "/Desk"));
}

TEST_F(KnownFolders, FailuresGiveNoPath) {
    const GUID unknown = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
    EXPECT_EQ(AskFor(unknown).m_Result, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(SHGetKnownFolderPath(FOLDERID_ProgramFiles, 0, nullptr, nullptr), E_INVALIDARG);
    WriteTestFile(m_Drives.GetC() + "/ProgramData", "a file in the way");
    EXPECT_EQ(AskFor(FOLDERID_CommonPrograms).m_Result, HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND))
        << "the folder cannot be made";
    c_TemporaryDrives::SetMap("D=" + m_Drives.GetD());
    const s_Answer noDrive = AskFor(FOLDERID_System);
    EXPECT_EQ(noDrive.m_Result, HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)) << "no C: drive";
    EXPECT_EQ(noDrive.m_Path, "");
}

TEST(DesktopFolder, ParsesTheDesktopLine) {
    const struct {
        const char* m_Text;
        const char* m_Folder;
    } cases[] = {
        {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n", "/home/u/Desktop"},
        {"# comment\r\nXDG_DOWNLOAD_DIR=\"$HOME/Dl\"\r\nXDG_DESKTOP_DIR=\"$HOME/Bureau\"\r\n", "/home/u/Bureau"},
        {"XDG_DESKTOP_DIR=\"/srv/desk\"", "/srv/desk"},
        {"XDG_DESKTOP_DIR=\"$HOME\"", "/home/u"},
        {"XDG_DESKTOP_DIR=$HOME/bare", "/home/u/bare"},
        {"XDG_DESKTOP_DIR=\"$HOMEX/Desktop\"", ""},
        {"XDG_DESKTOP_DIR=\"relative\"", ""},
        {"XDG_DESKTOP_DIR=\"", ""},
        {" XDG_DESKTOP_DIR=\"/indented\"", ""},
        {"", ""},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(n_Platform::ParseDesktopEntry(row.m_Text, "/home/u"), row.m_Folder) << row.m_Text;
    }
}

} // namespace
