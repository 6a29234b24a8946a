// Tests of c_ZlibInflateStream: headers, slicing, exact counts, trailing bytes, errors, the output
// limit, the compressed block and the one-shot deflate.

#include "network/c_ZlibInflateStream.h"

#include "network/testing/CompressionTestData.h"
#include "strings/testing/c_FailingAllocation.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace n_CompressionTestData;

const std::uint8_t* Bytes(const std::string& text) {
    return reinterpret_cast<const std::uint8_t*>(text.data());
}

std::string Text(const c_ByteBuffer& buffer) {
    return std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
}

c_ByteBuffer Buffer(const std::string& bytes) {
    c_ByteBuffer buffer;
    buffer.Append(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return buffer;
}

const std::string BODY = MixedData(300000, 7);

struct s_Encoding {
    const char* m_Name;
    int m_WindowBits;
};

const s_Encoding ENCODINGS[] = {{"zlib", ZLIB_WINDOW_BITS}, {"gzip", GZIP_WINDOW_BITS}, {"raw", RAW_WINDOW_BITS}};

TEST(c_ZlibInflateStream, GzipAndZlibBodiesInflateWithoutAHint) {
    for (const s_Encoding& encoding : ENCODINGS) {
        const std::string compressed = Deflated(BODY, encoding.m_WindowBits);
        c_ZlibInflateStream stream;
        c_ByteBuffer output;
        c_String error;
        int consumed = -1;
        const bool raw = encoding.m_WindowBits < 0;
        EXPECT_TRUE(stream.Inflate(Bytes(compressed), int(compressed.size()), &consumed, output, &error, raw))
            << encoding.m_Name << ": " << ToStd(error);
        EXPECT_EQ(Text(output), BODY) << encoding.m_Name;
        EXPECT_EQ(consumed, int(compressed.size())) << encoding.m_Name;
    }
}

TEST(c_ZlibInflateStream, OneByteAtATimeGivesTheSameOutputAndExactCounts) {
    for (const s_Encoding& encoding : ENCODINGS) {
        const std::string compressed = Deflated(BODY.substr(0, 20000), encoding.m_WindowBits) + "after";
        c_ZlibInflateStream stream;
        c_ByteBuffer output;
        std::size_t taken = 0;
        for (std::size_t i = 0; i < compressed.size(); ++i) {
            int consumed = -1;
            ASSERT_TRUE(stream.Inflate(Bytes(compressed) + i, 1, &consumed, output, nullptr, encoding.m_WindowBits < 0))
                << encoding.m_Name << " at " << i;
            // zlib takes every byte of the stream and none after its end.
            ASSERT_EQ(consumed, i < compressed.size() - 5 ? 1 : 0) << encoding.m_Name << " at " << i;
            taken += std::size_t(consumed);
        }
        EXPECT_EQ(Text(output), BODY.substr(0, 20000)) << encoding.m_Name;
        EXPECT_EQ(taken, compressed.size() - 5) << encoding.m_Name;
    }
}

TEST(c_ZlibInflateStream, PiecesOfAnySizeGiveTheSameOutput) {
    const std::string compressed = Deflated(BODY, GZIP_WINDOW_BITS);
    for (const std::size_t piece : {2u, 7u, 100u, 4096u, 65536u, 300000u}) {
        c_ZlibInflateStream stream;
        c_ByteBuffer input;
        c_ByteBuffer output;
        for (std::size_t at = 0; at < compressed.size(); at += piece) {
            input.Append(compressed.data() + at, std::uint32_t(std::min(piece, compressed.size() - at)));
            ASSERT_TRUE(stream.Inflate(input, output, nullptr)) << "piece " << piece;
            ASSERT_TRUE(input.IsEmpty()) << "piece " << piece;
        }
        EXPECT_EQ(Text(output), BODY) << "piece " << piece;
    }
}

TEST(c_ZlibInflateStream, BytesAfterTheEndStayInTheInput) {
    const std::string compressed = Deflated("hello, world", ZLIB_WINDOW_BITS);
    c_ZlibInflateStream stream;
    c_ByteBuffer input = Buffer(compressed + "TRAILER");
    c_ByteBuffer output;
    EXPECT_TRUE(stream.Inflate(input, output, nullptr));
    EXPECT_EQ(Text(output), "hello, world");
    EXPECT_EQ(Text(input), "TRAILER");

    EXPECT_TRUE(stream.Inflate(input, output, nullptr));
    EXPECT_EQ(Text(output), "hello, world");
    EXPECT_EQ(Text(input), "TRAILER");

    int consumed = -1;
    EXPECT_TRUE(stream.Inflate(input, &consumed, output, nullptr));
    EXPECT_EQ(consumed, 0);
}

TEST(c_ZlibInflateStream, EmptyInputGivesNoOutput) {
    const struct {
        const char* m_Name;
        bool m_InitializeFirst;
    } cases[] = {{"before initialisation", false}, {"after initialisation", true}};
    for (const auto& test : cases) {
        c_ZlibInflateStream stream;
        c_String error;
        if (test.m_InitializeFirst) {
            ASSERT_TRUE(stream.Init(nullptr, 0, false, &error)) << test.m_Name;
        }
        c_ByteBuffer input;
        c_ByteBuffer output;
        EXPECT_TRUE(stream.Inflate(input, output, &error)) << test.m_Name;
        EXPECT_TRUE(output.IsEmpty()) << test.m_Name;
        EXPECT_TRUE(stream.IsInitialized()) << test.m_Name;
    }
}

TEST(c_ZlibInflateStream, ErrorsAreStickyUntilReset) {
    const std::string good = Deflated("abc", ZLIB_WINDOW_BITS);
    const struct {
        const char* m_Name;
        std::string m_Input;
        const char* m_Text;
    } cases[] = {
        {"not a header", "this is not zlib",
         "Zlib reports there is an error in the data.  Zlib message: incorrect header check"},
        {"bad block type", std::string("\x78\x9c\x07", 3),
         "Zlib reports there is an error in the data.  Zlib message: invalid block type"},
        {"wrong check value", good.substr(0, good.size() - 1) + char(good.back() ^ 1),
         "Zlib reports there is an error in the data.  Zlib message: incorrect data check"},
        {"preset dictionary", std::string("\x78\xbb\x00\x00\x00\x01", 6), "Dictionary is needed."},
    };
    for (const auto& test : cases) {
        c_ZlibInflateStream stream;
        c_ByteBuffer input = Buffer(test.m_Input);
        c_ByteBuffer output;
        c_String error;
        EXPECT_FALSE(stream.Inflate(input, output, &error)) << test.m_Name;
        EXPECT_EQ(ToStd(error), test.m_Text) << test.m_Name;
        EXPECT_TRUE(stream.HasError()) << test.m_Name;

        c_ByteBuffer next = Buffer(good);
        int consumed = -1;
        EXPECT_FALSE(stream.Inflate(next, &consumed, output, &error)) << test.m_Name;
        EXPECT_EQ(ToStd(error), "Encountered a previous error.") << test.m_Name;
        EXPECT_EQ(consumed, 0) << test.m_Name;

        stream.Reset();
        output.Clear(false);
        EXPECT_TRUE(stream.Inflate(next, output, &error)) << test.m_Name;
        EXPECT_EQ(Text(output), "abc") << test.m_Name;
    }
}

TEST(c_ZlibInflateStream, ErrorTextIsOptional) {
    c_ZlibInflateStream stream;
    c_ByteBuffer input = Buffer("this is not zlib");
    c_ByteBuffer output;
    EXPECT_FALSE(stream.Inflate(input, output, nullptr));
    EXPECT_FALSE(stream.Inflate(input, output, nullptr));
}

TEST(c_ZlibInflateStream, OutputLimit) {
    const std::string body = BODY.substr(0, 100000);
    const std::string compressed = Deflated(body, GZIP_WINDOW_BITS);
    const struct {
        const char* m_Name;
        std::uint32_t m_Limit;
        std::size_t m_Piece;
        bool m_Inflates;
    } cases[] = {
        {"far below, in one piece", 1000, compressed.size(), false},
        {"one byte below", 99999, compressed.size(), false},
        {"exactly the size", 100000, compressed.size(), true},
        {"above", 100001, compressed.size(), true},
        {"one byte below, in small pieces", 99999, 100, false},
        {"exactly the size, in small pieces", 100000, 100, true},
        {"zero", 0, compressed.size(), false},
    };
    for (const auto& test : cases) {
        c_ZlibInflateStream stream;
        stream.SetMaxOutputSize(test.m_Limit);
        c_ByteBuffer output;
        c_String error;
        bool inflated = true;
        for (std::size_t at = 0; at < compressed.size() && inflated; at += test.m_Piece) {
            const int length = int(std::min(test.m_Piece, compressed.size() - at));
            inflated = stream.Inflate(Bytes(compressed) + at, length, output, &error);
        }
        EXPECT_EQ(inflated, test.m_Inflates) << test.m_Name;
        if (test.m_Inflates) {
            EXPECT_EQ(Text(output), body) << test.m_Name;
            continue;
        }
        EXPECT_EQ(ToStd(error), "The inflated data is larger than the output limit.") << test.m_Name;
        EXPECT_EQ(Text(output), body.substr(0, test.m_Limit)) << test.m_Name;
        EXPECT_FALSE(stream.Inflate(Bytes(compressed), 1, output, &error)) << test.m_Name;
        EXPECT_EQ(ToStd(error), "Encountered a previous error.") << test.m_Name;

        stream.Reset();
        EXPECT_EQ(stream.GetMaxOutputSize(), test.m_Limit) << test.m_Name;
        stream.SetMaxOutputSize(c_ByteBuffer::MAX_SIZE);
        output.Clear(false);
        EXPECT_TRUE(stream.Inflate(Bytes(compressed), int(compressed.size()), output, &error)) << test.m_Name;
        EXPECT_EQ(Text(output), body) << test.m_Name;
    }
}

// One inflate call that makes a byte past the limit and then finds corrupt data reports the limit,
// and keeps no byte past it (the first input the fuzz target kept).
TEST(c_ZlibInflateStream, TheLimitComesBeforeALaterDataError) {
    const std::string block("\x00\x0b\x00\x7e\x00\x00\x00\x00\x84", 9);
    c_ZlibInflateStream stream;
    stream.SetMaxOutputSize(0);
    c_ByteBuffer output;
    c_String error;
    EXPECT_FALSE(stream.DecompressBlock(Bytes(block), std::uint32_t(block.size()), output, &error));
    EXPECT_EQ(ToStd(error), "The inflated data is larger than the output limit.");
    EXPECT_EQ(output.GetSize(), 0u);
}

TEST(c_ZlibInflateStream, OutputThatCannotGrowFails) {
    const std::string compressed = Deflated("abc", ZLIB_WINDOW_BITS);
    c_ZlibInflateStream stream;
    c_ByteBuffer output;
    c_String error;
    {
        c_FailingAllocation failing;
        EXPECT_FALSE(stream.Inflate(Bytes(compressed), int(compressed.size()), output, &error));
    }
    EXPECT_EQ(ToStd(error), "Failed to expand the output buffer.  Out of memory.");
    EXPECT_FALSE(stream.Inflate(Bytes(compressed), int(compressed.size()), output, &error));
    EXPECT_EQ(ToStd(error), "Encountered a previous error.");
}

TEST(c_ZlibInflateStream, RawChoiceHoldsUntilReset) {
    const std::string raw = Deflated("raw text", RAW_WINDOW_BITS);
    c_ZlibInflateStream stream;
    c_ByteBuffer output;
    c_String error;
    // Initialised for zlib and gzip headers, a raw stream is corrupt.
    ASSERT_TRUE(stream.Init(nullptr, 0, false, &error));
    EXPECT_FALSE(stream.Inflate(Bytes(raw), int(raw.size()), nullptr, output, &error, true));
    stream.Reset();
    output.Clear(false);
    EXPECT_TRUE(stream.Inflate(Bytes(raw), int(raw.size()), nullptr, output, &error, true)) << ToStd(error);
    EXPECT_EQ(Text(output), "raw text");
}

TEST(c_ZlibInflateStream, DecompressBlock) {
    // 00, the raw deflate of "abc", and the little-endian Adler-32 of "abc" (0x024d0127).
    const std::string abc("\x00\x4b\x4c\x4a\x06\x00\x27\x01\x4d\x02", 10);
    const std::string mixed = MixedData(50000, 3);
    const uLong mixedAdler = adler32(adler32(0, Z_NULL, 0), Bytes(mixed), uInt(mixed.size()));
    std::string mixedCheck;
    for (int shift = 0; shift < 32; shift += 8) {
        mixedCheck += char(mixedAdler >> shift);
    }
    std::string mixedBlock(1, '\0');
    mixedBlock.append(Deflated(mixed, RAW_WINDOW_BITS)).append(mixedCheck);
    const struct {
        const char* m_Name;
        std::string m_Block;
        bool m_Decodes;
        const char* m_Text;
        std::string m_Output;
    } cases[] = {
        {"abc", abc, true, "", "abc"},
        {"mixed data", mixedBlock, true, "", mixed},
        {"five bytes", abc.substr(0, 5), false, "Not enough data", ""},
        {"format byte 1", std::string("\x01").append(abc, 1), false, "Unsupported data format", ""},
        {"wrong check value", abc.substr(0, 9) + "\x03", false, "Checksum failed", "abc"},
        {"corrupt deflate", std::string("\x00\x07\x00\x00\x00\x00\x00", 7), false,
         "Zlib reports there is an error in the data.  Zlib message: invalid block type", ""},
    };
    for (const auto& test : cases) {
        c_ZlibInflateStream stream;
        c_ByteBuffer output = Buffer("old content");
        c_String error;
        EXPECT_EQ(stream.DecompressBlock(Bytes(test.m_Block), std::uint32_t(test.m_Block.size()), output, &error),
                  test.m_Decodes)
            << test.m_Name;
        EXPECT_EQ(ToStd(error), test.m_Text) << test.m_Name;
        if (test.m_Decodes || !test.m_Output.empty()) {
            EXPECT_EQ(Text(output), test.m_Output) << test.m_Name;
        }
    }
}

TEST(c_ZlibInflateStream, SecondBlockNeedsReset) {
    const std::string abc("\x00\x4b\x4c\x4a\x06\x00\x27\x01\x4d\x02", 10);
    c_ZlibInflateStream stream;
    c_ByteBuffer output;
    c_String error;
    ASSERT_TRUE(stream.DecompressBlock(Bytes(abc), 10, output, &error));
    EXPECT_FALSE(stream.DecompressBlock(Bytes(abc), 10, output, &error));
    EXPECT_EQ(ToStd(error), "Checksum failed");
    stream.Reset();
    EXPECT_TRUE(stream.DecompressBlock(Bytes(abc), 10, output, &error));
    EXPECT_EQ(Text(output), "abc");
}

TEST(c_ZlibInflateStream, CompressWithZlibRoundTrips) {
    const struct {
        const char* m_Name;
        std::string m_Input;
    } cases[] = {
        {"empty", ""},
        {"short text", "hello"},
        {"mixed data", MixedData(200000, 5)},
        {"random bytes", RandomBytes(70000, 6)},
    };
    for (const auto& test : cases) {
        c_ByteBuffer compressed = Buffer("old content");
        c_String error;
        ASSERT_TRUE(CompressWithZlib(compressed, Bytes(test.m_Input), int(test.m_Input.size()), &error)) << test.m_Name;
        EXPECT_TRUE(error.IsEmpty()) << test.m_Name;
        // zlib's one-shot inflate reads it back; the stream with window bits 47 too.
        const s_ReferenceInflate reference =
            ReferenceInflate(compressed.GetData(), compressed.GetSize(), ZLIB_WINDOW_BITS, test.m_Input.size());
        EXPECT_EQ(reference.m_Result, Z_STREAM_END) << test.m_Name;
        EXPECT_EQ(reference.m_Output, test.m_Input) << test.m_Name;
        c_ZlibInflateStream stream;
        c_ByteBuffer output;
        EXPECT_TRUE(stream.Inflate(compressed, output, &error)) << test.m_Name;
        EXPECT_EQ(Text(output), test.m_Input) << test.m_Name;
        EXPECT_TRUE(compressed.IsEmpty()) << test.m_Name;
    }
}

TEST(c_ZlibInflateStream, PrepareOutputBufferLeavesRoomAndNoBytes) {
    for (const int length : {0, 1, 1000000}) {
        c_ByteBuffer buffer = Buffer("old");
        PrepareOutputBuffer(buffer, length);
        EXPECT_EQ(buffer.GetSize(), 0u) << length;
        EXPECT_GE(buffer.GetCapacity(), std::uint64_t(length) + c_ZlibInflateStream::OUTPUT_STEP) << length;
    }
}

} // namespace
