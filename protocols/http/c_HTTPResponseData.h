#pragma once
// c_HTTPResponseData: what a response delivers: status code, header fields and the decoded body.

#include "protocols/http/c_HTTPRequestParameters.h"
#include "textutil/c_ByteBuffer.h"

#include <cstdint>

class c_HTTPResponseData {
public:
    c_HTTPResponseData() = default;
    c_HTTPResponseData(const c_HTTPResponseData& other);
    c_HTTPResponseData& operator=(const c_HTTPResponseData& other);

    void Clear();

    // 0 until read.
    std::int32_t m_StatusCode = 0;
    t_HTTPHeaderMap m_Headers;
    c_ByteBuffer m_Body;
};
