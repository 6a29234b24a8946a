#pragma once
// A folder picker as the layer keeps it while it is open.
//
// The picker has a window of its own, to which its caller's callback sends BFFM_SETSELECTIONW; the
// selection it names is where the picker opens. The picker ends when a folder is chosen or it is
// cancelled.

#include <windows.h>

#include <string>

namespace n_Platform {

struct s_FolderPickerRequest {
    HWND m_Owner = nullptr;
    HWND m_Window = nullptr;
    std::u16string m_Title;
    // Where the picker opens; set through BFFM_SETSELECTIONW.
    std::u16string m_Selection;
    DWORD m_ThreadId = 0;
    bool m_Ended = false;
    bool m_Chosen = false;
    // In drive form; set when chosen.
    std::u16string m_Folder;
};

// On the picker's thread: ends it with that folder, or cancelled when chosen is false. False when it
// has ended already.
bool EndFolderPicker(s_FolderPickerRequest& request, bool chosen, std::u16string folder);

} // namespace n_Platform
