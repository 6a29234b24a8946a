// Tests of the list-view, tab and tree-view texts against the layer's controls in a sample dialog.

#include "oslayer/windows/CommonControlTexts.h"

#include "oslayer/testing/c_SampleControlsDialog.h"

#include <gtest/gtest.h>

#include <string>

namespace {

typedef c_SampleControlsDialog c_Sample;

LVITEMW ReadListItem(HWND list, int index) {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE | LVIF_PARAM;
    item.iItem = index;
    item.iImage = -7;
    item.lParam = -7;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item;
}

TEST(CommonControlTexts, ListViewItemsCarryWhatTheirFormSends) {
    c_Sample sample;
    const HWND list = sample.GetItem(c_Sample::LIST_VIEW);
    struct s_Case {
        const char* m_p_Name;
        LRESULT m_Index;
        std::string m_Text;
        int m_Image;
        LPARAM m_Data;
    };
    const s_Case cases[] = {
        {"text only", n_OSLayer::ListViewInsertItem(list, 0, "Plain \xE2\x82\xAC"), "Plain \xE2\x82\xAC", 0, 0},
        {"with data", n_OSLayer::ListViewInsertItem(list, 1, "Data", 77), "Data", 0, 77},
        {"with image and data", n_OSLayer::ListViewInsertItem(list, 2, "Image", 3, 88), "Image", 3, 88},
        {"past the end: appended", n_OSLayer::ListViewInsertItem(list, 9, "Last"), "Last", 0, 0},
    };
    for (int index = 0; index < 4; ++index) {
        const s_Case& row = cases[index];
        EXPECT_EQ(row.m_Index, index) << row.m_p_Name;
        EXPECT_EQ(n_OSLayer::ListViewGetItemText(list, index, 0).GetChars(), row.m_Text) << row.m_p_Name;
        const LVITEMW item = ReadListItem(list, index);
        EXPECT_EQ(item.iImage, row.m_Image) << row.m_p_Name;
        EXPECT_EQ(item.lParam, row.m_Data) << row.m_p_Name;
    }
    EXPECT_EQ(n_OSLayer::ListViewInsertItem(list, 0, "First"), 0) << "inserted before the others";
    EXPECT_EQ(n_OSLayer::ListViewGetItemText(list, 1, 0), "Plain \xE2\x82\xAC");
    EXPECT_EQ(n_OSLayer::ListViewInsertItem(list, -1, "Bad"), -1);
}

TEST(CommonControlTexts, ListViewColumnsAndSubitemTexts) {
    c_Sample sample;
    const HWND list = sample.GetItem(c_Sample::LIST_VIEW);
    EXPECT_EQ(n_OSLayer::ListViewInsertColumn(list, 0, "Name", LVCFMT_LEFT, 120, 0), 0);
    EXPECT_EQ(n_OSLayer::ListViewInsertColumn(list, 5, "Size", LVCFMT_RIGHT, 60, 1), 1);
    EXPECT_TRUE(n_OSLayer::ListViewSetColumnText(list, 1,
                                                 "Gr\xC3\xB6\xC3\x9F"
                                                 "e"));
    EXPECT_FALSE(n_OSLayer::ListViewSetColumnText(list, 2, "None"));
    WCHAR text[16] = {};
    LVCOLUMNW column = {LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM, 0, 0, text, 16, 0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column)));
    EXPECT_EQ(std::u16string(text), u"Gr\u00F6\u00DFe");
    EXPECT_EQ(column.fmt, LVCFMT_RIGHT) << "the text alone changed";
    EXPECT_EQ(column.cx, 60);
    EXPECT_EQ(column.iSubItem, 1);

    n_OSLayer::ListViewInsertItem(list, 0, "file.txt");
    n_OSLayer::ListViewSetItemText(list, 0, 1, "12 KB");
    n_OSLayer::ListViewSetItemText(list, 0, 2, "no column");
    n_OSLayer::ListViewSetItemText(list, 3, 1, "no item");
    const struct {
        const char* m_p_Name;
        int m_Index;
        int m_SubItem;
        const char* m_p_Text;
    } cases[] = {
        {"the item", 0, 0, "file.txt"},           {"a subitem", 0, 1, "12 KB"},
        {"a subitem without a column", 0, 2, ""}, {"an item that is not there", 3, 1, ""},
        {"a negative item", -1, 0, ""},
    };
    for (const auto& row : cases) {
        EXPECT_STREQ(n_OSLayer::ListViewGetItemText(list, row.m_Index, row.m_SubItem).GetChars(), row.m_p_Text)
            << row.m_p_Name;
    }
}

TEST(CommonControlTexts, LongTextsAreReadWhole) {
    c_Sample sample;
    const HWND list = sample.GetItem(c_Sample::LIST_VIEW);
    const HWND tree = sample.GetItem(c_Sample::TREE);
    // Around the first buffer of 256 units and its doubling.
    for (const int length : {0, 1, 254, 255, 256, 511, 600, 1100}) {
        const std::string text(static_cast<std::size_t>(length), 'x');
        const LRESULT index = n_OSLayer::ListViewInsertItem(list, 0, text.c_str());
        EXPECT_EQ(n_OSLayer::ListViewGetItemText(list, static_cast<int>(index), 0).GetChars(), text) << length;
        const HTREEITEM item = n_OSLayer::TreeViewInsertItem(tree, TVI_ROOT, TVI_LAST, text.c_str());
        EXPECT_EQ(n_OSLayer::TreeViewGetItemText(tree, item).GetChars(), text) << length;
    }
}

TEST(CommonControlTexts, TabTextsInTheirPlaces) {
    c_Sample sample;
    const HWND tab = sample.GetItem(c_Sample::TAB);
    EXPECT_EQ(n_OSLayer::TabInsertItem(tab, 0, "Proxy"), 0);
    EXPECT_EQ(n_OSLayer::TabInsertItem(tab, 0, "General \xE2\x82\xAC"), 0);
    EXPECT_EQ(n_OSLayer::TabInsertItem(tab, 7, "Log"), 2);
    EXPECT_EQ(n_OSLayer::TabInsertItem(tab, -1, "Bad"), -1);
    const char16_t* const texts[] = {u"General \u20AC", u"Proxy", u"Log"};
    for (int index = 0; index < 3; ++index) {
        WCHAR text[16] = {};
        TCITEMW item = {TCIF_TEXT, 0, 0, text, 16, 0, 0};
        ASSERT_TRUE(SendMessageW(tab, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
        EXPECT_EQ(std::u16string(text), texts[index]) << index;
    }
}

// The texts of the children of an item (of the roots for null), in order.
std::string ChildTexts(HWND tree, HTREEITEM parent) {
    std::string texts;
    auto child =
        reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
    for (; child != nullptr; child = reinterpret_cast<HTREEITEM>(
                                 SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)))) {
        texts += std::string(n_OSLayer::TreeViewGetItemText(tree, child).GetChars()) + ";";
    }
    return texts;
}

TEST(CommonControlTexts, TreeItemsUnderTheirParentsInTheirOrder) {
    c_Sample sample;
    const HWND tree = sample.GetItem(c_Sample::TREE);
    const HTREEITEM data = n_OSLayer::TreeViewInsertItem(tree, TVI_ROOT, TVI_LAST, "Data", 42);
    ASSERT_NE(data, nullptr);
    const HTREEITEM logs = n_OSLayer::TreeViewInsertItem(tree, nullptr, TVI_FIRST, "Logs");
    n_OSLayer::TreeViewInsertItem(tree, nullptr, data, "Charts");
    n_OSLayer::TreeViewInsertItem(tree, data, TVI_LAST, "b.dly");
    n_OSLayer::TreeViewInsertItem(tree, data, TVI_SORT, "A.dly");
    n_OSLayer::TreeViewInsertItem(tree, data, TVI_SORT, "c.dly");
    EXPECT_EQ(ChildTexts(tree, nullptr), "Logs;Data;Charts;");
    EXPECT_EQ(ChildTexts(tree, data), "A.dly;b.dly;c.dly;");
    EXPECT_EQ(n_OSLayer::TreeViewInsertItem(tree, reinterpret_cast<HTREEITEM>(999), TVI_LAST, "x"), nullptr)
        << "a parent that is not there";
    EXPECT_EQ(n_OSLayer::TreeViewInsertItem(tree, data, logs, "x"), nullptr) << "after an item of another parent";

    n_OSLayer::TreeViewSetItemText(tree, data, "Daten \xE2\x82\xAC");
    EXPECT_STREQ(n_OSLayer::TreeViewGetItemText(tree, data).GetChars(), "Daten \xE2\x82\xAC");
    TVITEMW item = {};
    item.mask = TVIF_PARAM;
    item.hItem = data;
    ASSERT_TRUE(SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(item.lParam, 42) << "the text alone changed";
    EXPECT_STREQ(n_OSLayer::TreeViewGetItemText(tree, reinterpret_cast<HTREEITEM>(999)).GetChars(), "");
    EXPECT_STREQ(n_OSLayer::TreeViewGetItemText(nullptr, data).GetChars(), "");
}

} // namespace
