// c_ItemList: lines, item data and selection.

#include "platform/user/ItemList.h"

#include <algorithm>
#include <cstring>

namespace {

char16_t Folded(char16_t unit) {
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit - u'A' + u'a') : unit;
}

bool EqualWithoutCase(std::u16string_view left, std::u16string_view right) {
    return std::equal(left.begin(), left.end(), right.begin(), right.end(),
                      [](char16_t a, char16_t b) { return Folded(a) == Folded(b); });
}

} // namespace

namespace n_Platform {

bool LessWithoutCase(std::u16string_view left, std::u16string_view right) {
    return std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(),
                                        [](char16_t a, char16_t b) { return Folded(a) < Folded(b); });
}

int c_ItemList::Add(std::u16string_view text, bool sorted) {
    if (!sorted) {
        return Insert(NONE, text);
    }
    const auto place = std::find_if(m_Items.begin(), m_Items.end(),
                                    [&](const s_Item& item) { return LessWithoutCase(text, item.m_Text); });
    return Insert(static_cast<int>(place - m_Items.begin()), text);
}

int c_ItemList::Insert(int index, std::u16string_view text) {
    if (index == NONE || index == GetCount()) {
        m_Items.push_back({std::u16string(text), 0});
        return GetCount() - 1;
    }
    if (!IsIndex(index)) {
        return NONE;
    }
    m_Items.insert(m_Items.begin() + index, {std::u16string(text), 0});
    if (m_Selection >= index) {
        ++m_Selection;
    }
    return index;
}

int c_ItemList::Delete(int index) {
    if (!IsIndex(index)) {
        return NONE;
    }
    m_Items.erase(m_Items.begin() + index);
    if (m_Selection == index) {
        m_Selection = NONE;
    } else if (m_Selection > index) {
        --m_Selection;
    }
    return GetCount();
}

int c_ItemList::Find(int start, std::u16string_view text, bool exact) const {
    const int count = GetCount();
    const int first = IsIndex(start) ? start + 1 : 0;
    for (int step = 0; step < count; ++step) {
        const int index = (first + step) % count;
        const std::u16string_view item = GetText(index);
        if (EqualWithoutCase(exact ? item : item.substr(0, text.size()), text)) {
            return index;
        }
    }
    return NONE;
}

void c_ItemList::Clear() {
    m_Items.clear();
    m_Selection = NONE;
}

bool c_ItemList::Select(int index) {
    m_Selection = IsIndex(index) ? index : NONE;
    return m_Selection != NONE;
}

LRESULT CopyItemText(const c_ItemList& items, WPARAM index, LPARAM buffer) {
    const int item = static_cast<int>(index);
    if (!items.IsIndex(item) || buffer == 0) {
        return c_ItemList::NONE;
    }
    const std::u16string& text = items.GetText(item);
    std::memcpy(reinterpret_cast<LPWSTR>(buffer), text.c_str(), (text.size() + 1) * sizeof(WCHAR));
    return static_cast<LRESULT>(text.size());
}

} // namespace n_Platform
