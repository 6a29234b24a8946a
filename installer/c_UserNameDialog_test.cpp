// Tests of c_UserNameDialog: the caption and the name that OK takes.

#include "installer/c_UserNameDialog.h"

#include "installer/InstallerResourceIds.h"
#include "installer/InstallerResources.h"
#include "platform/files/PathText.h"
#include "platform/user/testing/c_DialogDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

struct s_NameCase {
    const char* m_Name;
    WPARAM m_Key;
    int m_Result;
    const char* m_EnteredName;
};

const s_NameCase NAME_CASES[] = {
    {"OkTakesTheName", VK_RETURN, IDOK, "Jane Doe <jane@example.test>"},
    {"EscapeTakesNothing", VK_ESCAPE, IDCANCEL, ""},
};

class UserNameDialog : public testing::TestWithParam<s_NameCase> {};

TEST_P(UserNameDialog, EndsWithTheName) {
    const s_NameCase& row = GetParam();
    RegisterInstallerResources();
    n_Platform::c_DialogDriver driver;
    c_UserNameDialog dialog(nullptr);
    int result = -2;
    std::thread thread([&] { result = static_cast<int>(dialog.DoModal()); });
    const HWND window = driver.WaitForDialog(IDD_USER_NAME_DIALOG);
    ASSERT_NE(window, nullptr);
    std::u16string caption(64, u'\0');
    caption.resize(static_cast<std::size_t>(GetWindowTextW(window, caption.data(), 64)));
    EXPECT_EQ(caption, u"Enter Your Name or Email Address");
    EXPECT_TRUE(driver.SetText(window, IDC_USER_NAME, u"Jane Doe <jane@example.test>"));
    EXPECT_TRUE(driver.PressKey(window, row.m_Key));
    EXPECT_TRUE(driver.WaitUntilDialogEnds(window));
    thread.join();
    EXPECT_EQ(result, row.m_Result);
    EXPECT_EQ(dialog.GetEnteredName(), c_String(row.m_EnteredName));
}

INSTANTIATE_TEST_SUITE_P(Keys, UserNameDialog, testing::ValuesIn(NAME_CASES),
                         [](const auto& info) { return std::string(info.param.m_Name); });

} // namespace
