#pragma once
// Basic authentication with the HTTP proxy (RFC 7617, RFC 9110 section 11.7.1): the check of the
// credentials, the switch that makes a proxy's record ask for them, and the "Proxy-Authorization"
// field that carries them. Credentials travel only over a TLS connection to the proxy.

#include "protocols/http/c_HTTPConnectionInfo.h"
#include "protocols/http/c_HTTPProxySettings.h"
#include "protocols/http/c_HTTPRequestParameters.h"
#include "strings/c_String.h"

// Refuses a user name with ":" and control bytes (0x00-0x1F, 0x7F) in either part; the first
// offending byte decides, the user name first.
bool CheckProxyCredentials(const c_HTTPProxySettings& settings, c_String& error);

// Makes every later request to this proxy carry the credentials; only a proxy reached over TLS.
bool EnableProxyAuthorization(c_HTTPConnectionInfo& info, c_String& error);

// "Basic " and the base64 text of user name ":" password; false with the error when the credentials
// are refused.
bool GetProxyAuthorizationValue(const c_HTTPProxySettings& settings, c_String& value, c_String& error);

// Adds "Proxy-Authorization" when the server's record asks for it and the request has none yet. False
// when it cannot: the connection is not secure, or the credentials are refused.
bool AddProxyAuthorization(const c_HTTPConnectionInfo& info, const c_HTTPProxySettings& settings,
                           t_HTTPHeaderMap& headers);
