// Tests of the n_OSLayer control texts against the layer's controls in a sample dialog.

#include "oslayer/windows/ControlTexts.h"

#include "oslayer/testing/c_SampleControlsDialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

typedef c_SampleControlsDialog c_Sample;

std::vector<std::string> ItemTexts(HWND control, c_String (*read)(HWND, std::int32_t), int count) {
    std::vector<std::string> texts;
    for (int index = 0; index < count; ++index) {
        texts.emplace_back(read(control, index).GetChars());
    }
    return texts;
}

TEST(ControlTexts, ComboBoxSendersAddInsertFindAndSelect) {
    c_Sample sample;
    const HWND combo = sample.GetItem(c_Sample::COMBO);
    EXPECT_EQ(n_OSLayer::ComboBoxAddString(combo, "Current Version"), 0);
    EXPECT_EQ(n_OSLayer::ComboBoxAddString(combo, "Specific \xE2\x82\xAC"), 1);
    EXPECT_EQ(n_OSLayer::ComboBoxInsertString(combo, 1, "Prerelease"), 1);
    EXPECT_EQ(n_OSLayer::ComboBoxInsertString(combo, -1, "current"), 3);
    EXPECT_EQ(n_OSLayer::ComboBoxInsertString(combo, 9, "x"), CB_ERR);
    EXPECT_EQ(ItemTexts(combo, &n_OSLayer::ComboBoxGetItemText, 4),
              (std::vector<std::string>{"Current Version", "Prerelease", "Specific \xE2\x82\xAC", "current"}));
    struct s_Case {
        const char* m_p_Name;
        LRESULT (*m_p_Find)(HWND, std::int32_t, const c_StringView&);
        std::int32_t m_Start;
        const char* m_p_Text;
        LRESULT m_Found;
    } const cases[] = {
        {"prefix without case", &n_OSLayer::ComboBoxFindString, -1, "CURRENT", 0},
        {"prefix after the start", &n_OSLayer::ComboBoxFindString, 0, "current", 3},
        {"prefix in UTF-8", &n_OSLayer::ComboBoxFindString, -1, "specific \xE2\x82\xAC", 2},
        {"prefix nowhere", &n_OSLayer::ComboBoxFindString, -1, "Beta", CB_ERR},
        {"exact", &n_OSLayer::ComboBoxFindStringExact, -1, "CURRENT", 3},
        {"exact is no prefix", &n_OSLayer::ComboBoxFindStringExact, -1, "Pre", CB_ERR},
    };
    for (const s_Case& row : cases) {
        EXPECT_EQ(row.m_p_Find(combo, row.m_Start, row.m_p_Text), row.m_Found) << row.m_p_Name;
    }
    EXPECT_EQ(n_OSLayer::ComboBoxSelectString(combo, -1, "pre"), 1);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(n_OSLayer::ComboBoxSelectString(combo, -1, "Beta"), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
}

TEST(ControlTexts, ListBoxSendersAddInsertAndFind) {
    c_Sample sample;
    const HWND list = sample.GetItem(c_Sample::LIST);
    EXPECT_EQ(n_OSLayer::ListBoxAddString(list, "Downloading \xE2\x82\xAC"), 0);
    EXPECT_EQ(n_OSLayer::ListBoxAddString(list, "Done"), 1);
    EXPECT_EQ(n_OSLayer::ListBoxInsertString(list, 0, "Started"), 0);
    EXPECT_EQ(n_OSLayer::ListBoxInsertString(list, 7, "x"), LB_ERR);
    EXPECT_EQ(ItemTexts(list, &n_OSLayer::ListBoxGetItemText, 3),
              (std::vector<std::string>{"Started", "Downloading \xE2\x82\xAC", "Done"}));
    EXPECT_EQ(n_OSLayer::ListBoxFindStringExact(list, -1, "DONE"), 2);
    EXPECT_EQ(n_OSLayer::ListBoxFindStringExact(list, -1, "Down"), LB_ERR);
}

TEST(ControlTexts, ItemReadersGiveNothingForItemsThatAreNotThere) {
    c_Sample sample;
    const HWND combo = sample.GetItem(c_Sample::COMBO);
    const HWND list = sample.GetItem(c_Sample::LIST);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"First"));
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u""));
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Line \u00E9"));
    struct s_Case {
        const char* m_p_Name;
        c_String (*m_p_Read)(HWND, std::int32_t);
        HWND m_Control;
        std::int32_t m_Index;
        const char* m_p_Text;
    } const cases[] = {
        {"combo item", &n_OSLayer::ComboBoxGetItemText, combo, 0, "First"},
        {"empty combo item", &n_OSLayer::ComboBoxGetItemText, combo, 1, ""},
        {"combo index past the end", &n_OSLayer::ComboBoxGetItemText, combo, 2, ""},
        {"combo index -1", &n_OSLayer::ComboBoxGetItemText, combo, -1, ""},
        {"list line in UTF-8", &n_OSLayer::ListBoxGetItemText, list, 0, "Line \xC3\xA9"},
        {"list index past the end", &n_OSLayer::ListBoxGetItemText, list, 1, ""},
        {"not a window", &n_OSLayer::ListBoxGetItemText, nullptr, 0, ""},
    };
    for (const s_Case& row : cases) {
        EXPECT_STREQ(row.m_p_Read(row.m_Control, row.m_Index).GetChars(), row.m_p_Text) << row.m_p_Name;
    }
}

TEST(ControlTexts, EditLinesAndReplacedSelections) {
    c_Sample sample;
    const HWND edit = sample.GetItem(c_Sample::EDIT);
    EXPECT_STREQ(n_OSLayer::EditGetLine(edit, 0).GetChars(), "");
    SetWindowTextW(edit, u"Version \u20AC");
    struct s_Case {
        const char* m_p_Name;
        std::int32_t m_MaxLength;
        const char* m_p_Text;
    } const cases[] = {
        {"the line's own length", -2, "Version \xE2\x82\xAC"},
        {"bounded below the line", 3, "Ver"},
        {"bounded above the line", 20, "Version \xE2\x82\xAC"},
        {"bounded to nothing", 0, ""},
        {"bounded below nothing", -1, ""},
    };
    for (const s_Case& row : cases) {
        const c_String line =
            row.m_MaxLength == -2 ? n_OSLayer::EditGetLine(edit, 0) : n_OSLayer::EditGetLine(edit, 0, row.m_MaxLength);
        EXPECT_STREQ(line.GetChars(), row.m_p_Text) << row.m_p_Name;
    }
    SendMessageW(edit, EM_SETSEL, 0, 7);
    n_OSLayer::EditReplaceSelection(edit, true, "Price");
    EXPECT_STREQ(n_OSLayer::EditGetLine(edit, 0).GetChars(), "Price \xE2\x82\xAC");
}

} // namespace
