#pragma once
// The window that CWnd::CreateEx is making on this thread, bound to its object at its first message.

#include <afxwin.h>

namespace n_Platform {

// The object waiting for the window, now bound to it; null when none waits.
CWnd* BindCreatingWindow(HWND window);

} // namespace n_Platform
