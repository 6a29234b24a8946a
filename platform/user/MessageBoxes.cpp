// Message boxes: MessageBoxW, a modal loop around the back end's box.

#include "platform/user/MessageBoxes.h"

#include "platform/kernel/LastError.h"
#include "platform/user/Backend.h"
#include "platform/user/ModalLoop.h"

#include <algorithm>

namespace {

HWND TopLevelOf(HWND window) {
    while (window != nullptr && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0) {
        window = GetParent(window);
    }
    return window;
}

} // namespace

namespace n_Platform {

std::vector<int> GetMessageBoxButtons(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OK:
            return {IDOK};
        case MB_OKCANCEL:
            return {IDOK, IDCANCEL};
        case MB_ABORTRETRYIGNORE:
            return {IDABORT, IDRETRY, IDIGNORE};
        case MB_YESNOCANCEL:
            return {IDYES, IDNO, IDCANCEL};
        case MB_YESNO:
            return {IDYES, IDNO};
        case MB_RETRYCANCEL:
            return {IDRETRY, IDCANCEL};
        default:
            return {};
    }
}

int GetDefaultAnswer(UINT type) {
    const std::vector<int> buttons = GetMessageBoxButtons(type);
    const std::size_t chosen = (type & MB_DEFMASK) >> 8;
    if (buttons.empty()) {
        return 0;
    }
    return chosen < buttons.size() ? buttons[chosen] : buttons.front();
}

int GetEscapeAnswer(UINT type) {
    const std::vector<int> buttons = GetMessageBoxButtons(type);
    if (std::find(buttons.begin(), buttons.end(), IDCANCEL) != buttons.end()) {
        return IDCANCEL;
    }
    return buttons.size() == 1 ? buttons.front() : 0;
}

bool AnswerMessageBox(s_MessageBox& box, int answer) {
    const std::vector<int> buttons = GetMessageBoxButtons(box.m_Type);
    if (box.m_Answer != 0 || std::find(buttons.begin(), buttons.end(), answer) == buttons.end()) {
        return false;
    }
    box.m_Answer = answer;
    return true;
}

} // namespace n_Platform

int WINAPI MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    if (n_Platform::GetMessageBoxButtons(type).empty() || (owner != nullptr && IsWindow(owner) == FALSE)) {
        return n_Platform::FailWith(0, owner != nullptr && IsWindow(owner) == FALSE ? ERROR_INVALID_WINDOW_HANDLE
                                                                                    : ERROR_INVALID_PARAMETER);
    }
    n_Platform::s_MessageBox box;
    box.m_Owner = TopLevelOf(owner);
    box.m_Caption = caption != nullptr ? caption : u"Error";
    box.m_Text = text != nullptr ? text : u"";
    box.m_Type = type;
    box.m_ThreadId = GetCurrentThreadId();
    // The owner takes no input while the box is open; one that was disabled already stays so.
    const bool reenable = box.m_Owner != nullptr && EnableWindow(box.m_Owner, FALSE) == FALSE;
    n_Platform::c_UserBackend& backend = n_Platform::GetUserBackend();
    backend.OnMessageBoxOpened(box);
    const bool answered = n_Platform::RunModalLoop([&box] { return box.m_Answer != 0; });
    backend.OnMessageBoxClosed(box);
    if (reenable) {
        EnableWindow(box.m_Owner, TRUE);
    }
    // A quit ends the box without an answer.
    return answered ? box.m_Answer : 0;
}
