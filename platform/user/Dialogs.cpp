// Dialogs from templates: CreateDialogParamW, DialogBoxParamW, EndDialog, DefDlgProcW and the dialog
// class's procedure.

#include "platform/user/Dialogs.h"

#include "platform/kernel/LastError.h"
#include "platform/user/Backend.h"
#include "platform/user/Controls.h"
#include "platform/user/ModalLoop.h"
#include "platform/user/Resources.h"

#include <map>
#include <mutex>

namespace {

// Dialog units: a quarter of the dialog font's average character width across, an eighth of its
// height down, as the back end measures the font.
RECT ToPixels(short x, short y, short width, short height, n_Platform::s_FontCell cell) {
    const auto across = [&](int units) { return units * cell.m_Width / (4 * 8); };
    const auto down = [&](int units) { return units * cell.m_Height / (8 * 8); };
    return RECT{across(x), down(y), across(x) + across(width), down(y) + down(height)};
}

// Dialogs by template for the test driver and the display back ends, on any thread.
class c_DialogRegistry {
public:
    static c_DialogRegistry& Get() {
        static c_DialogRegistry* registry = new c_DialogRegistry;
        return *registry;
    }

    void Add(HWND dialog, WORD templateId) {
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Dialogs[dialog] = templateId;
    }

    void Remove(HWND dialog) {
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Dialogs.erase(dialog);
    }

    HWND FindNewest(WORD templateId) {
        std::lock_guard<std::mutex> lock(m_Lock);
        for (auto entry = m_Dialogs.rbegin(); entry != m_Dialogs.rend(); ++entry) {
            if (entry->second == templateId && IsWindow(entry->first)) {
                return entry->first;
            }
        }
        return nullptr;
    }

private:
    std::mutex m_Lock;
    // Handles grow, so the last entry is the newest dialog.
    std::map<HWND, WORD> m_Dialogs;
};

// The top-level window above a child, which a modal dialog disables.
HWND TopLevelOf(HWND window) {
    while (window != nullptr && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0) {
        window = GetParent(window);
    }
    return window;
}

bool MakeControls(HWND dialog, const n_Platform::s_DialogTemplate& dialogTemplate, n_Platform::s_FontCell cell) {
    for (int index = 0; index < dialogTemplate.m_ItemCount; ++index) {
        const n_Platform::s_DialogItemTemplate& item = dialogTemplate.m_p_Items[index];
        const RECT rect = ToPixels(item.m_X, item.m_Y, item.m_Width, item.m_Height, cell);
        const HWND control = CreateWindowExW(0, item.m_ClassName, item.m_Text, item.m_Style | WS_CHILD, rect.left,
                                             rect.top, rect.right - rect.left, rect.bottom - rect.top, dialog,
                                             reinterpret_cast<HMENU>(static_cast<LONG_PTR>(item.m_Id)),
                                             GetModuleHandleW(nullptr), nullptr);
        if (control == nullptr) {
            return false;
        }
    }
    return true;
}

HWND FirstTabStop(HWND dialog) {
    for (const HWND control : n_Platform::GetChildWindows(dialog)) {
        const DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
        if ((style & WS_TABSTOP) != 0 && (style & WS_DISABLED) == 0) {
            return control;
        }
    }
    return nullptr;
}

// Made hidden; WM_INITDIALOG has been handled when it returns.
HWND MakeDialog(LPCWSTR templateName, HWND owner, DLGPROC procedure, LPARAM lParam) {
    const n_Platform::s_DialogTemplate* dialogTemplate = n_Platform::FindDialogTemplate(templateName);
    if (dialogTemplate == nullptr) {
        return nullptr;
    }
    const n_Platform::s_FontCell cell =
        n_Platform::GetUserBackend().GetDialogFontCell(dialogTemplate->m_FontName, dialogTemplate->m_FontPoints);
    const RECT rect = ToPixels(0, 0, dialogTemplate->m_Width, dialogTemplate->m_Height, cell);
    const HMENU menu = dialogTemplate->m_MenuId != 0
                           ? LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(dialogTemplate->m_MenuId))
                           : nullptr;
    const HWND dialog = CreateWindowExW(
        0, u"#32770", dialogTemplate->m_Caption, (dialogTemplate->m_Style & ~WS_VISIBLE) | WS_POPUP, CW_USEDEFAULT,
        CW_USEDEFAULT, rect.right, rect.bottom, TopLevelOf(owner), menu, GetModuleHandleW(nullptr), nullptr);
    if (dialog == nullptr) {
        return nullptr;
    }
    n_Platform::c_WindowObject* window = n_Platform::FindOwnWindow(dialog);
    auto state = std::make_unique<n_Platform::c_DialogState>();
    state->m_p_Procedure = procedure;
    state->m_TemplateId = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(templateName));
    window->m_p_Extension = std::move(state);
    if (!MakeControls(dialog, *dialogTemplate, cell)) {
        const DWORD error = GetLastError();
        DestroyWindow(dialog);
        return n_Platform::FailWith<HWND>(nullptr, error);
    }
    c_DialogRegistry::Get().Add(dialog, static_cast<WORD>(reinterpret_cast<ULONG_PTR>(templateName)));
    const HWND focus = FirstTabStop(dialog);
    if (SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), lParam) != FALSE && focus != nullptr) {
        SetFocus(focus);
    }
    return IsWindow(dialog) != FALSE ? dialog : nullptr;
}

LRESULT DefaultButtonId(HWND dialog) {
    for (const HWND control : n_Platform::GetChildWindows(dialog)) {
        const DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
        if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && GetDlgCtrlID(control) != 0) {
            WCHAR className[16] = {};
            GetClassNameW(control, className, 16);
            if (std::u16string_view(className) == u"Button") {
                return MAKELONG(GetDlgCtrlID(control), DC_HASDEFID);
            }
        }
    }
    return MAKELONG(IDOK, DC_HASDEFID);
}

} // namespace

namespace n_Platform {

HWND FindDialogByTemplate(WORD templateId) {
    return c_DialogRegistry::Get().FindNewest(templateId);
}

bool IsWithinWindow(HWND dialog, HWND window) {
    for (HWND above = window; above != nullptr; above = GetParent(above)) {
        if (above == dialog) {
            return true;
        }
        if ((GetWindowLongW(above, GWL_STYLE) & WS_CHILD) == 0) {
            return false;
        }
    }
    return false;
}

LRESULT CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const c_DialogState* state = FindExtension<c_DialogState>(window);
    if (state != nullptr && state->m_p_Procedure != nullptr) {
        const INT_PTR handled = state->m_p_Procedure(window, message, wParam, lParam);
        // WM_INITDIALOG answers whether the focus is still to be set.
        if (message == WM_INITDIALOG || handled != FALSE) {
            return handled;
        }
    }
    return DefDlgProcW(window, message, wParam, lParam);
}

} // namespace n_Platform

LRESULT WINAPI DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    n_Platform::c_DialogState* state = n_Platform::FindExtension<n_Platform::c_DialogState>(dialog);
    switch (message) {
        case WM_CLOSE:
            // Closing is cancelling, which the dialog decides on; it is never destroyed here.
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
            return 0;
        case DM_GETDEFID:
            return DefaultButtonId(dialog);
        case WM_SETICON:
            if (state != nullptr && wParam <= ICON_BIG) {
                const HICON previous = state->m_Icons[wParam];
                state->m_Icons[wParam] = reinterpret_cast<HICON>(lParam);
                n_Platform::GetUserBackend().OnWindowChanged(dialog);
                return reinterpret_cast<LRESULT>(previous);
            }
            return 0;
        case WM_NCDESTROY:
            c_DialogRegistry::Get().Remove(dialog);
            return DefWindowProcW(dialog, message, wParam, lParam);
        default:
            return DefWindowProcW(dialog, message, wParam, lParam);
    }
}

HWND WINAPI CreateDialogParamW(HINSTANCE, LPCWSTR templateName, HWND owner, DLGPROC procedure, LPARAM lParam) {
    const HWND dialog = MakeDialog(templateName, owner, procedure, lParam);
    if (dialog != nullptr) {
        const n_Platform::s_DialogTemplate* dialogTemplate = n_Platform::FindDialogTemplate(templateName);
        if ((dialogTemplate->m_Style & WS_VISIBLE) != 0) {
            ShowWindow(dialog, SW_SHOW);
        }
    }
    return dialog;
}

INT_PTR WINAPI DialogBoxParamW(HINSTANCE, LPCWSTR templateName, HWND owner, DLGPROC procedure, LPARAM lParam) {
    const HWND dialog = MakeDialog(templateName, owner, procedure, lParam);
    if (dialog == nullptr) {
        return -1;
    }
    const HWND disabled = TopLevelOf(owner);
    const bool reenable = disabled != nullptr && EnableWindow(disabled, FALSE) == FALSE;
    const auto ended = [dialog] {
        const n_Platform::c_DialogState* state = n_Platform::FindExtension<n_Platform::c_DialogState>(dialog);
        return state == nullptr || state->m_Ended;
    };
    if (!ended()) {
        ShowWindow(dialog, SW_SHOW);
    }
    n_Platform::RunModalLoop(ended, dialog);
    const n_Platform::c_DialogState* state = n_Platform::FindExtension<n_Platform::c_DialogState>(dialog);
    // A dialog destroyed by its own code, or a quit, ends without a result of its own.
    const INT_PTR result = state != nullptr && state->m_Ended ? state->m_Result : 0;
    if (reenable) {
        EnableWindow(disabled, TRUE);
    }
    DestroyWindow(dialog);
    return result;
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
    n_Platform::c_DialogState* state = n_Platform::FindExtension<n_Platform::c_DialogState>(dialog);
    if (state == nullptr) {
        return n_Platform::FailWith(FALSE,
                                    IsWindow(dialog) != FALSE ? ERROR_ACCESS_DENIED : ERROR_INVALID_WINDOW_HANDLE);
    }
    state->m_Ended = true;
    state->m_Result = result;
    ShowWindow(dialog, SW_HIDE);
    return TRUE;
}
