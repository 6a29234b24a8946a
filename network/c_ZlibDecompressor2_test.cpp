// Tests of c_ZlibDecompressor2: reads of every size over sources that deliver in pieces, the end of
// the stream, truncated and corrupt sources, and Reset.

#include "network/c_ZlibDecompressor2.h"

#include "network/testing/CompressionTestData.h"
#include "network/testing/c_MemoryStreams.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace n_CompressionTestData;

std::string Text(s_ByteSpan span) {
    return std::string(reinterpret_cast<const char*>(span.m_p_Data), span.m_Size);
}

// Reads n at a time until the end, giving up after many empty reads.
std::string ReadAll(c_ZlibDecompressor2& reader, std::uint64_t n) {
    std::string data;
    for (int empty = 0; !reader.IsAtEnd() && empty < 1000;) {
        const s_ByteSpan span = reader.Read(n);
        EXPECT_LE(span.m_Size, n);
        empty = span.m_Size == 0 ? empty + 1 : 0;
        data += Text(span);
    }
    return data;
}

const std::string BODY = MixedData(700000, 31);

TEST(c_ZlibDecompressor2, ReadsInflateZlibAndGzipInAnyPieces) {
    const struct {
        const char* m_Name;
        int m_WindowBits;
        std::vector<std::uint32_t> m_SourcePieces;
        std::uint64_t m_Read;
    } cases[] = {
        {"zlib, whole source, reads of 4096", ZLIB_WINDOW_BITS, {}, 4096},
        {"gzip, whole source, one large read", GZIP_WINDOW_BITS, {}, 10000000},
        {"zlib, source byte by byte", ZLIB_WINDOW_BITS, {1}, 100000},
        {"gzip, source with waits", GZIP_WINDOW_BITS, {0, 7, 0, 0, 1000, 3}, 65536},
        {"zlib, reads of one byte", ZLIB_WINDOW_BITS, {5000}, 1},
    };
    for (const auto& test : cases) {
        const std::string body = test.m_Read == 1 ? BODY.substr(0, 30000) : BODY;
        c_ScriptedReader source(Deflated(body, test.m_WindowBits), test.m_SourcePieces);
        c_ZlibDecompressor2 reader(&source);
        EXPECT_EQ(ReadAll(reader, test.m_Read), body) << test.m_Name;
        EXPECT_FALSE(reader.HasError()) << test.m_Name << ": " << ToStd(reader.GetErrorText());
        EXPECT_TRUE(reader.IsAtEnd()) << test.m_Name;
    }
}

TEST(c_ZlibDecompressor2, ReadOfZeroConsumesWhatWasHandedOut) {
    c_ScriptedReader source(Deflated("0123456789abcdef", ZLIB_WINDOW_BITS));
    c_ZlibDecompressor2 reader(&source);
    EXPECT_EQ(Text(reader.Read(4)), "0123");
    EXPECT_EQ(reader.GetBufferedSize(), 16);
    const s_ByteSpan empty = reader.Read(0);
    EXPECT_EQ(empty.m_Size, 0u);
    EXPECT_EQ(empty.m_p_Data, nullptr);
    EXPECT_EQ(reader.GetBufferedSize(), 12);
    EXPECT_EQ(Text(reader.Read(4)), "4567");
}

TEST(c_ZlibDecompressor2, TheEndOfTheStream) {
    c_ScriptedReader source(Deflated("0123456789abcdef", ZLIB_WINDOW_BITS));
    c_ZlibDecompressor2 reader(&source);
    EXPECT_EQ(Text(reader.Read(10)), "0123456789");
    EXPECT_FALSE(reader.IsAtEnd());
    EXPECT_EQ(Text(reader.Read(10)), "abcdef");
    EXPECT_TRUE(reader.IsAtEnd());
    EXPECT_FALSE(reader.IsDrained());
    EXPECT_EQ(reader.Read(10).m_Size, 0u);
    EXPECT_TRUE(reader.IsDrained());
    EXPECT_FALSE(reader.HasError());
}

TEST(c_ZlibDecompressor2, ASourceAtItsEndFromTheStartGivesNothing) {
    c_ScriptedReader source("");
    c_ZlibDecompressor2 reader(&source);
    EXPECT_TRUE(reader.IsAtEnd());
    EXPECT_EQ(reader.Read(10).m_Size, 0u);
    EXPECT_EQ(source.GetReadCount(), 0);
}

TEST(c_ZlibDecompressor2, FailuresEndTheReader) {
    const std::string compressed = Deflated(BODY.substr(0, 100000), ZLIB_WINDOW_BITS);
    const struct {
        const char* m_Name;
        std::string m_Source;
        const char* m_Text;
    } cases[] = {
        {"source ends in the middle", compressed.substr(0, compressed.size() / 2), "No progress is possible."},
        {"empty source", "", "No progress is possible."},
        {"not zlib", "this is not zlib",
         "Zlib reports there is an error in the data.  Zlib message: incorrect header check"},
        {"preset dictionary", std::string("\x78\xbb\x00\x00\x00\x01", 6), "Dictionary is needed."},
    };
    for (const auto& test : cases) {
        c_ScriptedReader source(test.m_Source, {1000});
        c_ZlibDecompressor2 reader(&source);
        // Forced to read: the empty source is not at its end for the reader after a Reset.
        reader.Reset();
        const std::string data = ReadAll(reader, 4096);
        EXPECT_TRUE(reader.HasError()) << test.m_Name;
        EXPECT_EQ(ToStd(reader.GetErrorText()), test.m_Text) << test.m_Name;
        EXPECT_TRUE(reader.IsAtEnd()) << test.m_Name;
        EXPECT_EQ(data, BODY.substr(0, data.size())) << test.m_Name;
        EXPECT_FALSE(reader.Fill(100)) << test.m_Name;
    }
}

TEST(c_ZlibDecompressor2, ResetStartsTheNextStream) {
    const std::string first = Deflated("first stream", ZLIB_WINDOW_BITS);
    const std::string second = Deflated("second stream", GZIP_WINDOW_BITS);
    c_ScriptedReader source(first + second);
    c_ZlibDecompressor2 reader(&source);
    EXPECT_EQ(ReadAll(reader, 100), "first stream");
    EXPECT_TRUE(reader.Reset());
    EXPECT_FALSE(reader.IsAtEnd());
    EXPECT_EQ(ReadAll(reader, 100), "second stream");
    EXPECT_FALSE(reader.HasError());
}

} // namespace
