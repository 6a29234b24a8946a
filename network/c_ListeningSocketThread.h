#pragma once
// c_ListeningSocketThread: waits on a listening socket's network event and posts WM_USER to the
// socket's window, at most one message at a time, so that the accepting runs on the window's thread.

#include "oslayer/threads/c_CriticalSection.h"
#include "oslayer/threads/c_Event.h"
#include "oslayer/threads/c_ThreadWrapper.h"
#include "oslayer/windows/c_AsyncWindow.h"

#include <cstdint>

class c_ListeningSocketThread : public c_ThreadWrapper {
public:
    explicit c_ListeningSocketThread(c_AsyncWindow* window);
    ~c_ListeningSocketThread() override;

    HANDLE GetEventHandle() const { return m_Event.Get(); }
    // The window's thread took the message: the next signal may post another.
    void ClearMessagePending();

protected:
    bool GetWaitHandles(HANDLE* handles, std::int32_t maximum, std::int32_t& count) override;
    void OnHandleSignaled(std::int32_t index) override;
    void OnThreadStart() override {}
    void OnThreadEnd() override {}

private:
    c_AsyncWindow* m_p_Window;
    c_Event m_Event;
    bool m_MessagePending = false;
    c_CriticalSection m_Lock;
};
