// c_NetworkSocketCore: the singleton, its threads, the socket thread's completion loop, the stop and
// the server certificate's upkeep.

#include "network/c_NetworkSocketCore.h"

#include "network/c_BufferedSocketThreadWindow.h"
#include "oslayer/files/FileInformation.h"
#include "oslayer/files/PathCalls.h"
#include "oslayer/system/ErrorText.h"
#include "oslayer/system/LogMessage.h"
#include "textutil/c_DateTime.h"

#include <openssl/crypto.h>

#include <new>

std::atomic<c_NetworkSocketCore*> c_NetworkSocketCore::s_p_Core{nullptr};

c_CriticalSection& GetSocketTableLock() {
    static c_CriticalSection lock;
    return lock;
}

c_NetworkSocketCore::c_NetworkSocketCore(c_Socks5ConnectionSettings* settings)
    : m_p_Socks5ConnectionSettings(settings), m_SocketThread(this), m_NameResolutionThread(this),
      m_SocketSelectThread(this), m_NetworkSocketTimerThread(this), m_DelayedSendTimerThread(this),
      m_MemoryReserveThread(this), m_DataCompressionThread(this) {
    m_NetworkEvent.Create(false, c_StringView());
    m_NameResolutionEvent.Create(false, c_StringView());
}

// Windows of owner threads that never let go go with the core, so no event arrives after it.
c_NetworkSocketCore::~c_NetworkSocketCore() {
    for (auto& entry : m_ThreadWindows) {
        delete entry.second;
    }
}

bool c_NetworkSocketCore::CreateNetworkSocketCore(c_Socks5ConnectionSettings* settings) {
    auto* core = new (std::nothrow) c_NetworkSocketCore(settings);
    if (core == nullptr) {
        LogMessage("c_NetworkSocketCore memory error.");
        return false;
    }
    s_p_Core.store(core, std::memory_order_release);
    return core->Start();
}

void c_NetworkSocketCore::ReleaseWindowOfEndingThread() {
    if (c_NetworkSocketCore* core = GetCore()) {
        core->ReleaseCurrentThreadWindow();
    }
}

void c_NetworkSocketCore::DestroyNetworkSocketCore() {
    c_NetworkSocketCore* core = GetCore();
    if (core == nullptr) {
        return;
    }
    core->StopThreads();
    delete core;
    s_p_Core.store(nullptr, std::memory_order_release);
}

bool c_NetworkSocketCore::Start() {
    m_CompletionPort = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 0);
    if (m_CompletionPort == nullptr) {
        LogMessage(c_String("Error creating I/O completion port.  ") + n_OSLayer::GetWindowsErrorText(GetLastError()));
        return false;
    }
    if (!m_SocketThread.StartThread()) {
        LogMessage("Error creating network socket core thread.");
        return false;
    }
    if (!m_NameResolutionThread.StartThread()) {
        LogMessage("Error creating name resolution thread.");
    }
    if (!m_SocketSelectThread.StartThread()) {
        LogMessage("Error creating socket select thread.");
    }
    if (!m_NetworkSocketTimerThread.StartThread()) {
        LogMessage("Error creating timer thread.");
    }
    if (!m_DelayedSendTimerThread.StartThread()) {
        LogMessage("Error creating delayed send timer thread.");
    }
    if (!AcquireCurrentThreadWindow()) {
        return false;
    }
    c_String error;
    if (!m_MemoryReserveThread.StartThread(&error)) {
        if (!error.IsEmpty()) {
            LogMessage(error);
        }
        LogMessage("Error creating network socket core memory reserve thread");
    }
    return true;
}

void c_NetworkSocketCore::StopThreads() {
    m_DataCompressionThread.Close();
    m_MemoryReserveThread.WaitForThreadToFinish();
    ReleaseCurrentThreadWindow();
    m_DelayedSendTimerThread.WaitForThreadToFinish();
    m_NetworkSocketTimerThread.WaitForThreadToFinish();
    m_SocketSelectThread.WaitForThreadToFinish();
    m_NameResolutionThread.WaitForThreadToFinish();
    if (m_CompletionPort != nullptr) {
        PostQueuedCompletionStatus(m_CompletionPort, 0, COMPLETION_KEY_STOP, nullptr);
    }
    m_SocketThread.WaitForThreadToFinish();
    if (m_CompletionPort != nullptr) {
        CloseHandle(m_CompletionPort);
        m_CompletionPort = nullptr;
    }
}

bool c_NetworkSocketCore::PostCompletion(std::int32_t bytes, ULONG_PTR key, std::uint32_t overlappedValue) {
    if (m_CompletionPort == nullptr) {
        return false;
    }
    // The socket id travels as a plain integer in the OVERLAPPED field.
    auto* value = reinterpret_cast<LPOVERLAPPED>(static_cast<ULONG_PTR>(overlappedValue));
    if (!PostQueuedCompletionStatus(m_CompletionPort, static_cast<DWORD>(bytes), key, value)) {
        LogMessage(c_String("PostQueuedCompletionStatus error: ") + n_OSLayer::GetWindowsErrorText(GetLastError()));
        return false;
    }
    return true;
}

void c_NetworkSocketCore::PostCompletionPacket(std::int32_t bytes, OVERLAPPED* overlapped, ULONG_PTR key) {
    if (m_CompletionPort != nullptr) {
        PostQueuedCompletionStatus(m_CompletionPort, static_cast<DWORD>(bytes), key, overlapped);
    }
}

c_TLSContext* c_NetworkSocketCore::GetTLSContext(std::int32_t role, std::int32_t securityMethod) const {
    if (role == c_TLSContext::ROLE_SERVER) {
        return m_p_SSLContextServerTLS12;
    }
    switch (securityMethod) {
        case 1:
            return m_p_SSLContextClientTLS10;
        case 2:
            return m_p_SSLContextClientTLS11;
        case 3:
            return m_p_SSLContextClientTLS12;
        case 4:
            return m_p_SSLContextClientTLS12ClientAuth;
        default:
            return nullptr;
    }
}

void c_NetworkSocketCore::DrainCompletionPort() {
    DWORD wait = 5000;
    for (;;) {
        DWORD bytes = 0;
        ULONG_PTR key = 0;
        LPOVERLAPPED overlapped = nullptr;
        if (!GetQueuedCompletionStatus(m_CompletionPort, &bytes, &key, &overlapped, wait) && overlapped == nullptr) {
            return;
        }
        wait = 500;
    }
}

// ---- the threads ----

c_NetworkSocketCore::c_SocketThread::c_SocketThread(c_NetworkSocketCore* core)
    : c_ThreadWrapper("c_NetworkSocketCore::c_SocketThread"), m_p_Core(core) {}

void c_NetworkSocketCore::c_SocketThread::ThreadFunction() {
    m_p_Core->RunSocketThread();
}

c_NetworkSocketCore::c_SignalledThread::c_SignalledThread(const c_StringView& name, c_NetworkSocketCore* core)
    : c_ThreadWrapper(name), m_p_Core(core) {}

bool c_NetworkSocketCore::c_SignalledThread::GetWaitHandles(HANDLE* handles, std::int32_t maximum,
                                                            std::int32_t& count) {
    if (maximum < 1) {
        return false;
    }
    handles[0] = GetHandle();
    count = 1;
    return true;
}

c_NetworkSocketCore::c_NameResolutionThread::c_NameResolutionThread(c_NetworkSocketCore* core)
    : c_SignalledThread("c_NetworkSocketCore::c_NameResolutionThread", core) {}

void c_NetworkSocketCore::c_NameResolutionThread::OnHandleSignaled(std::int32_t) {
    while (!IsStopRequested() && m_p_Core->ResolveNextName()) {
    }
}

c_NetworkSocketCore::c_SocketSelectThread::c_SocketSelectThread(c_NetworkSocketCore* core)
    : c_SignalledThread("c_NetworkSocketCore::c_SocketSelectThread", core) {}

void c_NetworkSocketCore::c_SocketSelectThread::OnHandleSignaled(std::int32_t) {
    m_p_Core->PostCompletion(0, COMPLETION_KEY_SELECT_EVENT, 0);
}

c_NetworkSocketCore::c_NetworkSocketTimerThread::c_NetworkSocketTimerThread(c_NetworkSocketCore* core)
    : c_ThreadWrapper("c_NetworkSocketCore::c_NetworkSocketTimerThread"), m_p_Core(core) {}

void c_NetworkSocketCore::c_NetworkSocketTimerThread::ThreadFunction() {
    while (!WaitForEndEvent(TIMER_INTERVAL_MS)) {
        m_p_Core->CheckCertificateTime();
        m_p_Core->PostCompletion(0, COMPLETION_KEY_TIMER, 0);
    }
}

c_NetworkSocketCore::c_NetworkSocketDelayedSendTimerThread::c_NetworkSocketDelayedSendTimerThread(
    c_NetworkSocketCore* core)
    : c_ThreadWrapper("c_NetworkSocketCore::c_NetworkSocketDelayedSendTimerThread"), m_p_Core(core) {}

void c_NetworkSocketCore::c_NetworkSocketDelayedSendTimerThread::ThreadFunction() {
    c_String error;
    if (!SetThreadPriority(1, &error)) {
        LogMessage(c_String("SetThreadPriority error: ") + error);
    }
    while (!WaitForEndEvent(static_cast<std::uint32_t>(DELAYED_SEND_INTERVAL_MS))) {
        m_p_Core->PostCompletion(0, COMPLETION_KEY_DELAYED_SEND_TIMER, 0);
    }
}

// ---- the socket thread ----

void c_NetworkSocketCore::RunSocketThread() {
    SetUpTLSContexts();
    const c_String folder = n_OSLayer::GetProgramFolder();
    m_ServerCertificatePathAndFileName = folder + "ServerCertificate\\TLSCertificate.crt";
    m_ServerPrivateKeyPathAndFileName = folder + "ServerCertificate\\TLSCertificate.key";
    SetUpServerCertificate(false);
    m_NextCertificateCheck.store(GetCurrentDateTimeUTCWholeSeconds().GetValue() + CERTIFICATE_CHECK_INTERVAL_US);
    m_LastDelayedSendTick = GetTickCount64();
    bool running = true;
    while (running) {
        DWORD bytes = 0;
        ULONG_PTR key = 1100000;
        LPOVERLAPPED overlapped = nullptr;
        const BOOL succeeded = GetQueuedCompletionStatus(m_CompletionPort, &bytes, &key, &overlapped, INFINITE);
        if (!succeeded && overlapped == nullptr) {
            break;
        }
        if (key == COMPLETION_KEY_STOP) {
            running = false;
        } else {
            DispatchCompletion(key, bytes, overlapped, succeeded ? 0 : GetLastError());
        }
        SendDueDelayedSends();
    }
    CloseAllNetworkSockets();
    FreeTLSContexts();
    OPENSSL_thread_stop();
}

void c_NetworkSocketCore::DispatchCompletion(ULONG_PTR key, std::uint32_t bytes, OVERLAPPED* overlapped,
                                             std::uint32_t error) {
    const auto index = static_cast<std::int32_t>(bytes);
    const auto id = static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(overlapped));
    const bool stopping = m_Stopping.load();
    switch (key) {
        case COMPLETION_KEY_START_ADOPTED_SOCKET:
            StartAdoptedSocket(index, id);
            break;
        case COMPLETION_KEY_CONNECT:
            OnConnectRequest(index, id);
            break;
        case COMPLETION_KEY_CLOSE_SOCKET:
            OnCloseRequest(index, id);
            break;
        case COMPLETION_KEY_SOCKET_IO:
            if (!stopping && overlapped != nullptr) {
                OnSocketIO(bytes, overlapped, error);
            }
            break;
        case COMPLETION_KEY_SEND:
            if (!stopping) {
                OnSendRequest(index, id);
            }
            break;
        case COMPLETION_KEY_TIMER:
            ProcessDelayedDeletions();
            break;
        case COMPLETION_KEY_SELECT_EVENT:
            if (!stopping) {
                OnNetworkEvents();
            }
            break;
        case COMPLETION_KEY_NAME_RESOLVED:
            if (!stopping) {
                OnNameResolved();
            }
            break;
        case COMPLETION_KEY_RECEIVE:
            if (!stopping) {
                OnReceiveRequest(index, id);
            }
            break;
        case COMPLETION_KEY_REMOVE_SOCKET:
            OnRemoveSocket(index, id);
            break;
        case COMPLETION_KEY_CHECK_CERTIFICATE:
            if (AreCertificateFilesNewer()) {
                SetUpServerCertificate(true);
            }
            break;
        default:
            break;
    }
}

void c_NetworkSocketCore::OnSocketIO(std::uint32_t bytes, OVERLAPPED* overlapped, std::uint32_t error) {
    auto* record = reinterpret_cast<s_SocketIORecord*>(overlapped);
    c_CriticalSectionLock lock;
    try {
        c_NetworkSocket* socket = GetNetworkSocket(record->m_SocketIndex, record->m_SocketID, false, lock);
        if (socket == nullptr) {
            return;
        }
        if (socket->m_DeleteWhenIdle) {
            socket->OnAbandonedCompletion(record);
        } else if (record->m_Write) {
            socket->OnWriteCompleted(record, bytes, error, lock);
        } else {
            socket->OnReceiveCompleted(record, bytes, error, lock);
        }
        if (socket->m_DeleteWhenIdle && !socket->IsIOOutstanding()) {
            DeleteIdleSocket(socket, lock);
        }
    } catch (...) {
        LogMessage("Exception processing COMPLETION_KEY_SOCKET_IO");
    }
}

void c_NetworkSocketCore::OnSendRequest(std::int32_t index, std::uint32_t id) {
    c_CriticalSectionLock lock;
    c_NetworkSocket* socket = GetNetworkSocket(index, id, false, lock);
    if (socket != nullptr && !socket->SendData(false, lock)) {
        socket->FailWithSocketError();
    }
}

void c_NetworkSocketCore::CloseAllNetworkSockets() {
    std::int32_t size = 0;
    {
        c_CriticalSectionLock table(GetSocketTableLock());
        size = static_cast<std::int32_t>(m_NetworkSockets.size());
        m_DelayedSends.clear();
    }
    bool found = false;
    for (std::int32_t index = 1; index <= size; ++index) {
        c_CriticalSectionLock lock;
        if (c_NetworkSocket* socket = FindAndLock(index, nullptr, false, lock)) {
            socket->Abort();
            found = true;
        }
    }
    if (found) {
        DrainCompletionPort();
    }
    for (std::int32_t index = 1; index <= size; ++index) {
        c_CriticalSectionLock lock;
        if (c_NetworkSocket* socket = FindAndLock(index, nullptr, false, lock)) {
            socket->CloseImmediately();
            // Every completion has been drained: nothing refers to the socket's records any more.
            socket->m_ReceivesPosted = 0;
            socket->m_SendBuffersInUse = 0;
            DeleteIdleSocket(socket, lock);
        }
    }
    c_CriticalSectionLock table(GetSocketTableLock());
    m_NetworkSockets.clear();
}

// ---- the TLS contexts and the server certificate ----

void c_NetworkSocketCore::SetUpTLSContexts() {
    m_p_SSLContextServerTLS12 = new (std::nothrow) c_TLSContext(3, c_TLSContext::ROLE_SERVER);
    m_p_SSLContextClientTLS10 = new (std::nothrow) c_TLSContext(1, 0);
    m_p_SSLContextClientTLS11 = new (std::nothrow) c_TLSContext(2, 0);
    m_p_SSLContextClientTLS12 = new (std::nothrow) c_TLSContext(3, 0);
    m_p_SSLContextClientTLS12ClientAuth = new (std::nothrow) c_TLSContext(3, 0);
}

void c_NetworkSocketCore::FreeTLSContexts() {
    for (c_TLSContext** context : {&m_p_SSLContextServerTLS12, &m_p_SSLContextClientTLS10, &m_p_SSLContextClientTLS11,
                                   &m_p_SSLContextClientTLS12, &m_p_SSLContextClientTLS12ClientAuth}) {
        delete *context;
        *context = nullptr;
    }
}

namespace {

std::int64_t ReadFileTime(const c_String& path) {
    return GetFileModifiedLocalDateTime(path).GetValue();
}

} // namespace

bool c_NetworkSocketCore::SetUpServerCertificate(bool reload) {
    c_String text;
    bool loaded = false;
    if (m_p_SSLContextServerTLS12 == nullptr) {
        text = "m_p_SSLContextServerTLS12=null";
    } else if (!reload) {
        loaded = m_p_SSLContextServerTLS12->LoadServerCertificates(m_ServerCertificatePathAndFileName,
                                                                   m_ServerPrivateKeyPathAndFileName, &text);
    } else {
        // A reload: try the files on a scratch context first, so a bad pair never replaces the one in use.
        c_TLSContext trial(3, c_TLSContext::ROLE_SERVER);
        loaded = trial.UseCertificateAndKeyFiles(m_ServerCertificatePathAndFileName, m_ServerPrivateKeyPathAndFileName,
                                                 &text) &&
                 m_p_SSLContextServerTLS12->UseCertificateAndKeyFiles(m_ServerCertificatePathAndFileName,
                                                                      m_ServerPrivateKeyPathAndFileName, &text);
    }
    if (!loaded) {
        LogMessage(c_String("Error loading/creating certificate and private key for TLS: ") + text);
        return false;
    }
    m_ServerCertificateFileTime = ReadFileTime(m_ServerCertificatePathAndFileName);
    m_ServerPrivateKeyFileTime = ReadFileTime(m_ServerPrivateKeyPathAndFileName);
    LogMessage(text);
    return true;
}

bool c_NetworkSocketCore::AreCertificateFilesNewer() {
    const std::int64_t certificate = ReadFileTime(m_ServerCertificatePathAndFileName);
    const std::int64_t key = ReadFileTime(m_ServerPrivateKeyPathAndFileName);
    return (certificate != 0 && certificate > m_ServerCertificateFileTime) ||
           (key != 0 && key > m_ServerPrivateKeyFileTime);
}

void c_NetworkSocketCore::CheckCertificateTime() {
    const std::int64_t now = GetCurrentDateTimeUTCWholeSeconds().GetValue();
    const std::int64_t next = m_NextCertificateCheck.load();
    if (next == 0 || next > now) {
        return;
    }
    m_NextCertificateCheck.store(now + CERTIFICATE_CHECK_INTERVAL_US);
    PostCompletion(0, COMPLETION_KEY_CHECK_CERTIFICATE, 0);
}
