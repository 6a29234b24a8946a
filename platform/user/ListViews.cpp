// List views: columns, rows of texts (one per subitem) with an image and item data, and the top row
// of the view, which moves as rows are made visible.

#include "platform/user/Backend.h"
#include "platform/user/BoundedText.h"
#include "platform/user/Controls.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The height of a row of the 13-pixel font, which decides how many rows a page shows.
constexpr int ROW_HEIGHT = 16;

struct s_Column {
    int m_Format = LVCFMT_LEFT;
    int m_Width = 0;
    std::u16string m_Text;
    int m_SubItem = 0;
};

struct s_Row {
    std::vector<std::u16string> m_Texts{std::u16string()};
    int m_Image = 0;
    LPARAM m_Data = 0;
};

class c_ListViewState : public n_Platform::c_ControlState {
public:
    std::vector<s_Column> m_Columns;
    std::vector<s_Row> m_Rows;
    int m_TopIndex = 0;

    bool IsRow(WPARAM index) const { return static_cast<int>(index) >= 0 && static_cast<int>(index) < RowCount(); }
    int RowCount() const { return static_cast<int>(m_Rows.size()); }
    // Subitem 0 is the item itself; the others need their column.
    bool IsSubItem(int subItem) const {
        return subItem == 0 || (subItem > 0 && subItem < static_cast<int>(m_Columns.size()));
    }
};

std::u16string_view TextOf(LPCWSTR text) {
    return text != nullptr ? std::u16string_view(text) : std::u16string_view();
}

LRESULT InsertRow(c_ListViewState& state, const LVITEMW* item) {
    if (item == nullptr || item->iItem < 0 || item->iSubItem != 0) {
        return -1;
    }
    s_Row row;
    if ((item->mask & LVIF_TEXT) != 0) {
        row.m_Texts[0] = TextOf(item->pszText);
    }
    row.m_Image = (item->mask & LVIF_IMAGE) != 0 ? item->iImage : 0;
    row.m_Data = (item->mask & LVIF_PARAM) != 0 ? item->lParam : 0;
    const int index = std::min(item->iItem, state.RowCount());
    state.m_Rows.insert(state.m_Rows.begin() + index, std::move(row));
    return index;
}

LRESULT SetRowText(c_ListViewState& state, WPARAM index, const LVITEMW* item) {
    if (item == nullptr || !state.IsRow(index) || !state.IsSubItem(item->iSubItem)) {
        return FALSE;
    }
    std::vector<std::u16string>& texts = state.m_Rows[index].m_Texts;
    texts.resize(std::max(texts.size(), static_cast<std::size_t>(item->iSubItem) + 1));
    texts[static_cast<std::size_t>(item->iSubItem)] = TextOf(item->pszText);
    return TRUE;
}

std::u16string_view RowText(const c_ListViewState& state, WPARAM index, int subItem) {
    const std::vector<std::u16string>& texts = state.m_Rows[index].m_Texts;
    return static_cast<std::size_t>(subItem) < texts.size() ? std::u16string_view(texts[subItem])
                                                            : std::u16string_view();
}

// The units copied; an empty text for a row or subitem that is not there.
LRESULT GetRowText(const c_ListViewState& state, WPARAM index, LVITEMW* item) {
    if (item == nullptr) {
        return 0;
    }
    const bool present = state.IsRow(index) && state.IsSubItem(item->iSubItem);
    return n_Platform::CopyBoundedText(present ? RowText(state, index, item->iSubItem) : std::u16string_view(),
                                       item->pszText, item->cchTextMax);
}

LRESULT GetRow(const c_ListViewState& state, LVITEMW* item) {
    if (item == nullptr || !state.IsRow(static_cast<WPARAM>(item->iItem)) || !state.IsSubItem(item->iSubItem)) {
        return FALSE;
    }
    const s_Row& row = state.m_Rows[static_cast<std::size_t>(item->iItem)];
    if ((item->mask & LVIF_TEXT) != 0) {
        n_Platform::CopyBoundedText(RowText(state, static_cast<WPARAM>(item->iItem), item->iSubItem), item->pszText,
                                    item->cchTextMax);
    }
    if ((item->mask & LVIF_IMAGE) != 0) {
        item->iImage = row.m_Image;
    }
    if ((item->mask & LVIF_PARAM) != 0) {
        item->lParam = row.m_Data;
    }
    return TRUE;
}

void ApplyColumn(s_Column& column, const LVCOLUMNW& values) {
    if ((values.mask & LVCF_FMT) != 0) {
        column.m_Format = values.fmt;
    }
    if ((values.mask & LVCF_WIDTH) != 0) {
        column.m_Width = values.cx;
    }
    if ((values.mask & LVCF_TEXT) != 0) {
        column.m_Text = TextOf(values.pszText);
    }
    if ((values.mask & LVCF_SUBITEM) != 0) {
        column.m_SubItem = values.iSubItem;
    }
}

LRESULT InsertColumn(c_ListViewState& state, WPARAM index, const LVCOLUMNW* values) {
    if (values == nullptr || static_cast<int>(index) < 0) {
        return -1;
    }
    s_Column column;
    ApplyColumn(column, *values);
    const int at = std::min(static_cast<int>(index), static_cast<int>(state.m_Columns.size()));
    state.m_Columns.insert(state.m_Columns.begin() + at, std::move(column));
    return at;
}

bool IsColumn(const c_ListViewState& state, WPARAM index) {
    return static_cast<int>(index) >= 0 && static_cast<int>(index) < static_cast<int>(state.m_Columns.size());
}

LRESULT SetColumn(c_ListViewState& state, WPARAM index, const LVCOLUMNW* values) {
    if (values == nullptr || !IsColumn(state, index)) {
        return FALSE;
    }
    ApplyColumn(state.m_Columns[index], *values);
    return TRUE;
}

LRESULT GetColumn(const c_ListViewState& state, WPARAM index, LVCOLUMNW* values) {
    if (values == nullptr || !IsColumn(state, index)) {
        return FALSE;
    }
    const s_Column& column = state.m_Columns[index];
    values->fmt = (values->mask & LVCF_FMT) != 0 ? column.m_Format : values->fmt;
    values->cx = (values->mask & LVCF_WIDTH) != 0 ? column.m_Width : values->cx;
    values->iSubItem = (values->mask & LVCF_SUBITEM) != 0 ? column.m_SubItem : values->iSubItem;
    if ((values->mask & LVCF_TEXT) != 0) {
        n_Platform::CopyBoundedText(column.m_Text, values->pszText, values->cchTextMax);
    }
    return TRUE;
}

int CountPerPage(HWND list) {
    RECT client = {};
    GetClientRect(list, &client);
    return std::max(1, static_cast<int>(client.bottom - client.top) / ROW_HEIGHT);
}

// Scrolls as little as makes the row wholly visible.
LRESULT EnsureVisible(HWND list, c_ListViewState& state, WPARAM index) {
    if (!state.IsRow(index)) {
        return FALSE;
    }
    const int row = static_cast<int>(index);
    const int perPage = CountPerPage(list);
    if (row < state.m_TopIndex) {
        state.m_TopIndex = row;
    } else if (row >= state.m_TopIndex + perPage) {
        state.m_TopIndex = row - perPage + 1;
    }
    return TRUE;
}

LRESULT Change(HWND list, c_ListViewState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case LVM_INSERTITEMW:
            return InsertRow(state, reinterpret_cast<const LVITEMW*>(lParam));
        case LVM_SETITEMTEXTW:
            return SetRowText(state, wParam, reinterpret_cast<const LVITEMW*>(lParam));
        case LVM_INSERTCOLUMNW:
            return InsertColumn(state, wParam, reinterpret_cast<const LVCOLUMNW*>(lParam));
        case LVM_SETCOLUMNW:
            return SetColumn(state, wParam, reinterpret_cast<const LVCOLUMNW*>(lParam));
        case LVM_ENSUREVISIBLE:
            return EnsureVisible(list, state, wParam);
        default: // LVM_DELETEALLITEMS
            state.m_Rows.clear();
            state.m_TopIndex = 0;
            return TRUE;
    }
}

} // namespace

namespace n_Platform {

LRESULT CALLBACK ListViewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    c_ListViewState* state = GetControlState<c_ListViewState>(window, message);
    if (state == nullptr) {
        return DefControlProc(window, message, wParam, lParam);
    }
    switch (message) {
        case LVM_INSERTITEMW:
        case LVM_SETITEMTEXTW:
        case LVM_INSERTCOLUMNW:
        case LVM_SETCOLUMNW:
        case LVM_ENSUREVISIBLE:
        case LVM_DELETEALLITEMS: {
            const LRESULT result = Change(window, *state, message, wParam, lParam);
            GetUserBackend().OnWindowChanged(window);
            return result;
        }
        case LVM_GETITEMTEXTW:
            return GetRowText(*state, wParam, reinterpret_cast<LVITEMW*>(lParam));
        case LVM_GETITEMW:
            return GetRow(*state, reinterpret_cast<LVITEMW*>(lParam));
        case LVM_GETCOLUMNW:
            return GetColumn(*state, wParam, reinterpret_cast<LVCOLUMNW*>(lParam));
        case LVM_GETITEMCOUNT:
            return state->RowCount();
        case LVM_GETTOPINDEX:
            return state->m_TopIndex;
        case LVM_GETCOUNTPERPAGE:
            return CountPerPage(window);
        default:
            return DefControlProc(window, message, wParam, lParam);
    }
}

} // namespace n_Platform
