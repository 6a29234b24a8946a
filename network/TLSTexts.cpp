// Texts of the TLS layer: OpenSSL's error queue as one line, and the names of the security methods.

#include "network/TLSTexts.h"

#include <openssl/err.h>

c_String GetOpenSSLErrorText() {
    c_String text;
    for (unsigned long code = ERR_get_error(); code != 0; code = ERR_get_error()) {
        char entry[512];
        ERR_error_string_n(code, entry, sizeof entry);
        if (!text.IsEmpty()) {
            text += "; ";
        }
        text += entry;
    }
    return text;
}

c_String GetSecurityMethodName(int method) {
    static const char* const NAMES[] = {"(no SSL/TLS)", "TLS 1.0", "TLS 1.1", "TLS 1.2", "TLS 1.2 with Client Auth"};
    if (method < 0 || method >= static_cast<int>(std::size(NAMES))) {
        return "(unknown security method)";
    }
    return NAMES[method];
}
