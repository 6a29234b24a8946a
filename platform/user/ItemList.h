#pragma once
// c_ItemList: the lines of a combo box or list box, each with its item data, and the selection.
//
// Indexes count from 0; -1 is "none" (CB_ERR and LB_ERR alike).

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace n_Platform {

class c_ItemList {
public:
    static constexpr int NONE = -1;

    // At the end, or in place by case-insensitive order when sorted; the new index.
    int Add(std::u16string_view text, bool sorted);
    // Before index, or at the end for -1; NONE for an index past the end.
    int Insert(int index, std::u16string_view text);
    // The count left, or NONE for a bad index. A selection after it moves up; on it, it goes.
    int Delete(int index);
    void Clear();

    int GetCount() const { return static_cast<int>(m_Items.size()); }
    bool IsIndex(int index) const { return index >= 0 && index < GetCount(); }
    // Valid indexes only.
    const std::u16string& GetText(int index) const { return m_Items[static_cast<std::size_t>(index)].m_Text; }
    LPARAM GetData(int index) const { return m_Items[static_cast<std::size_t>(index)].m_Data; }
    void SetData(int index, LPARAM data) { m_Items[static_cast<std::size_t>(index)].m_Data = data; }

    // The first item after start (all of them for NONE), round once, whose text begins with text, or
    // equals it when exact, compared without ASCII case; NONE when none does.
    int Find(int start, std::u16string_view text, bool exact) const;

    int GetSelection() const { return m_Selection; }
    // NONE, or an index past the end, clears the selection; returns whether an item is selected.
    bool Select(int index);

private:
    struct s_Item {
        std::u16string m_Text;
        LPARAM m_Data = 0;
    };
    std::vector<s_Item> m_Items;
    int m_Selection = NONE;
};

// The order of sorted items: ASCII letters compared without case.
bool LessWithoutCase(std::u16string_view left, std::u16string_view right);

// What CB_GETLBTEXT and LB_GETTEXT hand out: the text with its NUL into a buffer that the caller made
// large enough (the ...TEXTLEN message tells how large); its length, or NONE for a bad index.
LRESULT CopyItemText(const c_ItemList& items, WPARAM index, LPARAM buffer);

} // namespace n_Platform
