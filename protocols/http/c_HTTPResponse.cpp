// c_HTTPResponse: the steps of the byte machine, the header block's end and the body's end.

#include "protocols/http/c_HTTPResponse.h"

#include "protocols/http/HTTPHeaderValues.h"
#include "protocols/http/HTTPTexts.h"
#include "textutil/NumberParsing.h"

#include <algorithm>
#include <cstring>

using namespace n_HTTPFraming;

namespace {

constexpr std::uint32_t VERSION_LENGTH = 8;

constexpr const char* VERSION_TEXT = "Response did not start with the expected HTTP version string.";
constexpr const char* SEPARATOR_TEXT = "Response includes a header line that does not include a header separator.";
constexpr const char* NEGATIVE_LENGTH_TEXT = "Content length is negative.";
constexpr const char* CHUNK_HEADER_TEXT = "Response included an invalid chunk header in the message body.";
constexpr const char* CHUNK_END_TEXT = "Response included a message body chunk that was not properly terminated.";
constexpr const char* INVALID_LENGTH_TEXT = "Invalid Content-Length.";
constexpr const char* LINE_LIMIT_TEXT = "Response included a line longer than the limit.";
constexpr const char* BLOCK_LIMIT_TEXT = "Response header block is larger than the limit.";
constexpr const char* FIELD_LIMIT_TEXT = "Response included more header fields than the limit.";
constexpr const char* LENGTH_LIMIT_TEXT = "Response content length is larger than the limit.";
constexpr const char* CHUNK_DIGITS_TEXT = "Response included a chunk size with too many digits.";
constexpr const char* CHUNK_LIMIT_TEXT = "Response included a chunk larger than the limit.";
constexpr const char* BODY_LIMIT_TEXT = "Response body is larger than the limit.";
constexpr const char* CODING_TEXT = "Response used a transfer coding that is not supported.";

void Advance(const std::uint8_t*& data, std::uint32_t& size, std::uint32_t count) {
    data += count;
    size -= count;
}

// Informational responses other than 101 are followed by the real one.
bool IsInterim(std::int32_t code) {
    return code >= 100 && code <= 199 && code != 101;
}

bool HasNoBody(std::int32_t code) {
    return code == 101 || code == 204 || code == 304;
}

} // namespace

void c_HTTPResponse::ParseData(c_ByteBuffer& received) {
    received.Consume(Feed(received.GetData(), received.GetSize()));
}

std::uint32_t c_HTTPResponse::Feed(const std::uint8_t* data, std::uint32_t size) {
    const std::uint32_t given = size;
    while (size > 0 && ParseStep(data, size)) {
    }
    return given - size;
}

bool c_HTTPResponse::ParseStep(const std::uint8_t*& data, std::uint32_t& size) {
    switch (m_ParseState) {
        case PARSE_STATUS_LINE:
            return ParseStatusLine(data, size);
        case PARSE_HEADER_FIELDS:
            return ParseHeaderLine(data, size);
        case PARSE_BODY:
            return m_Chunked ? ParseChunked(data, size) : ParseBodyByLength(data, size);
        default:
            return false;
    }
}

void c_HTTPResponse::ParseEndOfData() {
    if (m_ParseState == PARSE_BODY && !m_Chunked && m_ContentLength < 0) {
        FinishBody();
    }
}

c_HTTPResponse::e_LineResult c_HTTPResponse::FindLine(const std::uint8_t* data, std::uint32_t size,
                                                      c_StringView* line) {
    // The last byte searched may be the CR of a CRLF split between two feeds.
    std::uint32_t at = m_LineScanned > 0 ? m_LineScanned - 1 : 0;
    while (at < size) {
        const auto* lineFeed = static_cast<const std::uint8_t*>(std::memchr(data + at, '\n', size - at));
        if (lineFeed == nullptr) {
            break;
        }
        const auto end = static_cast<std::uint32_t>(lineFeed - data);
        if (end > 0 && data[end - 1] == '\r') {
            m_LineScanned = 0;
            if (end - 1 > MAX_LINE_LENGTH) {
                Fail(LINE_LIMIT_TEXT);
                return LINE_FAILED;
            }
            *line = c_StringView(reinterpret_cast<const char*>(data), int(end - 1));
            return LINE_FOUND;
        }
        at = end + 1;
    }
    m_LineScanned = size;
    // Even a CR at the end leaves a line longer than the limit.
    if (size - 1 > MAX_LINE_LENGTH) {
        Fail(LINE_LIMIT_TEXT);
        return LINE_FAILED;
    }
    return LINE_WAIT;
}

bool c_HTTPResponse::ParseStatusLine(const std::uint8_t*& data, std::uint32_t& size) {
    if (size < VERSION_LENGTH) {
        return false;
    }
    const s_HTTPTexts& texts = GetHTTPTexts();
    if (std::memcmp(data, texts.m_Version11.GetChars(), VERSION_LENGTH) != 0 &&
        std::memcmp(data, texts.m_Version10.GetChars(), VERSION_LENGTH) != 0) {
        Fail(VERSION_TEXT);
        return false;
    }
    c_StringView line;
    if (FindLine(data, size, &line) != LINE_FOUND) {
        return false;
    }
    const int space = line.Find(' ');
    m_Data.m_StatusCode = space >= 0 ? ParseInt32(line.RightFrom(space + 1)) : 0;
    Advance(data, size, std::uint32_t(line.GetLength()) + 2);
    m_HeaderBlockSize = 0;
    m_HeaderFieldCount = 0;
    m_ParseState = PARSE_HEADER_FIELDS;
    return true;
}

bool c_HTTPResponse::CountHeaderLine(std::uint32_t length) {
    m_HeaderBlockSize += length + 2;
    if (m_HeaderBlockSize > MAX_HEADER_BLOCK_SIZE) {
        Fail(BLOCK_LIMIT_TEXT);
        return false;
    }
    if (++m_HeaderFieldCount > MAX_HEADER_FIELDS) {
        Fail(FIELD_LIMIT_TEXT);
        return false;
    }
    return true;
}

bool c_HTTPResponse::ParseHeaderLine(const std::uint8_t*& data, std::uint32_t& size) {
    c_StringView line;
    if (FindLine(data, size, &line) != LINE_FOUND) {
        return false;
    }
    Advance(data, size, std::uint32_t(line.GetLength()) + 2);
    if (line.IsEmpty()) {
        EndHeaderBlock();
        return m_ParseState < PARSE_COMPLETE;
    }
    if (!CountHeaderLine(std::uint32_t(line.GetLength()))) {
        return false;
    }
    const int colon = line.Find(':');
    if (colon < 0) {
        Fail(SEPARATOR_TEXT);
        return false;
    }
    c_String& value = m_Data.m_Headers[c_StringNoCase(c_String(line.Left(colon)))];
    const c_StringView piece = line.RightFrom(colon + 1).Trimmed();
    if (!value.IsEmpty()) {
        value += GetHTTPTexts().m_ListJoin;
    }
    value += piece;
    return true;
}

void c_HTTPResponse::EndHeaderBlock() {
    const std::int32_t code = m_Data.m_StatusCode;
    if (IsInterim(code)) {
        m_Data.Clear();
        m_ParseState = PARSE_STATUS_LINE;
        return;
    }
    if (HasNoBody(code)) {
        m_ParseState = PARSE_COMPLETE;
        return;
    }
    StartBody();
}

void c_HTTPResponse::StartBody() {
    const s_HTTPTexts& texts = GetHTTPTexts();
    const auto transfer = m_Data.m_Headers.find(texts.m_TransferEncoding);
    const s_TransferCodings codings =
        transfer != m_Data.m_Headers.end() ? ParseTransferCodings(transfer->second) : s_TransferCodings();
    const e_BodyCoding contentCoding = ParseContentCoding(GetHeader(texts.m_ContentEncoding));
    // One inflater: a body compressed twice over is not taken.
    if (!codings.m_Supported || (codings.m_Compression != CODING_NONE && contentCoding != CODING_NONE)) {
        Fail(CODING_TEXT);
        return;
    }
    const e_BodyCoding coding = codings.m_Compression != CODING_NONE ? codings.m_Compression : contentCoding;
    m_Chunked = codings.m_Chunked;
    m_ChunkPhase = CHUNK_SIZE_LINE;
    const auto length = m_Data.m_Headers.find(texts.m_ContentLength);
    if (!codings.m_Present && length != m_Data.m_Headers.end()) {
        switch (ParseContentLength(length->second, &m_ContentLength)) {
            case LENGTH_VALID:
                break;
            case LENGTH_NEGATIVE:
                return Fail(NEGATIVE_LENGTH_TEXT);
            case LENGTH_TOO_LARGE:
                return Fail(LENGTH_LIMIT_TEXT);
            default:
                return Fail(INVALID_LENGTH_TEXT);
        }
    }
    m_ContentCoding = coding != CODING_NONE ? 1 : 0;
    m_Decoder.Start(coding, m_MaxBodySize);
    m_ParseState = PARSE_BODY;
    if (coding == CODING_NONE) {
        ReserveBody();
    }
    if (m_ContentLength == 0) {
        FinishBody();
    }
}

// The body is held whole, so it is allocated once rather than grown and moved. The declared length is
// only the peer's word: beyond the reserve limit, memory is spent as the bytes arrive. Without the
// reserve the body still grows as it goes, so a failure here is no error.
void c_HTTPResponse::ReserveBody() {
    if (m_ContentLength > 0) {
        const std::int64_t reserve = std::min<std::int64_t>({m_ContentLength, m_MaxBodySize, BODY_RESERVE_LIMIT});
        m_Data.m_Body.Reserve(std::uint32_t(reserve));
    }
}

bool c_HTTPResponse::ParseBodyByLength(const std::uint8_t*& data, std::uint32_t& size) {
    std::uint32_t take = size;
    if (m_ContentLength >= 0) {
        take = std::uint32_t(std::min<std::int64_t>(size, m_ContentLength - m_BodyBytesReceived));
    }
    const bool appended = AppendBody(data, take);
    Advance(data, size, take);
    m_BodyBytesReceived += take;
    if (appended && m_BodyBytesReceived == m_ContentLength) {
        FinishBody();
    }
    return false;
}

bool c_HTTPResponse::ParseChunked(const std::uint8_t*& data, std::uint32_t& size) {
    switch (m_ChunkPhase) {
        case CHUNK_SIZE_LINE:
            return ParseChunkSizeLine(data, size);
        case CHUNK_DATA:
            return ParseChunkData(data, size);
        case CHUNK_DATA_END:
            return ParseChunkDataEnd(data, size);
        default:
            return ParseTrailerLine(data, size);
    }
}

bool c_HTTPResponse::ParseChunkSizeLine(const std::uint8_t*& data, std::uint32_t& size) {
    c_StringView line;
    if (FindLine(data, size, &line) != LINE_FOUND) {
        return false;
    }
    switch (ParseChunkSize(line, &m_ChunkRemaining)) {
        case CHUNK_SIZE_VALID:
            break;
        case CHUNK_SIZE_TOO_MANY_DIGITS:
            Fail(CHUNK_DIGITS_TEXT);
            return false;
        case CHUNK_SIZE_TOO_LARGE:
            Fail(CHUNK_LIMIT_TEXT);
            return false;
        default:
            Fail(CHUNK_HEADER_TEXT);
            return false;
    }
    Advance(data, size, std::uint32_t(line.GetLength()) + 2);
    if (m_ChunkRemaining == 0) {
        // Trailer fields are counted against the header limits of their own block.
        m_HeaderBlockSize = 0;
        m_HeaderFieldCount = 0;
        m_ChunkPhase = CHUNK_TRAILER;
    } else {
        m_ChunkPhase = CHUNK_DATA;
    }
    return true;
}

bool c_HTTPResponse::ParseChunkData(const std::uint8_t*& data, std::uint32_t& size) {
    const auto take = std::uint32_t(std::min<std::int64_t>(size, m_ChunkRemaining));
    const bool appended = AppendBody(data, take);
    Advance(data, size, take);
    m_BodyBytesReceived += take;
    m_ChunkRemaining -= take;
    if (m_ChunkRemaining == 0) {
        m_ChunkPhase = CHUNK_DATA_END;
    }
    return appended;
}

bool c_HTTPResponse::ParseChunkDataEnd(const std::uint8_t*& data, std::uint32_t& size) {
    if (size < 2) {
        return false;
    }
    if (data[0] != '\r' || data[1] != '\n') {
        Fail(CHUNK_END_TEXT);
        return false;
    }
    Advance(data, size, 2);
    m_ChunkPhase = CHUNK_SIZE_LINE;
    return true;
}

bool c_HTTPResponse::ParseTrailerLine(const std::uint8_t*& data, std::uint32_t& size) {
    c_StringView line;
    if (FindLine(data, size, &line) != LINE_FOUND) {
        return false;
    }
    Advance(data, size, std::uint32_t(line.GetLength()) + 2);
    if (line.IsEmpty()) {
        FinishBody();
        return false;
    }
    return CountHeaderLine(std::uint32_t(line.GetLength()));
}

bool c_HTTPResponse::AppendBody(const std::uint8_t* data, std::uint32_t length) {
    c_ByteBuffer& body = m_Data.m_Body;
    if (m_Decoder.IsDecoding()) {
        c_String error;
        if (!m_Decoder.Append(data, length, body, &error)) {
            Fail(error);
            return false;
        }
        return true;
    }
    // The body keeps what fits, so that where the limit cuts does not depend on how bytes arrive.
    const std::uint32_t room = m_MaxBodySize - std::min(m_MaxBodySize, body.GetSize());
    body.Append(data, std::min(room, length));
    if (length > room) {
        Fail(BODY_LIMIT_TEXT);
        return false;
    }
    return true;
}

void c_HTTPResponse::FinishBody() {
    c_String error;
    if (!m_Decoder.Finish(m_Data.m_Body, &error)) {
        Fail(error);
        return;
    }
    m_ParseState = PARSE_COMPLETE;
}

void c_HTTPResponse::Fail(const c_StringView& text) {
    m_ErrorText = text;
    m_ParseState = PARSE_ERROR;
}

const c_String& c_HTTPResponse::GetHeader(const c_StringNoCase& name) const {
    static const c_String NONE;
    const auto found = m_Data.m_Headers.find(name);
    return found != m_Data.m_Headers.end() ? found->second : NONE;
}

bool c_HTTPResponse::GetError(c_String* text) const {
    if (text != nullptr) {
        *text = m_ErrorText;
    }
    return m_ParseState == PARSE_ERROR;
}

void c_HTTPResponse::Reset() {
    m_ParseState = PARSE_STATUS_LINE;
    m_ErrorText = c_String();
    m_Data.Clear();
    m_Chunked = false;
    m_ContentLength = -1;
    m_BodyBytesReceived = 0;
    m_ContentCoding = 0;
    m_Decoder.Reset();
    m_LineScanned = 0;
    m_HeaderBlockSize = 0;
    m_HeaderFieldCount = 0;
    m_ChunkPhase = CHUNK_SIZE_LINE;
    m_ChunkRemaining = 0;
}

bool c_HTTPResponse::ParseProxyAuthenticate(c_String& error, c_String& realm) const {
    error.Clear();
    realm.Clear();
    const s_HTTPTexts& texts = GetHTTPTexts();
    const c_String& value = GetHeader(texts.m_ProxyAuthenticate);
    if (value.IsEmpty()) {
        error = "Proxy authentication is required, but the server did not supply a Proxy-Authenticate header field.";
        return false;
    }
    const c_StringViewNoCase realmName = "realm=";
    for (const c_StringView& part : SplitHeaderValue(value)) {
        const c_StringView rest = part.RightFrom(texts.m_Basic.GetLength());
        if (!part.StartsWith(texts.m_Basic) || !rest.StartsWith(texts.m_Space)) {
            continue;
        }
        const c_StringView parameters = rest.RightFrom(texts.m_Space.GetLength());
        if (parameters.StartsWith(realmName)) {
            realm = UnquoteHeaderValue(parameters.RightFrom(realmName.GetLength()));
        }
        return true;
    }
    error = "Proxy authentication is required, but no known authentication schemes were provided.";
    return false;
}
