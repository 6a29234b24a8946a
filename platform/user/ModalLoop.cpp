// The modal message loop.

#include "platform/user/ModalLoop.h"

#include <windows.h>

namespace n_Platform {

bool RunModalLoop(const std::function<bool()>& isEnded, HWND dialog) {
    MSG message;
    while (!isEnded()) {
        const BOOL result = GetMessageW(&message, nullptr, 0, 0);
        if (result == -1) {
            return false;
        }
        if (result == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        if (dialog != nullptr && IsDialogMessageW(dialog, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

} // namespace n_Platform
