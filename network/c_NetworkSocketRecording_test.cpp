// Tests of the recordings of a socket's bytes under "SocketData\" beside the program, and of the
// compression figures.

#include "network/c_NetworkSocket.h"

#include "network/CompressedBlocks.h"
#include "network/testing/c_AdoptingListener.h"
#include "network/testing/c_CoreSession.h"
#include "platform/testing/PumpUntil.h"
#include "textutil/DateTimeText.h"
#include "textutil/c_DateTime.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::filesystem::path RecordingFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "SocketData";
}

// The recordings whose names start with the prefix.
std::vector<std::filesystem::path> FindRecordings(const std::string& prefix) {
    std::vector<std::filesystem::path> found;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(RecordingFolder(), ignored)) {
        if (entry.path().filename().string().rfind(prefix, 0) == 0) {
            found.push_back(entry.path());
        }
    }
    return found;
}

std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

class Recording : public testing::Test {
protected:
    void TearDown() override {
        c_NetworkSocket::SetRecordingSizeLimit(c_NetworkSocket::RECORDING_SIZE_LIMIT);
        for (const char* prefix : {"ReceiveData_", "UncompressedSendData_", "CompressedSendData_", "Stale_"}) {
            for (const auto& path : FindRecordings(prefix + m_Name)) {
                std::filesystem::remove(path);
            }
        }
    }
    // The one recording of this test's socket with the prefix, or "" with a failure.
    std::string ReadRecording(const std::string& prefix) {
        const std::vector<std::filesystem::path> found = FindRecordings(prefix + m_Name + "_");
        EXPECT_EQ(found.size(), 1U) << prefix;
        return found.size() == 1 ? ReadWhole(found[0]) : std::string();
    }
    static void Record(c_NetworkSocket& socket, c_File& file, bool& failed, const std::string& bytes) {
        socket.RecordData(reinterpret_cast<const std::uint8_t*>(bytes.data()), static_cast<std::uint32_t>(bytes.size()),
                          file, failed, "ReceiveData_");
    }

    const std::string m_Name =
        "Rec" + std::to_string(getpid()) + "_" + testing::UnitTest::GetInstance()->current_test_info()->name();
};

class RecordedSockets : public Recording {
protected:
    void SetUp() override {
        m_Listener.m_Adopt = true;
        ASSERT_TRUE(m_Listener.Open());
    }
    void TearDown() override {
        m_Connecting.reset();
        m_Listener.Close();
        Recording::TearDown();
    }
    void Connect(std::int32_t compressionType) {
        m_Listener.m_ConfigureAdopted = [=](c_TestSocketOwner& owner) {
            owner.m_ReceiveDecompression = compressionType;
        };
        m_Connecting = m_Listener.ConnectOwner([&](c_TestSocketOwner& owner) {
            owner.m_Name = m_Name.c_str();
            owner.m_CompressionType = compressionType;
            owner.m_RecordReceivedData = true;
            owner.m_RecordSentData = true;
        });
        ASSERT_NE(m_Connecting, nullptr);
    }
    static void SendAndWait(c_TestSocketOwner& from, c_TestSocketOwner& to, const std::string& bytes) {
        const std::uint32_t before = to.m_Received.GetSize();
        from.Send(reinterpret_cast<const std::uint8_t*>(bytes.data()), static_cast<std::uint32_t>(bytes.size()));
        ASSERT_TRUE(n_Platform::PumpUntil([&] { return to.m_Received.GetSize() == before + bytes.size(); }));
    }

    c_CoreSession m_Session;
    c_AdoptingListener m_Listener;
    std::unique_ptr<c_TestSocketOwner> m_Connecting;
};

TEST_F(RecordedSockets, EachDirectionWritesOneNamedFileOfTheRawBytes) {
    Connect(0);
    c_TestSocketOwner& adopted = *m_Listener.GetLastAdopted();
    for (const std::string piece : {"first read|", "second read|", "third read"}) {
        SendAndWait(adopted, *m_Connecting, piece);
    }
    SendAndWait(*m_Connecting, adopted, "sent by the recording socket");

    const std::vector<std::filesystem::path> received = FindRecordings("ReceiveData_" + m_Name + "_");
    ASSERT_EQ(received.size(), 1U);
    EXPECT_TRUE(std::regex_match(received[0].filename().string(),
                                 std::regex("ReceiveData_" + m_Name + "_\\d{4}-\\d{2}-\\d{2} \\d{6}\\.txt")))
        << received[0];
    EXPECT_EQ(ReadWhole(received[0]), "first read|second read|third read");
    EXPECT_EQ(ReadRecording("UncompressedSendData_"), "sent by the recording socket");
    EXPECT_TRUE(FindRecordings("CompressedSendData_" + m_Name).empty());
}

TEST_F(RecordedSockets, ACompressingSocketAlsoRecordsItsBlocks) {
    Connect(RECEIVE_DECOMPRESSION_BLOCKS);
    std::string text;
    for (int line = 0; line < 400; ++line) {
        text += "price " + std::to_string(line * 7) + " volume " + std::to_string(line * 13) + "\n";
    }
    SendAndWait(*m_Connecting, *m_Listener.GetLastAdopted(), text);

    EXPECT_EQ(ReadRecording("UncompressedSendData_"), text);
    const std::string blocks = ReadRecording("CompressedSendData_");
    EXPECT_LT(blocks.size(), text.size());
    c_ByteBuffer compressed;
    compressed.Append(blocks.data(), static_cast<std::uint32_t>(blocks.size()));
    c_ByteBuffer decoded;
    c_LZ4StreamDecompressor decompressor;
    EXPECT_EQ(DecodeCompressedBlocks(compressed, decoded, RECEIVE_DECOMPRESSION_BLOCKS, &decompressor),
              e_CompressedBlocksResult::DECODED);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(decoded.GetData()), decoded.GetSize()), text);
    EXPECT_EQ(compressed.GetSize(), 0U);
}

// A file one byte short of the limit takes the next write whole; one at the limit takes none.
TEST_F(Recording, StopsAtTheSizeLimit) {
    c_NetworkSocket::SetRecordingSizeLimit(10);
    c_NetworkSocket socket(m_Name.c_str(), false, 0);
    c_File shortFile;
    bool failed = false;
    Record(socket, shortFile, failed, "123456789");
    Record(socket, shortFile, failed, "abcde");
    EXPECT_EQ(shortFile.GetSize(), 14);
    Record(socket, shortFile, failed, "xyz");
    EXPECT_EQ(shortFile.GetSize(), 14);
    shortFile.Close(false, false);
    EXPECT_EQ(ReadRecording("ReceiveData_"), "123456789abcde");

    c_File fullFile;
    socket.RecordData(reinterpret_cast<const std::uint8_t*>("1234567890"), 10, fullFile, failed,
                      "UncompressedSendData_");
    socket.RecordData(reinterpret_cast<const std::uint8_t*>("x"), 1, fullFile, failed, "UncompressedSendData_");
    fullFile.Close(false, false);
    EXPECT_EQ(ReadRecording("UncompressedSendData_"), "1234567890");
}

// Whatever second the file opens in, an older file of that name keeps no tail.
TEST_F(Recording, OpeningEmptiesAnOlderFileOfTheSameName) {
    c_DateTime now = GetCurrentDateTimeUTC();
    for (int second = 0; second < 3; ++second) {
        const std::string stamp = DateTimeToFileNameString(now).GetChars();
        std::filesystem::create_directories(RecordingFolder());
        std::ofstream(RecordingFolder() / ("ReceiveData_" + m_Name + "_" + stamp + ".txt"))
            << "a stale recording, longer than the new one";
        now.AddSeconds(1);
    }
    c_NetworkSocket socket(m_Name.c_str(), false, 0);
    c_File file;
    bool failed = false;
    Record(socket, file, failed, "new");
    file.Close(false, false);
    std::string content;
    for (const auto& path : FindRecordings("ReceiveData_" + m_Name + "_")) {
        const std::string bytes = ReadWhole(path);
        if (bytes.rfind("new", 0) == 0) {
            content = bytes;
        }
    }
    EXPECT_EQ(content, "new");
}

TEST_F(Recording, AFileThatCannotOpenIsReportedOnceAndNotTriedAgain) {
    c_CoreSession session;
    c_NetworkSocket socket((m_Name + "\\NoSuchFolder").c_str(), true, 0);
    c_File file;
    bool failed = false;
    Record(socket, file, failed, "lost");
    Record(socket, file, failed, "lost again");
    EXPECT_TRUE(failed);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(session.HasLineStartingWith(m_Name + "\\NoSuchFolder (0) | Error opening data recording file. "));
}

TEST(CompressionRatio, IsBytesSentPerCompressedByte) {
    c_NetworkSocket socket("Ratio", false, 0);
    EXPECT_EQ(socket.GetCompressionRatio(), 0.0F) << "nothing compressed yet";
    socket.m_BytesSent = 300;
    EXPECT_EQ(socket.GetCompressionRatio(), 0.0F);
    socket.m_CompressedBytesSent = 120;
    EXPECT_FLOAT_EQ(socket.GetCompressionRatio(), 2.5F);
}

} // namespace
