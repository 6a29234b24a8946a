// Tree views: items with texts and item data under a parent, in their siblings' order. Item handles
// count up per tree and are never reused.

#include "platform/user/Backend.h"
#include "platform/user/BoundedText.h"
#include "platform/user/Controls.h"
#include "platform/user/ItemList.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

struct s_Node {
    HTREEITEM m_Parent = nullptr;
    std::vector<HTREEITEM> m_Children;
    std::u16string m_Text;
    LPARAM m_Data = 0;
};

class c_TreeState : public n_Platform::c_ControlState {
public:
    std::map<HTREEITEM, s_Node> m_Nodes;
    std::vector<HTREEITEM> m_Roots;
    ULONG_PTR m_LastHandle = 0;

    s_Node* Find(HTREEITEM item) {
        const auto found = m_Nodes.find(item);
        return found != m_Nodes.end() ? &found->second : nullptr;
    }
    std::vector<HTREEITEM>& ChildrenOf(HTREEITEM parent) {
        return parent == nullptr ? m_Roots : m_Nodes[parent].m_Children;
    }
};

// Where among the siblings the new item goes; false for an item to follow that is not one of them.
bool FindPlace(c_TreeState& state, const std::vector<HTREEITEM>& siblings, HTREEITEM after, std::u16string_view text,
               std::size_t* place) {
    if (after == TVI_FIRST) {
        *place = 0;
    } else if (after == TVI_LAST || after == nullptr) {
        *place = siblings.size();
    } else if (after == TVI_SORT) {
        *place = std::find_if(siblings.begin(), siblings.end(),
                              [&](HTREEITEM sibling) {
                                  return n_Platform::LessWithoutCase(text, state.m_Nodes[sibling].m_Text);
                              }) -
                 siblings.begin();
    } else {
        const auto found = std::find(siblings.begin(), siblings.end(), after);
        if (found == siblings.end()) {
            return false;
        }
        *place = found - siblings.begin() + 1;
    }
    return true;
}

LRESULT Insert(c_TreeState& state, const TVINSERTSTRUCTW* insert) {
    if (insert == nullptr) {
        return 0;
    }
    const HTREEITEM parent = insert->hParent == TVI_ROOT ? nullptr : insert->hParent;
    if (parent != nullptr && state.Find(parent) == nullptr) {
        return 0;
    }
    s_Node node;
    node.m_Parent = parent;
    if ((insert->item.mask & TVIF_TEXT) != 0 && insert->item.pszText != nullptr) {
        node.m_Text = insert->item.pszText;
    }
    node.m_Data = (insert->item.mask & TVIF_PARAM) != 0 ? insert->item.lParam : 0;
    std::vector<HTREEITEM>& siblings = state.ChildrenOf(parent);
    std::size_t place = 0;
    if (!FindPlace(state, siblings, insert->hInsertAfter, node.m_Text, &place)) {
        return 0;
    }
    const HTREEITEM item = reinterpret_cast<HTREEITEM>(++state.m_LastHandle);
    state.m_Nodes.emplace(item, std::move(node));
    state.ChildrenOf(parent).insert(state.ChildrenOf(parent).begin() + static_cast<std::ptrdiff_t>(place), item);
    return reinterpret_cast<LRESULT>(item);
}

LRESULT SetItem(c_TreeState& state, const TVITEMW* item) {
    s_Node* node = item != nullptr && (item->mask & TVIF_HANDLE) != 0 ? state.Find(item->hItem) : nullptr;
    if (node == nullptr) {
        return FALSE;
    }
    if ((item->mask & TVIF_TEXT) != 0) {
        node->m_Text = item->pszText != nullptr ? item->pszText : u"";
    }
    if ((item->mask & TVIF_PARAM) != 0) {
        node->m_Data = item->lParam;
    }
    return TRUE;
}

LRESULT GetItem(c_TreeState& state, TVITEMW* item) {
    const s_Node* node = item != nullptr ? state.Find(item->hItem) : nullptr;
    if (node == nullptr) {
        return FALSE;
    }
    if ((item->mask & TVIF_TEXT) != 0) {
        n_Platform::CopyBoundedText(node->m_Text, item->pszText, item->cchTextMax);
    }
    if ((item->mask & TVIF_PARAM) != 0) {
        item->lParam = node->m_Data;
    }
    return TRUE;
}

// The sibling at the given distance, null past either end.
HTREEITEM Sibling(c_TreeState& state, HTREEITEM item, int step) {
    const s_Node* node = state.Find(item);
    if (node == nullptr) {
        return nullptr;
    }
    const std::vector<HTREEITEM>& siblings = state.ChildrenOf(node->m_Parent);
    const auto at = std::find(siblings.begin(), siblings.end(), item) - siblings.begin() + step;
    return at >= 0 && at < static_cast<std::ptrdiff_t>(siblings.size()) ? siblings[at] : nullptr;
}

LRESULT GetNextItem(c_TreeState& state, WPARAM relation, HTREEITEM item) {
    HTREEITEM found = nullptr;
    if (relation == TVGN_ROOT || (relation == TVGN_CHILD && item == nullptr)) {
        found = state.m_Roots.empty() ? nullptr : state.m_Roots.front();
    } else if (relation == TVGN_CHILD) {
        const s_Node* node = state.Find(item);
        found = node == nullptr || node->m_Children.empty() ? nullptr : node->m_Children.front();
    } else if (relation == TVGN_PARENT) {
        const s_Node* node = state.Find(item);
        found = node != nullptr ? node->m_Parent : nullptr;
    } else if (relation == TVGN_NEXT || relation == TVGN_PREVIOUS) {
        found = Sibling(state, item, relation == TVGN_NEXT ? 1 : -1);
    }
    return reinterpret_cast<LRESULT>(found);
}

} // namespace

namespace n_Platform {

LRESULT CALLBACK TreeViewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    c_TreeState* state = GetControlState<c_TreeState>(window, message);
    if (state == nullptr) {
        return DefControlProc(window, message, wParam, lParam);
    }
    switch (message) {
        case TVM_INSERTITEMW:
        case TVM_SETITEMW: {
            const LRESULT result = message == TVM_INSERTITEMW
                                       ? Insert(*state, reinterpret_cast<const TVINSERTSTRUCTW*>(lParam))
                                       : SetItem(*state, reinterpret_cast<const TVITEMW*>(lParam));
            GetUserBackend().OnWindowChanged(window);
            return result;
        }
        case TVM_GETITEMW:
            return GetItem(*state, reinterpret_cast<TVITEMW*>(lParam));
        case TVM_GETCOUNT:
            return static_cast<LRESULT>(state->m_Nodes.size());
        case TVM_GETNEXTITEM:
            return GetNextItem(*state, wParam, reinterpret_cast<HTREEITEM>(lParam));
        default:
            return DefControlProc(window, message, wParam, lParam);
    }
}

} // namespace n_Platform
