// Tests of the response parser: one table of crafted responses, each fed whole, one byte at a time
// and at seeded random splits, with the same outcome every way.

#include "protocols/http/c_HTTPResponse.h"

#include "network/testing/CompressionTestData.h"
#include "protocols/http/testing/ResponseFeeding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace n_CompressionTestData;
using namespace n_ResponseFeeding;

constexpr std::uint32_t NO_LIMIT = c_HTTPResponse::DEFAULT_MAX_BODY_SIZE;
constexpr const char* DECODE = "Response body could not be decoded.  ";
constexpr const char* ANY_ERROR = "";

const std::string HELLO_GZIP = Deflated("hello", GZIP_WINDOW_BITS);
const std::string HELLO_ZLIB = Deflated("hello", ZLIB_WINDOW_BITS);
const std::string HELLO_RAW = Deflated("hello", RAW_WINDOW_BITS);
const std::string BOMB = Deflated(std::string(8u << 20, '\0'), GZIP_WINDOW_BITS);

std::string Status(const std::string& headers) {
    return "HTTP/1.1 200 OK\r\n" + headers + "\r\n";
}

std::string WithLength(const std::string& headers, const std::string& body) {
    return Status(headers + "Content-Length: " + std::to_string(body.size()) + "\r\n") + body;
}

std::string Chunk(const std::string& data) {
    char size[32];
    std::snprintf(size, sizeof(size), "%zx\r\n", data.size());
    return size + data + "\r\n";
}

std::string Chunked(const std::string& headers, const std::string& body, std::size_t piece) {
    std::string chunks;
    for (std::size_t at = 0; at < body.size(); at += piece) {
        chunks += Chunk(body.substr(at, piece));
    }
    return Status(headers + "Transfer-Encoding: chunked\r\n") + chunks + "0\r\n\r\n";
}

std::string ManyHeaders(int count) {
    std::string headers;
    for (int i = 0; i < count; ++i) {
        headers += "X-" + std::to_string(i) + ": v\r\n";
    }
    return headers;
}

// count fields with values of the given size.
std::string BigFields(int count, std::size_t size) {
    std::string fields;
    for (int i = 0; i < count; ++i) {
        fields += "X-" + std::to_string(i) + ": " + std::string(size, 'v') + "\r\n";
    }
    return fields;
}

struct s_Case {
    const char* m_Name;
    std::string m_Input;
    // The connection closes after the input.
    bool m_Close;
    std::int32_t m_State;
    // The error text, or its start; ANY_ERROR for none.
    std::string m_Error;
    std::int32_t m_StatusCode;
    std::string m_Body;
    std::size_t m_Left;
    // "name: value" that must be among the fields, or empty.
    std::string m_Header = "";
    std::uint32_t m_MaxBody = NO_LIMIT;
};

const std::string PLAIN = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello";

const s_Case CASES[] = {
    // Status line and header fields.
    {"LengthBody", PLAIN, false, 3, "", 200, "hello", 0},
    {"Version10", "HTTP/1.0 404 Not Found\r\nContent-Length: 1\r\n\r\nx", false, 3, "", 404, "x", 0},
    {"Version2", "HTTP/2 200\r\n\r\n", false, 4, "Response did not start with the expected HTTP version string.", 0, "",
     14},
    {"ShortVersionWaits", "HTTP/1.", true, 0, "", 0, "", 7},
    {"StatusLineWithoutBlank", "HTTP/1.1\r\n\r\nbody", true, 3, "", 0, "body", 0},
    {"HeaderWithoutSeparator", "HTTP/1.1 200 OK\r\nNoColon\r\n\r\n", false, 4,
     "Response includes a header line that does not include a header separator.", 200, "", 11},
    {"RepeatedFieldsJoined", WithLength("Set-Cookie: a\r\nset-cookie:  b \r\n", ""), false, 3, "", 200, "", 0,
     "Set-Cookie: a, b"},
    {"BareLineFeedStaysInLine", WithLength("X-A: 1\n2\r\n", "ok"), false, 3, "", 200, "ok", 0, "X-A: 1\n2"},
    {"TwoResponsesSecondLeft", PLAIN + PLAIN, false, 3, "", 200, "hello", 43},
    // Interim and body-less responses.
    {"ContinueAndEarlyHints", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 103 Early Hints\r\nLink: </a>\r\n\r\n" + PLAIN,
     false, 3, "", 200, "hello", 0},
    {"NoContentWithoutLength", "HTTP/1.1 204 No Content\r\n\r\nnext", false, 3, "", 204, "", 4},
    {"NotModifiedIgnoresLength", "HTTP/1.1 304 Not Modified\r\nContent-Length: 9\r\n\r\n", false, 3, "", 304, "", 0},
    {"SwitchingProtocolsEndsAtHeader", "HTTP/1.1 101 Switching Protocols\r\n\r\nframes", false, 3, "", 101, "", 6},
    // Content-Length.
    {"LengthZeroBeforeBody", Status("Content-Length: 0\r\n") + "extra", false, 3, "", 200, "", 5},
    {"LengthCutShort", Status("Content-Length: 10\r\n") + "hello", true, 2, "", 200, "hello", 0},
    {"LengthRepeatedEqual", Status("Content-Length: 5\r\nContent-Length: 5\r\n") + "hello", false, 3, "", 200, "hello",
     0},
    {"LengthRepeatedUnequal", Status("Content-Length: 5\r\nContent-Length: 6\r\n") + "hello", false, 4,
     "Invalid Content-Length.", 200, "", 5},
    {"LengthNotDigits", Status("Content-Length: 5x\r\n") + "hello", false, 4, "Invalid Content-Length.", 200, "", 5},
    {"LengthWithPlus", Status("Content-Length: +5\r\n") + "hello", false, 4, "Invalid Content-Length.", 200, "", 5},
    {"LengthEmpty", Status("Content-Length:\r\n"), false, 4, "Invalid Content-Length.", 200, "", 0},
    {"LengthNegative", Status("Content-Length: -5\r\n") + "hello", false, 4, "Content length is negative.", 200, "", 5},
    {"LengthHuge", Status("Content-Length: 99999999999999999999999\r\n"), false, 4,
     "Response content length is larger than the limit.", 200, "", 0},
    {"LengthJustOverLimit", Status("Content-Length: 2147483648\r\n"), false, 4,
     "Response content length is larger than the limit.", 200, "", 0},
    {"LengthAtLimitWaits", Status("Content-Length: 2147483647\r\n") + "abc", true, 2, "", 200, "abc", 0},
    // Chunked bodies.
    {"ChunkWithExtension", Status("Transfer-Encoding: chunked\r\n") + "5;ext=1\r\nhello\r\n0\r\n\r\n", false, 3, "",
     200, "hello", 0},
    {"ChunkedManyChunksThenNext", Chunked("", "abcdefghij", 3) + "HTTP", false, 3, "", 200, "abcdefghij", 4},
    {"ChunkedUpperCase", Status("Transfer-Encoding: CHUNKED\r\n") + "A\r\n0123456789\r\n0\r\n\r\n", false, 3, "", 200,
     "0123456789", 0},
    {"ChunkedWinsOverLength", Status("Content-Length: 2\r\nTransfer-Encoding: chunked\r\n") + "3\r\nabc\r\n0\r\n\r\n",
     false, 3, "", 200, "abc", 0},
    {"ChunkSizeBlank", Status("Transfer-Encoding: chunked\r\n") + "5 \r\nhello\r\n0\r\n\r\n", false, 4,
     "Response included an invalid chunk header in the message body.", 200, "", 22},
    {"ChunkSizeEmpty", Status("Transfer-Encoding: chunked\r\n") + "\r\n", false, 4,
     "Response included an invalid chunk header in the message body.", 200, "", 2},
    {"ChunkLongerThanSize", Status("Transfer-Encoding: chunked\r\n") + "5\r\nhello!\r\n0\r\n\r\n", false, 4,
     "Response included a message body chunk that was not properly terminated.", 200, "hello", 10},
    {"ChunkSizeTooManyDigits", Status("Transfer-Encoding: chunked\r\n") + "00000000000000001\r\nx\r\n", false, 4,
     "Response included a chunk size with too many digits.", 200, "", 22},
    {"ChunkSizeSixteenDigits", Status("Transfer-Encoding: chunked\r\n") + "0000000000000001\r\nx\r\n0\r\n\r\n", false,
     3, "", 200, "x", 0},
    {"ChunkSizeOverLimit", Status("Transfer-Encoding: chunked\r\n") + "80000000\r\n", false, 4,
     "Response included a chunk larger than the limit.", 200, "", 10},
    {"ChunkedTrailers", Status("Transfer-Encoding: chunked\r\n") + "2\r\nok\r\n0\r\nX-Check: 1\r\nX-More: 2\r\n\r\n",
     false, 3, "", 200, "ok", 0},
    {"ChunkedCutInData", Status("Transfer-Encoding: chunked\r\n") + "a\r\nhello", true, 2, "", 200, "hello", 0},
    {"ChunkedCutBeforeLastChunk", Status("Transfer-Encoding: chunked\r\n") + "2\r\nok\r\n", true, 2, "", 200, "ok", 0},
    {"ChunkedCutInTrailers", Status("Transfer-Encoding: chunked\r\n") + "2\r\nok\r\n0\r\nX: 1\r\n", true, 2, "", 200,
     "ok", 0},
    // Transfer codings.
    {"IdentityIsNoCoding", Status("Transfer-Encoding: Identity\r\nContent-Length: 2\r\n") + "ok", false, 3, "", 200,
     "ok", 0},
    {"GzipThenChunked", Chunked("Transfer-Encoding: gzip\r\n", HELLO_GZIP, 4), false, 3, "", 200, "hello", 0},
    {"GzipOnlyReadUntilClose", Status("Transfer-Encoding: gzip\r\nContent-Length: 3\r\n") + HELLO_GZIP, true, 3, "",
     200, "hello", 0},
    {"ChunkedNotLastReadUntilClose", Status("Transfer-Encoding: chunked, gzip\r\n") + HELLO_GZIP, true, 4,
     "Response used a transfer coding that is not supported.", 200, "", HELLO_GZIP.size()},
    {"UnknownTransferCoding", Status("Transfer-Encoding: br, chunked\r\n"), false, 4,
     "Response used a transfer coding that is not supported.", 200, "", 0},
    {"ChunkedTwice", Status("Transfer-Encoding: chunked, chunked\r\n"), false, 4,
     "Response used a transfer coding that is not supported.", 200, "", 0},
    {"CompressedTwice", Status("Transfer-Encoding: gzip, chunked\r\nContent-Encoding: gzip\r\n"), false, 4,
     "Response used a transfer coding that is not supported.", 200, "", 0},
    // Content codings.
    {"GzipBody", WithLength("Content-Encoding: gzip\r\n", HELLO_GZIP), false, 3, "", 200, "hello", 0},
    {"UpperCaseGzip", WithLength("Content-Encoding: GZIP\r\n", HELLO_GZIP), false, 3, "", 200, "hello", 0},
    {"DeflateZlib", WithLength("Content-Encoding: deflate\r\n", HELLO_ZLIB), false, 3, "", 200, "hello", 0},
    {"DeflateRaw", WithLength("Content-Encoding: deflate\r\n", HELLO_RAW), false, 3, "", 200, "hello", 0},
    {"DeflateGzip", WithLength("Content-Encoding: deflate\r\n", HELLO_GZIP), false, 3, "", 200, "hello", 0},
    {"ChunkedGzipCloseDelimitedAfter", Chunked("Content-Encoding: gzip\r\n", HELLO_GZIP, 1), false, 3, "", 200, "hello",
     0},
    {"GzipUntilClose", Status("Content-Encoding: gzip\r\n") + HELLO_GZIP, true, 3, "", 200, "hello", 0},
    {"GzipUntilCloseCutShort", Status("Content-Encoding: gzip\r\n") + HELLO_GZIP.substr(0, 12), true, 4,
     std::string(DECODE) + "The compressed data ended before the end of its stream.", 200, "", 0},
    {"GzipTruncatedWithinLength", WithLength("Content-Encoding: gzip\r\n", HELLO_GZIP.substr(0, HELLO_GZIP.size() - 4)),
     false, 4, std::string(DECODE) + "The compressed data ended before the end of its stream.", 200, "hello", 0},
    {"GzipCorrupt", WithLength("Content-Encoding: gzip\r\n", "\x1f\x8b\x08\x00garbage-garbage"), false, 4, DECODE, 200,
     "", 0},
    {"GzipNotGzip", WithLength("Content-Encoding: gzip\r\n", "plain text"), false, 4, DECODE, 200, "", 0},
    {"GzipFollowedByData", WithLength("Content-Encoding: gzip\r\n", HELLO_GZIP + "xx"), false, 4,
     std::string(DECODE) + "Data followed the end of the compressed stream.", 200, "hello", 0},
    {"DeflateOneByte", WithLength("Content-Encoding: deflate\r\n", "x"), false, 4, DECODE, 200, "", 0},
    {"UnknownContentCodingRaw", WithLength("Content-Encoding: br\r\n", "raw"), false, 3, "", 200, "raw", 0},
    {"EmptyGzipBody", WithLength("Content-Encoding: gzip\r\n", ""), false, 3, "", 200, "", 0},
    // Limits.
    {"EndlessLine", "HTTP/1.1 200 OK\r\nX: " + std::string(70000, 'a'), true, 4,
     "Response included a line longer than the limit.", 200, "", 0},
    {"EndlessStatusLine", "HTTP/1.1 " + std::string(70000, '2'), true, 4,
     "Response included a line longer than the limit.", 0, "", 0},
    {"LineAtLimit", Status("X: " + std::string(65533, 'a') + "\r\nContent-Length: 0\r\n"), false, 3, "", 200, "", 0},
    {"TenThousandHeaders", Status(ManyHeaders(10000)), false, 4, "Response included more header fields than the limit.",
     200, "", 0},
    {"FiveHundredHeaders", Status(ManyHeaders(500) + "Content-Length: 0\r\n"), false, 4,
     "Response included more header fields than the limit.", 200, "", 0},
    {"HeaderBlockTooLarge", Status(BigFields(5, 60000)), false, 4, "Response header block is larger than the limit.",
     200, "", 0},
    {"TrailerFieldsCounted", Status("Transfer-Encoding: chunked\r\n") + "0\r\n" + ManyHeaders(600) + "\r\n", false, 4,
     "Response included more header fields than the limit.", 200, "", 0},
    {"UntilCloseOverLimit", Status("") + std::string(100, 'z'), true, 4, "Response body is larger than the limit.", 200,
     std::string(10, 'z'), 0, "", 10},
    {"LengthOverBodyLimit", WithLength("", std::string(11, 'z')), false, 4, "Response body is larger than the limit.",
     200, std::string(10, 'z'), 0, "", 10},
    {"BodyAtLimit", WithLength("", std::string(10, 'z')), false, 3, "", 200, std::string(10, 'z'), 0, "", 10},
    {"GzipBomb", WithLength("Content-Encoding: gzip\r\n", BOMB), false, 4, "Response body is larger than the limit.",
     200, std::string(1u << 20, '\0'), 0, "", 1u << 20},
};

void PrintTo(const s_Case& row, std::ostream* out) {
    *out << row.m_Name;
}

bool ErrorMatches(const std::string& actual, const std::string& expected, std::int32_t state) {
    if (state != c_HTTPResponse::PARSE_ERROR) {
        return actual.empty();
    }
    return !actual.empty() && actual.compare(0, expected.size(), expected) == 0;
}

class c_HTTPResponseCases : public testing::TestWithParam<s_Case> {};

TEST_P(c_HTTPResponseCases, ParsesTheSameAtEverySplit) {
    const s_Case& row = GetParam();
    const s_Outcome whole = FeedResponse(row.m_Input, SPLIT_WHOLE, row.m_Close, row.m_MaxBody);
    EXPECT_EQ(whole.m_State, row.m_State);
    EXPECT_TRUE(ErrorMatches(whole.m_Error, row.m_Error, row.m_State)) << whole.m_Error;
    EXPECT_EQ(whole.m_StatusCode, row.m_StatusCode);
    if (row.m_State != c_HTTPResponse::PARSE_ERROR || row.m_Body.size() > 0) {
        EXPECT_EQ(whole.m_Body, row.m_Body);
    }
    if (row.m_State != c_HTTPResponse::PARSE_ERROR) {
        EXPECT_EQ(whole.m_Left, row.m_Left);
    }
    if (!row.m_Header.empty()) {
        EXPECT_NE(whole.m_Headers.find(row.m_Header + "\n"), std::string::npos) << whole.m_Headers;
    }
    for (const std::uint32_t split : {std::uint32_t(SPLIT_BYTES), 2u, 3u, 4u, 5u, 6u, 7u, 8u}) {
        const s_Outcome pieces = FeedResponse(row.m_Input, split, row.m_Close, row.m_MaxBody);
        EXPECT_EQ(pieces.m_State, whole.m_State) << "split " << split;
        EXPECT_EQ(pieces.m_Error, whole.m_Error) << "split " << split;
        EXPECT_EQ(pieces.m_StatusCode, whole.m_StatusCode) << "split " << split;
        EXPECT_EQ(pieces.m_Headers, whole.m_Headers) << "split " << split;
        // Where a failure stops depends on how much had arrived; a good outcome does not.
        if (whole.m_State != c_HTTPResponse::PARSE_ERROR || row.m_Body.size() > 0) {
            EXPECT_EQ(pieces.m_Body, whole.m_Body) << "split " << split;
        }
        if (whole.m_State != c_HTTPResponse::PARSE_ERROR) {
            EXPECT_EQ(pieces.m_Left, whole.m_Left) << "split " << split;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Responses, c_HTTPResponseCases, testing::ValuesIn(CASES),
                         [](const testing::TestParamInfo<s_Case>& info) { return std::string(info.param.m_Name); });

TEST(c_HTTPResponse, FeedTakesOnlyWhatItUses) {
    c_HTTPResponse response(nullptr, 7);
    const std::string input = PLAIN + "tail";
    EXPECT_EQ(response.Feed(reinterpret_cast<const std::uint8_t*>(input.data()), std::uint32_t(input.size())), 43u);
    EXPECT_TRUE(response.IsComplete());
    EXPECT_TRUE(response.HasStarted());
    EXPECT_TRUE(response.HasContentLength());
    EXPECT_EQ(response.GetRequestID(), 7);
}

TEST(c_HTTPResponse, HeaderLookupAndReset) {
    c_HTTPResponse response(nullptr, 1);
    c_ByteBuffer received;
    received.Append(c_String("HTTP/1.1 302 Found\r\nLocation: /next\r\nContent-Length: 0\r\n\r\n"));
    response.ParseData(received);
    EXPECT_TRUE(response.IsRedirect());
    EXPECT_EQ(response.GetHeader(c_StringNoCase("location")), c_String("/next"));
    EXPECT_TRUE(response.GetHeader(c_StringNoCase("Absent")).IsEmpty());
    EXPECT_EQ(response.GetData().m_Headers.size(), 2u);
    response.GetHeaderValue(c_StringNoCase("Inserted"));
    EXPECT_EQ(response.GetData().m_Headers.size(), 3u);
    EXPECT_FALSE(response.GetError(nullptr));

    response.Reset();
    EXPECT_EQ(response.GetParseState(), 0);
    EXPECT_EQ(response.GetStatusCode(), 0);
    EXPECT_TRUE(response.GetData().m_Headers.empty());
    EXPECT_FALSE(response.HasContentLength());
    EXPECT_FALSE(response.HasStarted());
    received.Append(c_String(PLAIN.c_str()));
    response.ParseData(received);
    EXPECT_TRUE(response.IsComplete());
    EXPECT_EQ(response.GetBody().GetView(), c_StringView("hello"));
}

TEST(c_HTTPResponse, ErrorIsFinal) {
    c_HTTPResponse response(nullptr, 1);
    c_ByteBuffer received;
    received.Append(c_String("HTTP/1.1 200 OK\r\nbad\r\n\r\n"));
    response.ParseData(received);
    c_String text;
    EXPECT_TRUE(response.GetError(&text));
    EXPECT_EQ(text, c_String("Response includes a header line that does not include a header separator."));
    const std::uint32_t left = received.GetSize();
    received.Append(c_String("more"));
    response.ParseData(received);
    EXPECT_EQ(received.GetSize(), left + 4);
    EXPECT_TRUE(response.HasStarted());
}

struct s_ReserveCase {
    const char* m_Name;
    std::string m_Headers;
    std::uint32_t m_MaxBody;
    // The body's room once the header block has ended, before any body byte.
    std::uint64_t m_AtLeast;
    std::uint64_t m_AtMost;
};

constexpr std::uint64_t RESERVE_LIMIT = c_HTTPResponse::BODY_RESERVE_LIMIT;
// What the buffer's rounding may add to a reserve.
constexpr std::uint64_t ROUNDING = 1024;

const s_ReserveCase RESERVE_CASES[] = {
    {"DeclaredLength", "Content-Length: 100000\r\n", NO_LIMIT, 100000, 100000 + ROUNDING},
    {"LyingLengthStopsAtTheLimit", "Content-Length: 2147483647\r\n", NO_LIMIT, RESERVE_LIMIT, RESERVE_LIMIT + ROUNDING},
    {"LengthBeyondTheBodyLimit", "Content-Length: 100000\r\n", 1000, 1000, 1000 + ROUNDING},
    {"CompressedBodyUnknownSize", "Content-Length: 100000\r\nContent-Encoding: gzip\r\n", NO_LIMIT, 0, 0},
    {"ChunkedBodyUnknownSize", "Transfer-Encoding: chunked\r\n", NO_LIMIT, 0, 0},
};

class ReserveCases : public testing::TestWithParam<s_ReserveCase> {};

TEST_P(ReserveCases, ReservesTheDeclaredLengthWithinTheLimit) {
    const s_ReserveCase& row = GetParam();
    c_HTTPResponse response(nullptr, 1);
    response.SetMaxBodySize(row.m_MaxBody);
    c_ByteBuffer received;
    received.Append(c_String(Status(row.m_Headers).c_str()));
    response.ParseData(received);
    ASSERT_EQ(response.GetParseState(), c_HTTPResponse::PARSE_BODY);
    EXPECT_GE(response.GetBody().GetCapacity(), row.m_AtLeast);
    EXPECT_LE(response.GetBody().GetCapacity(), row.m_AtMost);
    EXPECT_TRUE(response.GetBody().IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Bodies, ReserveCases, testing::ValuesIn(RESERVE_CASES),
                         [](const testing::TestParamInfo<s_ReserveCase>& info) {
                             return std::string(info.param.m_Name);
                         });

struct s_ChallengeCase {
    const char* m_Name;
    // The "Proxy-Authenticate" lines, each a field of its own.
    std::string m_Fields;
    bool m_Found;
    std::string m_Realm;
    std::string m_Error;
};

constexpr const char* NO_FIELD_TEXT =
    "Proxy authentication is required, but the server did not supply a Proxy-Authenticate header field.";
constexpr const char* NO_SCHEME_TEXT =
    "Proxy authentication is required, but no known authentication schemes were provided.";

const s_ChallengeCase CHALLENGE_CASES[] = {
    {"BasicWithRealm", "Proxy-Authenticate: Basic realm=\"proxy\"\r\n", true, "proxy", ""},
    {"AfterNegotiate", "Proxy-Authenticate: Negotiate, Basic realm=\"p\"\r\n", true, "p", ""},
    {"InSecondField", "Proxy-Authenticate: Negotiate\r\nProxy-Authenticate: Basic realm=x\r\n", true, "x", ""},
    {"FirstBasicWins", "Proxy-Authenticate: Basic realm=\"a\", Basic realm=\"b\"\r\n", true, "a", ""},
    {"LowerCase", "Proxy-Authenticate: basic REALM=\"p\"\r\n", true, "p", ""},
    {"NoRealm", "Proxy-Authenticate: Basic charset=\"UTF-8\"\r\n", true, "", ""},
    {"RealmWithCommaAndEscapes", "Proxy-Authenticate: Basic realm=\"a,\\\"b\"\r\n", true, "a,\"b", ""},
    {"RealmNotFirstParameterIsMissed", "Proxy-Authenticate: Basic charset=u, realm=\"p\"\r\n", true, "", ""},
    {"BasicAlone", "Proxy-Authenticate: Basic\r\n", false, "", NO_SCHEME_TEXT},
    {"BasicPrefixOfAnotherScheme", "Proxy-Authenticate: Basically realm=\"p\"\r\n", false, "", NO_SCHEME_TEXT},
    {"OnlyOtherSchemes", "Proxy-Authenticate: Negotiate, NTLM\r\n", false, "", NO_SCHEME_TEXT},
    {"BasicInsideQuotes", "Proxy-Authenticate: Digest realm=\"x, Basic realm=y\"\r\n", false, "", NO_SCHEME_TEXT},
    {"NoField", "", false, "", NO_FIELD_TEXT},
    {"EmptyField", "Proxy-Authenticate: \r\n", false, "", NO_FIELD_TEXT},
};

class ParseProxyAuthenticateCases : public testing::TestWithParam<s_ChallengeCase> {};

TEST_P(ParseProxyAuthenticateCases, FindsTheBasicChallenge) {
    const s_ChallengeCase& row = GetParam();
    c_HTTPResponse response(nullptr, 1);
    const std::string input =
        "HTTP/1.1 407 Proxy Authentication Required\r\n" + row.m_Fields + "Content-Length: 0\r\n\r\n";
    response.Feed(reinterpret_cast<const std::uint8_t*>(input.data()), static_cast<std::uint32_t>(input.size()));
    ASSERT_TRUE(response.IsComplete());
    c_String error = "old";
    c_String realm = "old";
    EXPECT_EQ(response.ParseProxyAuthenticate(error, realm), row.m_Found);
    EXPECT_EQ(realm, c_String(row.m_Realm.c_str()));
    EXPECT_EQ(error, c_String(row.m_Error.c_str()));
}

INSTANTIATE_TEST_SUITE_P(Challenges, ParseProxyAuthenticateCases, testing::ValuesIn(CHALLENGE_CASES),
                         [](const testing::TestParamInfo<s_ChallengeCase>& info) {
                             return std::string(info.param.m_Name);
                         });

} // namespace
