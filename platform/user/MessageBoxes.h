#pragma once
// A message box as the layer keeps it while it is open, and what its type means.

#include <windows.h>

#include <string>
#include <vector>

namespace n_Platform {

struct s_MessageBox {
    HWND m_Owner = nullptr;
    std::u16string m_Caption;
    std::u16string m_Text;
    UINT m_Type = MB_OK;
    DWORD m_ThreadId = 0;
    // 0 while open; the button chosen once answered.
    int m_Answer = 0;
};

// The buttons of a box type, left to right; empty for a type without buttons.
std::vector<int> GetMessageBoxButtons(UINT type);
// The button that Enter presses: the one MB_DEFBUTTONn names, else the first.
int GetDefaultAnswer(UINT type);
// The button that Escape presses: Cancel, or OK alone; 0 when Escape does nothing.
int GetEscapeAnswer(UINT type);
// On the box's thread: ends the box with that button. False, and the box stays open, for an answer
// that is not one of its buttons or a box already answered.
bool AnswerMessageBox(s_MessageBox& box, int answer);

} // namespace n_Platform
