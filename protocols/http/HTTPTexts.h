#pragma once
// The HTTP texts that the client, its connections and the response parser share.
//
// They are built on first use, so code that runs during static initialisation may already use them.
// The NoCase members compare without case: schemes, header names, codings and "Basic".

#include "strings/c_String.h"
#include "strings/c_StringNoCase.h"

struct s_HTTPTexts {
    c_StringNoCase m_HTTP{"http"};
    c_StringNoCase m_HTTPS{"https"};
    c_String m_SchemeSeparator{"://"};
    c_String m_Colon{":"};
    c_String m_Space{" "};
    c_String m_LineEnd{"\r\n"};
    c_String m_Escape{"\\"};
    c_String m_Quote{"\""};
    c_String m_Comma{","};
    c_String m_ListJoin{", "};
    c_String m_Version10{"HTTP/1.0"};
    c_String m_Version11{"HTTP/1.1"};
    c_String m_GET{"GET"};
    c_String m_POST{"POST"};
    c_String m_PUT{"PUT"};
    c_String m_DELETE{"DELETE"};
    c_StringNoCase m_Basic{"Basic"};
    c_StringNoCase m_Accept{"Accept"};
    c_StringNoCase m_AcceptEncoding{"Accept-Encoding"};
    c_StringNoCase m_Authorization{"Authorization"};
    c_StringNoCase m_ContentEncoding{"Content-Encoding"};
    c_StringNoCase m_ContentLength{"Content-Length"};
    c_StringNoCase m_ContentType{"Content-Type"};
    c_StringNoCase m_Host{"Host"};
    c_StringNoCase m_Location{"Location"};
    c_StringNoCase m_ProxyAuthenticate{"Proxy-Authenticate"};
    c_StringNoCase m_ProxyAuthorization{"Proxy-Authorization"};
    c_StringNoCase m_TransferEncoding{"Transfer-Encoding"};
    c_StringNoCase m_UserAgent{"User-Agent"};
    c_StringNoCase m_Identity{"identity"};
    c_StringNoCase m_Deflate{"deflate"};
    c_StringNoCase m_Compress{"compress"};
    c_StringNoCase m_Gzip{"gzip"};
    c_StringNoCase m_Chunked{"chunked"};
    c_String m_DefaultAccept{"text/xml,application/xml,application/xhtml+xml,text/html,text/plain,*/*"};
    c_String m_FormContentType{"application/x-www-form-urlencoded"};
    c_String m_DefaultUserAgent{"Mozilla/5.0 (Windows NT 6.1; WOW64; rv:49.0) Gecko/20100101 Firefox/49.0"};
    c_String m_LocalHostAddress{"127.0.0.1"};
};

const s_HTTPTexts& GetHTTPTexts();
