// Tests of the standard controls' state and messages, on the test's own thread.

#include "platform/testing/TestWindows.h"
#include "platform/user/UserActions.h"

#include <commctrl.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using n_TestWindows::t_Handler;

// A parent that records the commands its controls send.
class Controls : public testing::Test {
protected:
    void SetUp() override {
        m_Handler = [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (message == WM_COMMAND) {
                m_Commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
            }
            return DefWindowProcW(window, message, wParam, lParam);
        };
        m_Parent = n_TestWindows::MakeWindow(&m_Handler);
    }
    void TearDown() override { DestroyWindow(m_Parent); }

    HWND Make(LPCWSTR className, DWORD style, int id = 7, LPCWSTR text = u"") {
        return CreateWindowExW(0, className, text, style | WS_CHILD, 0, 0, 100, 20, m_Parent,
                               reinterpret_cast<HMENU>(static_cast<LONG_PTR>(id)), nullptr, nullptr);
    }

    static std::u16string ItemText(HWND control, UINT lengthMessage, UINT textMessage, int index) {
        const LRESULT length = SendMessageW(control, lengthMessage, static_cast<WPARAM>(index), 0);
        if (length < 0) {
            return u"<error>";
        }
        std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
        SendMessageW(control, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        return text;
    }

    t_Handler m_Handler;
    HWND m_Parent = nullptr;
    std::vector<std::pair<int, int>> m_Commands;
};

TEST_F(Controls, ButtonsKeepTheirCheckAndOnlyAClickNotifies) {
    const HWND check = Make(u"Button", BS_AUTOCHECKBOX);
    const HWND push = Make(u"Button", BS_PUSHBUTTON, 8);
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(push, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(push, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(m_Commands.empty());
    EXPECT_TRUE(n_Platform::ClickControl(check));
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EnableWindow(push, FALSE);
    EXPECT_FALSE(n_Platform::ClickControl(push));
    SendMessageW(push, BM_CLICK, 0, 0);
    EnableWindow(push, TRUE);
    EnableWindow(m_Parent, FALSE);
    EXPECT_FALSE(n_Platform::ClickControl(push));
    EnableWindow(m_Parent, TRUE);
    EXPECT_TRUE(n_Platform::ClickControl(push));
    EXPECT_EQ(m_Commands, (std::vector<std::pair<int, int>>{{7, BN_CLICKED}, {8, BN_CLICKED}}));
}

TEST_F(Controls, ComboBoxItemsDataAndSelection) {
    const HWND combo = Make(u"ComboBox", CBS_DROPDOWNLIST);
    EXPECT_EQ(SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Current Version")), 0);
    EXPECT_EQ(SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Specific Version")), 1);
    EXPECT_EQ(SendMessageW(combo, CB_INSERTSTRING, 1, reinterpret_cast<LPARAM>(u"Prerelease Version")), 1);
    EXPECT_EQ(SendMessageW(combo, CB_INSERTSTRING, 9, reinterpret_cast<LPARAM>(u"x")), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(ItemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, 2), u"Specific Version");
    EXPECT_EQ(ItemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, 3), u"<error>");
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_TRUE(SendMessageW(combo, CB_SETITEMDATA, 2, 22));
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 2, 0), 22);
    EXPECT_EQ(SendMessageW(combo, CB_SETITEMDATA, 3, 1), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 2, 0), 2);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
    // Deleting before the selection moves it; an index past the end clears it.
    EXPECT_EQ(SendMessageW(combo, CB_DELETESTRING, 0, 0), 2);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 1, 0), 22);
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 5, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_SETDROPPEDWIDTH, 180, 0), 180);
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDWIDTH, 0, 0), 180);
    EXPECT_TRUE(m_Commands.empty());
    EXPECT_TRUE(n_Platform::ChooseComboItem(combo, 0));
    EXPECT_FALSE(n_Platform::ChooseComboItem(combo, 2));
    EXPECT_EQ(m_Commands, (std::vector<std::pair<int, int>>{{7, CBN_SELCHANGE}}));
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
}

TEST_F(Controls, SortedComboBoxesPlaceItemsWithoutCase) {
    const HWND combo = Make(u"ComboBox", CBS_DROPDOWNLIST | CBS_SORT);
    for (const char16_t* text : {u"beta", u"Alpha", u"gamma"}) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    EXPECT_EQ(ItemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, 0), u"Alpha");
    EXPECT_EQ(ItemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, 2), u"gamma");
}

TEST_F(Controls, ListBoxLinesSelectionAndExtent) {
    const HWND list = Make(u"ListBox", 0);
    EXPECT_EQ(SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"first")), 0);
    EXPECT_EQ(SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"second")), 1);
    EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"zero")), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(ItemText(list, LB_GETTEXTLEN, LB_GETTEXT, 2), u"second");
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageW(list, LB_DELETESTRING, 1, 0), 2);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_SETHORIZONTALEXTENT, 2000, 0), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), 2000);
    EXPECT_EQ(SendMessageW(list, LB_SETTOPINDEX, 1, 0), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 1);
    EXPECT_EQ(SendMessageW(list, LB_SETTOPINDEX, 5, 0), LB_ERR);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(Controls, EditSelectionEndsAtTheTextForTheEndMarks) {
    const HWND edit = Make(u"Edit", ES_AUTOHSCROLL, 7, u"C:\\Dovrik");
    struct s_Case {
        const char* m_p_Name;
        LPARAM m_Start;
        LPARAM m_End;
        DWORD m_ExpectedStart;
        DWORD m_ExpectedEnd;
    };
    const s_Case cases[] = {
        {"all", 0, -1, 0, 9},     {"caret at the end", 0xFFFF, 0xFFFF, 9, 9}, {"a part", 3, 5, 3, 5},
        {"reversed", 5, 3, 3, 5}, {"none keeps the caret", -1, 0, 5, 5},
    };
    for (const s_Case& row : cases) {
        SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(row.m_Start), row.m_End);
        DWORD start = 99;
        DWORD end = 99;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, row.m_ExpectedStart) << row.m_p_Name;
        EXPECT_EQ(end, row.m_ExpectedEnd) << row.m_p_Name;
    }
    EXPECT_TRUE(SendMessageW(edit, EM_SCROLLCARET, 0, 0));
    EXPECT_TRUE(n_Platform::TypeIntoControl(edit, u"D:\\"));
    EXPECT_EQ(GetWindowTextLengthW(edit), 3);
    EXPECT_EQ(m_Commands, (std::vector<std::pair<int, int>>{{7, EN_CHANGE}}));
}

TEST_F(Controls, ProgressBarsKeepThePositionInTheirRange) {
    const HWND bar = Make(PROGRESS_CLASSW, 0);
    EXPECT_EQ(SendMessageW(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 200)), MAKELONG(0, 100));
    EXPECT_EQ(SendMessageW(bar, PBM_SETPOS, 150, 0), 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 150);
    SendMessageW(bar, PBM_SETPOS, 500, 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 200);
    SendMessageW(bar, PBM_DELTAPOS, static_cast<WPARAM>(-250), 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 0);
    SendMessageW(bar, PBM_SETPOS, 80, 0);
    SendMessageW(bar, PBM_SETRANGE32, 10, 50);
    PBRANGE range = {};
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range)), 10);
    EXPECT_EQ(range.iHigh, 50);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 50);
}

TEST_F(Controls, FontsFocusAndItemsById) {
    const HWND label = Make(u"Static", SS_LEFT, 3, u"Specific Version:");
    const HWND edit = Make(u"Edit", 0, 4);
    const HFONT font = reinterpret_cast<HFONT>(0x1230);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), font);
    EXPECT_EQ(GetDlgItem(m_Parent, 4), edit);
    EXPECT_EQ(GetDlgItem(m_Parent, 5), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CONTROL_ID_NOT_FOUND));
    EXPECT_EQ(GetDlgCtrlID(label), 3);
    SetFocus(edit);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(SetFocus(label), edit);
    DestroyWindow(label);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(Controls, ItemSearchesStartAfterTheIndexGoRoundAndIgnoreCase) {
    const HWND combo = Make(u"ComboBox", CBS_DROPDOWNLIST);
    const HWND list = Make(u"ListBox", 0, 8);
    for (const LPCWSTR item : {u"Current Version", u"Specific Version", u"current", u"Spec"}) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    struct s_Case {
        const char* m_p_Name;
        HWND m_Control;
        UINT m_Message;
        int m_Start;
        LPCWSTR m_Text;
        LRESULT m_Found;
    } const cases[] = {
        {"prefix from the first", combo, CB_FINDSTRING, -1, u"CURRENT", 0},
        {"prefix after an index", combo, CB_FINDSTRING, 0, u"current", 2},
        {"prefix round past the end", combo, CB_FINDSTRING, 2, u"current v", 0},
        {"prefix nowhere", combo, CB_FINDSTRING, -1, u"Prerelease", CB_ERR},
        {"an empty prefix takes the next", combo, CB_FINDSTRING, 1, u"", 2},
        {"exact skips longer items", combo, CB_FINDSTRINGEXACT, -1, u"spec", 3},
        {"exact round to the start", combo, CB_FINDSTRINGEXACT, 3, u"current version", 0},
        {"exact is not a prefix", combo, CB_FINDSTRINGEXACT, -1, u"Specific", CB_ERR},
        {"start past the end is from the first", combo, CB_FINDSTRINGEXACT, 9, u"Current", 2},
        {"list exact", list, LB_FINDSTRINGEXACT, -1, u"SPECIFIC VERSION", 1},
        {"list exact after its only match goes round to it", list, LB_FINDSTRINGEXACT, 1, u"Specific Version", 1},
        {"list exact nowhere", list, LB_FINDSTRINGEXACT, -1, u"Spe", LB_ERR},
    };
    for (const s_Case& row : cases) {
        EXPECT_EQ(SendMessageW(row.m_Control, row.m_Message, static_cast<WPARAM>(row.m_Start),
                               reinterpret_cast<LPARAM>(row.m_Text)),
                  row.m_Found)
            << row.m_p_Name;
    }
    const HWND empty = Make(u"ComboBox", CBS_DROPDOWNLIST, 9);
    EXPECT_EQ(SendMessageW(empty, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"")), CB_ERR);
}

TEST_F(Controls, SelectStringSelectsTheFoundItemOrKeepsTheSelection) {
    const HWND combo = Make(u"ComboBox", CBS_DROPDOWNLIST);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Current Version"));
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Specific Version"));
    EXPECT_EQ(SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"spec")), 1);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    std::u16string text(32, u'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(combo, text.data(), 32)));
    EXPECT_EQ(text, u"Specific Version");
    EXPECT_EQ(SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"x")), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_TRUE(m_Commands.empty());
}

TEST_F(Controls, EditsReplaceTheirSelectionAndHandOutTheirLine) {
    struct s_Case {
        const char* m_p_Name;
        int m_Start;
        int m_End;
        LPCWSTR m_Replacement;
        const char16_t* m_Text;
        DWORD m_Caret;
    } const cases[] = {
        {"a selection in the middle", 4, 7, u"1.2", u"Ver 1.2 9", 7},
        {"at the caret inserts", 0, 0, u">", u">Ver 2.0 9", 1},
        {"the whole text", 0, -1, u"new", u"new", 3},
        {"with nothing removes the selection", 3, 7, u"", u"Ver 9", 3},
        {"a null text removes it as well", 3, 7, nullptr, u"Ver 9", 3},
    };
    const HWND edit = Make(u"Edit", 0, 4);
    for (const s_Case& row : cases) {
        SetWindowTextW(edit, u"Ver 2.0 9");
        SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(row.m_Start), row.m_End);
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(row.m_Replacement));
        std::u16string text(32, u'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(edit, text.data(), 32)));
        EXPECT_EQ(text, row.m_Text) << row.m_p_Name;
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, row.m_Caret) << row.m_p_Name;
        EXPECT_EQ(end, row.m_Caret) << row.m_p_Name;
    }
    SetWindowTextW(edit, u"Version");
    EXPECT_EQ(SendMessageW(edit, EM_LINELENGTH, 0, 0), 7);
    char16_t line[10] = {4, u'x', u'x', u'x', u'x', u'x'};
    EXPECT_EQ(SendMessageW(edit, EM_GETLINE, 0, reinterpret_cast<LPARAM>(line)), 4);
    EXPECT_EQ(std::u16string(line, 5), u"Versx");
    line[0] = 9;
    EXPECT_EQ(SendMessageW(edit, EM_GETLINE, 0, reinterpret_cast<LPARAM>(line)), 7);
    EXPECT_EQ(std::u16string(line, 7), u"Version");
    EXPECT_TRUE(m_Commands.empty());
}

TEST(Capture, MovesBetweenWindowsTellingTheOneThatLosesIt) {
    std::vector<std::pair<HWND, LPARAM>> changes;
    t_Handler handler = [&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_CAPTURECHANGED) {
            changes.emplace_back(window, lParam);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    };
    const HWND first = n_TestWindows::MakeWindow(&handler);
    const HWND second = n_TestWindows::MakeWindow(&handler);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(SetCapture(first), nullptr);
    EXPECT_EQ(SetCapture(first), first);
    EXPECT_EQ(SetCapture(second), first);
    EXPECT_EQ(SetCapture(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x7FFF0001))), nullptr);
    EXPECT_EQ(GetCapture(), second);
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(ReleaseCapture());
    const std::vector<std::pair<HWND, LPARAM>> expected = {{first, reinterpret_cast<LPARAM>(second)}, {second, 0}};
    EXPECT_EQ(changes, expected);
    SetCapture(first);
    DestroyWindow(first);
    EXPECT_EQ(GetCapture(), nullptr);
    DestroyWindow(second);
}

} // namespace
