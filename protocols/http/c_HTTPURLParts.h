#pragma once
// c_HTTPURLParts: the split of an absolute URL into scheme, host, port and path (RFC 3986 section 3,
// narrowed to what the HTTP client sends), the server endpoint it names, and the way back to a URL.
//
//   url       = [ scheme "://" ] host [ ":" port ] [ path ] [ "#" fragment ]
//   scheme    = 1*( ALPHA / DIGIT / "+" / "-" / "." )
//   host      = 1*( any byte but "/" "?" "#" "@" ":" SP CTL )    ; the last ":" starts the port
//   port      = 1*5DIGIT                                         ; 1 to 65535
//   path      = ( "/" / "?" ) *( any byte but SP CTL "#" )        ; query included
//
// A URL outside this grammar (user information, a bad port, a blank or control byte, no host) is
// split as far as it goes but is not valid, and the client refuses it. The fragment is never part of
// the path, so it is never sent.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

#include <cstdint>

class c_HTTPURLParts {
public:
    explicit c_HTTPURLParts(const c_StringView& url);

    c_StringView GetScheme() const { return m_URL.Left(m_SchemeEnd); }
    c_StringView GetHost() const { return m_URL.Mid(m_HostStart, m_HostEnd - m_HostStart); }
    c_StringView GetPortText() const { return m_URL.Mid(m_PortStart, m_PathStart - m_PortStart); }
    // The path and query, without the fragment.
    c_StringView GetPath() const { return m_URL.Mid(m_PathStart, m_PathEnd - m_PathStart); }
    bool IsValid() const { return m_IsValid; }

    c_StringView m_URL;
    // Position of "://", or 0 when there is none.
    std::int32_t m_SchemeEnd = 0;
    std::int32_t m_HostStart = 0;
    std::int32_t m_HostEnd = 0;
    std::int32_t m_PortStart = 0;
    // The first "/" or "?" after the host, or the length.
    std::int32_t m_PathStart = 0;
    // The "#" of the fragment, or the length.
    std::int32_t m_PathEnd = 0;

private:
    bool IsValidSplit() const;

    bool m_IsValid = false;
};

inline c_HTTPURLParts ParseURL(const c_StringView& url) {
    return c_HTTPURLParts(url);
}

struct c_HTTPEndpoint {
    c_String m_Host;
    std::uint16_t m_Port = 0;
    bool m_Secure = false;
};

// "https" (without case) is port 443 over TLS, any other scheme or none port 80 in plain text; a port
// in the URL replaces the default.
c_HTTPEndpoint GetEndpoint(const c_HTTPURLParts& parts);

// [scheme "://"] host [":" port]; port 0 is left out.
c_String BuildURL(const c_StringView& scheme, const c_StringView& host, std::uint16_t port);
