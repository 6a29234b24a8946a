// Fuzz target: the URL split on arbitrary text. Positions stay inside the text and in order; a URL
// that is valid has a host without blanks, controls or user information, a port from 1 to 65535, no
// fragment in its path, and names the same endpoint when built back from its pieces.

#include "fuzz/FuzzInput.h"
#include "protocols/http/c_HTTPURLParts.h"
#include "textutil/NumberParsing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 16) {
        return 0;
    }
    const c_StringView url(reinterpret_cast<const char*>(data), int(size));
    const c_HTTPURLParts parts = ParseURL(url);
    FUZZ_CHECK(parts.m_HostStart <= parts.m_HostEnd && parts.m_HostEnd <= parts.m_PortStart);
    FUZZ_CHECK(parts.m_PortStart <= parts.m_PathStart && parts.m_PathStart <= parts.m_PathEnd);
    FUZZ_CHECK(parts.m_PathEnd <= url.GetLength());
    if (!parts.IsValid()) {
        return 0;
    }
    const c_StringView host = parts.GetHost();
    FUZZ_CHECK(!host.IsEmpty() && !host.Contains('@') && !host.Contains(':'));
    for (char c : url.Left(parts.m_PathEnd)) {
        FUZZ_CHECK(static_cast<unsigned char>(c) > 0x20 && c != 0x7F);
    }
    FUZZ_CHECK(!parts.GetPath().Contains('#'));
    const c_HTTPEndpoint endpoint = GetEndpoint(parts);
    FUZZ_CHECK(endpoint.m_Port != 0);
    if (!parts.GetPortText().IsEmpty()) {
        FUZZ_CHECK(ParseInt32(parts.GetPortText()) == endpoint.m_Port);
    }
    const c_String rebuilt = BuildURL(parts.GetScheme(), host, endpoint.m_Port);
    const c_HTTPURLParts again = ParseURL(rebuilt);
    FUZZ_CHECK(again.IsValid());
    const c_HTTPEndpoint same = GetEndpoint(again);
    FUZZ_CHECK(same.m_Host == endpoint.m_Host && same.m_Port == endpoint.m_Port && same.m_Secure == endpoint.m_Secure);
    return 0;
}
