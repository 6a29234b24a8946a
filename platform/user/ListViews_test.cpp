// Tests of the list view's rows, bounded texts and top row.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

// A list view 100 pixels high: six rows of 16 to a page.
class ListViews : public ::testing::Test {
protected:
    void SetUp() override {
        m_List = CreateWindowExW(0, WC_LISTVIEWW, u"", 0, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_List, nullptr);
    }
    void TearDown() override { DestroyWindow(m_List); }

    LRESULT Insert(int index, LPCWSTR text) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = index;
        item.pszText = const_cast<LPWSTR>(text);
        return SendMessageW(m_List, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }

    HWND m_List = nullptr;
};

TEST_F(ListViews, TextsAreCutToTheBufferWithTheirNul) {
    Insert(0, u"Downloaded");
    const struct {
        const char* m_p_Name;
        int m_Units;
        LRESULT m_Copied;
        std::u16string m_Text;
    } cases[] = {
        {"room for all", 32, 10, u"Downloaded"},
        {"exactly the text and its NUL", 11, 10, u"Downloaded"},
        {"one short", 10, 9, u"Downloade"},
        {"room for the NUL only", 1, 0, u""},
        {"no room", 0, 0, u"#"},
    };
    for (const auto& row : cases) {
        WCHAR buffer[40] = u"#";
        LVITEMW item = {};
        item.pszText = buffer;
        item.cchTextMax = row.m_Units;
        EXPECT_EQ(SendMessageW(m_List, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item)), row.m_Copied)
            << row.m_p_Name;
        EXPECT_EQ(std::u16string(buffer), row.m_Text) << row.m_p_Name;
    }
}

TEST_F(ListViews, RowsAreBroughtIntoViewWithTheLeastScroll) {
    EXPECT_EQ(SendMessageW(m_List, LVM_GETCOUNTPERPAGE, 0, 0), 6);
    for (int index = 0; index < 10; ++index) {
        Insert(index, u"row");
    }
    const struct {
        int m_Row;
        LRESULT m_Result;
        LRESULT m_Top;
    } cases[] = {{3, TRUE, 0}, {6, TRUE, 1}, {9, TRUE, 4}, {5, TRUE, 4}, {2, TRUE, 2}, {10, FALSE, 2}, {-1, FALSE, 2}};
    for (const auto& row : cases) {
        EXPECT_EQ(SendMessageW(m_List, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row.m_Row), FALSE), row.m_Result)
            << row.m_Row;
        EXPECT_EQ(SendMessageW(m_List, LVM_GETTOPINDEX, 0, 0), row.m_Top) << row.m_Row;
    }
    EXPECT_TRUE(SendMessageW(m_List, LVM_DELETEALLITEMS, 0, 0));
    EXPECT_EQ(SendMessageW(m_List, LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageW(m_List, LVM_GETTOPINDEX, 0, 0), 0);
}

TEST_F(ListViews, RefusedRequests) {
    LVITEMW subItem = {};
    subItem.mask = LVIF_TEXT;
    subItem.iSubItem = 1;
    subItem.pszText = const_cast<LPWSTR>(u"x");
    EXPECT_EQ(SendMessageW(m_List, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&subItem)), -1) << "only items insert";
    EXPECT_EQ(SendMessageW(m_List, LVM_INSERTITEMW, 0, 0), -1);
    EXPECT_EQ(SendMessageW(m_List, LVM_INSERTCOLUMNW, 0, 0), -1);
    Insert(0, u"row");
    EXPECT_FALSE(SendMessageW(m_List, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&subItem))) << "no column 1";
    LVCOLUMNW column = {};
    EXPECT_FALSE(SendMessageW(m_List, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)));
    EXPECT_EQ(SendMessageW(m_List, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)), 0);
    EXPECT_EQ(SendMessageW(m_List, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column)), 1);
    EXPECT_TRUE(SendMessageW(m_List, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&subItem)));
}

} // namespace
