#pragma once
// c_HTTPRequestParameters: what a user of the HTTP client asks for in one request (method, URL, header
// fields, body), and the method texts.

#include "strings/c_String.h"
#include "strings/c_StringNoCase.h"
#include "textutil/c_ByteBuffer.h"

#include <cstdint>
#include <map>

// Header fields by name without case: a name keeps the spelling it was first inserted with.
typedef std::map<c_StringNoCase, c_String> t_HTTPHeaderMap;

enum e_HTTPMethod : std::int32_t {
    HTTP_METHOD_NONE = 0,
    HTTP_METHOD_GET = 1,
    HTTP_METHOD_POST = 2,
    HTTP_METHOD_PUT = 3,
    HTTP_METHOD_DELETE = 4,
};

// "GET", "POST", "PUT" or "DELETE"; empty for any other value.
const c_String& GetHTTPMethodText(std::int32_t method);
// POST, PUT and DELETE send the body.
bool IsHTTPMethodWithBody(std::int32_t method);

class c_HTTPRequestParameters {
public:
    c_HTTPRequestParameters() = default;
    // Copies take the body's unread bytes only.
    c_HTTPRequestParameters(const c_HTTPRequestParameters& other);
    c_HTTPRequestParameters& operator=(const c_HTTPRequestParameters& other);

    // A text's bytes, without its terminating NUL.
    void SetBody(const c_String& text);
    void SetBody(const void* data, std::uint32_t length);
    void AppendBody(const void* data, std::uint32_t length);
    void AppendBody(const c_String& text);
    // Each buffer keeps its own observer.
    void SwapBody(c_ByteBuffer& other) { m_Body.Swap(other); }

    std::int32_t m_Method = HTTP_METHOD_NONE;
    c_String m_URL;
    t_HTTPHeaderMap m_Headers;
    c_ByteBuffer m_Body;
};
