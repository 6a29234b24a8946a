// c_HTTPConnectionInfo and its map: records by (scheme, host, port) and the proxy's choice.

#include "protocols/http/c_HTTPConnectionInfo.h"

#include "protocols/http/HTTPTexts.h"
#include "textutil/NumberFormatting.h"

c_HTTPConnectionInfo::c_HTTPConnectionInfo(const c_HTTPEndpoint& endpoint)
    : m_SchemeName(endpoint.m_Secure ? "HTTPS" : "HTTP"), m_Host(endpoint.m_Host), m_Port(endpoint.m_Port),
      m_Secure(endpoint.m_Secure) {}

c_String GetConnectionInfoText(const c_HTTPConnectionInfo& info) {
    return Concat({info.m_Host, GetHTTPTexts().m_Colon, ToString(static_cast<unsigned>(info.m_Port))});
}

c_HTTPConnectionInfo* c_HTTPConnectionInfoMap::GetConnectionInfo(const c_HTTPURLParts& parts,
                                                                 const c_HTTPProxySettings* proxy) {
    if (!parts.IsValid()) {
        return nullptr;
    }
    if (proxy != nullptr) {
        if (c_HTTPConnectionInfo* info = GetProxyConnectionInfo(parts.GetScheme(), *proxy)) {
            return info;
        }
    }
    return Find(parts, false);
}

c_HTTPConnectionInfo* c_HTTPConnectionInfoMap::GetProxyConnectionInfo(const c_StringView& scheme,
                                                                      const c_HTTPProxySettings& proxy) {
    if (!proxy.IsInUse()) {
        return nullptr;
    }
    const s_HTTPTexts& texts = GetHTTPTexts();
    std::uint16_t port = 0;
    if (scheme == texts.m_HTTP) {
        port = proxy.m_HTTPPort;
    } else if (scheme == texts.m_HTTPS) {
        port = proxy.m_HTTPSPort;
    }
    if (port == 0) {
        return nullptr;
    }
    const c_String url = BuildURL(scheme, proxy.m_ProxyAddress, port);
    return Find(c_HTTPURLParts(url), true);
}

c_HTTPConnectionInfo* c_HTTPConnectionInfoMap::Find(const c_HTTPURLParts& parts, bool viaProxy) {
    if (!parts.IsValid()) {
        return nullptr;
    }
    c_HTTPConnectionInfo record(GetEndpoint(parts));
    record.m_ViaProxy = viaProxy;
    // The key holds the endpoint whole: scheme by security, host, port, and whether it is the proxy.
    const c_StringNoCase key(Concat({viaProxy ? "proxy " : "", record.m_SchemeName, GetHTTPTexts().m_SchemeSeparator,
                                     GetConnectionInfoText(record)}));
    return &m_Records.try_emplace(key, record).first->second;
}
