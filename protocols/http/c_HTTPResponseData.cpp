// c_HTTPResponseData: copies and Clear over all three fields.

#include "protocols/http/c_HTTPResponseData.h"

c_HTTPResponseData::c_HTTPResponseData(const c_HTTPResponseData& other)
    : m_StatusCode(other.m_StatusCode), m_Headers(other.m_Headers) {
    m_Body.Assign(other.m_Body);
}

c_HTTPResponseData& c_HTTPResponseData::operator=(const c_HTTPResponseData& other) {
    if (this != &other) {
        m_StatusCode = other.m_StatusCode;
        m_Headers = other.m_Headers;
        m_Body.Assign(other.m_Body);
    }
    return *this;
}

void c_HTTPResponseData::Clear() {
    m_StatusCode = 0;
    m_Headers.clear();
    m_Body.Clear(true);
}
