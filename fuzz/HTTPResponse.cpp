// Fuzz target: c_HTTPResponse fed arbitrary bytes in arbitrary slices, with or without a close at the
// end and with an arbitrary body limit, checked against one feed of the whole input: no more taken
// than given, the state only moving forward, the same outcome, and memory within the limits.

#include "fuzz/FuzzInput.h"
#include "protocols/http/c_HTTPResponse.h"
#include "protocols/http/testing/ResponseOutcome.h"

#include <algorithm>
#include <string>

using n_ResponseFeeding::DescribeResponse;
using n_ResponseFeeding::s_ResponseOutcome;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    c_FuzzInput input(data, size);
    const bool close = input.TakeBool();
    const std::uint32_t maxBody = input.TakeBool() ? input.TakeInt(0, 1u << 16) : 1u << 20;
    c_SliceSizes slices(input.TakeInt(0, UINT32_MAX), input.TakeInt(1, 4096));
    const std::vector<std::uint8_t> bytes = input.TakeRest();

    c_HTTPResponse whole(nullptr, 1);
    whole.SetMaxBodySize(maxBody);
    const std::uint32_t wholeTaken = whole.Feed(bytes.data(), std::uint32_t(bytes.size()));
    FUZZ_CHECK(wholeTaken <= bytes.size());
    if (close) {
        whole.ParseEndOfData();
    }

    c_HTTPResponse pieces(nullptr, 1);
    pieces.SetMaxBodySize(maxBody);
    c_ByteBuffer received;
    std::size_t fed = 0;
    std::size_t taken = 0;
    while (fed < bytes.size()) {
        const std::size_t n = std::min<std::size_t>(slices.Next(), bytes.size() - fed);
        received.Append(bytes.data() + fed, std::uint32_t(n));
        fed += n;
        const std::int32_t before = pieces.GetParseState();
        const std::uint32_t given = received.GetSize();
        const std::uint32_t used = pieces.Feed(received.GetData(), given);
        FUZZ_CHECK(used <= given);
        received.Consume(used);
        taken += used;
        const std::int32_t after = pieces.GetParseState();
        // Forward only, but an interim response goes back to the status line.
        FUZZ_CHECK(after >= before || after == c_HTTPResponse::PARSE_STATUS_LINE);
        // What waits is at most one line (or the two bytes after chunk data) while parsing goes on.
        FUZZ_CHECK(after >= c_HTTPResponse::PARSE_COMPLETE ||
                   received.GetSize() <= c_HTTPResponse::MAX_LINE_LENGTH + 1);
        FUZZ_CHECK(pieces.GetData().m_Body.GetSize() <= maxBody);
    }
    if (close) {
        pieces.ParseEndOfData();
    }

    const s_ResponseOutcome one = DescribeResponse(whole);
    const s_ResponseOutcome split = DescribeResponse(pieces);
    FUZZ_CHECK(one.m_State == split.m_State);
    FUZZ_CHECK(one.m_Error == split.m_Error);
    FUZZ_CHECK(one.m_StatusCode == split.m_StatusCode);
    FUZZ_CHECK(one.m_Headers == split.m_Headers);
    // A failure stops where the bytes that had arrived ran out; a good outcome is exact.
    if (one.m_State != c_HTTPResponse::PARSE_ERROR) {
        FUZZ_CHECK(one.m_Body == split.m_Body);
        FUZZ_CHECK(wholeTaken == taken);
    }
    return 0;
}
