// Fuzz target: c_HTTPResponse fed arbitrary bytes in arbitrary slices, with or without a close at the
// end and with an arbitrary body limit, checked against one feed of the whole input: no more taken
// than given, the state only moving forward, the same outcome, and memory within the limits.

#include "fuzz/FuzzInput.h"
#include "protocols/http/c_HTTPResponse.h"

#include <algorithm>
#include <string>

namespace {

struct s_Outcome {
    std::int32_t m_State = 0;
    std::string m_Error;
    std::int32_t m_StatusCode = 0;
    std::string m_Headers;
    std::string m_Body;
    std::size_t m_Taken = 0;
};

s_Outcome Describe(c_HTTPResponse& response, std::size_t taken) {
    s_Outcome outcome;
    outcome.m_State = response.GetParseState();
    c_String error;
    response.GetError(&error);
    outcome.m_Error = error.GetChars();
    outcome.m_StatusCode = response.GetStatusCode();
    for (const auto& [name, value] : response.GetData().m_Headers) {
        outcome.m_Headers += std::string(name.GetChars()) + ":" + value.GetChars() + "\n";
    }
    const c_ByteBuffer& body = response.GetData().m_Body;
    outcome.m_Body.assign(reinterpret_cast<const char*>(body.GetData()), body.GetSize());
    outcome.m_Taken = taken;
    return outcome;
}

} // namespace

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

    const s_Outcome one = Describe(whole, wholeTaken);
    const s_Outcome split = Describe(pieces, taken);
    FUZZ_CHECK(one.m_State == split.m_State);
    FUZZ_CHECK(one.m_Error == split.m_Error);
    FUZZ_CHECK(one.m_StatusCode == split.m_StatusCode);
    FUZZ_CHECK(one.m_Headers == split.m_Headers);
    // A failure stops where the bytes that had arrived ran out; a good outcome is exact.
    if (one.m_State != c_HTTPResponse::PARSE_ERROR) {
        FUZZ_CHECK(one.m_Body == split.m_Body);
        FUZZ_CHECK(one.m_Taken == split.m_Taken);
    }
    return 0;
}
