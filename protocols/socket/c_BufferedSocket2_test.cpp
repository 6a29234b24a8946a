// Tests of the buffered socket against a peer in the test's own process: connect, send limits, the
// received-data path with its close deferral and exception guards, the receive-thread mode, and
// adopting a connection that a listening socket accepted.

#include "protocols/socket/c_BufferedSocket2.h"

#include "network/c_ListeningSocket.h"
#include "network/testing/c_CoreSession.h"
#include "platform/testing/InterfaceFacts.h"
#include "platform/testing/PosixPeer.h"
#include "platform/testing/PumpUntil.h"
#include "platform/testing/TestClock.h"
#include "protocols/socket/testing/c_TestBufferedSocketOwner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using t_Names = std::vector<std::string>;

// A buffered socket, its recording owner and the peer's descriptors; the core goes last.
class c_BufferedSocketFixture {
protected:
    c_BufferedSocketFixture() { m_p_Socket = std::make_unique<c_BufferedSocket2>(&m_Owner, "Buffered"); }
    ~c_BufferedSocketFixture() {
        m_p_Socket.reset();
        for (int fd : {m_Peer, m_Listener}) {
            if (fd >= 0) {
                n_PosixPeer::Close(fd);
            }
        }
    }

    bool StartConnect() {
        std::uint16_t port = 0;
        m_Listener = n_PosixPeer::Listen(&port, 4);
        c_CriticalSectionLock lock;
        return m_p_Socket->Connect(" 127.0.0.1 ", port, 0, lock);
    }
    bool FinishConnect() {
        m_Peer = n_PosixPeer::Accept(m_Listener);
        return n_Platform::PumpUntil([&] { return m_Owner.HasCall("connected"); });
    }
    bool PeerSends(const std::string& text) const { return n_PosixPeer::SendAll(m_Peer, text.data(), text.size()); }
    bool Send(const std::string& text, std::int32_t queueOnly = 0) {
        c_CriticalSectionLock lock;
        return m_p_Socket->Send(text.data(), static_cast<std::int64_t>(text.size()), queueOnly, lock);
    }
    void Close() {
        c_CriticalSectionLock lock;
        m_p_Socket->CloseSocket(true, lock);
    }
    std::string Line(const std::string& text) const { return "Buffered (" + std::to_string(m_Index) + ") | " + text; }
    void RememberIndex() {
        c_CriticalSectionLock lock;
        m_Index = m_p_Socket->GetNetworkSocketID(lock);
    }

    c_CoreSession m_Session;
    c_TestBufferedSocketOwner m_Owner;
    std::unique_ptr<c_BufferedSocket2> m_p_Socket;
    int m_Listener = -1;
    int m_Peer = -1;
    std::int32_t m_Index = 0;
};

class BufferedSocket2 : public testing::Test, protected c_BufferedSocketFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartConnect());
        RememberIndex();
        ASSERT_TRUE(FinishConnect());
    }
};

TEST_F(BufferedSocket2, ConnectsAndCarriesBytesBothWays) {
    ASSERT_TRUE(PeerSends("hello"));
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("data:hello"); }));
    ASSERT_TRUE(Send("wor", 1));
    ASSERT_TRUE(Send("ld"));
    char reply[5] = {};
    ASSERT_TRUE(n_PosixPeer::ReceiveAll(m_Peer, reply, sizeof reply));
    EXPECT_EQ(std::string(reply, sizeof reply), "world");
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("sent"); }));
    c_CriticalSectionLock lock;
    EXPECT_TRUE(m_p_Socket->IsConnected(lock));
    EXPECT_EQ(m_p_Socket->GetRemoteName(), "127.0.0.1");
    EXPECT_EQ(m_p_Socket->GetReceiveBufferSize(lock), 0u);
}

TEST_F(BufferedSocket2, ConnectWhileConnectedRefusesSilently) {
    c_CriticalSectionLock lock;
    EXPECT_FALSE(m_p_Socket->Connect("127.0.0.1", 1, 0, lock));
    lock.Unlock();
    EXPECT_FALSE(m_Session.HasLineStartingWith(Line("Address")));
}

TEST_F(BufferedSocket2, SendLimitTakesTheExactLimitThenRefusesEverySend) {
    c_CriticalSectionLock lock;
    ASSERT_EQ(m_p_Socket->SetSendBufferSizeLimit(0, lock), 1048576u);
    lock.Unlock();
    ASSERT_TRUE(Send(std::string(1048576, 'x'), 1));
    EXPECT_FALSE(Send("y", 1));
    EXPECT_FALSE(Send("z"));
    c_CriticalSectionLock flush;
    EXPECT_FALSE(m_p_Socket->SendQueuedData(flush));
    flush.Unlock();
    ASSERT_TRUE(m_Session.WaitForLine(Line("Buffer limit of 1048576 bytes reached. Closing socket.")));
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("closed"); }));
    EXPECT_FALSE(Send("z"));
    EXPECT_TRUE(m_p_Socket->IsDisconnected(lock));
}

TEST_F(BufferedSocket2, CloseInsideTheDataCallbackIsToldAfterIt) {
    bool toldInside = true;
    m_Owner.m_OnData = [&](c_BufferedSocket2* socket, c_ByteBuffer&) {
        c_CriticalSectionLock lock;
        socket->CloseSocket(true, lock);
        toldInside = m_Owner.HasCall("closed");
    };
    ASSERT_TRUE(PeerSends("bye"));
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("closed"); }));
    EXPECT_FALSE(toldInside);
    EXPECT_EQ(m_Owner.GetNames(), (t_Names{"connected", "data:bye", "closed"}));
    EXPECT_EQ(n_PosixPeer::ReadUntilEnd(m_Peer), 0);
}

TEST_F(BufferedSocket2, LeftBytesAreOfferedAgainBeforeTheNextOnes) {
    std::vector<std::string> lines;
    m_Owner.m_OnData = [&](c_BufferedSocket2* socket, c_ByteBuffer&) {
        c_CriticalSectionLock lock;
        for (c_String line; socket->ReadLine(line, lock);) {
            lines.emplace_back(line.begin(), line.end());
        }
    };
    ASSERT_TRUE(PeerSends("HEL"));
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("data:HEL"); }));
    ASSERT_TRUE(PeerSends("LO\r\nWOR"));
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("data:HELLO\r\nWOR"); }));
    EXPECT_EQ(lines, (t_Names{"HELLO"}));
    c_CriticalSectionLock lock;
    EXPECT_EQ(m_p_Socket->GetReceiveBufferSize(lock), 3u);
}

// The peer's bytes pile up while the owner's thread is busy sending; they must then reach the owner
// whole and in order, yet never all in one buffer.
TEST_F(BufferedSocket2, ABacklogIsOfferedInPortions) {
    constexpr std::size_t TOTAL = 8u << 20;
    std::string sent(TOTAL, '\0');
    for (std::size_t i = 0; i < TOTAL; ++i) {
        sent[i] = static_cast<char>(i % 251);
    }
    std::string received;
    std::uint32_t largest = 0;
    m_Owner.m_OnData = [&](c_BufferedSocket2*, c_ByteBuffer& buffer) {
        largest = std::max(largest, buffer.GetSize());
        received.append(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
        buffer.Consume(buffer.GetSize());
    };
    ASSERT_TRUE(PeerSends(sent));
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return received.size() == TOTAL; }));
    EXPECT_TRUE(received == sent);
    EXPECT_LT(largest, 2 * c_BufferedSocket2::RECEIVE_PORTION);
}

TEST_F(BufferedSocket2, ThrowingDataCallbackClearsTheBufferAndCloses) {
    m_Owner.ThrowIn("data:");
    ASSERT_TRUE(PeerSends("poison"));
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("closed"); }));
    EXPECT_TRUE(m_Session.HasLine(Line("Caught an unhandled exception from the owner OnBufferedSocketReceivedData in "
                                       "c_BufferedSocket2::OnReceivedDataFromCore. Clearing buffer and closing "
                                       "socket.")));
    c_CriticalSectionLock lock;
    EXPECT_EQ(m_p_Socket->GetReceiveBufferSize(lock), 0u);
    EXPECT_TRUE(m_p_Socket->IsDisconnected(lock));
}

TEST_F(BufferedSocket2, ThrowingCloseCallbackIsLoggedAndTheCloseStands) {
    m_Owner.ThrowIn("closed");
    Close();
    // The index is gone by the time the owner is told.
    EXPECT_TRUE(
        m_Session.HasLine("Buffered (0) | Caught an unhandled exception from the owner OnBufferedSocketClosed in "
                          "c_BufferedSocket2::CloseSocket"));
    c_CriticalSectionLock lock;
    EXPECT_TRUE(m_p_Socket->IsDisconnected(lock));
}

TEST_F(BufferedSocket2, ThrowingSendCompleteCallbackIsLoggedAndTheConnectionStays) {
    m_Owner.ThrowIn("sent");
    ASSERT_TRUE(Send("ping"));
    ASSERT_TRUE(
        m_Session.WaitForLine(Line("Caught an unhandled exception from the owner "
                                   "OnBufferedSocketSendDataComplete in c_BufferedSocket2::OnSendDataComplete")));
    ASSERT_TRUE(Send("pong"));
    char bytes[8] = {};
    ASSERT_TRUE(n_PosixPeer::ReceiveAll(m_Peer, bytes, sizeof bytes));
    EXPECT_EQ(std::string(bytes, sizeof bytes), "pingpong");
}

struct s_PeekCase {
    const char* m_Name;
    std::uint32_t m_MaxBytes;
    bool m_WithOut;
    bool m_Result;
    const char* m_Copied;
};

class BufferedSocket2Peek : public BufferedSocket2, public testing::WithParamInterface<s_PeekCase> {};

TEST_P(BufferedSocket2Peek, CopiesTheStartOfTheQueuedBytes) {
    ASSERT_TRUE(Send("0123456789", 1));
    char out[16] = {};
    std::uint32_t count = 99;
    c_CriticalSectionLock lock;
    EXPECT_EQ(
        m_p_Socket->PeekCurrentSendBuffer(GetParam().m_MaxBytes, GetParam().m_WithOut ? out : nullptr, count, lock),
        GetParam().m_Result);
    EXPECT_EQ(std::string(out, count), GetParam().m_Copied);
    EXPECT_EQ(m_p_Socket->GetPendingSendBytes(lock), 10u) << "a peek takes nothing";
}

INSTANTIATE_TEST_SUITE_P(Rows, BufferedSocket2Peek,
                         testing::Values(s_PeekCase{"FewerThanQueued", 4, true, true, "0123"},
                                         s_PeekCase{"MoreThanQueued", 16, true, true, "0123456789"},
                                         s_PeekCase{"NoPlaceToCopyTo", 4, false, false, ""}),
                         [](const testing::TestParamInfo<s_PeekCase>& info) { return info.param.m_Name; });

TEST_F(BufferedSocket2, RemoteCloseClosesAndTellsTheOwnerOnce) {
    n_PosixPeer::ShutdownSending(m_Peer);
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("closed"); }));
    Close();
    n_Platform::PumpPending();
    EXPECT_EQ(m_Owner.CountCalls("closed"), 1);
}

// Before the connected event.
class BufferedSocket2Connecting : public testing::Test, protected c_BufferedSocketFixture {};

TEST_F(BufferedSocket2Connecting, SendBeforeConnectedIsIgnoredWithItsLine) {
    ASSERT_TRUE(StartConnect());
    RememberIndex();
    EXPECT_FALSE(Send("early"));
    EXPECT_TRUE(m_Session.HasLine(Line("Ignored Send call. Socket is not connected.")));
    ASSERT_TRUE(FinishConnect());
    EXPECT_TRUE(Send("later"));
}

TEST_F(BufferedSocket2Connecting, ConnectsFromTheLocalPortItWasGiven) {
    const std::uint16_t port = n_PosixPeer::FindClosedPort();
    m_p_Socket->SetLocalPort(port);
    ASSERT_TRUE(StartConnect());
    ASSERT_TRUE(FinishConnect());
    c_CriticalSectionLock lock;
    EXPECT_EQ(m_p_Socket->GetLocalPort(lock), port);
}

TEST_F(BufferedSocket2Connecting, ALocalPortInUseFailsTheConnection) {
    std::uint16_t taken = 0;
    const int holder = n_PosixPeer::Listen(&taken, 1);
    m_p_Socket->SetLocalPort(taken);
    ASSERT_TRUE(StartConnect());
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("closed"); }));
    n_PosixPeer::Close(holder);
    EXPECT_TRUE(m_Session.HasLineContaining(") | Error binding socket to local port " + std::to_string(taken) + ".  "));
    EXPECT_EQ(m_Owner.GetNames(), (t_Names{"closed"}));
}

TEST_F(BufferedSocket2Connecting, PeekBeforeConnectedCopiesNothing) {
    ASSERT_TRUE(StartConnect());
    char out[4] = {};
    std::uint32_t count = 99;
    c_CriticalSectionLock lock;
    EXPECT_FALSE(m_p_Socket->PeekCurrentSendBuffer(sizeof out, out, count, lock));
    EXPECT_EQ(count, 0u);
}

TEST_F(BufferedSocket2Connecting, BlankAddressIsRefusedWithItsLine) {
    c_CriticalSectionLock lock;
    EXPECT_FALSE(m_p_Socket->Connect(" \t ", 80, 0, lock));
    lock.Unlock();
    EXPECT_TRUE(m_Session.HasLine("Buffered (0) | Address is empty."));
}

TEST_F(BufferedSocket2Connecting, ThrowingConnectedCallbackIsLoggedAndTheConnectionStays) {
    m_Owner.ThrowIn("connected");
    ASSERT_TRUE(StartConnect());
    RememberIndex();
    ASSERT_TRUE(FinishConnect());
    EXPECT_TRUE(m_Session.HasLine(Line("Caught an unhandled exception from the owner OnBufferedSocket2Connected in "
                                       "c_BufferedSocket2::OnSocketConnected")));
    EXPECT_TRUE(Send("still"));
}

TEST_F(BufferedSocket2Connecting, RefusedConnectionClosesAndTellsTheOwner) {
    c_CriticalSectionLock lock;
    ASSERT_TRUE(m_p_Socket->Connect("127.0.0.1", n_PosixPeer::FindClosedPort(), 0, lock));
    lock.Unlock();
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("closed"); }));
    EXPECT_EQ(m_Owner.GetNames(), (t_Names{"closed"}));
}

TEST_F(BufferedSocket2Connecting, CloseWhileClosedTellsNoOne) {
    Close();
    EXPECT_TRUE(m_Owner.GetNames().empty());
}

TEST_F(BufferedSocket2Connecting, SettersKeepTheirRanges) {
    c_CriticalSectionLock lock;
    EXPECT_EQ(m_p_Socket->SetSendBufferSizeLimit(0, lock), 1048576u);
    EXPECT_EQ(m_p_Socket->SetSendBufferSizeLimit(5000, lock), 5000u);
    EXPECT_EQ(m_p_Socket->SetDelayedSendMilliseconds(5, lock), 20);
    EXPECT_EQ(m_p_Socket->SetDelayedSendMilliseconds(10000, lock), 5000);
    EXPECT_EQ(m_p_Socket->GetDelayedSendMilliseconds(), 5000);
    EXPECT_EQ(m_p_Socket->SetCompressionType(7, lock), 0);
    EXPECT_EQ(m_p_Socket->SetCompressionType(2, lock), 2);
    EXPECT_EQ(m_p_Socket->GetCompressionType(), 2);
}

// Where Connect sends a connection when the application's SOCKS 5 proxy is on: the remote name and
// port the core connects to, and the target the connection's copy asks the proxy for.
struct s_RouteCase {
    const char* m_Name;
    const char* m_Address;
    bool m_Bypass;
    bool m_ThroughProxy;
};

const s_RouteCase ROUTE_CASES[] = {
    {"NameGoesThroughTheProxy", "files.example", true, true},
    {"LocalAddressWithBypassIsDirect", "127.0.0.1", true, false},
    {"LocalHostInCapitalsWithBypassIsDirect", "LOCALHOST", true, false},
    {"LocalAddressWithoutBypassGoesThroughTheProxy", "127.0.0.1", false, true},
    {"OtherLoopbackAddressIsNotBypassed", "127.0.0.2", true, true},
};

class BufferedSocket2Route : public testing::TestWithParam<s_RouteCase>, protected c_BufferedSocketFixture {};

TEST_P(BufferedSocket2Route, PicksProxyOrTarget) {
    const s_RouteCase& row = GetParam();
    c_Socks5ConnectionSettings& settings = *m_Session.GetCore()->GetSocks5ConnectionSettings();
    settings.m_UseSocks5 = true;
    settings.m_Host = "127.0.0.9";
    settings.m_Port = 0x10000 + 1080;
    settings.m_BypassForLocalHost = row.m_Bypass;
    c_CriticalSectionLock lock;
    ASSERT_TRUE(m_p_Socket->Connect(row.m_Address, 443, 0, lock));
    const c_Socks5ConnectionSettings copy = m_p_Socket->GetSocks5ConnectionSettings();
    EXPECT_EQ(copy.m_UseSocks5, row.m_ThroughProxy);
    if (row.m_ThroughProxy) {
        EXPECT_EQ(m_p_Socket->GetRemoteName(), "127.0.0.9");
        EXPECT_EQ(m_p_Socket->GetConnectPort(), 1080);
        EXPECT_EQ(copy.m_Host, row.m_Address);
        EXPECT_EQ(copy.m_Port, 443);
    } else {
        EXPECT_EQ(m_p_Socket->GetRemoteName(), row.m_Address);
        EXPECT_EQ(m_p_Socket->GetConnectPort(), 443);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, BufferedSocket2Route, testing::ValuesIn(ROUTE_CASES),
                         [](const testing::TestParamInfo<s_RouteCase>& info) { return info.param.m_Name; });

struct s_AddressTextCase {
    const char* m_Name;
    const char* m_Text;
    bool m_Parsed;
    std::uint32_t m_Address;
};

class ParseIPv4AddressText : public testing::TestWithParam<s_AddressTextCase> {};

TEST_P(ParseIPv4AddressText, StoresTheHostOrderAddressOfDottedText) {
    std::uint32_t address = 7;
    EXPECT_EQ(::ParseIPv4AddressText(GetParam().m_Text, &address), GetParam().m_Parsed);
    EXPECT_EQ(address, GetParam().m_Address);
    EXPECT_EQ(::ParseIPv4AddressText(GetParam().m_Text, nullptr), GetParam().m_Parsed);
}

INSTANTIATE_TEST_SUITE_P(Rows, ParseIPv4AddressText,
                         testing::Values(s_AddressTextCase{"Dotted", "192.168.1.10", true, 0xC0A8010A},
                                         s_AddressTextCase{"PartAbove255", "192.168.1.256", false, 7},
                                         s_AddressTextCase{"HostName", "files.example", false, 7},
                                         s_AddressTextCase{"Empty", "", false, 7}),
                         [](const testing::TestParamInfo<s_AddressTextCase>& info) { return info.param.m_Name; });

TEST(GetMACAddressTextOfIPv4Address, FormatsTheAdapterOfALocalAddressAndNothingForOthers) {
    const std::vector<s_InterfaceFact> facts = ReadInterfaceFacts();
    ASSERT_FALSE(facts.empty());
    for (const s_InterfaceFact& fact : facts) {
        const std::string expected = ToDashedUpperCase(fact.m_HardwareAddressText);
        EXPECT_EQ(GetMACAddressTextOfIPv4Address(fact.m_IPv4Address), expected.c_str()) << fact.m_Name;
    }
    EXPECT_EQ(GetMACAddressTextOfIPv4Address(0xCB00714D), "");
}

// Receive-thread mode on the test clock. The clock is real again before the core stops, since the
// core drains its port with a time-out.
class BufferedSocket2ReceiveThread : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_p_Fixture->StartConnect());
        m_p_Fixture->RememberIndex();
        ASSERT_TRUE(m_p_Fixture->FinishConnect());
        m_Clock.emplace();
        c_CriticalSectionLock lock;
        ASSERT_TRUE(Socket()->EnableReceiveThread(100, lock));
        lock.Unlock();
        ASSERT_TRUE(m_Thread.StartThread());
        m_ThreadId = m_Thread.GetThreadId();
        // A first time-out shows the loop running.
        ASSERT_TRUE(n_Platform::WaitUntil([&] {
            m_Clock->Advance(100);
            return Owner().HasCall("timeout");
        }));
    }
    void TearDown() override {
        m_Thread.WaitForThreadToFinish();
        m_Clock.reset();
    }
    c_BufferedSocket2* Socket() const { return m_p_Fixture->m_p_Socket.get(); }
    // The owner's messages go on while the receive thread works; it posts none of its own.
    static bool PumpAndWaitUntil(const std::function<bool()>& done) {
        return n_Platform::WaitUntil([&] {
            n_Platform::PumpPending();
            return done();
        });
    }
    c_TestBufferedSocketOwner& Owner() const { return m_p_Fixture->m_Owner; }
    bool AllOnTheReceiveThread(const std::string& what) const {
        for (const s_OwnerCall& call : Owner().GetCalls()) {
            if (call.m_What.compare(0, what.size(), what) == 0 && call.m_ThreadId != m_ThreadId) {
                return false;
            }
        }
        return true;
    }

    struct c_Access : c_BufferedSocketFixture {
        using c_BufferedSocketFixture::FinishConnect;
        using c_BufferedSocketFixture::Line;
        using c_BufferedSocketFixture::m_Owner;
        using c_BufferedSocketFixture::m_p_Socket;
        using c_BufferedSocketFixture::m_Peer;
        using c_BufferedSocketFixture::m_Session;
        using c_BufferedSocketFixture::PeerSends;
        using c_BufferedSocketFixture::RememberIndex;
        using c_BufferedSocketFixture::StartConnect;
    };
    std::unique_ptr<c_Access> m_p_Fixture = std::make_unique<c_Access>();
    c_TestReceiveThread m_Thread{m_p_Fixture->m_p_Socket.get()};
    std::uint32_t m_ThreadId = 0;
    std::optional<n_Platform::c_TestClock> m_Clock;
};

TEST_F(BufferedSocket2ReceiveThread, QuietPeriodsGiveTimeOutsAndDataArrivesOnTheThread) {
    ASSERT_TRUE(n_Platform::WaitUntil([&] {
        m_Clock->Advance(100);
        return Owner().CountCalls("timeout") >= 3;
    }));
    ASSERT_TRUE(m_p_Fixture->PeerSends("news"));
    ASSERT_TRUE(PumpAndWaitUntil([&] { return Owner().HasCall("data:news"); }));
    c_CriticalSectionLock lock;
    Socket()->CloseSocket(true, lock);
    lock.Unlock();
    EXPECT_FALSE(m_Thread.IsThreadRunning());
    EXPECT_TRUE(AllOnTheReceiveThread("timeout"));
    EXPECT_TRUE(AllOnTheReceiveThread("data:"));
    EXPECT_TRUE(AllOnTheReceiveThread("ended"));
    const t_Names names = Owner().GetNames();
    EXPECT_EQ(std::vector<std::string>(names.end() - 2, names.end()), (t_Names{"ended", "closed"}));
}

TEST_F(BufferedSocket2ReceiveThread, CloseFromItsOwnDataCallbackEndsTheLoop) {
    Owner().m_OnData = [](c_BufferedSocket2* socket, c_ByteBuffer&) {
        c_CriticalSectionLock lock;
        socket->CloseSocket(true, lock);
    };
    ASSERT_TRUE(m_p_Fixture->PeerSends("last"));
    ASSERT_TRUE(PumpAndWaitUntil([&] { return Owner().HasCall("ended"); }));
    const t_Names names = Owner().GetNames();
    EXPECT_EQ(std::vector<std::string>(names.end() - 3, names.end()), (t_Names{"data:last", "closed", "ended"}));
    EXPECT_TRUE(AllOnTheReceiveThread("closed"));
    c_CriticalSectionLock lock;
    EXPECT_TRUE(Socket()->IsDisconnected(lock));
}

TEST_F(BufferedSocket2ReceiveThread, ThrowingEndedCallbackIsLoggedAndTheThreadEnds) {
    Owner().ThrowIn("ended");
    c_CriticalSectionLock lock;
    Socket()->CloseSocket(true, lock);
    lock.Unlock();
    EXPECT_FALSE(m_Thread.IsThreadRunning());
    EXPECT_TRUE(m_p_Fixture->m_Session.HasLine(
        m_p_Fixture->Line("Caught an unhandled exception from the owner OnBufferedSocketReceiveThreadEnded in "
                          "c_BufferedSocket2::WaitForAndProcessReceivedData")));
    EXPECT_TRUE(Owner().HasCall("closed"));
}

// A listening socket on 127.0.0.1 that adopts every connection into one buffered socket.
class c_AdoptingOwner : public c_ListeningSocketOwner {
public:
    void OnListeningSocketConnection(c_ListeningSocket*, c_SocketWrapper&& accepted,
                                     std::uint32_t peerAddress) override {
        c_CriticalSectionLock lock;
        m_Results.push_back(m_Socket.AdoptConnection(std::move(accepted), 0, 0, false, peerAddress, 0, 0, 0, 0, lock));
    }
    void OnListeningSocketClosed(c_ListeningSocket*) override {}

    c_TestBufferedSocketOwner m_Owner;
    c_BufferedSocket2 m_Socket{&m_Owner, "Adopted"};
    std::vector<bool> m_Results;
    c_ListeningSocket m_Listener{this, "Listener"};
};

class BufferedSocket2Adopting : public testing::Test, protected c_BufferedSocketFixture {
protected:
    void SetUp() override { ASSERT_TRUE(m_Adopting.m_Listener.Open(n_PosixPeer::FindClosedPort(), 0x7F000001)); }
    void TearDown() override { m_Adopting.m_Listener.Close(); }

    bool ConnectTo(c_BufferedSocket2& socket) {
        c_CriticalSectionLock lock;
        return socket.Connect("127.0.0.1", m_Adopting.m_Listener.GetPort(), 0, lock);
    }
    std::string AdoptedText() const {
        std::string all;
        for (const std::string& name : m_Adopting.m_Owner.GetNames()) {
            all += name.compare(0, 5, "data:") == 0 ? name.substr(5) : "";
        }
        return all;
    }

    c_AdoptingOwner m_Adopting;
};

TEST_F(BufferedSocket2Adopting, TheAdoptedSocketIsConnectedAtOnceAndCarriesBytes) {
    ASSERT_TRUE(ConnectTo(*m_p_Socket));
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("connected") && !m_Adopting.m_Results.empty(); }));
    EXPECT_EQ(m_Adopting.m_Results, std::vector<bool>{true});
    c_CriticalSectionLock lock;
    EXPECT_TRUE(m_Adopting.m_Socket.IsConnected(lock));
    lock.Unlock();
    ASSERT_TRUE(Send("to the adopted"));
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return AdoptedText() == "to the adopted"; }));
    EXPECT_FALSE(m_Adopting.m_Owner.HasCall("connected"));
    lock.Relock();
    const std::string back = "and back";
    EXPECT_TRUE(m_Adopting.m_Socket.Send(back.data(), static_cast<std::int64_t>(back.size()), 0, lock));
    lock.Unlock();
    EXPECT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("data:and back"); }));
}

// A buffered socket still connected refuses a second connection, which is closed.
TEST_F(BufferedSocket2Adopting, ASocketInUseRefusesAndClosesTheNewConnection) {
    ASSERT_TRUE(ConnectTo(*m_p_Socket));
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Adopting.m_Results.size() == 1; }));
    c_TestBufferedSocketOwner secondOwner;
    c_BufferedSocket2 second(&secondOwner, "Second");
    ASSERT_TRUE(ConnectTo(second));
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Adopting.m_Results.size() == 2; }));
    EXPECT_EQ(m_Adopting.m_Results, (std::vector<bool>{true, false}));
    EXPECT_TRUE(m_Session.HasLineContaining(") | Existing connection is not closed when adopting."));
    EXPECT_TRUE(n_Platform::PumpUntil([&] { return secondOwner.HasCall("closed"); }));
}

} // namespace
