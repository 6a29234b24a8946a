// Tests of compressed sockets: two of our own sockets, a connecting one and a listening socket's
// adopted one, send each other incompressible and text data through the data-compression thread.

#include "network/c_DataCompressionThread.h"

#include "network/CompressedBlocks.h"
#include "network/testing/CompressionTestData.h"
#include "network/testing/c_AdoptingListener.h"
#include "network/testing/c_CoreSession.h"
#include "platform/testing/PumpUntil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

#if defined(PROJECT_SANITIZED)
// Still many send buffers and compressed blocks, in a time the sanitizers allow.
constexpr std::size_t TRANSFER_SIZE = 8 * 1048576;
#else
constexpr std::size_t TRANSFER_SIZE = 64 * 1048576;
#endif
constexpr std::uint32_t PIECE = 4 * 1048576;
constexpr std::uint32_t PENDING_LIMIT = 16 * 1048576;

// Keeps a few send buffers' worth of one data set queued in an owner.
struct s_Feeder {
    c_TestSocketOwner* m_p_Owner;
    const std::string* m_p_Data;
    std::size_t m_Offset = 0;

    void Feed() {
        while (m_Offset < m_p_Data->size() && m_p_Owner->GetPendingSendBytes() < PENDING_LIMIT) {
            const auto piece = static_cast<std::uint32_t>(std::min<std::size_t>(PIECE, m_p_Data->size() - m_Offset));
            const std::uint32_t taken =
                m_p_Owner->Send(reinterpret_cast<const std::uint8_t*>(m_p_Data->data()) + m_Offset, piece);
            if (taken == 0) {
                return;
            }
            m_Offset += taken;
        }
    }
};

std::string ReceivedText(const c_TestSocketOwner& owner) {
    return std::string(reinterpret_cast<const char*>(owner.m_Received.GetData()), owner.m_Received.GetSize());
}

float ReadCompressionRatio(c_TestSocketOwner& owner) {
    c_CriticalSectionLock lock;
    c_NetworkSocket* socket = owner.Find(lock);
    return socket == nullptr ? -1 : socket->GetCompressionRatio();
}

struct s_CompressionCase {
    const char* m_Name;
    std::int32_t m_CompressionType;
    std::int32_t m_ReceiveDecompression;
    bool m_Text;
};

// Incompressible data goes from the connecting socket to the adopted one, text the other way.
const s_CompressionCase COMPRESSION_CASES[] = {
    {"OneShotBlocksIncompressible", 1, RECEIVE_DECOMPRESSION_BLOCKS, false},
    {"OneShotBlocksText", 1, RECEIVE_DECOMPRESSION_BLOCKS, true},
    {"StreamIncompressible", 2, RECEIVE_DECOMPRESSION_STREAM, false},
    {"StreamText", 2, RECEIVE_DECOMPRESSION_STREAM, true},
};

class CompressedSockets : public testing::TestWithParam<s_CompressionCase> {
protected:
    c_CoreSession m_Session;
    c_AdoptingListener m_Listener;
};

TEST_P(CompressedSockets, CarryDataIntact) {
    const s_CompressionCase& row = GetParam();
    const auto configure = [&](c_TestSocketOwner& owner) {
        owner.m_CompressionType = row.m_CompressionType;
        owner.m_ReceiveDecompression = row.m_ReceiveDecompression;
    };
    m_Listener.m_Adopt = true;
    m_Listener.m_ConfigureAdopted = configure;
    ASSERT_TRUE(m_Listener.Open());
    std::unique_ptr<c_TestSocketOwner> connecting = m_Listener.ConnectOwner(configure);
    ASSERT_NE(connecting, nullptr);
    c_TestSocketOwner& sender = row.m_Text ? *m_Listener.GetLastAdopted() : *connecting;
    c_TestSocketOwner& receiver = row.m_Text ? *connecting : *m_Listener.GetLastAdopted();

    const std::string data = row.m_Text ? n_CompressionTestData::MixedData(TRANSFER_SIZE, 12)
                                        : n_CompressionTestData::RandomBytes(TRANSFER_SIZE, 11);
    s_Feeder feeder{&sender, &data};
    const auto feed = [&] { feeder.Feed(); };
    sender.m_OnProgress = feed;
    receiver.m_OnProgress = feed;
    feed();
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return receiver.m_Received.GetSize() >= TRANSFER_SIZE; }));
    EXPECT_TRUE(ReceivedText(receiver) == data) << "the data changed on its way";
    EXPECT_FALSE(sender.HasEvent(SOCKET_EVENT_ERROR));
    EXPECT_FALSE(receiver.HasEvent(SOCKET_EVENT_ERROR));

    const float ratio = ReadCompressionRatio(sender);
    if (row.m_Text) {
        EXPECT_GT(ratio, 1.5F) << "text shrinks";
    } else {
        EXPECT_GT(ratio, 0.9F);
        EXPECT_LT(ratio, 1.0F) << "random bytes do not shrink";
    }
}

INSTANTIATE_TEST_SUITE_P(Types, CompressedSockets, testing::ValuesIn(COMPRESSION_CASES),
                         [](const testing::TestParamInfo<s_CompressionCase>& info) { return info.param.m_Name; });

} // namespace
