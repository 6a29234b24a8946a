// The status code texts and the reason phrase table.

#include "protocols/http/HTTPStatusTexts.h"

#include "textutil/NumberFormatting.h"

#include <algorithm>
#include <iterator>

namespace {

struct s_ReasonPhrase {
    std::int32_t m_Code;
    const char* m_Phrase;
};

// Sorted by code.
constexpr s_ReasonPhrase REASON_PHRASES[] = {
    {100, "Continue"},
    {101, "Switching Protocols"},
    {200, "OK"},
    {201, "Created"},
    {202, "Accepted"},
    {203, "Non-Authoritative Information"},
    {204, "No Content"},
    {205, "Reset Content"},
    {206, "Partial Content"},
    {300, "Multiple Choices"},
    {301, "Moved Permanently"},
    {302, "Found"},
    {303, "See Other"},
    {304, "Not Modified"},
    {305, "Use Proxy"},
    {307, "Temporary Redirect"},
    {400, "Bad Request"},
    {401, "Unauthorized"},
    {402, "Payment Required"},
    {403, "Forbidden"},
    {404, "Not Found"},
    {405, "Method Not Allowed"},
    {406, "Not Acceptable"},
    {407, "Proxy Authentication Required"},
    {408, "Request Timeout"},
    {409, "Conflict"},
    {410, "Gone"},
    {411, "Length Required"},
    {412, "Precondition Failed"},
    {413, "Payload Too Large"},
    {414, "URI Too Long"},
    {415, "Unsupported Media Type"},
    {416, "Range Not Satisfiable"},
    {417, "Expectation Failed"},
    {426, "Upgrade Required"},
    {500, "Internal Server Error"},
    {501, "Not Implemented"},
    {502, "Bad Gateway"},
    {503, "Service Unavailable"},
    {504, "Gateway Timeout"},
    {505, "HTTP Version Not Supported"},
};

} // namespace

c_String GetHTTPStatusCodeText(std::int32_t code) {
    return ToString(code);
}

c_String GetHTTPStatusReasonPhrase(std::int32_t code) {
    const auto found =
        std::lower_bound(std::begin(REASON_PHRASES), std::end(REASON_PHRASES), code,
                         [](const s_ReasonPhrase& entry, std::int32_t value) { return entry.m_Code < value; });
    if (found == std::end(REASON_PHRASES) || found->m_Code != code) {
        return c_String();
    }
    return c_String(found->m_Phrase);
}
