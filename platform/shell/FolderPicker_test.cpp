// Tests of the folder picker with the test driver as its back end.

#include "platform/testing/TestWindows.h"
#include "platform/user/testing/c_DialogDriver.h"

#include <win32/folderpicker.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct s_CallbackRecord {
    LPCWSTR m_Initial = nullptr;
    HWND m_Owner = nullptr;
    int m_Initialized = 0;
    BOOL m_OwnerEnabled = TRUE;
};

// As the program's callback: opens the picker on the initial folder.
int CALLBACK OpenOnInitialFolder(HWND picker, UINT message, LPARAM, LPARAM data) {
    auto* record = reinterpret_cast<s_CallbackRecord*>(data);
    if (message == BFFM_INITIALIZED) {
        ++record->m_Initialized;
        record->m_OwnerEnabled = IsWindowEnabled(record->m_Owner);
        SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(record->m_Initial));
    }
    return 0;
}

class FolderPicker : public testing::Test {
protected:
    void SetUp() override { m_Owner = n_TestWindows::MakeWindow(&m_Handler); }
    void TearDown() override { DestroyWindow(m_Owner); }

    PIDLIST_ABSOLUTE Browse(s_CallbackRecord& record) {
        record.m_Owner = m_Owner;
        BROWSEINFOW information = {};
        information.hwndOwner = m_Owner;
        information.pszDisplayName = m_DisplayName;
        information.lpszTitle = u"Installation path";
        information.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
        information.lpfn = OpenOnInitialFolder;
        information.lParam = reinterpret_cast<LPARAM>(&record);
        return SHBrowseForFolderW(&information);
    }

    n_TestWindows::t_Handler m_Handler = n_TestWindows::Default;
    n_Platform::c_DialogDriver m_Driver;
    HWND m_Owner = nullptr;
    WCHAR m_DisplayName[260] = {};
};

TEST_F(FolderPicker, OpensWhereTheCallbackSaysAndGivesTheChosenFolder) {
    m_Driver.SetFolderPickerResult(u"C:\\Programs\\X\\");
    s_CallbackRecord record;
    record.m_Initial = u"C:\\DovrikChart\\";
    const PIDLIST_ABSOLUTE list = Browse(record);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(record.m_Initialized, 1);
    EXPECT_FALSE(record.m_OwnerEnabled);
    EXPECT_TRUE(IsWindowEnabled(m_Owner));
    EXPECT_EQ(m_Driver.GetFolderPickerSelection(), u"C:\\DovrikChart\\");
    EXPECT_EQ(m_Driver.GetFolderPickerTitle(), u"Installation path");
    EXPECT_EQ(std::u16string(m_DisplayName), u"X");
    WCHAR path[1024] = {};
    ASSERT_TRUE(SHGetPathFromIDListEx(list, path, 1024, GPFIDL_DEFAULT));
    EXPECT_EQ(std::u16string(path), u"C:\\Programs\\X\\");
    EXPECT_FALSE(SHGetPathFromIDListEx(list, path, 14, GPFIDL_DEFAULT));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    std::free(list);
}

TEST_F(FolderPicker, IsCancelledWithoutAResult) {
    s_CallbackRecord record;
    record.m_Initial = u"C:\\";
    EXPECT_EQ(Browse(record), nullptr);
    EXPECT_TRUE(IsWindowEnabled(m_Owner));
    m_Driver.SetFolderPickerResult(u"D:\\");
    const PIDLIST_ABSOLUTE chosen = Browse(record);
    EXPECT_NE(chosen, nullptr);
    std::free(chosen);
    // A result is taken once.
    EXPECT_EQ(Browse(record), nullptr);
    WCHAR path[8] = {};
    EXPECT_FALSE(SHGetPathFromIDListEx(nullptr, path, 8, GPFIDL_DEFAULT));
}

} // namespace
