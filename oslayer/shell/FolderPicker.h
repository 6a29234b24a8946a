#pragma once
// n_OSLayer::BrowseForFolder: the system's folder picker with UTF-8 texts.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

#include <windows.h>

namespace n_OSLayer {

// The picker opens on the initial folder; the chosen folder comes back without one trailing "\"
// (a drive root C:\ as C:), and the empty text when the user cancels or the path cannot be read.
// The caller initializes COM on its thread when it needs it; the picker does not.
c_String BrowseForFolder(HWND owner, const c_StringView& title, const c_StringView& initialFolder);

} // namespace n_OSLayer
