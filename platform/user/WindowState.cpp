// A window's text, enabled state and fields: SetWindowTextW, GetWindowTextW, GetWindowTextLengthW,
// EnableWindow, IsWindowEnabled and the Get/SetWindowLong(Ptr)W family.

#include "platform/kernel/LastError.h"
#include "platform/user/Backend.h"
#include "platform/user/WindowTable.h"

#include <cstring>
#include <type_traits>

namespace {

template <typename T> LONG_PTR ToField(T value) {
    if constexpr (std::is_pointer_v<T>) {
        return reinterpret_cast<LONG_PTR>(value);
    } else if constexpr (std::is_same_v<T, DWORD>) {
        return static_cast<LONG>(value);
    } else {
        return value;
    }
}

template <typename T> T FromField(LONG_PTR value) {
    if constexpr (std::is_pointer_v<T>) {
        return reinterpret_cast<T>(value);
    } else {
        return static_cast<T>(value);
    }
}

template <typename T> void ExchangeValue(T& field, const LONG_PTR* value, LONG_PTR& previous) {
    previous = ToField(field);
    if (value != nullptr) {
        field = FromField<T>(*value);
    }
}

bool ExchangeExtraBytes(std::vector<unsigned char>& bytes, int index, std::size_t width, const LONG_PTR* value,
                        LONG_PTR& previous) {
    if (static_cast<std::size_t>(index) + width > bytes.size()) {
        return false;
    }
    // Little-endian: the low bytes of a LONG_PTR are the LONG.
    previous = 0;
    std::memcpy(&previous, bytes.data() + index, width);
    if (width == sizeof(LONG)) {
        previous = static_cast<LONG>(previous);
    }
    if (value != nullptr) {
        std::memcpy(bytes.data() + index, value, width);
    }
    return true;
}

// Reads one field into previous and, given a value, writes it. False for an index the window does
// not have, or a pointer field asked for in 32 bits.
bool ExchangeField(n_Platform::s_WindowState& state, int index, std::size_t width, const LONG_PTR* value,
                   LONG_PTR& previous) {
    const bool pointerField = index == GWLP_WNDPROC || index == GWLP_HINSTANCE || index == GWLP_HWNDPARENT;
    if (pointerField && width != sizeof(LONG_PTR)) {
        return false;
    }
    switch (index) {
        case GWLP_WNDPROC:
            ExchangeValue(state.m_p_Procedure, value, previous);
            return true;
        case GWLP_HINSTANCE:
            ExchangeValue(state.m_Instance, value, previous);
            return true;
        case GWLP_HWNDPARENT:
            ExchangeValue(state.m_Parent, value, previous);
            return true;
        case GWLP_ID:
            ExchangeValue(state.m_Id, value, previous);
            return true;
        case GWL_STYLE:
            ExchangeValue(state.m_Style, value, previous);
            return true;
        case GWL_EXSTYLE:
            ExchangeValue(state.m_ExStyle, value, previous);
            return true;
        case GWLP_USERDATA:
            ExchangeValue(state.m_UserData, value, previous);
            return true;
        default:
            return index >= 0 && ExchangeExtraBytes(state.m_ExtraBytes, index, width, value, previous);
    }
}

LONG_PTR AccessField(HWND handle, int index, std::size_t width, const LONG_PTR* value) {
    const std::shared_ptr<n_Platform::c_WindowObject> window = n_Platform::LookupWindowObject(handle);
    if (window == nullptr) {
        return 0;
    }
    LONG_PTR previous = 0;
    if (!window->ChangeState(
            [&](n_Platform::s_WindowState& state) { return ExchangeField(state, index, width, value, previous); })) {
        return n_Platform::FailWith<LONG_PTR>(0, ERROR_INVALID_INDEX);
    }
    // Success clears the last error, so that a previous value of 0 can be told from a failure.
    SetLastError(ERROR_SUCCESS);
    if (value != nullptr && (index == GWL_STYLE || index == GWL_EXSTYLE)) {
        n_Platform::GetUserBackend().OnWindowChanged(handle);
    }
    return width == sizeof(LONG) ? static_cast<LONG>(previous) : previous;
}

} // namespace

BOOL WINAPI SetWindowTextW(HWND window, LPCWSTR text) {
    if (n_Platform::LookupWindowObject(window) == nullptr) {
        return FALSE;
    }
    return static_cast<BOOL>(SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int WINAPI GetWindowTextW(HWND window, LPWSTR buffer, int units) {
    if (n_Platform::LookupWindowObject(window) == nullptr || buffer == nullptr || units <= 0) {
        return 0;
    }
    buffer[0] = 0;
    return static_cast<int>(
        SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(units), reinterpret_cast<LPARAM>(buffer)));
}

int WINAPI GetWindowTextLengthW(HWND window) {
    if (n_Platform::LookupWindowObject(window) == nullptr) {
        return 0;
    }
    return static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
}

BOOL WINAPI EnableWindow(HWND handle, BOOL enable) {
    const std::shared_ptr<n_Platform::c_WindowObject> window = n_Platform::LookupWindowObject(handle);
    if (window == nullptr) {
        return FALSE;
    }
    const bool wasDisabled = window->ChangeState([&](n_Platform::s_WindowState& state) {
        const bool disabled = (state.m_Style & WS_DISABLED) != 0;
        state.m_Style = enable ? state.m_Style & ~WS_DISABLED : state.m_Style | WS_DISABLED;
        return disabled;
    });
    n_Platform::GetUserBackend().OnWindowChanged(handle);
    return wasDisabled ? TRUE : FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND handle) {
    const std::shared_ptr<n_Platform::c_WindowObject> window = n_Platform::LookupWindowObject(handle);
    return window != nullptr && (window->ReadState().m_Style & WS_DISABLED) == 0 ? TRUE : FALSE;
}

LONG_PTR WINAPI GetWindowLongPtrW(HWND window, int index) {
    return AccessField(window, index, sizeof(LONG_PTR), nullptr);
}

LONG_PTR WINAPI SetWindowLongPtrW(HWND window, int index, LONG_PTR value) {
    return AccessField(window, index, sizeof(LONG_PTR), &value);
}

LONG WINAPI GetWindowLongW(HWND window, int index) {
    return static_cast<LONG>(AccessField(window, index, sizeof(LONG), nullptr));
}

LONG WINAPI SetWindowLongW(HWND window, int index, LONG value) {
    const LONG_PTR widened = value;
    return static_cast<LONG>(AccessField(window, index, sizeof(LONG), &widened));
}
