#pragma once
// The choice of back end at start: GTK when a display is present (DISPLAY or WAYLAND_DISPLAY set)
// and GTK starts on it, headless otherwise. With GTK, addresses that ShellExecuteExW opens go to the
// user's browser through GIO.

namespace n_Platform {

// On the thread that will own the windows, before any window exists; whether GTK was chosen.
bool StartDisplayBackend();

} // namespace n_Platform
