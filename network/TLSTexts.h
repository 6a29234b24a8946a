#pragma once
// Texts of the TLS layer: OpenSSL's error queue as one line, and the names of the security methods.

#include "strings/c_String.h"

// The calling thread's OpenSSL error queue, the entries joined by "; ", leaving the queue empty.
// An empty queue gives an empty text.
c_String GetOpenSSLErrorText();

// 0 is no TLS, 1 to 4 the TLS methods; any other number is unknown.
c_String GetSecurityMethodName(int method);
