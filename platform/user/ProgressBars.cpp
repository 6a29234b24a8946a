// Progress bars: a range and a position within it.

#include "platform/user/Backend.h"
#include "platform/user/Controls.h"

#include <commctrl.h>

#include <algorithm>

namespace {

class c_ProgressState : public n_Platform::c_ControlState {
public:
    int m_Low = 0;
    int m_High = 100;
    int m_Position = 0;
};

// The previous position.
LRESULT MoveTo(HWND bar, c_ProgressState& state, long long position) {
    const int previous = state.m_Position;
    state.m_Position =
        static_cast<int>(std::clamp<long long>(position, state.m_Low, std::max(state.m_Low, state.m_High)));
    if (state.m_Position != previous) {
        n_Platform::GetUserBackend().OnWindowChanged(bar);
    }
    n_Platform::GetUserBackend().OnProgressChanged(bar, state.m_Position, state.m_Low, state.m_High);
    return previous;
}

// The previous range, low word and high word.
LRESULT SetRange(HWND bar, c_ProgressState& state, int low, int high) {
    const LRESULT previous = MAKELONG(state.m_Low, state.m_High);
    state.m_Low = low;
    state.m_High = high;
    MoveTo(bar, state, state.m_Position);
    return previous;
}

LRESULT GetRange(const c_ProgressState& state, WPARAM wantLow, LPARAM range) {
    if (range != 0) {
        *reinterpret_cast<PBRANGE*>(range) = {state.m_Low, state.m_High};
    }
    return wantLow != 0 ? state.m_Low : state.m_High;
}

} // namespace

namespace n_Platform {

LRESULT CALLBACK ProgressBarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    c_ProgressState* state = GetControlState<c_ProgressState>(window, message);
    if (state == nullptr) {
        return DefControlProc(window, message, wParam, lParam);
    }
    switch (message) {
        case PBM_SETRANGE:
            return SetRange(window, *state, LOWORD(lParam), HIWORD(lParam));
        case PBM_SETRANGE32:
            return SetRange(window, *state, static_cast<int>(wParam), static_cast<int>(lParam));
        case PBM_GETRANGE:
            return GetRange(*state, wParam, lParam);
        case PBM_SETPOS:
            return MoveTo(window, *state, static_cast<int>(wParam));
        case PBM_DELTAPOS:
            return MoveTo(window, *state, static_cast<long long>(state->m_Position) + static_cast<int>(wParam));
        case PBM_GETPOS:
            return state->m_Position;
        default:
            return DefControlProc(window, message, wParam, lParam);
    }
}

} // namespace n_Platform
