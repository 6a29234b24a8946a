// Resources: the registered dialog templates, menus and icons; LoadMenuW, LoadIconW and the menu calls.

#include "platform/user/Resources.h"

#include "platform/kernel/LastError.h"
#include "platform/user/Backend.h"
#include "platform/user/WindowTable.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct s_MenuEntry {
    UINT m_Id;
    std::u16string m_Text;
    HMENU m_Popup;
};

// Menus are entries of a table, found by handles that are never reused.
class c_Resources {
public:
    static c_Resources& Get() {
        static c_Resources* resources = new c_Resources;
        return *resources;
    }

    std::mutex m_Lock;
    std::map<WORD, const n_Platform::s_DialogTemplate*> m_Dialogs;
    std::map<WORD, const n_Platform::s_MenuTemplate*> m_Menus;
    // Copies, so that an icon handle stays valid whatever the program does with its table.
    std::map<WORD, n_Platform::s_IconTemplate*> m_Icons;
    std::map<HMENU, std::vector<s_MenuEntry>> m_LoadedMenus;
    ULONG_PTR m_LastMenu = 0;

    // Under the lock.
    HMENU MakeMenu(const n_Platform::s_MenuItemTemplate* items, int count) {
        std::vector<s_MenuEntry> entries;
        for (int index = 0; index < count; ++index) {
            const n_Platform::s_MenuItemTemplate& item = items[index];
            const HMENU popup = item.m_p_Items != nullptr ? MakeMenu(item.m_p_Items, item.m_ItemCount) : nullptr;
            entries.push_back({item.m_Id, item.m_Text == nullptr ? u"" : item.m_Text, popup});
        }
        m_LastMenu += 16;
        const HMENU menu = reinterpret_cast<HMENU>(m_LastMenu);
        m_LoadedMenus.emplace(menu, std::move(entries));
        return menu;
    }

    // Under the lock; null with ERROR_INVALID_MENU_HANDLE.
    std::vector<s_MenuEntry>* FindMenu(HMENU menu) {
        const auto found = m_LoadedMenus.find(menu);
        if (found == m_LoadedMenus.end()) {
            return n_Platform::FailWith<std::vector<s_MenuEntry>*>(nullptr, ERROR_INVALID_MENU_HANDLE);
        }
        return &found->second;
    }
};

template <typename T> const T* FindById(const std::map<WORD, T*>& table, LPCWSTR name) {
    if (!IS_INTRESOURCE(name)) {
        return n_Platform::FailWith<const T*>(nullptr, ERROR_RESOURCE_NAME_NOT_FOUND);
    }
    const auto found = table.find(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
    if (found == table.end()) {
        return n_Platform::FailWith<const T*>(nullptr, ERROR_RESOURCE_NAME_NOT_FOUND);
    }
    return found->second;
}

// -1 when there is no such item.
int FindPosition(const std::vector<s_MenuEntry>& entries, UINT item, UINT flags) {
    if ((flags & MF_BYPOSITION) != 0) {
        return item < entries.size() ? static_cast<int>(item) : -1;
    }
    for (std::size_t position = 0; position < entries.size(); ++position) {
        if (entries[position].m_Popup == nullptr && entries[position].m_Id == item) {
            return static_cast<int>(position);
        }
    }
    return -1;
}

} // namespace

namespace n_Platform {

void RegisterDialogTemplate(const s_DialogTemplate& dialogTemplate) {
    std::lock_guard<std::mutex> lock(c_Resources::Get().m_Lock);
    c_Resources::Get().m_Dialogs[dialogTemplate.m_Id] = &dialogTemplate;
}

void RegisterMenuTemplate(const s_MenuTemplate& menuTemplate) {
    std::lock_guard<std::mutex> lock(c_Resources::Get().m_Lock);
    c_Resources::Get().m_Menus[menuTemplate.m_Id] = &menuTemplate;
}

void RegisterIconTemplate(const s_IconTemplate& iconTemplate) {
    std::lock_guard<std::mutex> lock(c_Resources::Get().m_Lock);
    s_IconTemplate*& icon = c_Resources::Get().m_Icons[iconTemplate.m_Id];
    if (icon == nullptr) {
        icon = new s_IconTemplate(iconTemplate);
    } else {
        *icon = iconTemplate;
    }
}

const s_DialogTemplate* FindDialogTemplate(LPCWSTR name) {
    std::lock_guard<std::mutex> lock(c_Resources::Get().m_Lock);
    return FindById(c_Resources::Get().m_Dialogs, name);
}

} // namespace n_Platform

HMENU WINAPI LoadMenuW(HINSTANCE, LPCWSTR name) {
    c_Resources& resources = c_Resources::Get();
    std::lock_guard<std::mutex> lock(resources.m_Lock);
    const n_Platform::s_MenuTemplate* menu = FindById(resources.m_Menus, name);
    return menu == nullptr ? nullptr : resources.MakeMenu(menu->m_p_Items, menu->m_ItemCount);
}

HMENU WINAPI GetMenu(HWND window) {
    const std::shared_ptr<n_Platform::c_WindowObject> object = n_Platform::LookupWindowObject(window);
    if (object == nullptr) {
        return nullptr;
    }
    const n_Platform::s_WindowState state = object->ReadState();
    // A child's menu field is its id.
    return (state.m_Style & WS_CHILD) != 0 ? nullptr : reinterpret_cast<HMENU>(state.m_Id);
}

int WINAPI GetMenuItemCount(HMENU menu) {
    std::lock_guard<std::mutex> lock(c_Resources::Get().m_Lock);
    const std::vector<s_MenuEntry>* entries = c_Resources::Get().FindMenu(menu);
    return entries == nullptr ? -1 : static_cast<int>(entries->size());
}

UINT WINAPI GetMenuItemID(HMENU menu, int position) {
    std::lock_guard<std::mutex> lock(c_Resources::Get().m_Lock);
    const std::vector<s_MenuEntry>* entries = c_Resources::Get().FindMenu(menu);
    if (entries == nullptr || position < 0 || static_cast<std::size_t>(position) >= entries->size()) {
        return static_cast<UINT>(-1);
    }
    const s_MenuEntry& entry = (*entries)[static_cast<std::size_t>(position)];
    return entry.m_Popup != nullptr ? static_cast<UINT>(-1) : entry.m_Id;
}

HMENU WINAPI GetSubMenu(HMENU menu, int position) {
    std::lock_guard<std::mutex> lock(c_Resources::Get().m_Lock);
    const std::vector<s_MenuEntry>* entries = c_Resources::Get().FindMenu(menu);
    if (entries == nullptr || position < 0 || static_cast<std::size_t>(position) >= entries->size()) {
        return nullptr;
    }
    return (*entries)[static_cast<std::size_t>(position)].m_Popup;
}

BOOL WINAPI RemoveMenu(HMENU menu, UINT item, UINT flags) {
    std::lock_guard<std::mutex> lock(c_Resources::Get().m_Lock);
    std::vector<s_MenuEntry>* entries = c_Resources::Get().FindMenu(menu);
    if (entries == nullptr) {
        return FALSE;
    }
    const int position = FindPosition(*entries, item, flags);
    if (position < 0) {
        return n_Platform::FailWith(FALSE, ERROR_MENU_ITEM_NOT_FOUND);
    }
    entries->erase(entries->begin() + position);
    return TRUE;
}

BOOL WINAPI DestroyMenu(HMENU menu) {
    std::lock_guard<std::mutex> lock(c_Resources::Get().m_Lock);
    if (c_Resources::Get().FindMenu(menu) == nullptr) {
        return FALSE;
    }
    c_Resources::Get().m_LoadedMenus.erase(menu);
    return TRUE;
}

BOOL WINAPI DrawMenuBar(HWND window) {
    if (n_Platform::LookupWindowObject(window) == nullptr) {
        return FALSE;
    }
    n_Platform::GetUserBackend().OnWindowChanged(window);
    return TRUE;
}

HICON WINAPI LoadIconW(HINSTANCE, LPCWSTR name) {
    std::lock_guard<std::mutex> lock(c_Resources::Get().m_Lock);
    return reinterpret_cast<HICON>(const_cast<n_Platform::s_IconTemplate*>(FindById(c_Resources::Get().m_Icons, name)));
}

BOOL WINAPI DestroyIcon(HICON) {
    return TRUE;
}
