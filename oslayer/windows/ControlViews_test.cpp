// Tests of tab pages and list-view items through their CWnd, on a sample dialog.

#include "oslayer/windows/ControlViews.h"

#include "oslayer/testing/c_SampleControlsDialog.h"
#include "oslayer/windows/CommonControlTexts.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <vector>

namespace {

typedef c_SampleControlsDialog c_Sample;

// The page's own state: the sample dialog itself is not shown.
bool IsShown(HWND window) {
    return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

std::vector<LONG> FrameOf(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

TEST(ControlViews, ListViewItemEndsNearTheTop) {
    c_Sample sample;
    const HWND list = sample.GetItem(c_Sample::LIST_VIEW);
    for (int index = 0; index < 20; ++index) {
        n_OSLayer::ListViewInsertItem(list, index, "item");
    }
    const int perPage = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
    ASSERT_GT(perPage, 1);
    ASSERT_LT(perPage, 10);
    const struct {
        const char* m_p_Name;
        int m_Index;
        bool m_Result;
        int m_Top;
    } cases[] = {
        {"an item in the middle", 10, true, 10},
        {"the first item", 0, true, 0},
        {"an item on the last page", 18, true, 20 - perPage},
        {"an item that is not there", 20, false, 20 - perPage},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(EnsureListViewItemVisible(CWnd::FromHandle(list), row.m_Index), row.m_Result) << row.m_p_Name;
        EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), row.m_Top) << row.m_p_Name;
    }
    EXPECT_FALSE(EnsureListViewItemVisible(nullptr, 0));
}

class ControlViewsTabPages : public ::testing::Test {
protected:
    void SetUp() override {
        for (const LPCWSTR text : {u"General", u"Proxy", u"Log"}) {
            TCITEMW item = {TCIF_TEXT, 0, 0, const_cast<LPWSTR>(text), 0, 0, 0};
            SendMessageW(m_Tab, TCM_INSERTITEMW, 9, reinterpret_cast<LPARAM>(&item));
        }
        // Three pages of different widths: the edit, the list and the combo box.
        for (const int id : {c_Sample::EDIT, c_Sample::LIST, c_Sample::COMBO}) {
            m_Pages.push_back(CWnd::FromHandle(m_Sample.GetItem(id)));
        }
        SetWindowPos(m_Pages[1]->GetSafeHwnd(), nullptr, 0, 0, 300, 50, SWP_NOMOVE | SWP_NOZORDER);
    }

    c_Sample m_Sample;
    HWND m_Tab = m_Sample.GetItem(c_Sample::TAB);
    std::vector<CWnd*> m_Pages;
};

TEST_F(ControlViewsTabPages, PagesFillTheDisplayAreaAndOnlyTheSelectedIsShown) {
    const std::vector<LONG> tabBefore = FrameOf(m_Tab);
    RECT area = {};
    GetClientRect(m_Tab, &area);
    SendMessageW(m_Tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    EXPECT_EQ(
        ArrangeTabPages(CWnd::FromHandle(m_Sample.GetDialog()), m_Pages.data(), 3, CWnd::FromHandle(m_Tab), 2, false),
        0)
        << "the tab selected before";
    EXPECT_EQ(SendMessageW(m_Tab, TCM_GETCURSEL, 0, 0), 2);
    for (int index = 0; index < 3; ++index) {
        const HWND page = m_Pages[static_cast<std::size_t>(index)]->GetSafeHwnd();
        RECT client = {};
        GetClientRect(page, &client);
        EXPECT_EQ(client.right, area.right - area.left) << index;
        EXPECT_EQ(client.bottom, area.bottom - area.top) << index;
        EXPECT_EQ(IsShown(page), index == 2) << index;
    }
    EXPECT_EQ(FrameOf(m_Tab), tabBefore) << "without fitWidth the tab control keeps its size";
}

TEST_F(ControlViewsTabPages, FitWidthGrowsTheTabAndTheOwnerByWhatTheWidestPageLacks) {
    const HWND dialog = m_Sample.GetDialog();
    std::vector<LONG> tabBefore = FrameOf(m_Tab);
    std::vector<LONG> ownerBefore = FrameOf(dialog);
    RECT client = {};
    GetClientRect(m_Tab, &client);
    const LONG lacking = 300 - client.right;
    ArrangeTabPages(CWnd::FromHandle(dialog), m_Pages.data(), 3, CWnd::FromHandle(m_Tab), 1, true);
    tabBefore[2] += lacking;
    ownerBefore[2] += lacking;
    EXPECT_EQ(FrameOf(m_Tab), tabBefore);
    EXPECT_EQ(FrameOf(dialog), ownerBefore);
    EXPECT_TRUE(IsShown(m_Pages[1]->GetSafeHwnd()));
    EXPECT_FALSE(IsShown(m_Pages[0]->GetSafeHwnd()));
}

} // namespace
