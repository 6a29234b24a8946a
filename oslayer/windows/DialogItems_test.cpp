// Tests of the n_OSLayer dialog items against the layer's controls in a sample dialog.

#include "oslayer/windows/DialogItems.h"

#include "oslayer/testing/c_SampleControlsDialog.h"

#include "platform/user/testing/c_DialogDriver.h"

#include <gtest/gtest.h>

namespace {

typedef c_SampleControlsDialog c_Sample;

TEST(DialogItems, TextsGoToAndComeFromTheControlOfTheId) {
    c_Sample sample;
    const n_Platform::c_DialogDriver driver;
    const HWND dialog = sample.GetDialog();
    n_OSLayer::SetDialogItemText(dialog, c_Sample::EDIT, "Folder \xE2\x82\xAC");
    n_OSLayer::SetDialogItemText(dialog, c_Sample::NAME_EDIT, "Jo");
    n_OSLayer::SetDialogItemText(dialog, 99, "nowhere");
    EXPECT_EQ(driver.GetText(dialog, c_Sample::EDIT), u"Folder \u20AC");
    EXPECT_EQ(driver.GetText(dialog, c_Sample::NAME_EDIT), u"Jo");
    struct s_Case {
        const char* m_p_Name;
        int m_Id;
        const char* m_p_Text;
    } const cases[] = {
        {"an edit in UTF-8", c_Sample::EDIT, "Folder \xE2\x82\xAC"},
        {"a static", c_Sample::LABEL, "Name:"},
        {"a control without text", c_Sample::LIST, ""},
        {"no control of the id", 99, ""},
    };
    for (const s_Case& row : cases) {
        EXPECT_STREQ(n_OSLayer::GetDialogItemText(dialog, row.m_Id).GetChars(), row.m_p_Text) << row.m_p_Name;
    }
    EXPECT_STREQ(n_OSLayer::GetDialogItemText(dialog).GetChars(), "Jo");
}

TEST(DialogItems, CheckDlgButtonSetsTheCheckOfTheButtonOfTheId) {
    c_Sample sample;
    const n_Platform::c_DialogDriver driver;
    const HWND dialog = sample.GetDialog();
    EXPECT_TRUE(n_OSLayer::CheckDlgButton(dialog, c_Sample::CHECK_BOX, BST_CHECKED));
    EXPECT_TRUE(driver.IsChecked(dialog, c_Sample::CHECK_BOX));
    EXPECT_TRUE(n_OSLayer::CheckDlgButton(dialog, c_Sample::CHECK_BOX, BST_UNCHECKED));
    EXPECT_FALSE(driver.IsChecked(dialog, c_Sample::CHECK_BOX));
    EXPECT_FALSE(n_OSLayer::CheckDlgButton(dialog, 99, BST_CHECKED));
}

} // namespace
