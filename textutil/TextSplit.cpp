// Splitting into views: the views' own Split, and the variants built on it.

#include "textutil/TextSplit.h"

#include <new>
#include <stdexcept>

bool Split(const c_StringView& text, const c_StringView& separator, std::vector<c_StringView>& out) {
    return text.Split(separator, out);
}

bool Split(const c_StringViewNoCase& text, const c_StringView& separator, std::vector<c_StringViewNoCase>& out) {
    return text.Split(separator, out);
}

std::vector<c_StringView> Split(const c_StringView& text, const c_StringView& separator) {
    std::vector<c_StringView> pieces;
    Split(text, separator, pieces);
    return pieces;
}

std::vector<c_StringView> Split(const c_StringView& text, char separator) {
    return Split(text, c_StringView(separator));
}

void SplitInto(const c_StringView& text, const c_StringView& separator, std::vector<c_StringView>& out) {
    out.clear();
    Split(text, separator, out);
}

void SplitInto(const c_StringViewNoCase& text, const c_StringView& separator, std::vector<c_StringViewNoCase>& out) {
    out.clear();
    Split(text, separator, out);
}

void SplitInto(const c_StringViewNoCase& text, char separator, std::vector<c_StringViewNoCase>& out) {
    SplitInto(text, c_StringView(separator), out);
}

void SplitLines(const c_StringView& text, std::vector<c_StringView>& out) {
    SplitInto(text, "\n", out);
}

void SplitPadded(const c_StringView& text, const c_StringView& separator, int minCount,
                 std::vector<c_StringView>& out) {
    out.clear();
    try {
        if (minCount > 0) {
            out.reserve(static_cast<std::size_t>(minCount));
        }
        if (!Split(text, separator, out)) {
            return;
        }
        while (static_cast<int>(out.size()) < minCount) {
            out.push_back(c_StringView());
        }
    } catch (const std::bad_alloc&) {
        out.clear();
    } catch (const std::length_error&) {
        out.clear();
    }
}

std::vector<c_StringView> SplitPadded(const c_StringView& text, const c_StringView& separator, int minCount) {
    std::vector<c_StringView> pieces;
    SplitPadded(text, separator, minCount, pieces);
    return pieces;
}

std::vector<c_StringView> SplitTrimmed(const c_StringView& text, const c_StringView& separator) {
    std::vector<c_StringView> pieces = Split(text, separator);
    for (c_StringView& piece : pieces) {
        piece.Trim();
    }
    return pieces;
}
