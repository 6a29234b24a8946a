#pragma once
// n_OSLayer::c_Window: a c_WindowWrapper that owns its window, destroyed with the object.
//
// It is used on the thread that made the window: only that thread may destroy it.

#include "oslayer/windows/c_WindowWrapper.h"

namespace n_OSLayer {

class c_Window : public c_WindowWrapper {
public:
    c_Window() = default;
    virtual ~c_Window() { Destroy(); }
    c_Window(const c_Window&) = delete;
    c_Window& operator=(const c_Window&) = delete;

    // Destroys a window held before, then makes one at rect's position and size; the handle is null
    // when that fails.
    bool Create(DWORD exStyle, LPCWSTR className, const c_StringView& title, DWORD style, const RECT& rect,
                c_WindowWrapper parent, HMENU menu, HINSTANCE instance, LPVOID parameter);
    void Destroy();
};

} // namespace n_OSLayer
