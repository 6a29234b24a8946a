// The framing rules: lengths, codings and chunk sizes.

#include "protocols/http/internal/HTTPFraming.h"

#include "protocols/http/HTTPTexts.h"

namespace n_HTTPFraming {

namespace {

// Calls visit with each trimmed, non-empty item of a comma-separated list until it returns false.
template <typename Visit> void ForEachListItem(const c_StringView& list, Visit visit) {
    c_StringView rest = list;
    while (true) {
        const int comma = rest.Find(',');
        const c_StringView item = (comma < 0 ? rest : rest.Left(comma)).Trimmed();
        if (!item.IsEmpty() && !visit(item)) {
            return;
        }
        if (comma < 0) {
            return;
        }
        rest = rest.RightFrom(comma + 1);
    }
}

e_LengthResult ParseDecimalLength(const c_StringView& item, std::int64_t* length) {
    if (item.GetFirstChar() == '-' && item.GetLength() > 1 && item.RightFrom(1).IsAllDigits()) {
        return LENGTH_NEGATIVE;
    }
    if (!item.IsAllDigits()) {
        return LENGTH_INVALID;
    }
    std::int64_t value = 0;
    for (char c : item) {
        value = value * 10 + (c - '0');
        if (value > MAX_LENGTH) {
            return LENGTH_TOO_LARGE;
        }
    }
    *length = value;
    return LENGTH_VALID;
}

int HexDigitValue(char c) {
    const unsigned u = static_cast<unsigned char>(c);
    if (u - '0' < 10u) {
        return int(u - '0');
    }
    if ((u | 0x20u) - 'a' < 6u) {
        return int((u | 0x20u) - 'a' + 10);
    }
    return -1;
}

e_BodyCoding CompressionOf(const c_StringViewNoCase& coding) {
    const s_HTTPTexts& texts = GetHTTPTexts();
    if (coding == texts.m_Gzip) {
        return CODING_GZIP;
    }
    return coding == texts.m_Deflate ? CODING_DEFLATE : CODING_NONE;
}

} // namespace

e_LengthResult ParseContentLength(const c_StringView& value, std::int64_t* length) {
    e_LengthResult result = LENGTH_INVALID;
    std::int64_t first = -1;
    ForEachListItem(value, [&](const c_StringView& item) {
        std::int64_t itemLength = 0;
        result = ParseDecimalLength(item, &itemLength);
        if (result == LENGTH_VALID && first >= 0 && itemLength != first) {
            result = LENGTH_INVALID;
        }
        first = itemLength;
        return result == LENGTH_VALID;
    });
    if (result == LENGTH_VALID) {
        *length = first;
    }
    return result;
}

e_BodyCoding ParseContentCoding(const c_StringView& value) {
    return CompressionOf(value.Trimmed());
}

s_TransferCodings ParseTransferCodings(const c_StringView& value) {
    s_TransferCodings codings;
    const s_HTTPTexts& texts = GetHTTPTexts();
    ForEachListItem(value, [&](const c_StringViewNoCase& item) {
        if (item == texts.m_Identity) {
            return true;
        }
        // Anything after "chunked" means the chunks themselves were coded again.
        if (codings.m_Chunked) {
            codings.m_Supported = false;
            return false;
        }
        codings.m_Present = true;
        if (item == texts.m_Chunked) {
            codings.m_Chunked = true;
            return true;
        }
        const e_BodyCoding compression = CompressionOf(item);
        codings.m_Supported = compression != CODING_NONE && codings.m_Compression == CODING_NONE;
        codings.m_Compression = compression;
        return codings.m_Supported;
    });
    return codings;
}

e_ChunkSizeResult ParseChunkSize(const c_StringView& line, std::int64_t* size) {
    int digits = 0;
    std::uint64_t value = 0;
    for (; digits < line.GetLength() && HexDigitValue(line.begin()[digits]) >= 0; ++digits) {
        value = value << 4 | std::uint64_t(HexDigitValue(line.begin()[digits]));
    }
    if (digits == 0 || (digits < line.GetLength() && line.begin()[digits] != ';')) {
        return CHUNK_SIZE_INVALID;
    }
    if (digits > MAX_CHUNK_SIZE_DIGITS) {
        return CHUNK_SIZE_TOO_MANY_DIGITS;
    }
    if (value > std::uint64_t(MAX_LENGTH)) {
        return CHUNK_SIZE_TOO_LARGE;
    }
    *size = std::int64_t(value);
    return CHUNK_SIZE_VALID;
}

} // namespace n_HTTPFraming
