#pragma once
// n_OSLayer texts of the list view, the tab control and the tree view: one UTF-8 text sent in the
// control's item structure with one message, and item texts read back as UTF-8.
//
// Every member of a structure that a call does not name is 0. The readers ask with 256 units and
// double the buffer while the text fills it; they give the empty text for an item that is not there.

#include "strings/c_String.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdint>

namespace n_OSLayer {

// The new item's index, -1 on failure.
LRESULT ListViewInsertItem(HWND list, std::int32_t index, const c_StringView& text);
LRESULT ListViewInsertItem(HWND list, std::int32_t index, const c_StringView& text, LPARAM data);
LRESULT ListViewInsertItem(HWND list, std::int32_t index, const c_StringView& text, std::int32_t image, LPARAM data);
void ListViewSetItemText(HWND list, std::int32_t index, std::int32_t subItem, const c_StringView& text);
bool ListViewSetColumnText(HWND list, std::int32_t column, const c_StringView& text);
// The new column's index, -1 on failure.
LRESULT ListViewInsertColumn(HWND list, std::int32_t column, const c_StringView& text, std::int32_t format,
                             std::int32_t width, std::int32_t subItem);
c_String ListViewGetItemText(HWND list, std::int32_t index, std::int32_t subItem);

// The new tab's index, -1 on failure.
LRESULT TabInsertItem(HWND tab, std::int32_t index, const c_StringView& text);

// The new item, null on failure.
HTREEITEM TreeViewInsertItem(HWND tree, HTREEITEM parent, HTREEITEM insertAfter, const c_StringView& text);
HTREEITEM TreeViewInsertItem(HWND tree, HTREEITEM parent, HTREEITEM insertAfter, const c_StringView& text, LPARAM data);
void TreeViewSetItemText(HWND tree, HTREEITEM item, const c_StringView& text);
// The text where the control leaves pszText, which may be its own storage.
c_String TreeViewGetItemText(HWND tree, HTREEITEM item);

} // namespace n_OSLayer
