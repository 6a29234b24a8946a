// The controls of a dialog by id, and the dialog's keys: GetDlgItem and its family, IsDialogMessageW.

#include "platform/kernel/LastError.h"
#include "platform/user/Dialogs.h"
#include "platform/user/UserInput.h"

namespace {

bool IsPushButton(HWND window) {
    WCHAR className[16] = {};
    GetClassNameW(window, className, 16);
    const DWORD kind = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & BS_TYPEMASK;
    return std::u16string_view(className) == u"Button" && (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON);
}

// As the button with that id would tell of a click; nothing when that button is disabled.
void PressButton(HWND dialog, int id) {
    const HWND button = GetDlgItem(dialog, id);
    if (button != nullptr && IsWindowEnabled(button) == FALSE) {
        return;
    }
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

// Enter presses the focused push button, else the default one; Escape presses Cancel.
void PressKey(HWND dialog, WPARAM key) {
    if (key == VK_ESCAPE) {
        PressButton(dialog, IDCANCEL);
        return;
    }
    const HWND focus = GetFocus();
    if (focus != nullptr && n_Platform::IsWithinWindow(dialog, focus) && IsPushButton(focus)) {
        PressButton(dialog, GetDlgCtrlID(focus));
        return;
    }
    const LRESULT defaultId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    PressButton(dialog, HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : IDOK);
}

} // namespace

HWND WINAPI GetDlgItem(HWND dialog, int id) {
    if (n_Platform::LookupWindowObject(dialog) == nullptr) {
        return nullptr;
    }
    for (const HWND control : n_Platform::GetChildWindows(dialog)) {
        if (GetDlgCtrlID(control) == id) {
            return control;
        }
    }
    return n_Platform::FailWith<HWND>(nullptr, ERROR_CONTROL_ID_NOT_FOUND);
}

int WINAPI GetDlgCtrlID(HWND window) {
    return static_cast<int>(GetWindowLongPtrW(window, GWLP_ID));
}

LRESULT WINAPI SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND control = GetDlgItem(dialog, id);
    return control == nullptr ? 0 : SendMessageW(control, message, wParam, lParam);
}

BOOL WINAPI SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
    const HWND control = GetDlgItem(dialog, id);
    return control != nullptr && SetWindowTextW(control, text) != FALSE ? TRUE : FALSE;
}

UINT WINAPI GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int units) {
    const HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) {
        if (buffer != nullptr && units > 0) {
            buffer[0] = 0;
        }
        return 0;
    }
    return static_cast<UINT>(GetWindowTextW(control, buffer, units));
}

BOOL WINAPI CheckDlgButton(HWND dialog, int id, UINT check) {
    const HWND button = GetDlgItem(dialog, id);
    if (button == nullptr) {
        return FALSE;
    }
    SendMessageW(button, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND dialog, int id) {
    return static_cast<UINT>(SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0));
}

BOOL WINAPI IsDialogMessageW(HWND dialog, MSG* message) {
    if (message == nullptr || dialog == nullptr || !n_Platform::IsWithinWindow(dialog, message->hwnd)) {
        return FALSE;
    }
    if (message->message == WM_KEYDOWN && (message->wParam == VK_RETURN || message->wParam == VK_ESCAPE)) {
        // A key is input like a click: a disabled dialog takes none.
        if (n_Platform::AcceptsUserInput(message->hwnd)) {
            PressKey(dialog, message->wParam);
        }
        return TRUE;
    }
    DispatchMessageW(message);
    return TRUE;
}
