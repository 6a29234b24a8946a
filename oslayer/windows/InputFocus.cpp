// n_OSLayer keyboard focus and mouse capture over the Windows calls.

#include "oslayer/windows/InputFocus.h"

namespace n_OSLayer {

HWND SetFocus(HWND window) {
    return ::SetFocus(window);
}

HWND GetFocus() {
    return ::GetFocus();
}

HWND SetCapture(HWND window) {
    return ::SetCapture(window);
}

bool ReleaseCapture() {
    return ::ReleaseCapture() != FALSE;
}

} // namespace n_OSLayer
