#pragma once
// The message loop of a modal window: what dialogs and message boxes run until they end.
//
// It pumps the calling thread's whole queue, not only the modal window's messages, so timers,
// socket events and the messages sent from other threads go on while the modal window is open.

#include <windows.h>

#include <functional>

namespace n_Platform {

// Runs until isEnded() is true, checked before each message. WM_QUIT also ends it: the quit is
// posted again so that the enclosing loop ends as well, and the result is false. A dialog's
// messages go through IsDialogMessageW first, so its keys work.
bool RunModalLoop(const std::function<bool()>& isEnded, HWND dialog = nullptr);

} // namespace n_Platform
