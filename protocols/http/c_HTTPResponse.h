#pragma once
// c_HTTPResponse: the parser of one HTTP/1.1 response (RFC 9112), fed the bytes of a connection as
// they arrive. It accepts:
//
//   response      = *interim-response final-response
//   interim       = status-line with a 1xx code other than 101, then header fields, then CRLF
//   status-line   = ( "HTTP/1.1" / "HTTP/1.0" ) [ SP status-code *( any byte ) ] CRLF
//                   ; the code is the decimal number after the first SP, 0 without one
//   header-field  = field-name ":" OWS field-value OWS CRLF       ; the name as it is, any bytes
//   final-response= status-line *header-field CRLF [ body ]
//   body          = chunked-body / length-body / close-body       ; none for 1xx, 204 and 304
//   chunked-body  = *chunk "0" [ ";" ext ] CRLF *trailer-field CRLF
//                   ; when "chunked" is the last transfer coding
//   chunk         = 1*16HEXDIG [ ";" ext ] CRLF chunk-data CRLF
//   length-body   = exactly "Content-Length" bytes                ; DIGITs only; repeats must agree
//   close-body    = every byte until the connection closes (ParseEndOfData)
//
// Lines end with CRLF. Header fields of one name are joined with ", ". A "gzip" or "deflate" content
// coding, or one of them as a transfer coding before "chunked", is inflated while received.
//
// Feed takes bytes and returns how many it used; a line not yet whole is left to the caller, and the
// scan for its end goes on where it stopped. Chunk data is taken as it comes. Bytes after the
// response are never taken. The parse state only moves forward (0 status line, 1 header fields,
// 2 body, 3 complete, 4 error); in state 4 the error text says why and nothing more is taken.
//
// Limits keep memory within bounds whatever the peer announces: a line of 64 KiB, a header block of
// 256 KiB or 500 fields, a length or chunk size of 2147483647 bytes, a decoded body of the maximum
// body size, and at most 64 MiB reserved for a body from its declared length. State 3 means the body
// ended properly: its length reached, its last chunk seen, its compressed stream at its end, or, for
// a body read until close, the close.

#include "protocols/http/c_HTTPResponseData.h"
#include "protocols/http/internal/c_HTTPBodyDecoder.h"
#include "strings/c_String.h"
#include "strings/c_StringNoCase.h"
#include "textutil/c_ByteBuffer.h"

#include <cstdint>

class c_AsyncHTTP2;

class c_HTTPResponse {
public:
    enum e_ParseState : std::int32_t {
        PARSE_STATUS_LINE = 0,
        PARSE_HEADER_FIELDS = 1,
        PARSE_BODY = 2,
        PARSE_COMPLETE = 3,
        PARSE_ERROR = 4,
    };
    static constexpr std::uint32_t MAX_LINE_LENGTH = 65536;
    static constexpr std::uint32_t MAX_HEADER_BLOCK_SIZE = 262144;
    static constexpr std::uint32_t MAX_HEADER_FIELDS = 500;
    static constexpr std::uint32_t DEFAULT_MAX_BODY_SIZE = 2147483647;
    // The most body memory reserved from "Content-Length" before the bytes arrive.
    static constexpr std::uint32_t BODY_RESERVE_LIMIT = 67108864;

    c_HTTPResponse(c_AsyncHTTP2* client, std::int32_t requestID) : m_p_Client(client), m_RequestID(requestID) {}
    c_HTTPResponse(const c_HTTPResponse&) = delete;
    c_HTTPResponse& operator=(const c_HTTPResponse&) = delete;

    // Parses the unread bytes and consumes those it used.
    void ParseData(c_ByteBuffer& received);
    std::uint32_t Feed(const std::uint8_t* data, std::uint32_t size);
    // The connection has closed: a body read until close ends here.
    void ParseEndOfData();

    std::int32_t GetStatusCode() const { return m_Data.m_StatusCode; }
    // An empty text when the field is absent; nothing is inserted.
    const c_String& GetHeader(const c_StringNoCase& name) const;
    // Inserts an empty field when absent.
    c_String& GetHeaderValue(const c_StringNoCase& name) { return m_Data.m_Headers[name]; }
    c_ByteBuffer& GetBody() { return m_Data.m_Body; }
    const c_HTTPResponseData& GetData() const { return m_Data; }
    std::int32_t GetParseState() const { return m_ParseState; }
    bool HasContentLength() const { return m_ContentLength >= 0; }
    // The header block is complete, or an error occurred.
    bool HasStarted() const { return m_ParseState >= PARSE_BODY; }
    bool IsComplete() const { return m_ParseState == PARSE_COMPLETE; }
    bool GetError(c_String* text) const;
    bool IsRedirect() const { return GetStatusCode() == 301 || GetStatusCode() == 302; }
    std::int32_t GetRequestID() const { return m_RequestID; }
    // Finds the Basic challenge of "Proxy-Authenticate" and its realm, which stays empty when none is
    // given; false with the error when there is no such challenge.
    bool ParseProxyAuthenticate(c_String& error, c_String& realm) const;
    c_AsyncHTTP2* GetClient() const { return m_p_Client; }

    // The most decoded body bytes accepted; survives Reset.
    void SetMaxBodySize(std::uint32_t size) { m_MaxBodySize = size; }
    void Reset();

private:
    enum e_ChunkPhase { CHUNK_SIZE_LINE, CHUNK_DATA, CHUNK_DATA_END, CHUNK_TRAILER };
    enum e_LineResult { LINE_FOUND, LINE_WAIT, LINE_FAILED };

    // Each step parses from data and moves it past what it used; false ends the feed.
    bool ParseStep(const std::uint8_t*& data, std::uint32_t& size);
    bool ParseStatusLine(const std::uint8_t*& data, std::uint32_t& size);
    bool ParseHeaderLine(const std::uint8_t*& data, std::uint32_t& size);
    bool ParseBodyByLength(const std::uint8_t*& data, std::uint32_t& size);
    bool ParseChunked(const std::uint8_t*& data, std::uint32_t& size);
    bool ParseChunkSizeLine(const std::uint8_t*& data, std::uint32_t& size);
    bool ParseChunkData(const std::uint8_t*& data, std::uint32_t& size);
    bool ParseChunkDataEnd(const std::uint8_t*& data, std::uint32_t& size);
    bool ParseTrailerLine(const std::uint8_t*& data, std::uint32_t& size);

    e_LineResult FindLine(const std::uint8_t* data, std::uint32_t size, c_StringView* line);
    // Counts a header or trailer line against the block limits.
    bool CountHeaderLine(std::uint32_t length);
    void EndHeaderBlock();
    void StartBody();
    void ReserveBody();
    bool AppendBody(const std::uint8_t* data, std::uint32_t length);
    void FinishBody();
    void Fail(const c_StringView& text);

    c_AsyncHTTP2* m_p_Client;
    std::int32_t m_RequestID;
    std::int32_t m_ParseState = PARSE_STATUS_LINE;
    c_String m_ErrorText;
    c_HTTPResponseData m_Data;
    bool m_Chunked = false;
    // -1 when not given. Lengths are 64-bit so that no announced size wraps.
    std::int64_t m_ContentLength = -1;
    std::int64_t m_BodyBytesReceived = 0;
    // 0 none, 1 gzip or deflate.
    std::int32_t m_ContentCoding = 0;
    c_HTTPBodyDecoder m_Decoder;

    std::uint32_t m_MaxBodySize = DEFAULT_MAX_BODY_SIZE;
    // Bytes of the waiting line already searched for its end.
    std::uint32_t m_LineScanned = 0;
    std::uint32_t m_HeaderBlockSize = 0;
    std::uint32_t m_HeaderFieldCount = 0;
    e_ChunkPhase m_ChunkPhase = CHUNK_SIZE_LINE;
    std::int64_t m_ChunkRemaining = 0;
};
