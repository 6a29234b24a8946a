#pragma once
// The window of a control's CWnd; a null CWnd stands for no window.

#include <afxwin.h>

inline HWND GetControlHandle(CWnd* control) {
    return control != nullptr ? control->GetSafeHwnd() : nullptr;
}
