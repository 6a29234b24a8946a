// n_OSLayer::BrowseForFolder over SHBrowseForFolderW.

#include "oslayer/shell/FolderPicker.h"

#include "oslayer/system/TextConversion.h"
#include "strings/c_WString.h"

#include <objbase.h>
#include <shlobj.h>

namespace n_OSLayer {

namespace {

constexpr DWORD DISPLAY_NAME_UNITS = 260;
constexpr DWORD PATH_UNITS = 1024;

// Opens the picker on the folder given as its parameter.
int CALLBACK SelectInitialFolder(HWND picker, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) {
        SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, data);
    }
    return 0;
}

} // namespace

c_String BrowseForFolder(HWND owner, const c_StringView& title, const c_StringView& initialFolder) {
    const c_WString wideTitle = UTF8ToWide(title);
    const c_WString wideFolder = UTF8ToWide(initialFolder);
    WCHAR displayName[DISPLAY_NAME_UNITS] = {};
    BROWSEINFOW information = {};
    information.hwndOwner = owner;
    information.pszDisplayName = displayName;
    information.lpszTitle = wideTitle.GetBuffer();
    information.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    information.lpfn = &SelectInitialFolder;
    information.lParam = reinterpret_cast<LPARAM>(wideFolder.GetBuffer());
    PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&information);
    if (list == nullptr) {
        return c_String();
    }
    WCHAR path[PATH_UNITS] = {};
    c_String folder;
    if (SHGetPathFromIDListEx(list, path, PATH_UNITS, GPFIDL_DEFAULT)) {
        folder = WideToUTF8(c_WStringView(path));
        folder.RemoveSuffix("\\");
    }
    CoTaskMemFree(list);
    return folder;
}

} // namespace n_OSLayer
