#pragma once
// The active window as the whole process sees it, for input that comes from no particular thread.

#include <windows.h>

namespace n_Platform {

// The last window activated, by any thread, while it exists; null otherwise.
HWND GetProcessActiveWindow();

} // namespace n_Platform
