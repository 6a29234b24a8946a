#pragma once
// c_HTTPConnectionInfo and c_HTTPConnectionInfoMap: which server a request connects to and how, one
// record per server, with the HTTP proxy's record standing in for the URL's server when the proxy is
// in use.
//
// Records are keyed by scheme, host (without case) and port, so an "https" URL never reuses the plain
// record that an "http" URL to the same host made. The proxy's records are kept apart from direct
// ones: a request to the proxy's own address is not sent as a proxy request.

#include "protocols/http/c_HTTPProxySettings.h"
#include "protocols/http/c_HTTPURLParts.h"
#include "strings/c_String.h"
#include "strings/c_StringNoCase.h"

#include <cstdint>
#include <map>

class c_HTTPConnectionInfo {
public:
    c_HTTPConnectionInfo() = default;
    explicit c_HTTPConnectionInfo(const c_HTTPEndpoint& endpoint);

    // "HTTPS" or "HTTP": names connections in log lines.
    c_StringNoCase m_SchemeName;
    c_String m_Host;
    std::uint16_t m_Port = 0;
    bool m_Secure = false;
    bool m_ViaProxy = false;
    // Requests to this server carry "Proxy-Authorization".
    bool m_UseProxyAuthorization = false;
};

// host ":" port, as in "example.com:443".
c_String GetConnectionInfoText(const c_HTTPConnectionInfo& info);

class c_HTTPConnectionInfoMap {
public:
    // The record for the URL's server, or with proxy settings in use the proxy's record for the URL's
    // scheme. Null for a URL that is not valid. Records stay where they are until Clear.
    c_HTTPConnectionInfo* GetConnectionInfo(const c_HTTPURLParts& parts, const c_HTTPProxySettings* proxy);
    // The proxy's record for a scheme, or null when the proxy serves no such scheme.
    c_HTTPConnectionInfo* GetProxyConnectionInfo(const c_StringView& scheme, const c_HTTPProxySettings& proxy);
    void Clear() { m_Records.clear(); }
    std::size_t GetCount() const { return m_Records.size(); }

private:
    c_HTTPConnectionInfo* Find(const c_HTTPURLParts& parts, bool viaProxy);

    std::map<c_StringNoCase, c_HTTPConnectionInfo> m_Records;
};
