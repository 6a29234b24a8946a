// CCmdTarget: the search of a class's message map and its bases' maps.

#include <afxwin.h>

namespace {

bool Takes(const AFX_MSGMAP_ENTRY& entry, UINT message, WPARAM wParam) {
    if (entry.nMessage != message) {
        return false;
    }
    if (message != WM_COMMAND) {
        return true;
    }
    const UINT id = LOWORD(wParam);
    return entry.nCode == HIWORD(wParam) && id >= entry.nID && id <= entry.nLastID;
}

} // namespace

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message, WPARAM wParam) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->pfn != nullptr; ++entry) {
            if (Takes(*entry, message, wParam)) {
                return entry;
            }
        }
    }
    return nullptr;
}
