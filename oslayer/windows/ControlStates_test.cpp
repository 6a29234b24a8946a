// Tests of control states through CWnd, on the controls of a sample dialog.

#include "oslayer/windows/ControlStates.h"

#include "oslayer/testing/c_SampleControlsDialog.h"

#include <gtest/gtest.h>

namespace {

typedef c_SampleControlsDialog c_Sample;

TEST(ControlStates, ComboSelectedTextFallsBackToTheIndexThenTheDefault) {
    c_Sample sample;
    const HWND window = sample.GetItem(c_Sample::COMBO);
    CWnd* combo = CWnd::FromHandle(window);
    for (const LPCWSTR item : {u"First", u"Second", u"Third \u20AC"}) {
        SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    struct s_Case {
        const char* m_p_Name;
        int m_Selection;
        std::int32_t m_Fallback;
        const char* m_p_Text;
    } const cases[] = {
        {"no selection, fallback -1: the default", -1, -1, "none"},
        {"no selection, fallback 2: the third item", -1, 2, "Third \xE2\x82\xAC"},
        {"no selection, fallback past the end: empty", -1, 5, ""},
        {"a selection wins over the fallback", 1, 2, "Second"},
    };
    for (const s_Case& row : cases) {
        SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(row.m_Selection), 0);
        EXPECT_STREQ(GetComboSelectedText(combo, "none", row.m_Fallback).GetChars(), row.m_p_Text) << row.m_p_Name;
    }
    // No window answers CB_GETCURSEL with 0, whose text is empty.
    EXPECT_STREQ(GetComboSelectedText(nullptr, "none", -1).GetChars(), "");
}

TEST(ControlStates, ChecksAndEnablingReachTheControl) {
    c_Sample sample;
    CWnd* button = CWnd::FromHandle(sample.GetItem(c_Sample::CHECK_BOX));
    SetButtonCheck(button, true);
    EXPECT_EQ(SendMessageW(button->GetSafeHwnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(IsButtonChecked(button));
    SetButtonCheck(button, false);
    EXPECT_FALSE(IsButtonChecked(button));
    EnableControl(button, false);
    EXPECT_FALSE(IsWindowEnabled(button->GetSafeHwnd()));
    EnableControl(button, true);
    EXPECT_TRUE(IsWindowEnabled(button->GetSafeHwnd()));
    EXPECT_FALSE(IsButtonChecked(nullptr));
}

} // namespace
