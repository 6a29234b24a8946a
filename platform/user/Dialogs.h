#pragma once
// Dialogs as the layer keeps them: the dialog procedure, the template, the end and its result.

#include "platform/user/WindowTable.h"

#include <windows.h>

namespace n_Platform {

class c_DialogState : public c_WindowExtension {
public:
    DLGPROC m_p_Procedure = nullptr;
    WORD m_TemplateId = 0;
    bool m_Ended = false;
    INT_PTR m_Result = 0;
    HICON m_Icons[2] = {};
};

// Any thread: the newest dialog made from that template that still exists; null for none.
HWND FindDialogByTemplate(WORD templateId);

// Whether window is the dialog or one of its controls (a child, at any depth).
bool IsWithinWindow(HWND dialog, HWND window);

} // namespace n_Platform
