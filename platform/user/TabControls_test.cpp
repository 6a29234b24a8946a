// Tests of the tab control's selection and display area.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(TabControls, TheSelectionFollowsItsTab) {
    const HWND tab = CreateWindowExW(0, WC_TABCONTROLW, u"", 0, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(tab, nullptr);
    const auto insert = [&](WPARAM index) {
        TCITEMW item = {TCIF_PARAM, 0, 0, nullptr, 0, 0, static_cast<LPARAM>(index)};
        return SendMessageW(tab, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
    };
    EXPECT_EQ(SendMessageW(tab, TCM_GETCURSEL, 0, 0), -1) << "no tabs";
    const struct {
        const char* m_p_Name;
        LRESULT (*m_p_Step)(HWND, decltype(insert)&);
        LRESULT m_Result;
        LRESULT m_Selection;
    } cases[] = {
        {"the first tab is selected", [](HWND, decltype(insert)& add) { return add(0); }, 0, 0},
        {"a tab after it leaves it", [](HWND, decltype(insert)& add) { return add(1); }, 1, 0},
        {"a tab before it moves it", [](HWND, decltype(insert)& add) { return add(0); }, 0, 1},
        {"selecting answers the tab before",
         [](HWND control, decltype(insert)&) { return SendMessageW(control, TCM_SETCURSEL, 2, 0); }, 1, 2},
        {"a tab that is not there changes nothing",
         [](HWND control, decltype(insert)&) { return SendMessageW(control, TCM_SETCURSEL, 3, 0); }, -1, 2},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(row.m_p_Step(tab, insert), row.m_Result) << row.m_p_Name;
        EXPECT_EQ(SendMessageW(tab, TCM_GETCURSEL, 0, 0), row.m_Selection) << row.m_p_Name;
    }
    EXPECT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 3);
    TCITEMW item = {TCIF_PARAM, 0, 0, nullptr, 0, 0, 0};
    ASSERT_TRUE(SendMessageW(tab, TCM_GETITEMW, 2, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(item.lParam, 1);
    EXPECT_FALSE(SendMessageW(tab, TCM_GETITEMW, 3, reinterpret_cast<LPARAM>(&item)));
    DestroyWindow(tab);
}

TEST(TabControls, TheDisplayAreaLiesInsideTheWindowAndBack) {
    const HWND tab = CreateWindowExW(0, WC_TABCONTROLW, u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    RECT rect = {10, 20, 210, 120};
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
    EXPECT_EQ(std::vector<LONG>({rect.left, rect.top, rect.right, rect.bottom}), std::vector<LONG>({14, 44, 206, 116}));
    SendMessageW(tab, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
    EXPECT_EQ(std::vector<LONG>({rect.left, rect.top, rect.right, rect.bottom}), std::vector<LONG>({10, 20, 210, 120}));
    DestroyWindow(tab);
}

} // namespace
