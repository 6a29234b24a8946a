// Tests of the tree view's items and their relations.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

TEST(TreeViews, ItemsKnowTheirParentsAndSiblings) {
    const HWND tree = CreateWindowExW(0, WC_TREEVIEWW, u"", 0, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(tree, nullptr);
    const auto insert = [&](HTREEITEM parent, HTREEITEM after) {
        TVINSERTSTRUCTW insertion = {parent, after, {}};
        return reinterpret_cast<HTREEITEM>(
            SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insertion)));
    };
    const HTREEITEM first = insert(TVI_ROOT, TVI_LAST);
    const HTREEITEM second = insert(nullptr, TVI_LAST);
    const HTREEITEM child = insert(second, TVI_FIRST);
    const auto next = [&](WPARAM relation, HTREEITEM item) {
        return reinterpret_cast<HTREEITEM>(
            SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    };
    const struct {
        const char* m_p_Name;
        WPARAM m_Relation;
        HTREEITEM m_Item;
        HTREEITEM m_Found;
    } cases[] = {
        {"the first root", TVGN_ROOT, nullptr, first},
        {"the next root", TVGN_NEXT, first, second},
        {"none after the last", TVGN_NEXT, second, nullptr},
        {"the one before", TVGN_PREVIOUS, second, first},
        {"none before the first", TVGN_PREVIOUS, first, nullptr},
        {"the first child", TVGN_CHILD, second, child},
        {"no child", TVGN_CHILD, first, nullptr},
        {"the parent", TVGN_PARENT, child, second},
        {"a root has none", TVGN_PARENT, first, nullptr},
        {"an item that is not there", TVGN_NEXT, reinterpret_cast<HTREEITEM>(77), nullptr},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(next(row.m_Relation, row.m_Item), row.m_Found) << row.m_p_Name;
    }
    EXPECT_EQ(SendMessageW(tree, TVM_GETCOUNT, 0, 0), 3);
    EXPECT_NE(first, second);
    TVITEMW item = {};
    item.mask = TVIF_TEXT;
    item.hItem = first;
    EXPECT_FALSE(SendMessageW(tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item))) << "TVIF_HANDLE is needed";
    DestroyWindow(tree);
}

} // namespace
