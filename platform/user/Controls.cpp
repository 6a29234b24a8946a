// The system classes and what every control shares.

#include "platform/user/Controls.h"

#include <commctrl.h>

#include <mutex>

namespace {

void RegisterSystemClass(LPCWSTR name, WNDPROC procedure) {
    WNDCLASSEXW description = {};
    description.cbSize = sizeof description;
    description.lpfnWndProc = procedure;
    description.lpszClassName = name;
    RegisterClassExW(&description);
}

} // namespace

namespace n_Platform {

void RegisterSystemClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterSystemClass(u"Button", ButtonProcedure);
        RegisterSystemClass(u"Edit", EditProcedure);
        // A static is text and a font, which every control has.
        RegisterSystemClass(u"Static", DefControlProc);
        RegisterSystemClass(u"ComboBox", ComboBoxProcedure);
        RegisterSystemClass(u"ListBox", ListBoxProcedure);
        RegisterSystemClass(PROGRESS_CLASSW, ProgressBarProcedure);
        RegisterSystemClass(WC_LISTVIEWW, ListViewProcedure);
        RegisterSystemClass(WC_TABCONTROLW, TabControlProcedure);
        RegisterSystemClass(WC_TREEVIEWW, TreeViewProcedure);
        RegisterSystemClass(u"#32770", DialogProcedure);
        RegisterSystemClass(u"#32769", DefWindowProcW);
    });
}

LRESULT DefControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_SETFONT && message != WM_GETFONT && message != WM_NCCREATE) {
        return DefWindowProcW(control, message, wParam, lParam);
    }
    c_ControlState* state = FindExtension<c_ControlState>(control);
    if (message == WM_NCCREATE) {
        if (state == nullptr) {
            GetControlState<c_ControlState>(control, message);
        }
        return DefWindowProcW(control, message, wParam, lParam);
    }
    if (state == nullptr) {
        return 0;
    }
    if (message == WM_GETFONT) {
        return reinterpret_cast<LRESULT>(state->m_Font);
    }
    state->m_Font = reinterpret_cast<HFONT>(wParam);
    return 0;
}

void NotifyParent(HWND control, WORD code) {
    const HWND parent = GetParent(control);
    if (parent != nullptr) {
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
    }
}

} // namespace n_Platform
