// c_HTTPRequestParameters: copies, bodies and the method texts.

#include "protocols/http/c_HTTPRequestParameters.h"

#include "protocols/http/HTTPTexts.h"

const c_String& GetHTTPMethodText(std::int32_t method) {
    static const c_String NONE;
    const s_HTTPTexts& texts = GetHTTPTexts();
    switch (method) {
        case HTTP_METHOD_GET:
            return texts.m_GET;
        case HTTP_METHOD_POST:
            return texts.m_POST;
        case HTTP_METHOD_PUT:
            return texts.m_PUT;
        case HTTP_METHOD_DELETE:
            return texts.m_DELETE;
        default:
            return NONE;
    }
}

bool IsHTTPMethodWithBody(std::int32_t method) {
    return method == HTTP_METHOD_POST || method == HTTP_METHOD_PUT || method == HTTP_METHOD_DELETE;
}

c_HTTPRequestParameters::c_HTTPRequestParameters(const c_HTTPRequestParameters& other)
    : m_Method(other.m_Method), m_URL(other.m_URL), m_Headers(other.m_Headers) {
    m_Body.Assign(other.m_Body);
}

c_HTTPRequestParameters& c_HTTPRequestParameters::operator=(const c_HTTPRequestParameters& other) {
    if (this != &other) {
        m_Method = other.m_Method;
        m_URL = other.m_URL;
        m_Headers = other.m_Headers;
        m_Body.Assign(other.m_Body);
    }
    return *this;
}

void c_HTTPRequestParameters::SetBody(const c_String& text) {
    m_Body.Clear(false);
    AppendBody(text);
}

void c_HTTPRequestParameters::SetBody(const void* data, std::uint32_t length) {
    m_Body.Clear(false);
    AppendBody(data, length);
}

void c_HTTPRequestParameters::AppendBody(const void* data, std::uint32_t length) {
    m_Body.Append(data, length);
}

void c_HTTPRequestParameters::AppendBody(const c_String& text) {
    m_Body.Append(text);
}
