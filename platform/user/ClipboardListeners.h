#pragma once
// The windows that listen to the clipboard's changes.

namespace n_Platform {

// Posts WM_CLIPBOARDUPDATE to every listening window that still exists.
void NotifyClipboardListeners();

} // namespace n_Platform
