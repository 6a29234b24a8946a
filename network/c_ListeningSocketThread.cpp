// c_ListeningSocketThread: the listening socket's waiting thread.

#include "network/c_ListeningSocketThread.h"

#include "oslayer/threads/c_CriticalSectionLock.h"

c_ListeningSocketThread::c_ListeningSocketThread(c_AsyncWindow* window)
    : c_ThreadWrapper("c_ListeningSocketThread"), m_p_Window(window) {
    m_Event.Create(false, c_StringView());
}

c_ListeningSocketThread::~c_ListeningSocketThread() {
    WaitForThreadToFinish();
}

void c_ListeningSocketThread::ClearMessagePending() {
    c_CriticalSectionLock lock(m_Lock);
    m_MessagePending = false;
}

bool c_ListeningSocketThread::GetWaitHandles(HANDLE* handles, std::int32_t maximum, std::int32_t& count) {
    if (maximum < 1) {
        return false;
    }
    handles[0] = m_Event.Get();
    count = 1;
    return true;
}

void c_ListeningSocketThread::OnHandleSignaled(std::int32_t) {
    c_CriticalSectionLock lock(m_Lock);
    if (!m_MessagePending) {
        m_MessagePending = m_p_Window->PostMessage(WM_USER, 0, 0);
    }
}
