#pragma once
// Test helper: what a parsed response came to, as plain values to compare between ways of feeding it.
// Header-only, so the fuzz targets use it too.

#include "protocols/http/c_HTTPResponse.h"

#include <cstdint>
#include <string>

namespace n_ResponseFeeding {

struct s_ResponseOutcome {
    std::int32_t m_State = 0;
    std::string m_Error;
    std::int32_t m_StatusCode = 0;
    // "name: value\n" per field, in map order.
    std::string m_Headers;
    std::string m_Body;
};

inline s_ResponseOutcome DescribeResponse(c_HTTPResponse& response) {
    s_ResponseOutcome outcome;
    outcome.m_State = response.GetParseState();
    c_String error;
    response.GetError(&error);
    outcome.m_Error = error.GetChars();
    outcome.m_StatusCode = response.GetStatusCode();
    for (const auto& [name, value] : response.GetData().m_Headers) {
        outcome.m_Headers += std::string(name.GetChars()) + ": " + value.GetChars() + "\n";
    }
    const c_ByteBuffer& body = response.GetData().m_Body;
    outcome.m_Body.assign(reinterpret_cast<const char*>(body.GetData()), body.GetSize());
    return outcome;
}

} // namespace n_ResponseFeeding
