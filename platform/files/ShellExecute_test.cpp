// Tests of ShellExecuteExW and ShellExecuteW, with a recording stand-in for xdg-open.

#include "platform/files/AddressOpener.h"
#include "platform/testing/ShellHooks.h"
#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

// PATH holds only a folder with an xdg-open that writes its argument to opened.txt, or nothing.
class ShellExecuteCalls : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_Drives.IsReady());
        const char* path = std::getenv("PATH");
        m_OldPath = path == nullptr ? "" : path;
        m_Bin = m_Drives.GetRoot() + "/bin";
        ASSERT_EQ(mkdir(m_Bin.c_str(), 0755), 0);
        setenv("PATH", (m_Bin + ":/bin:/usr/bin").c_str(), 1);
    }
    void TearDown() override { setenv("PATH", m_OldPath.c_str(), 1); }

    void InstallOpener() {
        const std::string opener = m_Bin + "/xdg-open";
        WriteTestFile(opener, "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/opened.new\"\n"
                              "mv \"$(dirname \"$0\")/opened.new\" \"$(dirname \"$0\")/opened.txt\"\n");
        ASSERT_EQ(chmod(opener.c_str(), 0755), 0);
    }

    // What the opener received, once it has run.
    std::string WaitForOpened(HANDLE process) {
        EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
        CloseHandle(process);
        return ReadTestFile(m_Bin + "/opened.txt");
    }

    c_TemporaryDrives m_Drives;
    std::string m_OldPath;
    std::string m_Bin;
};

SHELLEXECUTEINFOW MakeInformation(const char16_t* file) {
    SHELLEXECUTEINFOW information = {};
    information.cbSize = sizeof information;
    information.fMask = SEE_MASK_NO_CONSOLE | SEE_MASK_NOCLOSEPROCESS;
    information.lpVerb = u"open";
    information.lpFile = file;
    information.nShow = SW_SHOWNORMAL;
    return information;
}

TEST_F(ShellExecuteCalls, OpensAddressesAndFilesThroughXdgOpen) {
    InstallOpener();
    WriteTestFile(m_Drives.GetD() + "/page.html", "<html/>");
    const struct {
        const char16_t* m_File;
        std::string m_Opened;
    } cases[] = {
        {u"https://example.invalid/index.php?page=doc", "https://example.invalid/index.php?page=doc"},
        {u"D:\\page.html", m_Drives.GetD() + "/page.html"},
    };
    for (const auto& row : cases) {
        SHELLEXECUTEINFOW information = MakeInformation(row.m_File);
        ASSERT_TRUE(ShellExecuteExW(&information));
        EXPECT_GT(reinterpret_cast<ULONG_PTR>(information.hInstApp), 32u);
        ASSERT_NE(information.hProcess, nullptr);
        EXPECT_EQ(WaitForOpened(information.hProcess), row.m_Opened);
    }
}

TEST_F(ShellExecuteCalls, FailsWithoutAnOpenerOrAFile) {
    SHELLEXECUTEINFOW information = MakeInformation(u"https://example.invalid/");
    EXPECT_FALSE(ShellExecuteExW(&information));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_ASSOCIATION));
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(information.hInstApp), static_cast<ULONG_PTR>(SE_ERR_NOASSOC));
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(
                  ShellExecuteW(nullptr, u"open", u"https://example.invalid/", nullptr, nullptr, SW_SHOWNORMAL)),
              static_cast<ULONG_PTR>(SE_ERR_NOASSOC));
    InstallOpener();
    information = MakeInformation(u"C:\\missing.html");
    EXPECT_FALSE(ShellExecuteExW(&information));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(information.hInstApp), static_cast<ULONG_PTR>(ERROR_FILE_NOT_FOUND));
    information.cbSize = 8;
    EXPECT_FALSE(ShellExecuteExW(&information));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(ShellExecuteCalls, HookTakesTheCallInsteadOfXdgOpen) {
    InstallOpener();
    {
        c_ShellExecuteRecorder recorder;
        SHELLEXECUTEINFOW information = MakeInformation(u"https://example.invalid/");
        information.lpParameters = u"-x";
        ASSERT_TRUE(ShellExecuteExW(&information));
        EXPECT_GT(reinterpret_cast<ULONG_PTR>(information.hInstApp), 32u);
        EXPECT_EQ(information.hProcess, nullptr);
        const std::vector<c_ShellExecuteRecorder::s_Call> calls = recorder.GetCalls();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].m_Verb, "open");
        EXPECT_EQ(calls[0].m_File, "https://example.invalid/");
        EXPECT_EQ(calls[0].m_Parameters, "-x");
        EXPECT_EQ(calls[0].m_Mask, static_cast<ULONG>(SEE_MASK_NO_CONSOLE | SEE_MASK_NOCLOSEPROCESS));
        EXPECT_EQ(calls[0].m_Show, SW_SHOWNORMAL);
    }
    EXPECT_FALSE(TestFileExists(m_Bin + "/opened.txt")) << "nothing was opened";
    SHELLEXECUTEINFOW information = MakeInformation(u"https://example.invalid/after");
    ASSERT_TRUE(ShellExecuteExW(&information));
    EXPECT_EQ(WaitForOpened(information.hProcess), "https://example.invalid/after") << "the hook is gone";
}

// A display's opener takes addresses; files still go to xdg-open, and a refusal is no association.
TEST_F(ShellExecuteCalls, AddressOpenerTakesAddressesOnly) {
    InstallOpener();
    WriteTestFile(m_Drives.GetD() + "/page.html", "<html/>");
    std::vector<std::string> opened;
    bool opens = true;
    n_Platform::SetAddressOpener([&](const std::string& address) {
        opened.push_back(address);
        return opens;
    });
    SHELLEXECUTEINFOW information = MakeInformation(u"https://example.invalid/page");
    EXPECT_TRUE(ShellExecuteExW(&information));
    EXPECT_EQ(information.hProcess, nullptr);
    information = MakeInformation(u"D:\\page.html");
    ASSERT_TRUE(ShellExecuteExW(&information));
    EXPECT_EQ(WaitForOpened(information.hProcess), m_Drives.GetD() + "/page.html");
    opens = false;
    information = MakeInformation(u"mailto:someone@example.invalid");
    EXPECT_FALSE(ShellExecuteExW(&information));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_ASSOCIATION));
    n_Platform::SetAddressOpener(nullptr);
    EXPECT_EQ(opened, (std::vector<std::string>{"https://example.invalid/page", "mailto:someone@example.invalid"}));
}

} // namespace
