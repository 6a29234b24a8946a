// n_OSLayer texts of the list view, the tab control and the tree view over their messages.

#include "oslayer/windows/CommonControlTexts.h"

#include "oslayer/system/TextConversion.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <string>

namespace {

constexpr int FIRST_BUFFER_UNITS = 256;
constexpr UINT TREE_TEXT_MASK = TVIF_TEXT | TVIF_HANDLE;

WPARAM IndexParameter(std::int32_t index) {
    return static_cast<WPARAM>(static_cast<LONG_PTR>(index));
}

// Asks with a zeroed buffer of 256 units, doubled while the text fills it (its length + 1 equals
// the size: it may have been cut). The request answers where the text lies and its length.
c_String ReadGrowing(const std::function<std::u16string_view(char16_t*, int)>& request) {
    for (int units = FIRST_BUFFER_UNITS;; units *= 2) {
        c_WString buffer;
        if (!buffer.SetLength(units)) {
            return c_String();
        }
        std::fill(buffer.GetBuffer(), buffer.GetBuffer() + units, u'\0');
        const std::u16string_view text = request(buffer.GetBuffer(), units);
        if (static_cast<int>(text.size()) + 1 != units || units > INT_MAX / 2) {
            return n_OSLayer::WideToUTF8(c_WStringView(text.data(), static_cast<int>(text.size()), true));
        }
    }
}

LRESULT InsertListItem(HWND list, UINT mask, std::int32_t index, const c_StringView& text, std::int32_t image,
                       LPARAM data) {
    c_WString wide = n_OSLayer::UTF8ToWide(text);
    LVITEMW item = {};
    item.mask = mask;
    item.iItem = index;
    item.pszText = wide.GetBuffer();
    item.iImage = image;
    item.lParam = data;
    return SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

HTREEITEM InsertTreeItem(HWND tree, UINT mask, HTREEITEM parent, HTREEITEM insertAfter, const c_StringView& text,
                         LPARAM data) {
    c_WString wide = n_OSLayer::UTF8ToWide(text);
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = insertAfter;
    insert.item.mask = mask;
    insert.item.pszText = wide.GetBuffer();
    insert.item.lParam = data;
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

} // namespace

namespace n_OSLayer {

LRESULT ListViewInsertItem(HWND list, std::int32_t index, const c_StringView& text) {
    return InsertListItem(list, LVIF_TEXT, index, text, 0, 0);
}

LRESULT ListViewInsertItem(HWND list, std::int32_t index, const c_StringView& text, LPARAM data) {
    return InsertListItem(list, LVIF_TEXT | LVIF_PARAM, index, text, 0, data);
}

LRESULT ListViewInsertItem(HWND list, std::int32_t index, const c_StringView& text, std::int32_t image, LPARAM data) {
    return InsertListItem(list, LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM, index, text, image, data);
}

void ListViewSetItemText(HWND list, std::int32_t index, std::int32_t subItem, const c_StringView& text) {
    c_WString wide = UTF8ToWide(text);
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iSubItem = subItem;
    item.pszText = wide.GetBuffer();
    SendMessageW(list, LVM_SETITEMTEXTW, IndexParameter(index), reinterpret_cast<LPARAM>(&item));
}

bool ListViewSetColumnText(HWND list, std::int32_t column, const c_StringView& text) {
    c_WString wide = UTF8ToWide(text);
    LVCOLUMNW values = {};
    values.mask = LVCF_TEXT;
    values.pszText = wide.GetBuffer();
    return SendMessageW(list, LVM_SETCOLUMNW, IndexParameter(column), reinterpret_cast<LPARAM>(&values)) != FALSE;
}

LRESULT ListViewInsertColumn(HWND list, std::int32_t column, const c_StringView& text, std::int32_t format,
                             std::int32_t width, std::int32_t subItem) {
    c_WString wide = UTF8ToWide(text);
    LVCOLUMNW values = {};
    values.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    values.fmt = format;
    values.cx = width;
    values.pszText = wide.GetBuffer();
    values.iSubItem = subItem;
    return SendMessageW(list, LVM_INSERTCOLUMNW, IndexParameter(column), reinterpret_cast<LPARAM>(&values));
}

c_String ListViewGetItemText(HWND list, std::int32_t index, std::int32_t subItem) {
    return ReadGrowing([&](char16_t* buffer, int units) {
        LVITEMW item = {};
        item.iSubItem = subItem;
        item.pszText = buffer;
        item.cchTextMax = units;
        const LRESULT count =
            SendMessageW(list, LVM_GETITEMTEXTW, IndexParameter(index), reinterpret_cast<LPARAM>(&item));
        const std::u16string_view text(buffer, static_cast<std::size_t>(std::clamp<LRESULT>(count, 0, units)));
        return text.substr(0, text.find(u'\0'));
    });
}

LRESULT TabInsertItem(HWND tab, std::int32_t index, const c_StringView& text) {
    c_WString wide = UTF8ToWide(text);
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = wide.GetBuffer();
    return SendMessageW(tab, TCM_INSERTITEMW, IndexParameter(index), reinterpret_cast<LPARAM>(&item));
}

HTREEITEM TreeViewInsertItem(HWND tree, HTREEITEM parent, HTREEITEM insertAfter, const c_StringView& text) {
    return InsertTreeItem(tree, TVIF_TEXT, parent, insertAfter, text, 0);
}

HTREEITEM TreeViewInsertItem(HWND tree, HTREEITEM parent, HTREEITEM insertAfter, const c_StringView& text,
                             LPARAM data) {
    return InsertTreeItem(tree, TVIF_TEXT | TVIF_PARAM, parent, insertAfter, text, data);
}

void TreeViewSetItemText(HWND tree, HTREEITEM item, const c_StringView& text) {
    c_WString wide = UTF8ToWide(text);
    TVITEMW values = {};
    values.mask = TREE_TEXT_MASK;
    values.hItem = item;
    values.pszText = wide.GetBuffer();
    SendMessageW(tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&values));
}

c_String TreeViewGetItemText(HWND tree, HTREEITEM item) {
    return ReadGrowing([&](char16_t* buffer, int units) {
        TVITEMW values = {};
        values.mask = TREE_TEXT_MASK;
        values.hItem = item;
        values.pszText = buffer;
        values.cchTextMax = units;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&values));
        return values.pszText != nullptr ? std::u16string_view(values.pszText) : std::u16string_view();
    });
}

} // namespace n_OSLayer
