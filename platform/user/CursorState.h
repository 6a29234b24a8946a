#pragma once
// The cursor's place, moved by mouse input.

#include <windows.h>

namespace n_Platform {

// Moves the cursor as a mouse event says: by (dx, dy), or to the place on the primary monitor that
// the 0-65535 coordinates of MOUSEEVENTF_ABSOLUTE name. Events without MOUSEEVENTF_MOVE leave it.
void MoveCursorBy(const MOUSEINPUT& input);

} // namespace n_Platform
