#pragma once
// c_HTTPProxySettings: the HTTP proxy that the client may use, with the signal that its editors emit
// after a change. The record itself emits nothing.

#include "oslayer/system/Signals.h"
#include "strings/c_String.h"

#include <cstdint>

class c_HTTPProxySettings {
public:
    c_HTTPProxySettings() = default;
    c_HTTPProxySettings(const c_HTTPProxySettings& other) = delete;
    // Copies every field but the signal, whose connections stay as they were on both sides.
    c_HTTPProxySettings& operator=(const c_HTTPProxySettings& other);

    // Wanted and with an address.
    bool IsInUse() const { return m_UseHTTPProxy && !m_ProxyAddress.IsEmpty(); }

    c_SignalBase m_ChangedSignal;
    bool m_UseHTTPProxy = false;
    c_String m_ProxyAddress;
    // 0: no proxy for that scheme.
    std::uint16_t m_HTTPPort = 80;
    std::uint16_t m_HTTPSPort = 443;
    c_String m_Username;
    c_String m_Password;
};
