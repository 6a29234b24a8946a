// c_AsyncHTTP2Request: one request, its default header fields and its form on the wire.

#include "protocols/http/c_AsyncHTTP2Request.h"

#include "protocols/http/HTTPTexts.h"
#include "protocols/http/c_AsyncHTTP2.h"
#include "protocols/socket/c_BufferedSocket2.h"
#include "textutil/NumberFormatting.h"

c_AsyncHTTP2Request::c_AsyncHTTP2Request(c_AsyncHTTP2* client, const c_AsyncHTTP2Request* previous, std::int32_t id,
                                         const c_HTTPRequestParameters& parameters, std::int32_t timeoutMilliseconds)
    : m_p_Client(client), m_ID(id), m_FirstRequestID(previous != nullptr ? previous->m_FirstRequestID : id),
      m_PreviousRequestID(previous != nullptr ? previous->m_ID : 0), m_Parameters(parameters), m_Response(client, id),
      m_TimeoutMilliseconds(timeoutMilliseconds) {
    m_StatusText = "Request is initialized but has not been sent.";
}

c_AsyncHTTP2Request* c_AsyncHTTP2Request::GetFirstRequest() {
    return m_FirstRequestID == m_ID ? this : m_p_Client->FindRequest(m_FirstRequestID);
}

c_AsyncHTTP2Request* c_AsyncHTTP2Request::GetPreviousRequest() const {
    return m_p_Client->FindRequest(m_PreviousRequestID);
}

void c_AsyncHTTP2Request::SetConnectionID(std::int32_t connectionID) {
    m_ConnectionID = connectionID;
    if (m_TimeoutMilliseconds >= 0) {
        m_TimeoutTimer.Start(static_cast<std::uint32_t>(m_TimeoutMilliseconds), 1, false);
    }
}

bool c_AsyncHTTP2Request::HasHeader(const c_StringNoCase& name) const {
    return m_Parameters.m_Headers.count(name) != 0;
}

c_HTTPConnectionInfo* c_AsyncHTTP2Request::GetConnectionInfo() const {
    return m_p_Client->GetConnectionInfo(ParseURL(m_Parameters.m_URL), true);
}

void c_AsyncHTTP2Request::AddDefaultHeaders() {
    const s_HTTPTexts& texts = GetHTTPTexts();
    t_HTTPHeaderMap& headers = m_Parameters.m_Headers;
    // try_emplace adds a field only when no field of that name (without case) is there.
    headers.try_emplace(texts.m_Host, GetHostFieldValue(m_Parameters.m_URL));
    headers.try_emplace(texts.m_UserAgent, texts.m_DefaultUserAgent);
    headers.try_emplace(texts.m_Accept, texts.m_DefaultAccept);
    headers.try_emplace(texts.m_AcceptEncoding, Concat({texts.m_Gzip, texts.m_ListJoin, texts.m_Deflate}));
    if (m_Parameters.m_Method == HTTP_METHOD_POST) {
        headers.try_emplace(texts.m_ContentType, texts.m_FormContentType);
    }
    if (IsHTTPMethodWithBody(m_Parameters.m_Method)) {
        headers.try_emplace(texts.m_ContentLength, ToString(m_Parameters.m_Body.GetSize()));
    }
}

c_String c_AsyncHTTP2Request::GetHostFieldValue(const c_StringView& url) {
    const c_HTTPURLParts parts = ParseURL(url);
    c_String host(parts.GetHost());
    // A port other than the scheme's default is part of the field, or virtual hosts go astray.
    const c_HTTPEndpoint endpoint = GetEndpoint(parts);
    if (endpoint.m_Port != (endpoint.m_Secure ? 443 : 80)) {
        host += GetHTTPTexts().m_Colon;
        host += ToString(static_cast<unsigned>(endpoint.m_Port));
    }
    return host;
}

c_String c_AsyncHTTP2Request::GetRequestTarget(bool viaProxy) const {
    const c_HTTPURLParts parts = ParseURL(m_Parameters.m_URL);
    if (viaProxy) {
        return c_String(parts.m_URL.Left(parts.m_PathEnd));
    }
    const c_StringView path = parts.GetPath();
    if (path.IsEmpty() || *path.begin() != '/') {
        return Concat({"/", path});
    }
    return c_String(path);
}

bool c_AsyncHTTP2Request::WriteRequest(c_BufferedSocket2& socket, bool viaProxy, c_String& text) {
    const s_HTTPTexts& texts = GetHTTPTexts();
    const c_String& method = GetHTTPMethodText(m_Parameters.m_Method);
    if (method.IsEmpty()) {
        text = "Failed to send the request because the method was unknown.";
        return false;
    }
    c_CriticalSectionLock lock;
    const auto send = [&](const c_StringView& piece) { return socket.Send(piece.begin(), piece.GetLength(), 1, lock); };
    bool sent = send(
        Concat({method, texts.m_Space, GetRequestTarget(viaProxy), texts.m_Space, texts.m_Version11, texts.m_LineEnd}));
    c_String block;
    for (const auto& [name, value] : m_Parameters.m_Headers) {
        block += Concat({name, texts.m_Colon, texts.m_Space, value, texts.m_LineEnd});
    }
    sent = send(block) && sent;
    sent = send(texts.m_LineEnd) && sent;
    if (IsHTTPMethodWithBody(m_Parameters.m_Method)) {
        const c_ByteBuffer& body = m_Parameters.m_Body;
        sent = socket.Send(body.GetData(), body.GetSize(), 1, lock) && sent;
    }
    socket.SendQueuedData(lock);
    text = sent ? "Request has been sent." : "Failed to send the request over the socket.";
    return sent;
}

void c_AsyncHTTP2Request::OnTimer(c_TimerNew* timer) {
    if (timer != &m_TimeoutTimer) {
        return;
    }
    SetStatusText("Request timed out.");
    m_p_Client->TimeOut(*this);
}
