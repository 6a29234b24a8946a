#pragma once
// The desktop window, which covers the primary monitor.

namespace n_Platform {

// Moves the desktop window, when it exists, onto the primary monitor, after the monitors changed.
void FitDesktopWindow();

} // namespace n_Platform
