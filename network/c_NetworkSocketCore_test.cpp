// Tests of the network core: the socket table, name resolution with the address cache, the delayed
// deletion on its injected clock, the stop with live sockets, and lookups racing removals.

#include "network/c_NetworkSocketCore.h"
#include "network/testing/c_CoreSession.h"
#include "network/testing/c_ManualDeletionClock.h"
#include "network/testing/c_PeerConnection.h"
#include "network/testing/c_TestAuthority.h"
#include "network/testing/c_TestSocketOwner.h"
#include "oslayer/files/FileCalls.h"
#include "oslayer/files/PathCalls.h"
#include "oslayer/files/WholeFiles.h"
#include "platform/testing/PosixPeer.h"
#include "platform/testing/PumpUntil.h"
#include "platform/testing/TestResolver.h"
#include "textutil/testing/FailingOperatorNew.h"

#include <gtest/gtest.h>
#include <openssl/ssl.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::uint32_t LOOPBACK = 0x7F000001;

std::string Prefix(const c_TestSocketOwner& owner) {
    return "TestSocket (" + std::to_string(owner.GetIndex()) + ") | ";
}

// Spins (no sleep) until the socket has left the table, within the test's real-time limit.
bool WaitUntilGone(c_NetworkSocketCore* core, const c_TestSocketOwner& owner) {
    return n_Platform::WaitUntil([&] {
        c_CriticalSectionLock lock;
        return core->GetNetworkSocket(owner.GetIndex(), owner.GetID(), false, lock) == nullptr;
    });
}

struct s_IPv4TextCase {
    const char* m_Text;
    bool m_Valid;
    std::uint32_t m_Address;
};

const s_IPv4TextCase IPV4_TEXT_CASES[] = {
    {"127.0.0.1", true, 2130706433},
    {"255.255.255.255", true, 0xFFFFFFFF},
    {"0.0.0.0", true, 0},
    {"127.0.0.01", false, 0},
    {"256.0.0.1", false, 0},
    {"127.0.0", false, 0},
    {"+1.2.3.4", false, 0},
    {"1.2.3.4 ", false, 0},
    {"host.example", false, 0},
};

TEST(ParseIPv4Text, AcceptsOnlyTextsThatPrintBackTheSame) {
    for (const s_IPv4TextCase& row : IPV4_TEXT_CASES) {
        std::uint32_t address = 0;
        EXPECT_EQ(c_NetworkSocketCore::ParseIPv4Text(row.m_Text, &address), row.m_Valid) << row.m_Text;
        EXPECT_EQ(address, row.m_Address) << row.m_Text;
    }
}

class NetworkSocketCore : public testing::Test {
protected:
    c_NetworkSocketCore* Core() const { return m_Session.GetCore(); }
    c_CoreSession m_Session;
};

TEST_F(NetworkSocketCore, StaticEntriesDoNothingWithoutACore) {
    m_Session.Stop();
    EXPECT_EQ(c_NetworkSocketCore::GetCore(), nullptr);
    c_NetworkSocketCore::DestroyNetworkSocketCore();
}

TEST_F(NetworkSocketCore, LookupsCompareIndexAndIdAndSlotsAreReused) {
    c_TestSocketOwner first("127.0.0.1", n_PosixPeer::FindClosedPort());
    ASSERT_TRUE(first.Connect());
    EXPECT_EQ(first.GetIndex(), 1);
    EXPECT_EQ(first.GetID(), 1u);
    c_CriticalSectionLock lock;
    for (std::int32_t index : {0, -1, 2}) {
        EXPECT_EQ(Core()->GetNetworkSocket(index, 1, false, lock), nullptr) << index;
    }
    EXPECT_EQ(Core()->GetNetworkSocket(1, 2, false, lock), nullptr);
    EXPECT_NE(Core()->GetNetworkSocket(1, 1, false, lock), nullptr);
    lock.Unlock();

    first.Close();
    ASSERT_TRUE(WaitUntilGone(Core(), first));
    c_TestSocketOwner second("127.0.0.1", n_PosixPeer::FindClosedPort());
    ASSERT_TRUE(second.Connect());
    EXPECT_EQ(second.GetIndex(), 1);
    EXPECT_EQ(second.GetID(), 2u);
    EXPECT_EQ(Core()->GetNetworkSocket(1, first.GetID(), false, lock), nullptr);
}

struct s_IdWrapCase {
    const char* m_Name;
    std::uint32_t m_Next;
    std::uint32_t m_First;
    std::uint32_t m_Second;
};

const s_IdWrapCase ID_WRAP_CASES[] = {
    {"PassesTheSignedLimit", 0x7FFFFFFF, 0x7FFFFFFF, 0x80000000},
    {"WrapsPastZeroToOne", 0xFFFFFFFF, 0xFFFFFFFF, 1},
};

TEST_F(NetworkSocketCore, SocketIdsWrapAndSkipZero) {
    for (const s_IdWrapCase& row : ID_WRAP_CASES) {
        Core()->SetNextSocketID(row.m_Next);
        // No host and no address: the sockets stay registered and unconnected.
        c_TestSocketOwner first("", 0);
        c_TestSocketOwner second("", 0);
        ASSERT_TRUE(first.Connect()) << row.m_Name;
        ASSERT_TRUE(second.Connect()) << row.m_Name;
        EXPECT_EQ(first.GetID(), row.m_First) << row.m_Name;
        EXPECT_EQ(second.GetID(), row.m_Second) << row.m_Name;
        c_CriticalSectionLock lock;
        EXPECT_NE(Core()->GetNetworkSocket(second.GetIndex(), row.m_Second, true, lock), nullptr) << row.m_Name;
    }
}

// Each attempt fails the n-th allocation of the adding thread, from the first on, until one adds the
// socket. The thread holds a window reference of its own around each attempt; once it lets go, no
// window may be left behind.
TEST_F(NetworkSocketCore, FailedAddGivesBackTheWindowReference) {
    int failures = 0;
    int windowsLeft = 0;
    bool added = false;
    std::thread adder([&] {
        for (unsigned n = 1; n <= 16 && !added; ++n) {
            ASSERT_TRUE(Core()->AcquireCurrentThreadWindow());
            c_TestSocketOwner owner("", 0);
            n_TestAllocation::FailNthOperatorNew(n);
            added = owner.Connect();
            n_TestAllocation::FailNthOperatorNew(0);
            owner.Close();
            Core()->ReleaseCurrentThreadWindow();
            if (!added) {
                ++failures;
                windowsLeft += Core()->PostThreadSocketEvent(1, GetCurrentThreadId(), SOCKET_EVENT_ERROR, 1) ? 1 : 0;
            }
        }
    });
    adder.join();
    EXPECT_TRUE(added);
    EXPECT_GE(failures, 2);
    EXPECT_EQ(windowsLeft, 0);
}

// A peer that accepts on 127.0.0.1 for the name tests.
class NameResolution : public NetworkSocketCore {
protected:
    void SetUp() override { m_Listener = n_PosixPeer::Listen(&m_Port, 8); }
    void TearDown() override { n_PosixPeer::Close(m_Listener); }
    // Connects a first owner through the loopback resolver, so the name is cached.
    void CacheName(const c_String& host) {
        n_Platform::c_LoopbackResolver resolver;
        c_TestSocketOwner owner(host, m_Port);
        ASSERT_TRUE(owner.Connect());
        ASSERT_TRUE(n_Platform::PumpUntil([&] { return owner.HasEvent(SOCKET_EVENT_CONNECTED); }));
        n_PosixPeer::Close(n_PosixPeer::Accept(m_Listener));
    }
    int m_Listener = -1;
    std::uint16_t m_Port = 0;
};

TEST_F(NameResolution, HostNotFoundUsesTheCachedAddress) {
    CacheName("mirror.test");
    n_Platform::c_FailingResolver failing(n_Platform::c_FailingResolver::NAME_NOT_KNOWN);
    c_TestSocketOwner owner("mirror.test", m_Port);
    ASSERT_TRUE(owner.Connect());
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return owner.HasEvent(SOCKET_EVENT_CONNECTED); }));
    EXPECT_TRUE(
        m_Session.HasLine(Prefix(owner) + "Using previously cached IP address because unable to resolve domain name"));
    EXPECT_FALSE(owner.HasEvent(SOCKET_EVENT_NAME_RESOLUTION_FAILED));
    n_PosixPeer::Close(n_PosixPeer::Accept(m_Listener));
}

struct s_UncachedCase {
    const char* m_Name;
    const char* m_Host;
    n_Platform::c_FailingResolver::e_Failure m_Failure;
};

const s_UncachedCase UNCACHED_CASES[] = {
    {"TryAgainNeverUsesTheCache", "mirror.test", n_Platform::c_FailingResolver::TRY_AGAIN},
    {"HostNamesDifferingInCaseAreSeparateEntries", "Mirror.Test", n_Platform::c_FailingResolver::NAME_NOT_KNOWN},
};

class UncachedResolution : public NameResolution, public testing::WithParamInterface<s_UncachedCase> {};

TEST_P(UncachedResolution, FailsWithNameResolutionFailed) {
    CacheName("mirror.test");
    n_Platform::c_FailingResolver failing(GetParam().m_Failure);
    c_TestSocketOwner owner(GetParam().m_Host, m_Port);
    ASSERT_TRUE(owner.Connect());
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return owner.HasEvent(SOCKET_EVENT_NAME_RESOLUTION_FAILED); }));
    EXPECT_FALSE(owner.HasEvent(SOCKET_EVENT_CONNECTED));
    EXPECT_FALSE(
        m_Session.HasLine(Prefix(owner) + "Using previously cached IP address because unable to resolve domain name"));
    EXPECT_TRUE(m_Session.HasLineStartingWith("Error getting address info for " + std::string(GetParam().m_Host)));
}

INSTANTIATE_TEST_SUITE_P(Rows, UncachedResolution, testing::ValuesIn(UNCACHED_CASES),
                         [](const testing::TestParamInfo<s_UncachedCase>& info) { return info.param.m_Name; });

// A second name, resolved after the first, shows that the first's result has been posted; the held
// lock keeps the socket thread from handling it until the owner has let go.
TEST_F(NameResolution, ResultAfterTheOwnerLetGoConnectsNothing) {
    n_Platform::c_LoopbackResolver resolver;
    c_TestSocketOwner owner("late.test", m_Port);
    c_TestSocketOwner barrier("barrier.test", m_Port);
    {
        c_CriticalSectionLock hold(owner.GetSharedSocketLock()->m_Section);
        ASSERT_TRUE(owner.Connect());
        ASSERT_TRUE(barrier.Connect());
        ASSERT_TRUE(n_Platform::WaitUntil([&] { return resolver.GetLookupCount() == 2; }));
        owner.Close();
    }
    ASSERT_TRUE(WaitUntilGone(Core(), owner));
    n_Platform::PumpPending();
    EXPECT_TRUE(owner.m_Events.empty());
    EXPECT_FALSE(m_Session.HasLine(Prefix(owner) + "Creating socket."));
    EXPECT_TRUE(n_Platform::PumpUntil([&] { return barrier.HasEvent(SOCKET_EVENT_CONNECTED); }));
}

class DelayedDeletion : public NetworkSocketCore, protected c_PeerConnection {
protected:
    void SetUp() override { ASSERT_TRUE(Open()); }
    void TearDown() override { Close(); }
    // One pass of the 30-second deletion timer, after the clock has moved.
    void RunDeletionPass(std::int64_t microseconds) {
        m_Clock.Move(microseconds);
        Core()->PostCompletion(0, COMPLETION_KEY_TIMER, 0);
    }
    // A line is logged under the socket's lock before the socket stamps its deletion times, so
    // taking the lock once after the line is seen lets the next clock move come after the stamp.
    void Settle() const { c_CriticalSectionLock settle(m_p_Owner->GetSharedSocketLock()->m_Section); }
    bool WaitFor(const std::string& text) const {
        const bool seen = m_Session.WaitForLine(Prefix(*m_p_Owner) + text);
        Settle();
        return seen;
    }

    c_ManualDeletionClock m_Clock;
};

TEST_F(DelayedDeletion, FinalSendTimesOutThenCancelsAndCloses) {
    FillUntilWritesWait();
    m_p_Owner->Close();
    const std::string delayed = Prefix(*m_p_Owner) + "Write in progress.  Shutdown being delayed.  PendingSize=";
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Session.HasLineStartingWith(delayed); }));
    Settle();

    RunDeletionPass(59000000);
    RunDeletionPass(1000000);
    ASSERT_TRUE(WaitFor("Timed out waiting for final send.  Canceling I/O."));
    ASSERT_TRUE(WaitFor("Closed."));
    EXPECT_TRUE(m_Session.HasLinesInOrder(
        {Prefix(*m_p_Owner) + "Timed out waiting for final send.  Canceling I/O.", Prefix(*m_p_Owner) + "Closed."}));
    EXPECT_TRUE(WaitUntilGone(Core(), *m_p_Owner));
}

TEST_F(DelayedDeletion, ShutdownTimesOutWithTheClockSetBackThenDeletesAfterTheDelay) {
    m_p_Owner->Close();
    ASSERT_TRUE(WaitFor("Shutdown started.  Waiting for graceful close."));

    RunDeletionPass(-3600000000LL);
    ASSERT_TRUE(WaitFor("Timed out waiting for shutdown. Performing an immediate socket close."));
    ASSERT_TRUE(WaitFor("Closed."));

    RunDeletionPass(29000000);
    RunDeletionPass(1000000);
    ASSERT_TRUE(WaitFor("Deleting network socket now after delay."));
    EXPECT_TRUE(WaitUntilGone(Core(), *m_p_Owner));
    // The first pass, 29 s after the close, deleted nothing.
    EXPECT_TRUE(m_Session.HasLinesInOrder(
        {Prefix(*m_p_Owner) + "Closed.", Prefix(*m_p_Owner) + "Deleting network socket now after delay."}));
}

TEST_F(DelayedDeletion, CancellationThatNeverEndsTimesOutIntoTheShutdown) {
    // A write that the system never completes, so cancelling it brings nothing back.
    const std::int32_t stuck = 1;
    {
        c_CriticalSectionLock lock;
        c_NetworkSocket* socket = m_p_Owner->Find(lock);
        ASSERT_NE(socket, nullptr);
        socket->m_SendBufferStates[stuck] = c_NetworkSocket::SEND_BUFFER_STATE_IN_TRANSFER;
        ++socket->m_SendBuffersInUse;
    }
    m_p_Owner->Close();
    const std::string delayed = Prefix(*m_p_Owner) + "Write in progress.  Shutdown being delayed.  PendingSize=";
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Session.HasLineStartingWith(delayed); }));
    Settle();
    RunDeletionPass(60000000);
    ASSERT_TRUE(WaitFor("Timed out waiting for final send.  Canceling I/O."));

    const std::string cancelled = Prefix(*m_p_Owner) + "Timed out waiting for I/O cancellation. Starting shutdown.";
    RunDeletionPass(59000000);
    RunDeletionPass(1000000);
    ASSERT_TRUE(WaitFor("Timed out waiting for I/O cancellation. Starting shutdown."));
    // The cancel ended the receives, so the shutdown has nothing to wait for.
    const std::string complete =
        Prefix(*m_p_Owner) + "Graceful close received or receive error. Shutdown complete. Closing socket now.";
    ASSERT_TRUE(WaitFor("Closed."));
    // Only the second pass, 60 s after the cancel, gave up on it, once.
    EXPECT_EQ(m_Session.CountLinesStartingWith(cancelled), 1u);
    EXPECT_TRUE(m_Session.HasLinesInOrder({Prefix(*m_p_Owner) + "Timed out waiting for final send.  Canceling I/O.",
                                           cancelled, complete, Prefix(*m_p_Owner) + "Closed."}));

    // Once the stuck write is given up, the socket goes after the close delay.
    {
        c_CriticalSectionLock lock;
        c_NetworkSocket* socket = Core()->GetNetworkSocket(m_p_Owner->GetIndex(), m_p_Owner->GetID(), false, lock);
        ASSERT_NE(socket, nullptr);
        socket->ReleaseSendBuffer(stuck);
    }
    RunDeletionPass(30000000);
    EXPECT_TRUE(WaitUntilGone(Core(), *m_p_Owner));
}

// The server certificate files beside the test program, which the core reads: a good certificate
// with a key that does not load.
class CertificateReload : public NetworkSocketCore {
protected:
    void SetUp() override {
        RemoveFiles();
        // The socket thread has made its certificate once it handles a connect.
        c_TestSocketOwner probe("127.0.0.1", n_PosixPeer::FindClosedPort());
        ASSERT_TRUE(probe.Connect());
        ASSERT_TRUE(n_Platform::PumpUntil([&] { return probe.HasEvent(SOCKET_EVENT_CONNECT_FAILED); }));
        ASSERT_TRUE(m_Authority.IsReady());
        ASSERT_TRUE(m_Authority.Issue("reload.test", "DNS:reload.test"));
        std::int32_t error = 0;
        ASSERT_TRUE(n_OSLayer::CreateDirectory(Folder(), &error));
        const c_String certificate = ReadFileText(m_Authority.GetPath("reload.test.crt").c_str());
        ASSERT_TRUE(WriteStringToFile(Folder() + "\\TLSCertificate.crt", certificate));
        ASSERT_TRUE(WriteStringToFile(Folder() + "\\TLSCertificate.key", "not a PEM key\n"));
    }
    void TearDown() override { RemoveFiles(); }

    static c_String Folder() { return n_OSLayer::GetProgramFolder() + "ServerCertificate"; }
    static void RemoveFiles() {
        n_OSLayer::DeleteFile(Folder() + "\\TLSCertificate.crt");
        n_OSLayer::DeleteFile(Folder() + "\\TLSCertificate.key");
        n_OSLayer::RemoveDirectory(Folder());
    }
    X509* GetServerCertificate() const {
        return SSL_CTX_get0_certificate(Core()->GetTLSContext(c_TLSContext::ROLE_SERVER, 0)->GetSSLContext());
    }
    // One check of the 8-hour timer, and the number of failed loads once it has failed.
    bool CheckAndFail(std::size_t failures) {
        Core()->PostCompletion(0, COMPLETION_KEY_CHECK_CERTIFICATE, 0);
        return n_Platform::PumpUntil([&] { return m_Session.CountLinesStartingWith(FAILED) == failures; });
    }

    static constexpr const char* FAILED = "Error loading/creating certificate and private key for TLS: ";
    c_TestAuthority m_Authority;
};

TEST_F(CertificateReload, FailureKeepsTheCertificateAndTriesAgainAtTheNextCheck) {
    X509* inUse = GetServerCertificate();
    ASSERT_NE(inUse, nullptr);
    const std::size_t before = m_Session.CountLinesStartingWith(FAILED);
    ASSERT_TRUE(CheckAndFail(before + 1));
    EXPECT_EQ(GetServerCertificate(), inUse);
    // No file time was taken from the failed load, so the same files are tried again.
    ASSERT_TRUE(CheckAndFail(before + 2));
    EXPECT_EQ(GetServerCertificate(), inUse);
}

// A worker thread that takes a window reference and ends.
class c_WindowThread : public c_ThreadWrapper {
public:
    c_WindowThread() : c_ThreadWrapper("WindowThread") {}
    ~c_WindowThread() override { WaitForThreadToFinish(); }

protected:
    void ThreadFunction() override { c_NetworkSocketCore::GetCore()->AcquireCurrentThreadWindow(); }
};

TEST_F(NetworkSocketCore, ThreadEndHookReleasesTheEndingThreadsWindow) {
    auto* previous = ThreadEndHook.exchange(&c_NetworkSocketCore::ReleaseWindowOfEndingThread);
    c_WindowThread thread;
    ASSERT_TRUE(thread.StartThread());
    const std::uint32_t threadId = thread.GetThreadId();
    thread.WaitForThreadToFinish();
    ThreadEndHook.exchange(previous);
    // Without a window nothing is posted and nothing is logged; a window left behind by the ended
    // thread would fail the post with its own log line.
    EXPECT_FALSE(Core()->PostThreadSocketEvent(1, threadId, SOCKET_EVENT_DATA_RECEIVED, 1));
    EXPECT_FALSE(m_Session.HasLineStartingWith("BufferedSocket"));
}

TEST_F(NetworkSocketCore, MemoryReserveThreadGivesTheFirstSendBuffersStorage) {
    std::uint16_t port = 0;
    const int listener = n_PosixPeer::Listen(&port, 1);
    c_TestSocketOwner owner("127.0.0.1", port);
    ASSERT_TRUE(owner.Connect());
    const int peer = n_PosixPeer::Accept(listener);
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return owner.HasEvent(SOCKET_EVENT_CONNECTED); }));
    {
        c_CriticalSectionLock lock;
        ASSERT_TRUE(Core()->RequestSendBufferReserve(owner.Find(lock)));
    }
    ASSERT_TRUE(m_Session.WaitForLine(Prefix(owner) + "Allocated send buffers: 32 of 4096 bytes."));
    c_CriticalSectionLock lock;
    c_NetworkSocket* socket = owner.Find(lock);
    EXPECT_EQ(socket->m_SendBuffers[31].GetCapacity() >= 4096, true);
    EXPECT_EQ(socket->m_SendBuffers[32].GetCapacity(), 0);
    lock.Unlock();
    n_PosixPeer::Close(peer);
    n_PosixPeer::Close(listener);
}

TEST_F(NetworkSocketCore, StopWithLiveSocketsIsPromptAndSilent) {
    std::uint16_t port = 0;
    const int listener = n_PosixPeer::Listen(&port, 8);
    std::vector<std::unique_ptr<c_TestSocketOwner>> owners;
    std::vector<int> peers;
    for (int count = 0; count < 4; ++count) {
        owners.push_back(std::make_unique<c_TestSocketOwner>("127.0.0.1", port));
        ASSERT_TRUE(owners.back()->Connect());
        peers.push_back(n_PosixPeer::Accept(listener));
        c_TestSocketOwner& owner = *owners.back();
        ASSERT_TRUE(n_Platform::PumpUntil([&] { return owner.HasEvent(SOCKET_EVENT_CONNECTED); }));
    }
    // Two wait for the peer's close after their owners let go; two stay connected.
    owners[0]->Close();
    owners[1]->Close();
    ASSERT_TRUE(m_Session.WaitForLine(Prefix(*owners[1]) + "Shutdown started.  Waiting for graceful close."));
    std::vector<std::size_t> counts;
    for (const auto& owner : owners) {
        counts.push_back(owner->m_Events.size());
    }

    const auto start = std::chrono::steady_clock::now();
    m_Session.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(6));
    n_Platform::PumpPending();
    for (std::size_t index = 0; index < owners.size(); ++index) {
        EXPECT_EQ(owners[index]->m_Events.size(), counts[index]);
        EXPECT_EQ(n_PosixPeer::ReadUntilEnd(peers[index]), 0);
        n_PosixPeer::Close(peers[index]);
    }
    n_PosixPeer::Close(listener);
}

TEST_F(NetworkSocketCore, LookupsRaceRemovalsCleanly) {
    const std::uint16_t closed = n_PosixPeer::FindClosedPort();
    std::atomic<bool> done{false};
    std::atomic<std::int32_t> currentIndex{0};
    std::atomic<std::uint32_t> currentId{0};
    std::atomic<std::int32_t> mismatches{0};
    // A second thread looks the current socket up while the socket thread removes it.
    std::thread looker([&] {
        while (!done.load()) {
            c_CriticalSectionLock lock;
            const std::uint32_t id = currentId.load();
            if (c_NetworkSocket* socket = Core()->GetNetworkSocket(currentIndex.load(), id, false, lock)) {
                mismatches += socket->m_ID != id ? 1 : 0;
            }
        }
    });
    c_TestSocketOwner owner("127.0.0.1", closed);
    for (int round = 0; round < 10000; ++round) {
        ASSERT_TRUE(owner.Connect(LOOPBACK));
        currentIndex.store(owner.GetIndex());
        currentId.store(owner.GetID());
        owner.Close();
        ASSERT_TRUE(WaitUntilGone(Core(), owner)) << round;
        if (round % 64 == 0) {
            n_Platform::PumpPending();
        }
    }
    done.store(true);
    looker.join();
    EXPECT_EQ(mismatches.load(), 0);
}

} // namespace
