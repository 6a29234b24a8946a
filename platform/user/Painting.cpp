// BeginPaint, EndPaint and DrawIcon without a display: the whole client area, and no device context until the
// drawing library gives one.

#include "platform/kernel/LastError.h"
#include "platform/user/WindowTable.h"

#include <cstring>

HDC WINAPI BeginPaint(HWND window, PAINTSTRUCT* paint) {
    if (paint == nullptr) {
        return n_Platform::FailWith<HDC>(nullptr, ERROR_INVALID_PARAMETER);
    }
    std::memset(paint, 0, sizeof *paint);
    if (GetClientRect(window, &paint->rcPaint) == FALSE) {
        return nullptr;
    }
    return nullptr;
}

BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT*) {
    return n_Platform::LookupWindowObject(window) != nullptr ? TRUE : FALSE;
}

BOOL WINAPI DrawIcon(HDC context, int, int, HICON) {
    // Every device context comes from the drawing library; until then there is none to draw on.
    return n_Platform::FailWith<BOOL>(FALSE, context == nullptr ? ERROR_INVALID_HANDLE : ERROR_NOT_SUPPORTED);
}
