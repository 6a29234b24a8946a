// Where windows are and how they are shown: ShowWindow, IsWindowVisible, IsIconic, IsZoomed,
// SetWindowPos, MoveWindow, GetWindowRect, GetClientRect, ClientToScreen, ScreenToClient,
// GetWindowPlacement and SetWindowPlacement.
//
// WS_MINIMIZE and WS_MAXIMIZE are the show state, as on Windows. The headless screen is 1920 x 1080;
// a maximized window covers it, and a minimized one keeps its rectangle.

#include "platform/kernel/LastError.h"
#include "platform/user/Backend.h"
#include "platform/user/WindowTable.h"

namespace {

constexpr RECT SCREEN = {0, 0, 1920, 1080};
// Parent chains are short; a longer one can only be a loop made through GWLP_HWNDPARENT.
constexpr int MAX_PARENT_DEPTH = 256;

bool IsNormal(const n_Platform::s_WindowState& state) {
    return (state.m_Style & (WS_MINIMIZE | WS_MAXIMIZE)) == 0;
}

bool IsShowCommand(int command) {
    return command >= SW_HIDE && command <= SW_FORCEMINIMIZE;
}

void ApplyShowCommand(n_Platform::s_WindowState& state, int command) {
    switch (command) {
        case SW_HIDE:
            state.m_Style &= ~WS_VISIBLE;
            return;
        case SW_SHOWMINIMIZED:
        case SW_MINIMIZE:
        case SW_SHOWMINNOACTIVE:
        case SW_FORCEMINIMIZE:
            state.m_Style = (state.m_Style & ~WS_MAXIMIZE) | WS_MINIMIZE;
            break;
        case SW_SHOWMAXIMIZED:
            state.m_Style = (state.m_Style & ~WS_MINIMIZE) | WS_MAXIMIZE;
            state.m_Rect = SCREEN;
            break;
        case SW_SHOW:
        case SW_SHOWNA:
            break;
        default:
            state.m_Style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
            state.m_Rect = state.m_NormalRect;
            break;
    }
    state.m_Style |= WS_VISIBLE;
}

void ApplyPosition(n_Platform::s_WindowState& state, HWND insertAfter, int x, int y, int width, int height,
                   UINT flags) {
    RECT& rect = state.m_Rect;
    if ((flags & SWP_NOMOVE) == 0) {
        rect = RECT{x, y, x + rect.right - rect.left, y + rect.bottom - rect.top};
    }
    if ((flags & SWP_NOSIZE) == 0) {
        rect.right = rect.left + (width < 0 ? 0 : width);
        rect.bottom = rect.top + (height < 0 ? 0 : height);
    }
    if (IsNormal(state)) {
        state.m_NormalRect = rect;
    }
    if ((flags & SWP_NOZORDER) == 0 && insertAfter == HWND_TOPMOST) {
        state.m_ExStyle |= WS_EX_TOPMOST;
    } else if ((flags & SWP_NOZORDER) == 0 && insertAfter == HWND_NOTOPMOST) {
        state.m_ExStyle &= ~WS_EX_TOPMOST;
    }
    if ((flags & SWP_SHOWWINDOW) != 0) {
        state.m_Style |= WS_VISIBLE;
    } else if ((flags & SWP_HIDEWINDOW) != 0) {
        state.m_Style &= ~WS_VISIBLE;
    }
}

// The window's rectangle on the screen: a child's lies in its parent's client area, which is the
// whole parent.
RECT GetScreenRect(const n_Platform::s_WindowState& state, int depth) {
    RECT rect = state.m_Rect;
    if ((state.m_Style & WS_CHILD) == 0 || depth >= MAX_PARENT_DEPTH) {
        return rect;
    }
    const std::shared_ptr<n_Platform::c_WindowObject> parent = n_Platform::FindWindowObject(state.m_Parent);
    if (parent != nullptr) {
        const RECT origin = GetScreenRect(parent->ReadState(), depth + 1);
        rect = RECT{rect.left + origin.left, rect.top + origin.top, rect.right + origin.left, rect.bottom + origin.top};
    }
    return rect;
}

bool IsShown(HWND handle, int depth) {
    const std::shared_ptr<n_Platform::c_WindowObject> window = n_Platform::FindWindowObject(handle);
    if (window == nullptr || window->m_MessageOnly || depth >= MAX_PARENT_DEPTH) {
        return false;
    }
    const n_Platform::s_WindowState state = window->ReadState();
    if ((state.m_Style & WS_VISIBLE) == 0) {
        return false;
    }
    return (state.m_Style & WS_CHILD) == 0 || IsShown(state.m_Parent, depth + 1);
}

bool HasStyle(HWND handle, DWORD style) {
    const std::shared_ptr<n_Platform::c_WindowObject> window = n_Platform::LookupWindowObject(handle);
    return window != nullptr && (window->ReadState().m_Style & style) != 0;
}

// Reads the window's state for a caller that fills a record; fails for a null record.
template <typename Record> std::shared_ptr<n_Platform::c_WindowObject> LookupForRecord(HWND handle, Record* record) {
    if (record == nullptr) {
        return n_Platform::FailWith<std::shared_ptr<n_Platform::c_WindowObject>>(nullptr, ERROR_INVALID_PARAMETER);
    }
    return n_Platform::LookupWindowObject(handle);
}

// The client area starts at the frame's corner: a point moves by the corner, forward or back.
BOOL MoveByFrameCorner(HWND handle, POINT* point, int direction) {
    const std::shared_ptr<n_Platform::c_WindowObject> window = LookupForRecord(handle, point);
    if (window == nullptr) {
        return FALSE;
    }
    const RECT frame = GetScreenRect(window->ReadState(), 0);
    *point = POINT{point->x + direction * frame.left, point->y + direction * frame.top};
    return TRUE;
}

} // namespace

BOOL WINAPI ShowWindow(HWND handle, int command) {
    const std::shared_ptr<n_Platform::c_WindowObject> window = n_Platform::LookupWindowObject(handle);
    if (window == nullptr) {
        return FALSE;
    }
    if (!IsShowCommand(command)) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    const bool wasVisible = window->ChangeState([&](n_Platform::s_WindowState& state) {
        const bool visible = (state.m_Style & WS_VISIBLE) != 0;
        ApplyShowCommand(state, command);
        return visible;
    });
    n_Platform::GetUserBackend().OnWindowChanged(handle);
    return wasVisible ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND handle) {
    return IsShown(handle, 0) ? TRUE : FALSE;
}

BOOL WINAPI IsIconic(HWND handle) {
    return HasStyle(handle, WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL WINAPI IsZoomed(HWND handle) {
    return HasStyle(handle, WS_MAXIMIZE) ? TRUE : FALSE;
}

BOOL WINAPI SetWindowPos(HWND handle, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    const std::shared_ptr<n_Platform::c_WindowObject> window = n_Platform::LookupWindowObject(handle);
    if (window == nullptr) {
        return FALSE;
    }
    window->ChangeState(
        [&](n_Platform::s_WindowState& state) { ApplyPosition(state, insertAfter, x, y, width, height, flags); });
    n_Platform::GetUserBackend().OnWindowChanged(handle);
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND window, int x, int y, int width, int height, BOOL) {
    return SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL WINAPI GetWindowRect(HWND handle, RECT* rect) {
    const std::shared_ptr<n_Platform::c_WindowObject> window = LookupForRecord(handle, rect);
    if (window == nullptr) {
        return FALSE;
    }
    *rect = GetScreenRect(window->ReadState(), 0);
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND handle, POINT* point) {
    return MoveByFrameCorner(handle, point, 1);
}

BOOL WINAPI ScreenToClient(HWND handle, POINT* point) {
    return MoveByFrameCorner(handle, point, -1);
}

BOOL WINAPI GetClientRect(HWND handle, RECT* rect) {
    const std::shared_ptr<n_Platform::c_WindowObject> window = LookupForRecord(handle, rect);
    if (window == nullptr) {
        return FALSE;
    }
    const RECT whole = window->ReadState().m_Rect;
    *rect = RECT{0, 0, whole.right - whole.left, whole.bottom - whole.top};
    return TRUE;
}

BOOL WINAPI GetWindowPlacement(HWND handle, WINDOWPLACEMENT* placement) {
    const std::shared_ptr<n_Platform::c_WindowObject> window = LookupForRecord(handle, placement);
    if (window == nullptr) {
        return FALSE;
    }
    const n_Platform::s_WindowState state = window->ReadState();
    const UINT showCommand = (state.m_Style & WS_MINIMIZE) != 0   ? SW_SHOWMINIMIZED
                             : (state.m_Style & WS_MAXIMIZE) != 0 ? SW_SHOWMAXIMIZED
                                                                  : SW_SHOWNORMAL;
    *placement = WINDOWPLACEMENT{sizeof(WINDOWPLACEMENT), 0, showCommand, state.m_MinPosition, state.m_MaxPosition,
                                 state.m_NormalRect};
    return TRUE;
}

BOOL WINAPI SetWindowPlacement(HWND handle, const WINDOWPLACEMENT* placement) {
    const std::shared_ptr<n_Platform::c_WindowObject> window = LookupForRecord(handle, placement);
    if (window == nullptr) {
        return FALSE;
    }
    if (!IsShowCommand(static_cast<int>(placement->showCmd))) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    window->ChangeState([&](n_Platform::s_WindowState& state) {
        state.m_NormalRect = placement->rcNormalPosition;
        if (IsNormal(state)) {
            state.m_Rect = state.m_NormalRect;
        }
        if ((placement->flags & WPF_SETMINPOSITION) != 0) {
            state.m_MinPosition = placement->ptMinPosition;
        }
        state.m_MaxPosition = placement->ptMaxPosition;
        ApplyShowCommand(state, static_cast<int>(placement->showCmd));
    });
    n_Platform::GetUserBackend().OnWindowChanged(handle);
    return TRUE;
}
