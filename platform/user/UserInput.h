#pragma once
// What a user does, brought to the thread that owns the windows.
//
// A back end (a display's event handler, the test driver) hands each user action to the UI thread
// as a posted thread message, so it runs there in the order of the queue, from whatever message
// loop the thread runs (the main loop, a dialog's or a message box's), exactly as input would.

#include <windows.h>

#include <functional>

namespace n_Platform {

// The thread message that carries an action; DispatchMessageW runs it.
constexpr UINT WM_PLATFORM_USER_INPUT = 0x03F0;

// Any thread. False with the last error set when the thread has no queue or it is full.
bool PostUserInput(DWORD threadId, std::function<void()> action);
// On the owning thread, from DispatchMessageW: runs the action the message names, once.
void RunUserInput(const MSG& message);

// Whether a user's click, key or close reaches the window now: it exists, and it and the windows it
// is a child of are enabled, so a dialog disabled by a modal box takes nothing, nor do its controls.
bool AcceptsUserInput(HWND window);

} // namespace n_Platform
