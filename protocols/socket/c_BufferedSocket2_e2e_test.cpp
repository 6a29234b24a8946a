// Tests of the buffered socket against a socat echo peer: bytes come back whole, and compressed
// receive blocks are decoded or refused on the way in.

#include "protocols/socket/c_BufferedSocket2.h"

#include "network/LZ4Streams.h"
#include "network/testing/c_CoreSession.h"
#include "network/testing/c_SocatPeer.h"
#include "platform/testing/PumpUntil.h"
#include "protocols/socket/testing/c_TestBufferedSocketOwner.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// An echo peer per test: socat serves one connection.
class BufferedSocket2Echo : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(m_Echo.GetPort(), 0);
        c_CriticalSectionLock lock;
        ASSERT_TRUE(m_p_Socket->Connect("127.0.0.1", m_Echo.GetPort(), 0, lock));
        m_Index = m_p_Socket->GetNetworkSocketID(lock);
        lock.Unlock();
        ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("connected"); }));
    }
    void TearDown() override { m_p_Socket.reset(); }

    bool Send(const std::string& bytes) {
        c_CriticalSectionLock lock;
        return m_p_Socket->Send(bytes.data(), static_cast<std::int64_t>(bytes.size()), 0, lock);
    }
    // Everything the owner was offered, joined, since it uses every byte.
    std::string Received() const {
        std::string all;
        for (const std::string& name : m_Owner.GetNames()) {
            if (name.compare(0, 5, "data:") == 0) {
                all += name.substr(5);
            }
        }
        return all;
    }
    void Decompress(std::int32_t mode) {
        c_CriticalSectionLock lock;
        m_p_Socket->SetReceiveDecompression(mode, lock);
    }

    c_CoreSession m_Session;
    c_SocatPeer m_Echo{"PIPE"};
    c_TestBufferedSocketOwner m_Owner;
    std::unique_ptr<c_BufferedSocket2> m_p_Socket = std::make_unique<c_BufferedSocket2>(&m_Owner, "Echo");
    std::int32_t m_Index = 0;
};

std::string Header(std::uint32_t total, std::uint32_t uncompressed) {
    std::string bytes;
    for (const std::uint32_t value : {total, uncompressed}) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes += static_cast<char>(value >> shift);
        }
    }
    return bytes;
}

std::string OneShotBlock(const std::string& text) {
    std::vector<std::uint8_t> data;
    CompressLZ4(std::vector<std::uint8_t>(text.begin(), text.end()), data, 1);
    return Header(static_cast<std::uint32_t>(data.size()) + 8, static_cast<std::uint32_t>(text.size())) +
           std::string(data.begin(), data.end());
}

TEST_F(BufferedSocket2Echo, BytesComeBackWholeAndInOrder) {
    std::string sent;
    for (int round = 0; round < 50; ++round) {
        const std::string piece =
            "piece " + std::to_string(round) + std::string(static_cast<std::size_t>(round) * 97, '.');
        ASSERT_TRUE(Send(piece));
        sent += piece;
    }
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return Received().size() >= sent.size(); }));
    EXPECT_EQ(Received(), sent);
}

TEST_F(BufferedSocket2Echo, CompressedBlocksArriveDecodedAcrossSends) {
    Decompress(1);
    const std::string block = OneShotBlock("compressed hello, compressed hello, compressed hello");
    ASSERT_TRUE(Send(block.substr(0, 11)));
    ASSERT_TRUE(Send(block.substr(11) + block));
    const std::string expected = "compressed hello, compressed hello, compressed hello";
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return Received().size() >= 2 * expected.size(); }));
    EXPECT_EQ(Received(), expected + expected);
}

TEST_F(BufferedSocket2Echo, BlockShorterThanItsHeaderClosesTheSocket) {
    Decompress(1);
    ASSERT_TRUE(Send(Header(3, 0)));
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("closed"); }));
    EXPECT_TRUE(m_Session.HasLine("Echo (" + std::to_string(m_Index) +
                                  ") | Invalid compressed block received. Closing socket."));
    EXPECT_EQ(Received(), "");
}

} // namespace
