// Splitting into views: one core over both view types, and the variants built on it.

#include "textutil/TextSplit.h"

#include <new>
#include <stdexcept>

namespace {

template <typename View> void AppendPieces(const View& text, const c_StringView& separator, std::vector<View>& out) {
    if (text.IsEmpty()) {
        return;
    }
    const c_StringView searched(text);
    const int separatorLength = separator.GetLength();
    int start = 0;
    for (int hit = searched.Find(separator); hit >= 0; hit = searched.Find(separator, start)) {
        out.push_back(text.Mid(start, hit - start));
        start = hit + separatorLength;
    }
    out.push_back(text.RightFrom(start));
}

// Memory for the vector is the one thing that can run out; then out is put back as it was.
template <typename View> bool SplitCore(const View& text, const c_StringView& separator, std::vector<View>& out) {
    const std::size_t before = out.size();
    try {
        AppendPieces(text, separator, out);
        return true;
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    out.resize(before);
    return false;
}

} // namespace

bool Split(const c_StringView& text, const c_StringView& separator, std::vector<c_StringView>& out) {
    return SplitCore(text, separator, out);
}

bool Split(const c_StringViewNoCase& text, const c_StringView& separator, std::vector<c_StringViewNoCase>& out) {
    return SplitCore(text, separator, out);
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
