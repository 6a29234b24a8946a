// c_HTTPProxySettings: assignment without the signal.

#include "protocols/http/c_HTTPProxySettings.h"

c_HTTPProxySettings& c_HTTPProxySettings::operator=(const c_HTTPProxySettings& other) {
    m_UseHTTPProxy = other.m_UseHTTPProxy;
    m_ProxyAddress = other.m_ProxyAddress;
    m_HTTPPort = other.m_HTTPPort;
    m_HTTPSPort = other.m_HTTPSPort;
    m_Username = other.m_Username;
    m_Password = other.m_Password;
    return *this;
}
