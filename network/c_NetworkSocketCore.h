#pragma once
// c_NetworkSocketCore: the process-wide engine under every connection: one completion port, the
// socket table, and the named threads that feed the socket thread.
//
// At most one core exists; the static entries do nothing (false, null) while none does. Owner
// threads ask for work by posting completion keys; only the socket thread runs I/O completions,
// opens, connects and closes the system sockets and deletes network sockets. Results go back as
// socket events posted to the owner thread's "BufferedSocket" window. Lock order: a socket's shared
// lock, then the socket-table lock, then the core lock; the thread-window lock may be taken under a
// shared lock. See network/README.md.

#include "network/c_DataCompressionThread.h"
#include "network/c_NetworkSocket.h"
#include "network/c_NetworkSocketOwner.h"
#include "network/c_SharedSocketLock.h"
#include "network/c_Socks5ConnectionSettings.h"
#include "network/c_TLSContext.h"
#include "network/c_WinSockInitializer.h"
#include "oslayer/threads/c_CriticalSection.h"
#include "oslayer/threads/c_CriticalSectionLock.h"
#include "oslayer/threads/c_Event.h"
#include "oslayer/threads/c_ThreadWrapper.h"
#include "strings/c_String.h"

#include <windows.h>
#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

class c_BufferedSocketThreadWindow;

constexpr ULONG_PTR COMPLETION_KEY_STOP = 1100001;
constexpr ULONG_PTR COMPLETION_KEY_START_ADOPTED_SOCKET = 1100002;
constexpr ULONG_PTR COMPLETION_KEY_CONNECT = 1100003;
constexpr ULONG_PTR COMPLETION_KEY_CLOSE_SOCKET = 1100004;
constexpr ULONG_PTR COMPLETION_KEY_SEND = 1100006;
constexpr ULONG_PTR COMPLETION_KEY_TIMER = 1100007;
constexpr ULONG_PTR COMPLETION_KEY_DELAYED_SEND_TIMER = 1100008;
constexpr ULONG_PTR COMPLETION_KEY_SELECT_EVENT = 1100009;
constexpr ULONG_PTR COMPLETION_KEY_NAME_RESOLVED = 1100010;
constexpr ULONG_PTR COMPLETION_KEY_RECEIVE = 1100011;
constexpr ULONG_PTR COMPLETION_KEY_REMOVE_SOCKET = 1100012;
constexpr ULONG_PTR COMPLETION_KEY_CHECK_CERTIFICATE = 1100013;

struct s_NameResolutionRequest {
    std::int32_t m_SocketIndex = 0;
    std::uint32_t m_SocketID = 0;
    c_String m_Host;
    std::uint16_t m_Port = 0;
    bool m_LogErrors = true;
    sockaddr_in m_Address{};
    c_String m_ErrorText;
    bool m_HostNotFound = false;
    bool m_UDP = false;
};

struct s_CachedAddress {
    std::uint32_t m_Address = 0;
    std::int64_t m_Time = 0;
};

struct s_DelayedSend {
    c_NetworkSocket* m_p_Socket = nullptr;
    std::uint64_t m_DueTick = 0;
};

class c_NetworkSocketCore : public c_WinSockInitializer {
public:
    static constexpr std::uint64_t DELAYED_SEND_INTERVAL_MS = 20;
    static constexpr std::uint32_t TIMER_INTERVAL_MS = 30000;
    static constexpr std::int64_t CERTIFICATE_CHECK_INTERVAL_US = 28800000000;

    explicit c_NetworkSocketCore(c_Socks5ConnectionSettings* settings);
    ~c_NetworkSocketCore() override;

    static bool CreateNetworkSocketCore(c_Socks5ConnectionSettings* settings);
    static void DestroyNetworkSocketCore();
    static c_NetworkSocketCore* GetCore() { return s_p_Core.load(std::memory_order_acquire); }
    // The thread-end hook that the application installs: the ending thread's window reference goes.
    static void ReleaseWindowOfEndingThread();

    bool Start();
    void StopThreads();
    bool PostCompletion(std::int32_t bytes, ULONG_PTR key, std::uint32_t overlappedValue);
    void PostCompletionPacket(std::int32_t bytes, OVERLAPPED* overlapped, ULONG_PTR key);
    void SetStopping() { m_Stopping = true; }
    c_TLSContext* GetTLSContext(std::int32_t role, std::int32_t securityMethod) const;
    HANDLE GetNetworkEventHandle() const { return m_NetworkEvent.Get(); }
    HANDLE GetCompletionPort() const { return m_CompletionPort; }
    c_Socks5ConnectionSettings* GetSocks5ConnectionSettings() const { return m_p_Socks5ConnectionSettings; }
    void DrainCompletionPort();

    // The socket table and the owner's requests.
    bool CreateNetworkSocket(c_NetworkSocketOwner* owner, std::uint32_t address, std::int32_t* index, std::uint32_t* id,
                             c_CriticalSectionLock& lock);
    // Takes the accepted handle out of the caller's wrapper; the socket thread starts it.
    bool AdoptConnectedSocket(c_NetworkSocketOwner* owner, c_SocketWrapper& accepted, std::uint32_t* peerAddress,
                              std::int32_t* index, std::uint32_t* id, c_CriticalSectionLock& lock);
    c_NetworkSocket* GetNetworkSocket(std::int32_t index, std::uint32_t id, bool ownerRequired,
                                      c_CriticalSectionLock& lock);
    bool RequestSend(c_NetworkSocket* socket);
    void RequestReceive(c_NetworkSocket* socket);
    void ReleaseNetworkSocket(c_NetworkSocket* socket);
    bool PostThreadSocketEvent(std::int32_t index, std::uint32_t threadId, std::uint32_t event, std::uint32_t id);
    bool DispatchSocketEvent(std::int32_t index, std::uint32_t event, std::uint32_t id);
    c_SharedSocketLock* AllocateSharedSocketLock();
    c_SharedSocketLock* AddRefSharedSocketLock(c_SharedSocketLock* block);
    void ReleaseSharedSocketLock(c_SharedSocketLock** block);
    bool AcquireThreadWindow(std::uint32_t threadId);
    void ReleaseThreadWindow(std::uint32_t threadId);
    bool AcquireCurrentThreadWindow();
    void ReleaseCurrentThreadWindow();
    std::int32_t GetSocketTableSize();
    // Test seam: the id counter's next value, so that its wrap can be reached.
    void SetNextSocketID(std::uint32_t id);
    void CloseAndRemoveNetworkSocket(c_NetworkSocket* socket, c_CriticalSectionLock& lock);
    void RemoveNetworkSocket(std::int32_t index);

    // Delayed sends.
    void ScheduleDelayedSend(c_NetworkSocket* socket);
    // The memory-reserve thread gives the socket's first send buffers their storage.
    bool RequestSendBufferReserve(c_NetworkSocket* socket);
    // Hands a send buffer to the compression thread, which starts with the first socket that compresses.
    bool QueueCompression(c_NetworkSocket* socket, std::int32_t bufferIndex);

    // The socket thread's handlers, public for the socket thread's loop.
    // error: 0, or the failure of a socket I/O.
    void DispatchCompletion(ULONG_PTR key, std::uint32_t bytes, OVERLAPPED* overlapped, std::uint32_t error);

    // Name resolution.
    bool ResolveNextName();
    static bool ParseIPv4Text(const c_StringView& text, std::uint32_t* address);
    static c_String GetLocalHostName();

private:
    class c_SocketThread : public c_ThreadWrapper {
    public:
        explicit c_SocketThread(c_NetworkSocketCore* core);
        ~c_SocketThread() override { WaitForThreadToFinish(); }

    protected:
        void ThreadFunction() override;

    private:
        c_NetworkSocketCore* m_p_Core;
    };
    // A thread that waits on one handle and calls back on each signal.
    class c_SignalledThread : public c_ThreadWrapper {
    public:
        c_SignalledThread(const c_StringView& name, c_NetworkSocketCore* core);

    protected:
        bool GetWaitHandles(HANDLE* handles, std::int32_t maximum, std::int32_t& count) override;
        virtual HANDLE GetHandle() const = 0;
        c_NetworkSocketCore* m_p_Core;
    };
    class c_NameResolutionThread : public c_SignalledThread {
    public:
        explicit c_NameResolutionThread(c_NetworkSocketCore* core);
        ~c_NameResolutionThread() override { WaitForThreadToFinish(); }

    protected:
        HANDLE GetHandle() const override { return m_p_Core->m_NameResolutionEvent.Get(); }
        void OnHandleSignaled(std::int32_t index) override;
    };
    class c_SocketSelectThread : public c_SignalledThread {
    public:
        explicit c_SocketSelectThread(c_NetworkSocketCore* core);
        ~c_SocketSelectThread() override { WaitForThreadToFinish(); }

    protected:
        HANDLE GetHandle() const override { return m_p_Core->m_NetworkEvent.Get(); }
        void OnHandleSignaled(std::int32_t index) override;
    };
    class c_NetworkSocketTimerThread : public c_ThreadWrapper {
    public:
        explicit c_NetworkSocketTimerThread(c_NetworkSocketCore* core);
        ~c_NetworkSocketTimerThread() override { WaitForThreadToFinish(); }

    protected:
        void ThreadFunction() override;

    private:
        c_NetworkSocketCore* m_p_Core;
    };
    class c_NetworkSocketDelayedSendTimerThread : public c_ThreadWrapper {
    public:
        explicit c_NetworkSocketDelayedSendTimerThread(c_NetworkSocketCore* core);
        ~c_NetworkSocketDelayedSendTimerThread() override { WaitForThreadToFinish(); }

    protected:
        void ThreadFunction() override;

    private:
        c_NetworkSocketCore* m_p_Core;
    };
    struct s_SocketReference {
        std::int32_t m_Index = 0;
        std::uint32_t m_ID = 0;
    };
    class c_MemoryReserveThread : public c_SignalledThread {
    public:
        explicit c_MemoryReserveThread(c_NetworkSocketCore* core);
        ~c_MemoryReserveThread() override { WaitForThreadToFinish(); }
        bool QueueSocket(c_NetworkSocket* socket);

    protected:
        HANDLE GetHandle() const override { return m_Event.Get(); }
        void OnHandleSignaled(std::int32_t index) override;
        void OnThreadEnd() override {}

    private:
        c_Event m_Event;
        c_CriticalSection m_Lock;
        std::deque<s_SocketReference> m_Queue;
    };

    // Socket thread.
    void RunSocketThread();
    void SetUpTLSContexts();
    void FreeTLSContexts();
    bool SetUpServerCertificate(bool reload);
    bool AreCertificateFilesNewer();
    void CheckCertificateTime();
    void CloseAllNetworkSockets();
    void OnSocketIO(std::uint32_t bytes, OVERLAPPED* overlapped, std::uint32_t error);
    void OnSendRequest(std::int32_t index, std::uint32_t id);
    void ConnectNetworkSocket(c_NetworkSocket* socket, c_CriticalSectionLock& lock);
    void OnConnectRequest(std::int32_t index, std::uint32_t id);
    void StartAdoptedSocket(std::int32_t index, std::uint32_t id);
    void OnCloseRequest(std::int32_t index, std::uint32_t id);
    void OnReceiveRequest(std::int32_t index, std::uint32_t id);
    void OnRemoveSocket(std::int32_t index, std::uint32_t id);
    void OnNameResolved();
    void SendDueDelayedSends();
    void ProcessDelayedDeletions();
    bool TestDeletionTimeouts(c_NetworkSocket* socket, c_CriticalSectionLock& lock);
    void OnNetworkEvents();
    void DeleteIdleSocket(c_NetworkSocket* socket, c_CriticalSectionLock& lock);

    // Table.
    // adopted: the accepted handle to take over, or null for a socket that connects.
    bool AddNetworkSocket(c_NetworkSocketOwner* owner, std::int32_t* index, std::uint32_t* id, std::uint32_t* address,
                          c_SocketWrapper* adopted, c_CriticalSectionLock& lock);
    void RegisterNetworkSocket(c_NetworkSocket* socket, c_NetworkSocketOwner* owner, std::int32_t* index,
                               std::uint32_t* id);
    void CopyOwnerSettings(c_NetworkSocket* socket, c_NetworkSocketOwner* owner);
    // The socket in the slot, matching id when given and having an owner when required; under the
    // socket-table lock.
    c_NetworkSocket* MatchSlot(std::int32_t index, const std::uint32_t* id, bool ownerRequired) const;
    c_NetworkSocket* FindAndLock(std::int32_t index, const std::uint32_t* id, bool ownerRequired,
                                 c_CriticalSectionLock& lock);
    c_BufferedSocketThreadWindow* GetThreadWindow(std::uint32_t threadId, c_CriticalSectionLock& lock);

    static std::atomic<c_NetworkSocketCore*> s_p_Core;

    c_CriticalSection m_CoreLock;
    c_Socks5ConnectionSettings* m_p_Socks5ConnectionSettings;
    c_SocketThread m_SocketThread;
    c_NameResolutionThread m_NameResolutionThread;
    c_SocketSelectThread m_SocketSelectThread;
    c_NetworkSocketTimerThread m_NetworkSocketTimerThread;
    c_NetworkSocketDelayedSendTimerThread m_DelayedSendTimerThread;
    c_Event m_NameResolutionEvent;
    HANDLE m_CompletionPort = nullptr;
    std::vector<c_NetworkSocket*> m_NetworkSockets;
    std::deque<s_NameResolutionRequest> m_NameResolutionRequests;
    std::deque<s_NameResolutionRequest> m_NameResolutionResults;
    std::vector<s_DelayedSend> m_DelayedSends;
    std::vector<s_DelayedSend> m_DelayedSendsInProgress;
    std::vector<s_DelayedSend> m_DelayedSendsNotDue;
    std::map<std::uint32_t, c_BufferedSocketThreadWindow*> m_ThreadWindows;
    c_CriticalSection m_ThreadWindowLock;
    c_Event m_NetworkEvent;
    c_TLSContext* m_p_SSLContextServerTLS12 = nullptr;
    c_TLSContext* m_p_SSLContextClientTLS10 = nullptr;
    c_TLSContext* m_p_SSLContextClientTLS11 = nullptr;
    c_TLSContext* m_p_SSLContextClientTLS12 = nullptr;
    c_TLSContext* m_p_SSLContextClientTLS12ClientAuth = nullptr;
    c_String m_ServerCertificatePathAndFileName;
    c_String m_ServerPrivateKeyPathAndFileName;
    std::int64_t m_ServerCertificateFileTime = 0;
    std::int64_t m_ServerPrivateKeyFileTime = 0;
    std::atomic<bool> m_Stopping{false};
    std::uint64_t m_LastDelayedSendTick = 0;
    std::int32_t m_NextSocketID = 1;
    c_MemoryReserveThread m_MemoryReserveThread;
    c_DataCompressionThread m_DataCompressionThread;
    // Written by the socket thread at its start, then by the timer thread alone.
    std::atomic<std::int64_t> m_NextCertificateCheck{0};
    // By host name, compared byte for byte.
    std::map<std::string, s_CachedAddress> m_CachedAddresses;
};

// The global socket-table lock: the table, the name-resolution queues, the address cache, the
// delayed-send vectors and every socket's owner pointer.
c_CriticalSection& GetSocketTableLock();
