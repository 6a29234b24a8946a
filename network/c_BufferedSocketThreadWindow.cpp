// c_BufferedSocketThreadWindow: the per-thread window of the socket events.

#include "network/c_BufferedSocketThreadWindow.h"

#include "network/c_NetworkSocketCore.h"
#include "oslayer/system/LogMessage.h"

c_BufferedSocketThreadWindow::c_BufferedSocketThreadWindow() : c_AsyncWindow("BufferedSocket") {}

bool c_BufferedSocketThreadWindow::Create() {
    if (!CreateAsyncWindow()) {
        LogMessage("Error creating async window for buffered socket thread.");
        return false;
    }
    return true;
}

LRESULT c_BufferedSocketThreadWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    c_NetworkSocketCore* core = c_NetworkSocketCore::GetCore();
    if (core == nullptr ||
        !core->DispatchSocketEvent(static_cast<std::int32_t>(wParam), message, static_cast<std::uint32_t>(lParam))) {
        return c_AsyncWindow::WindowProc(message, wParam, lParam);
    }
    return 0;
}
