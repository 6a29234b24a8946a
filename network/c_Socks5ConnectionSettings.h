#pragma once
// c_Socks5ConnectionSettings: the SOCKS 5 proxy record that the application holds and every
// connection copies.
//
// With bypass for local host set, the targets "127.0.0.1" (with case) and "localhost" (without case)
// are reached directly. The core only hands out the application's record; connections copy it at
// every connect, so later edits reach new connections only.

#include "strings/c_String.h"

#include <cstdint>

class c_Socks5ConnectionSettings {
public:
    bool m_UseSocks5 = false;
    c_String m_Host;
    std::int32_t m_Port = 0;
    c_String m_UserName;
    c_String m_Password;
    bool m_BypassForLocalHost = false;
};
