// Edit controls: text, selection and caret.

#include "platform/user/Controls.h"

#include <algorithm>
#include <string>

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

std::u16string GetText(HWND edit) {
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, u'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return text;
}

void ReplaceSelection(HWND edit, c_EditState& state, LPARAM replacement) {
    const std::u16string_view inserted =
        replacement != 0 ? std::u16string_view(reinterpret_cast<LPCWSTR>(replacement)) : std::u16string_view();
    std::u16string text = GetText(edit);
    const auto start = static_cast<std::size_t>(state.m_SelectionStart);
    text.replace(start, static_cast<std::size_t>(state.m_SelectionEnd) - start, inserted);
    n_Platform::DefControlProc(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    state.m_SelectionStart = static_cast<int>(start + inserted.size());
    state.m_SelectionEnd = state.m_SelectionStart;
}

// The count to copy comes in the buffer's first unit; no NUL follows the copy.
LRESULT CopyLine(HWND edit, LPARAM buffer) {
    const auto units = reinterpret_cast<char16_t*>(buffer);
    const std::u16string text = GetText(edit);
    const std::size_t count = std::min<std::size_t>(text.size(), static_cast<WORD>(units[0]));
    std::copy_n(text.begin(), count, units);
    return static_cast<LRESULT>(count);
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
        case EM_REPLACESEL:
            ReplaceSelection(window, *state, lParam);
            return 0;
        case EM_LINELENGTH:
            return GetWindowTextLengthW(window);
        case EM_GETLINE:
            return CopyLine(window, lParam);
        case WM_SETTEXT:
            state->m_SelectionStart = 0;
            state->m_SelectionEnd = 0;
            return DefControlProc(window, message, wParam, lParam);
        default:
            return DefControlProc(window, message, wParam, lParam);
    }
}

} // namespace n_Platform
