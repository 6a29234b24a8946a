// Basic authentication with the HTTP proxy.

#include "protocols/http/ProxyAuthorization.h"

#include "protocols/http/HTTPTexts.h"
#include "textutil/Base64.h"

namespace {

bool IsControlByte(char c) {
    const unsigned value = static_cast<unsigned char>(c);
    return value < 0x20u || value == 0x7Fu;
}

bool HasControlByte(const c_String& text) {
    for (char c : text) {
        if (IsControlByte(c)) {
            return true;
        }
    }
    return false;
}

// The first offending byte of the user name decides between its two texts.
bool CheckUserName(const c_String& name, c_String& error) {
    for (char c : name) {
        if (c == ':') {
            error = "The username must not contain a colon character.";
            return false;
        }
        if (IsControlByte(c)) {
            error = "The username must not contain any control characters.";
            return false;
        }
    }
    return true;
}

} // namespace

bool CheckProxyCredentials(const c_HTTPProxySettings& settings, c_String& error) {
    error.Clear();
    if (!CheckUserName(settings.m_Username, error)) {
        return false;
    }
    if (HasControlByte(settings.m_Password)) {
        error = "The password must not contain any control characters.";
        return false;
    }
    return true;
}

bool EnableProxyAuthorization(c_HTTPConnectionInfo& info, c_String& error) {
    error.Clear();
    if (!info.m_ViaProxy) {
        error = "This is not a proxy connection.";
        return false;
    }
    if (!info.m_Secure) {
        error = "Proxy authentication cannot be completed over a non-secure connection.  HTTPS is required.";
        return false;
    }
    info.m_UseProxyAuthorization = true;
    return true;
}

bool GetProxyAuthorizationValue(const c_HTTPProxySettings& settings, c_String& value, c_String& error) {
    value.Clear();
    if (!CheckProxyCredentials(settings, error)) {
        return false;
    }
    const s_HTTPTexts& texts = GetHTTPTexts();
    const c_String credentials = Concat({settings.m_Username, texts.m_Colon, settings.m_Password});
    value = Concat({texts.m_Basic, texts.m_Space, Base64EncodeToString(c_StringView(credentials))});
    return true;
}

bool AddProxyAuthorization(const c_HTTPConnectionInfo& info, const c_HTTPProxySettings& settings,
                           t_HTTPHeaderMap& headers) {
    const c_StringNoCase& name = GetHTTPTexts().m_ProxyAuthorization;
    if (!info.m_UseProxyAuthorization || headers.count(name) != 0) {
        return true;
    }
    if (!info.m_Secure) {
        return false;
    }
    c_String value;
    c_String error;
    if (!GetProxyAuthorizationValue(settings, value, error)) {
        return false;
    }
    headers[name] = value;
    return true;
}
