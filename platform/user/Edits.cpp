// Edit controls: text, selection and caret.

#include "platform/user/Controls.h"

#include <algorithm>

namespace {

class c_EditState : public n_Platform::c_ControlState {
public:
    int m_SelectionStart = 0;
    int m_SelectionEnd = 0;
};

// A start of -1 removes the selection and leaves the caret; an end of -1, or one past the text
// (0xFFFF asks for the end), is the end of the text.
void Select(HWND edit, c_EditState& state, WPARAM startParameter, LPARAM endParameter) {
    const int length = GetWindowTextLengthW(edit);
    const int start = static_cast<int>(startParameter);
    const int end = static_cast<int>(endParameter);
    if (start == -1) {
        state.m_SelectionStart = state.m_SelectionEnd;
        return;
    }
    state.m_SelectionStart = std::clamp(start, 0, length);
    state.m_SelectionEnd = end < 0 ? length : std::min(end, length);
    if (state.m_SelectionStart > state.m_SelectionEnd) {
        std::swap(state.m_SelectionStart, state.m_SelectionEnd);
    }
}

LRESULT GetSelection(const c_EditState& state, WPARAM startOut, LPARAM endOut) {
    if (startOut != 0) {
        *reinterpret_cast<DWORD*>(startOut) = static_cast<DWORD>(state.m_SelectionStart);
    }
    if (endOut != 0) {
        *reinterpret_cast<DWORD*>(endOut) = static_cast<DWORD>(state.m_SelectionEnd);
    }
    return MAKELONG(state.m_SelectionStart, state.m_SelectionEnd);
}

} // namespace

namespace n_Platform {

LRESULT CALLBACK EditProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    c_EditState* state = GetControlState<c_EditState>(window, message);
    if (state == nullptr) {
        return DefControlProc(window, message, wParam, lParam);
    }
    switch (message) {
        case EM_SETSEL:
            Select(window, *state, wParam, lParam);
            return 0;
        case EM_GETSEL:
            return GetSelection(*state, wParam, lParam);
        case EM_SCROLLCARET:
            // Nothing hides the caret without a display.
            return TRUE;
        case WM_SETTEXT:
            state->m_SelectionStart = 0;
            state->m_SelectionEnd = 0;
            return DefControlProc(window, message, wParam, lParam);
        default:
            return DefControlProc(window, message, wParam, lParam);
    }
}

} // namespace n_Platform
