// The key state and SendInput.
//
// Keys go to the window that has the keyboard. A character sent with KEYEVENTF_UNICODE arrives as
// VK_PACKET without its character: TranslateMessage has no WM_CHAR to make of it. Until windows have a focus of their
// own, that is the active window of the process (the last one activated); a key pressed while there is none only
// changes the key state.

#include "platform/kernel/LastError.h"
#include "platform/user/ActiveWindow.h"
#include "platform/user/CursorState.h"

#include <mutex>

namespace {

constexpr unsigned char KEY_DOWN = 0x80;
constexpr unsigned char KEY_TOGGLED = 0x01;

struct s_KeyState {
    std::mutex m_Lock;
    unsigned char m_Keys[256] = {};
};

s_KeyState& GetKeyTable() {
    static s_KeyState* state = new s_KeyState;
    return *state;
}

// The generic key of a left or right one, which is down while either side is.
int GetGenericKey(int key) {
    switch (key) {
        case VK_LSHIFT:
        case VK_RSHIFT:
            return VK_SHIFT;
        case VK_LCONTROL:
        case VK_RCONTROL:
            return VK_CONTROL;
        case VK_LMENU:
        case VK_RMENU:
            return VK_MENU;
        default:
            return key;
    }
}

// Records the key's change; wasDown tells the state before, altDown whether ALT is down now.
void ChangeKey(int key, bool down, bool& wasDown, bool& altDown) {
    s_KeyState& state = GetKeyTable();
    std::lock_guard<std::mutex> lock(state.m_Lock);
    unsigned char& entry = state.m_Keys[key & 0xFF];
    wasDown = (entry & KEY_DOWN) != 0;
    if (down && !wasDown) {
        entry ^= KEY_TOGGLED;
    }
    entry = static_cast<unsigned char>(down ? entry | KEY_DOWN : entry & ~KEY_DOWN);
    const int generic = GetGenericKey(key);
    if (generic != key) {
        unsigned char& shared = state.m_Keys[generic];
        shared = static_cast<unsigned char>(down ? shared | KEY_DOWN : shared & ~KEY_DOWN);
    }
    altDown = (state.m_Keys[VK_MENU] & KEY_DOWN) != 0;
}

void SendKey(const KEYBDINPUT& input) {
    const bool down = (input.dwFlags & KEYEVENTF_KEYUP) == 0;
    const int key = (input.dwFlags & KEYEVENTF_UNICODE) != 0 ? VK_PACKET : input.wVk;
    bool wasDown = false;
    bool altDown = false;
    ChangeKey(key, down, wasDown, altDown);
    const HWND target = n_Platform::GetProcessActiveWindow();
    if (target == nullptr) {
        return;
    }
    // ALT's own release still counts as a system key, as does F10.
    const bool system = altDown || key == VK_MENU || key == VK_LMENU || key == VK_RMENU || key == VK_F10;
    UINT message = down ? WM_KEYDOWN : WM_KEYUP;
    if (system) {
        message = down ? WM_SYSKEYDOWN : WM_SYSKEYUP;
    }
    // Repeat count 1, the scan code, the extended-key, context, previous-state and transition bits.
    LPARAM flags = 1 | static_cast<LPARAM>(input.wScan & 0xFF) << 16;
    flags |= (input.dwFlags & KEYEVENTF_EXTENDEDKEY) != 0 ? 1 << 24 : 0;
    flags |= altDown && down ? 1 << 29 : 0;
    flags |= wasDown ? 1 << 30 : 0;
    flags |= down ? 0 : static_cast<LPARAM>(1) << 31;
    PostMessageW(target, message, static_cast<WPARAM>(key), flags);
}

void SendMouseButtons(DWORD flags) {
    struct s_Button {
        DWORD m_Down;
        DWORD m_Up;
        int m_Key;
    } const buttons[] = {
        {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, VK_LBUTTON},
        {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, VK_RBUTTON},
        {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, VK_MBUTTON},
    };
    for (const s_Button& button : buttons) {
        bool wasDown = false;
        bool altDown = false;
        if ((flags & button.m_Down) != 0) {
            ChangeKey(button.m_Key, true, wasDown, altDown);
        }
        if ((flags & button.m_Up) != 0) {
            ChangeKey(button.m_Key, false, wasDown, altDown);
        }
    }
}

SHORT ReadKey(int key, unsigned char mask) {
    s_KeyState& state = GetKeyTable();
    std::lock_guard<std::mutex> lock(state.m_Lock);
    const unsigned char entry = state.m_Keys[key & 0xFF] & mask;
    return static_cast<SHORT>(((entry & KEY_DOWN) != 0 ? 0x8000 : 0) | (entry & KEY_TOGGLED));
}

} // namespace

SHORT WINAPI GetKeyState(int key) {
    return ReadKey(key, KEY_DOWN | KEY_TOGGLED);
}

SHORT WINAPI GetAsyncKeyState(int key) {
    return ReadKey(key, KEY_DOWN);
}

UINT WINAPI SendInput(UINT count, INPUT* inputs, int size) {
    if (size != static_cast<int>(sizeof(INPUT)) || (inputs == nullptr && count != 0)) {
        return n_Platform::FailWith<UINT>(0, ERROR_INVALID_PARAMETER);
    }
    for (UINT index = 0; index < count; ++index) {
        const INPUT& input = inputs[index];
        if (input.type == INPUT_KEYBOARD) {
            SendKey(input.ki);
        } else if (input.type == INPUT_MOUSE) {
            n_Platform::MoveCursorBy(input.mi);
            SendMouseButtons(input.mi.dwFlags);
        } else {
            return n_Platform::FailWith<UINT>(index, ERROR_NOT_SUPPORTED);
        }
    }
    return count;
}
