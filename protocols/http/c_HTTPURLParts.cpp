// c_HTTPURLParts: the URL split, its checks, the endpoint and BuildURL.

#include "protocols/http/c_HTTPURLParts.h"

#include "protocols/http/HTTPTexts.h"
#include "textutil/NumberFormatting.h"
#include "textutil/NumberParsing.h"

namespace {

constexpr int MAX_PORT = 65535;

bool IsSchemeChar(char c) {
    const unsigned u = static_cast<unsigned char>(c);
    return (u - '0' < 10u) || ((u | 0x20u) - 'a' < 26u) || c == '+' || c == '-' || c == '.';
}

// Blanks and control bytes would split or end the request line.
bool IsForbiddenByte(char c) {
    const unsigned u = static_cast<unsigned char>(c);
    return u <= 0x20u || u == 0x7Fu;
}

bool AllBytes(const c_StringView& text, bool (*test)(char)) {
    for (char c : text) {
        if (!test(c)) {
            return false;
        }
    }
    return true;
}

bool IsNotForbidden(char c) {
    return !IsForbiddenByte(c);
}

bool IsValidPort(const c_StringView& text) {
    return text.GetLength() >= 1 && text.GetLength() <= 5 && text.IsAllDigits() && ParseInt32(text) >= 1 &&
           ParseInt32(text) <= MAX_PORT;
}

} // namespace

c_HTTPURLParts::c_HTTPURLParts(const c_StringView& url) : m_URL(url) {
    const int length = url.GetLength();
    const int separator = url.Find(GetHTTPTexts().m_SchemeSeparator);
    // A "://" further on belongs to the path or query, not to a scheme.
    if (separator >= 0 && url.FindFirstOf({'/', '?', '#'}) == separator + 1) {
        m_SchemeEnd = separator;
        m_HostStart = separator + 3;
    }
    m_PathStart = url.FindFirstOf({'/', '?', '#'}, m_HostStart);
    m_PathStart = m_PathStart < 0 ? length : m_PathStart;
    m_PathEnd = url.Find('#', m_PathStart);
    m_PathEnd = m_PathEnd < 0 ? length : m_PathEnd;
    const int colon = url.Left(m_PathStart).ReverseFind(':');
    m_HostEnd = colon >= m_HostStart ? colon : m_PathStart;
    m_PortStart = colon >= m_HostStart ? colon + 1 : m_PathStart;
    m_IsValid = IsValidSplit();
}

bool c_HTTPURLParts::IsValidSplit() const {
    const bool hasScheme = m_HostStart != 0;
    const c_StringView host = GetHost();
    return (!hasScheme || (m_SchemeEnd > 0 && AllBytes(GetScheme(), IsSchemeChar))) && !host.IsEmpty() &&
           !host.Contains('@') && !host.Contains(':') && (m_PortStart == m_HostEnd || IsValidPort(GetPortText())) &&
           AllBytes(m_URL.Left(m_PathEnd), IsNotForbidden);
}

c_HTTPEndpoint GetEndpoint(const c_HTTPURLParts& parts) {
    c_HTTPEndpoint endpoint;
    endpoint.m_Host = parts.GetHost();
    endpoint.m_Secure = parts.GetScheme() == GetHTTPTexts().m_HTTPS;
    endpoint.m_Port = endpoint.m_Secure ? 443 : 80;
    const int port = ParseInt32(parts.GetPortText());
    if (port >= 1 && port <= MAX_PORT) {
        endpoint.m_Port = static_cast<std::uint16_t>(port);
    }
    return endpoint;
}

c_String BuildURL(const c_StringView& scheme, const c_StringView& host, std::uint16_t port) {
    c_String url;
    if (!scheme.IsEmpty()) {
        url += scheme;
        url += GetHTTPTexts().m_SchemeSeparator;
    }
    url += host;
    if (port != 0) {
        url += GetHTTPTexts().m_Colon;
        url += ToString(static_cast<unsigned>(port));
    }
    return url;
}
