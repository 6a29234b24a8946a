// The folder picker: SHBrowseForFolderW over the back end's picker, and SHGetPathFromIDListEx.

#include "platform/files/DrivePaths.h"
#include "platform/files/PathText.h"
#include "platform/kernel/LastError.h"
#include "platform/user/Backend.h"
#include "platform/user/FolderPickerRequest.h"
#include "platform/user/ModalLoop.h"
#include "platform/user/WindowTable.h"

#include <win32/folderpicker.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

// The item list: the folder in drive form, with its NUL.
struct _ITEMIDLIST {
    DWORD m_Units;
    WCHAR m_Path[1];
};

namespace {

constexpr LPCWSTR PICKER_CLASS = u"PlatformFolderPicker";
constexpr DWORD DISPLAY_NAME_UNITS = 260;

LRESULT CALLBACK PickerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* request = reinterpret_cast<n_Platform::s_FolderPickerRequest*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == BFFM_SETSELECTIONW && request != nullptr && wParam != FALSE && lParam != 0) {
        request->m_Selection = reinterpret_cast<LPCWSTR>(lParam);
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakePickerWindow(HWND owner, n_Platform::s_FolderPickerRequest& request) {
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASSEXW description = {};
        description.cbSize = sizeof description;
        description.lpfnWndProc = PickerProcedure;
        description.lpszClassName = PICKER_CLASS;
        RegisterClassExW(&description);
    });
    const HWND window = CreateWindowExW(0, PICKER_CLASS, request.m_Title.c_str(), WS_POPUP, CW_USEDEFAULT,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, nullptr, nullptr);
    if (window != nullptr) {
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&request));
    }
    return window;
}

// A folder given in Linux form comes back in drive form.
std::u16string InDriveForm(const std::u16string& folder) {
    return !folder.empty() && folder[0] == u'/' ? n_Platform::ToDrivePath(n_Platform::ToUtf8(folder)) : folder;
}

PIDLIST_ABSOLUTE MakeItemList(const std::u16string& folder) {
    auto* list = static_cast<PIDLIST_ABSOLUTE>(std::malloc(sizeof(_ITEMIDLIST) + folder.size() * sizeof(WCHAR)));
    if (list == nullptr) {
        return n_Platform::FailWith<PIDLIST_ABSOLUTE>(nullptr, ERROR_NOT_ENOUGH_MEMORY);
    }
    list->m_Units = static_cast<DWORD>(folder.size());
    std::memcpy(list->m_Path, folder.c_str(), (folder.size() + 1) * sizeof(WCHAR));
    return list;
}

void CopyDisplayName(const std::u16string& folder, LPWSTR buffer) {
    if (buffer == nullptr) {
        return;
    }
    // The last component, without the separator that may end the folder.
    std::u16string_view name = folder;
    while (name.size() > 1 && (name.back() == u'\\' || name.back() == u'/')) {
        name.remove_suffix(1);
    }
    const std::size_t slash = name.find_last_of(u"\\/");
    n_Platform::CopyText(slash == std::u16string_view::npos ? name : name.substr(slash + 1), buffer,
                         static_cast<int>(DISPLAY_NAME_UNITS));
}

HWND TopLevelOf(HWND window) {
    while (window != nullptr && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0) {
        window = GetParent(window);
    }
    return window;
}

} // namespace

PIDLIST_ABSOLUTE WINAPI SHBrowseForFolderW(BROWSEINFOW* information) {
    if (information == nullptr) {
        return n_Platform::FailWith<PIDLIST_ABSOLUTE>(nullptr, ERROR_INVALID_PARAMETER);
    }
    n_Platform::s_FolderPickerRequest request;
    request.m_Owner = TopLevelOf(information->hwndOwner);
    request.m_Title = information->lpszTitle != nullptr ? information->lpszTitle : u"";
    request.m_ThreadId = GetCurrentThreadId();
    request.m_Window = MakePickerWindow(request.m_Owner, request);
    if (request.m_Window == nullptr) {
        return nullptr;
    }
    const bool reenable = request.m_Owner != nullptr && EnableWindow(request.m_Owner, FALSE) == FALSE;
    if (information->lpfn != nullptr) {
        information->lpfn(request.m_Window, BFFM_INITIALIZED, 0, information->lParam);
    }
    n_Platform::c_UserBackend& backend = n_Platform::GetUserBackend();
    backend.OnFolderPickerOpened(request);
    n_Platform::RunModalLoop([&request] { return request.m_Ended; });
    backend.OnFolderPickerClosed(request);
    DestroyWindow(request.m_Window);
    if (reenable) {
        EnableWindow(request.m_Owner, TRUE);
    }
    if (!request.m_Chosen) {
        return nullptr;
    }
    const std::u16string folder = InDriveForm(request.m_Folder);
    CopyDisplayName(folder, information->pszDisplayName);
    return MakeItemList(folder);
}

BOOL WINAPI SHGetPathFromIDListEx(PCIDLIST_ABSOLUTE list, LPWSTR path, DWORD units, int) {
    if (list == nullptr || path == nullptr) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    if (list->m_Units >= units) {
        return n_Platform::FailWith(FALSE, ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(path, list->m_Path, (list->m_Units + 1) * sizeof(WCHAR));
    return TRUE;
}
