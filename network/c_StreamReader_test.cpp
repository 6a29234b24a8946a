// Tests of the reads that every stream reader shares: ReadInto and Skip.

#include "network/c_StreamReader.h"

#include "network/testing/c_MemoryStreams.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(c_StreamReader, ReadIntoCopiesWhatTheReaderHandsOut) {
    const struct {
        const char* m_Name;
        std::vector<std::uint32_t> m_Pieces;
        std::uint64_t m_Size;
        std::string m_Copied;
    } cases[] = {
        {"whole", {}, 5, "abcde"},      {"short piece", {3}, 5, "abc"},
        {"waiting source", {0}, 5, ""}, {"more than there is", {}, 100, "abcdefghij"},
        {"nothing asked", {}, 0, ""},
    };
    for (const auto& test : cases) {
        c_ScriptedReader reader("abcdefghij", test.m_Pieces);
        std::string destination(100, '.');
        const std::uint64_t copied = reader.ReadInto(reinterpret_cast<std::uint8_t*>(destination.data()), test.m_Size);
        EXPECT_EQ(destination.substr(0, copied), test.m_Copied) << test.m_Name;
        EXPECT_EQ(destination[copied], '.') << test.m_Name;
    }
}

TEST(c_StreamReader, SkipDropsBytes) {
    c_ScriptedReader reader("abcdefghij", {4});
    EXPECT_EQ(reader.Skip(0), 0u);
    EXPECT_EQ(reader.GetReadCount(), 0);
    EXPECT_EQ(reader.Skip(3), 3u);
    EXPECT_EQ(reader.Skip(10), 4u);
    std::uint8_t byte = 0;
    EXPECT_EQ(reader.ReadInto(&byte, 1), 1u);
    EXPECT_EQ(byte, 'h');
}

class c_GreedyReader : public c_StreamReader {
public:
    s_ByteSpan Read(std::uint64_t n) override { return s_ByteSpan::FromPointer(m_Bytes, n + 1); }
    bool IsAtEnd() const override { return false; }

private:
    std::uint8_t m_Bytes[16] = {};
};

TEST(c_StreamReaderDeathTest, AReaderHandingOutMoreThanAskedEndsTheProcess) {
    c_GreedyReader reader;
    std::uint8_t destination[16];
    EXPECT_DEATH(reader.ReadInto(destination, 4), "");
}

} // namespace
