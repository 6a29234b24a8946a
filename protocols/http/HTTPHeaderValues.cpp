// SplitHeaderValue and UnquoteHeaderValue.

#include "protocols/http/HTTPHeaderValues.h"

#include "protocols/http/HTTPTexts.h"

std::vector<c_StringView> SplitHeaderValue(const c_StringView& text) {
    std::vector<c_StringView> parts;
    if (text.Trimmed().IsEmpty()) {
        return parts;
    }
    const s_HTTPTexts& texts = GetHTTPTexts();
    const char escape = texts.m_Escape.GetView().GetFirstChar();
    const char quote = texts.m_Quote.GetView().GetFirstChar();
    const char comma = texts.m_Comma.GetView().GetFirstChar();
    bool escaped = false;
    bool quoted = false;
    int start = 0;
    for (int position = 0; position < text.GetLength(); ++position) {
        const char c = text.begin()[position];
        if (escaped) {
            escaped = false;
        } else if (c == escape) {
            escaped = true;
        } else if (c == quote) {
            quoted = !quoted;
        } else if (c == comma && !quoted) {
            parts.push_back(text.Mid(start, position - start).Trimmed());
            start = position + 1;
        }
    }
    parts.push_back(text.RightFrom(start).Trimmed());
    return parts;
}

c_String UnquoteHeaderValue(const c_StringView& text) {
    const s_HTTPTexts& texts = GetHTTPTexts();
    c_StringView inner = text.Trimmed();
    if (inner.GetLength() >= 2 && inner.StartsWith(texts.m_Quote) && inner.EndsWith(texts.m_Quote)) {
        inner = inner.Mid(1, inner.GetLength() - 2);
    }
    const char escape = texts.m_Escape.GetView().GetFirstChar();
    c_String result;
    bool escaped = false;
    for (char c : inner) {
        if (c == escape && !escaped) {
            escaped = true;
            continue;
        }
        escaped = false;
        // Append of a char keeps 1-127 and drops NUL and the upper half.
        result += c;
    }
    return result;
}
