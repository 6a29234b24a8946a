#pragma once
// The text core: comparison primitives, searches, pieces and trims over a run of units.
//
// The narrow and wide strings and views all reduce their operands to a t_Text (pointer, length) and
// call these templates, so the rules for empty operands, out-of-range positions and ties live in
// one place. T is the unit type (char or char16_t); NO_CASE selects the primitive without case,
// which folds only 'A'-'Z'. Units are always compared as unsigned values.

#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace n_StringCore {

template <typename T> struct t_Text {
    const T* m_p_Data = nullptr;
    int m_Length = 0;
};

template <typename T> constexpr unsigned ToUnsigned(T unit) {
    return static_cast<std::make_unsigned_t<T>>(unit);
}

template <typename T> constexpr unsigned FoldCase(T unit) {
    const unsigned value = ToUnsigned(unit);
    return value - 'A' < 26u ? value + 32u : value;
}

#if defined(__SSE2__)
constexpr std::uintptr_t MEMORY_PAGE_BYTES = 4096;
constexpr int BLOCK = 16;

// Sixteen bytes from bytes, of which only the first count (1 to 16) belong to the text; the caller
// ignores the rest. A read past the text that stays within its memory page cannot fault, so the
// block is read whole unless it would cross into the next page. The sanitizers would take those
// extra bytes, which no result depends on, for an overflow or a race, so they skip this load.
__attribute__((no_sanitize("address", "thread"))) inline __m128i LoadBlockWithinPage(const char* bytes, int count) {
    if ((reinterpret_cast<std::uintptr_t>(bytes) & (MEMORY_PAGE_BYTES - 1)) <= MEMORY_PAGE_BYTES - BLOCK) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    }
    alignas(16) char copy[BLOCK] = {};
    std::memcpy(copy, bytes, static_cast<std::size_t>(count));
    return _mm_load_si128(reinterpret_cast<const __m128i*>(copy));
}

// 'A'-'Z' made lower case in every byte of the block.
inline __m128i FoldBlock(__m128i block) {
    const __m128i upper =
        _mm_and_si128(_mm_cmpgt_epi8(block, _mm_set1_epi8('A' - 1)), _mm_cmplt_epi8(block, _mm_set1_epi8('Z' + 1)));
    return _mm_add_epi8(block, _mm_and_si128(upper, _mm_set1_epi8(0x20)));
}

// Compares byte runs sixteen bytes at a time, folded or not, with the results of the unit-by-unit
// primitives: the first difference decides, and a NUL that both runs hold before it ends them as
// equal. Short texts are the common case (names, header fields), so the first block is the one
// that usually decides.
template <bool NO_CASE> int CompareByteBlocks(const char* left, const char* right, int count) {
    for (int i = 0; i < count; i += BLOCK) {
        const int size = count - i < BLOCK ? count - i : BLOCK;
        __m128i a = LoadBlockWithinPage(left + i, size);
        __m128i b = LoadBlockWithinPage(right + i, size);
        if constexpr (NO_CASE) {
            a = FoldBlock(a);
            b = FoldBlock(b);
        }
        const unsigned within = 0xFFFFu >> (BLOCK - size);
        const unsigned differing = ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(a, b))) & within;
        const unsigned zeros =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(a, _mm_setzero_si128()))) & within;
        if ((differing | zeros) == 0) {
            continue;
        }
        const int first = differing == 0 ? BLOCK : std::countr_zero(differing);
        if (zeros != 0 && std::countr_zero(zeros) < first) {
            return 0;
        }
        alignas(16) unsigned char bytesA[BLOCK];
        alignas(16) unsigned char bytesB[BLOCK];
        _mm_store_si128(reinterpret_cast<__m128i*>(bytesA), a);
        _mm_store_si128(reinterpret_cast<__m128i*>(bytesB), b);
        if constexpr (NO_CASE) {
            return static_cast<int>(bytesA[first]) - static_cast<int>(bytesB[first]);
        } else {
            return bytesA[first] < bytesB[first] ? -1 : 1;
        }
    }
    return 0;
}
#endif

// With case: -1, 0 or 1 at the first difference. Both primitives end as equal at a NUL unit that
// both runs hold at the same place.
template <typename T> int CompareWithCase(const T* left, const T* right, int count) {
#if defined(__SSE2__)
    if constexpr (sizeof(T) == 1) {
        return CompareByteBlocks<false>(left, right, count);
    }
#endif
    for (int i = 0; i < count; ++i) {
        const unsigned a = ToUnsigned(left[i]);
        const unsigned b = ToUnsigned(right[i]);
        if (a != b) {
            // Narrow text gives -1 or 1; wide text gives the difference of the two units.
            if constexpr (sizeof(T) == 1) {
                return a < b ? -1 : 1;
            } else {
                return static_cast<int>(a) - static_cast<int>(b);
            }
        }
        if (a == 0) {
            return 0;
        }
    }
    return 0;
}

// Without case: the difference of the first two differing folded units. Equal units need no
// folding, which keeps equal prefixes cheap.
template <typename T> int CompareWithoutCase(const T* left, const T* right, int count) {
#if defined(__SSE2__)
    if constexpr (sizeof(T) == 1) {
        return CompareByteBlocks<true>(left, right, count);
    }
#endif
    for (int i = 0; i < count; ++i) {
        const unsigned a = ToUnsigned(left[i]);
        const unsigned b = ToUnsigned(right[i]);
        if (a == b) {
            if (a == 0) {
                return 0;
            }
            continue;
        }
        const unsigned foldedA = FoldCase(left[i]);
        const unsigned foldedB = FoldCase(right[i]);
        if (foldedA != foldedB) {
            return static_cast<int>(foldedA) - static_cast<int>(foldedB);
        }
    }
    return 0;
}

template <typename T, bool NO_CASE> int CompareUnits(const T* left, const T* right, int count) {
    if constexpr (NO_CASE) {
        return CompareWithoutCase(left, right, count);
    } else {
        return CompareWithCase(left, right, count);
    }
}

template <typename T, bool NO_CASE> bool Equal(t_Text<T> left, t_Text<T> right) {
    if (left.m_Length != right.m_Length) {
        return false;
    }
    return left.m_Length == 0 || CompareUnits<T, NO_CASE>(left.m_p_Data, right.m_p_Data, left.m_Length) == 0;
}

// Three-way compare with the primitive's own result; the length breaks ties.
template <typename T, bool NO_CASE> int CompareTexts(t_Text<T> left, t_Text<T> right) {
    if (left.m_Length == 0) {
        return right.m_Length == 0 ? 0 : -1;
    }
    if (right.m_Length == 0) {
        return 1;
    }
    const int common = left.m_Length < right.m_Length ? left.m_Length : right.m_Length;
    const int result = CompareUnits<T, NO_CASE>(left.m_p_Data, right.m_p_Data, common);
    if (result != 0) {
        return result;
    }
    return left.m_Length == right.m_Length ? 0 : (left.m_Length > right.m_Length ? 1 : -1);
}

template <typename T> int Compare(t_Text<T> left, t_Text<T> right, bool caseSensitive) {
    return caseSensitive ? CompareTexts<T, false>(left, right) : CompareTexts<T, true>(left, right);
}

// The ordering of every ordered container: an empty text first, then the primitive over the common
// length, then the shorter text first. Returns -1, 0 or 1.
template <typename T, bool NO_CASE> int Order(t_Text<T> left, t_Text<T> right) {
    const int result = CompareTexts<T, NO_CASE>(left, right);
    return (result > 0) - (result < 0);
}

template <typename T, bool NO_CASE> bool MatchesAt(const T* candidate, t_Text<T> pattern) {
    if constexpr (NO_CASE) {
        if (FoldCase(*candidate) != FoldCase(*pattern.m_p_Data)) {
            return false;
        }
    } else if (*candidate != *pattern.m_p_Data) {
        return false;
    }
    return CompareUnits<T, NO_CASE>(candidate, pattern.m_p_Data, pattern.m_Length) == 0;
}

// First position at or after start where pattern occurs; -1 for an empty or too long pattern.
template <typename T, bool NO_CASE> int Find(t_Text<T> text, t_Text<T> pattern, int start) {
    if (pattern.m_Length == 0 || pattern.m_Length > text.m_Length) {
        return -1;
    }
    const int last = text.m_Length - pattern.m_Length;
    int position = start < 0 ? 0 : start;
    if constexpr (sizeof(T) == 1 && !NO_CASE) {
        // memchr jumps to the candidates; the primitive still decides each one.
        while (position <= last) {
            const void* hit = std::memchr(text.m_p_Data + position, static_cast<unsigned char>(*pattern.m_p_Data),
                                          static_cast<std::size_t>(last - position + 1));
            if (hit == nullptr) {
                return -1;
            }
            position = static_cast<int>(static_cast<const T*>(hit) - text.m_p_Data);
            if (CompareWithCase(text.m_p_Data + position, pattern.m_p_Data, pattern.m_Length) == 0) {
                return position;
            }
            ++position;
        }
        return -1;
    } else {
        for (; position <= last; ++position) {
            if (MatchesAt<T, NO_CASE>(text.m_p_Data + position, pattern)) {
                return position;
            }
        }
        return -1;
    }
}

// Last position at or before start where pattern begins; a match may run past start.
template <typename T, bool NO_CASE> int ReverseFind(t_Text<T> text, t_Text<T> pattern, int start) {
    if (start < 0 || pattern.m_Length == 0 || pattern.m_Length > text.m_Length) {
        return -1;
    }
    const int last = text.m_Length - pattern.m_Length;
    for (int position = start < last ? start : last; position >= 0; --position) {
        if (MatchesAt<T, NO_CASE>(text.m_p_Data + position, pattern)) {
            return position;
        }
    }
    return -1;
}

template <typename T, bool NO_CASE> bool StartsWith(t_Text<T> text, t_Text<T> prefix) {
    if (prefix.m_Length == 0 || prefix.m_Length > text.m_Length) {
        return false;
    }
    return CompareUnits<T, NO_CASE>(text.m_p_Data, prefix.m_p_Data, prefix.m_Length) == 0;
}

template <typename T, bool NO_CASE> bool EndsWith(t_Text<T> text, t_Text<T> suffix) {
    if (suffix.m_Length == 0 || suffix.m_Length > text.m_Length) {
        return false;
    }
    return CompareUnits<T, NO_CASE>(text.m_p_Data + text.m_Length - suffix.m_Length, suffix.m_p_Data,
                                    suffix.m_Length) == 0;
}

// Pieces. Counts and starts are widened so that INT_MIN and INT_MAX cannot overflow.

template <typename T> t_Text<T> Left(t_Text<T> text, int count) {
    std::int64_t wanted = count;
    if (wanted < 0) {
        wanted += text.m_Length;
    }
    if (wanted <= 0) {
        return {};
    }
    if (wanted >= text.m_Length) {
        return text;
    }
    return {text.m_p_Data, static_cast<int>(wanted)};
}

template <typename T> t_Text<T> Right(t_Text<T> text, int count) {
    const std::int64_t length = text.m_Length;
    std::int64_t wanted = count;
    if (wanted >= length) {
        return text;
    }
    if (wanted < -length) {
        return {};
    }
    if (wanted < 0) {
        wanted += length;
    }
    return {text.m_p_Data + (length - wanted), static_cast<int>(wanted)};
}

template <typename T> t_Text<T> Mid(t_Text<T> text, int start, int count) {
    const std::int64_t length = text.m_Length;
    std::int64_t from = start;
    std::int64_t wanted = count;
    if (wanted < 0) {
        from += wanted;
        wanted = -wanted;
    }
    if (from < 0) {
        wanted += from;
        from = 0;
    }
    if (from > length) {
        return {};
    }
    if (wanted > length - from) {
        wanted = length - from;
    }
    if (wanted < 0) {
        return {};
    }
    // GCC, inlining a constant start far past the text, warns here although that start has
    // already returned above.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
    return {text.m_p_Data + from, static_cast<int>(wanted)};
#pragma GCC diagnostic pop
}

template <typename T> t_Text<T> RightFrom(t_Text<T> text, int start) {
    if (start <= 0) {
        return text;
    }
    if (start > text.m_Length) {
        return {};
    }
    return {text.m_p_Data + start, text.m_Length - start};
}

template <typename T> std::uintptr_t Address(const T* pointer) {
    return reinterpret_cast<std::uintptr_t>(pointer);
}

template <typename T> t_Text<T> LeftOf(t_Text<T> text, const T* position) {
    if (Address(position) < Address(text.m_p_Data)) {
        return {};
    }
    if (Address(position) > Address(text.m_p_Data + text.m_Length)) {
        return text;
    }
    return {text.m_p_Data, static_cast<int>(position - text.m_p_Data)};
}

template <typename T> t_Text<T> After(t_Text<T> text, t_Text<T> inner) {
    const T* innerEnd = inner.m_p_Data + inner.m_Length;
    const T* end = text.m_p_Data + text.m_Length;
    if (Address(innerEnd) > Address(end)) {
        return {};
    }
    if (Address(innerEnd) < Address(text.m_p_Data)) {
        return text;
    }
    return {innerEnd, static_cast<int>(end - innerEnd)};
}

template <typename T> bool Overlaps(t_Text<T> a, t_Text<T> b) {
    const auto startA = Address(a.m_p_Data);
    const auto startB = Address(b.m_p_Data);
    if (startA == startB) {
        return a.m_Length != 0 || b.m_Length != 0;
    }
    const auto inside = [](std::uintptr_t point, std::uintptr_t start, int length) {
        return point >= start && point < start + static_cast<std::uintptr_t>(length) * sizeof(T);
    };
    return inside(startA, startB, b.m_Length) || inside(startB, startA, a.m_Length);
}

// Blanks: 0x09 to 0x0D and the space.
template <typename T> constexpr bool IsBlank(T unit) {
    const unsigned value = ToUnsigned(unit);
    return value == ' ' || value - 0x09u < 5u;
}

template <typename T> int CountLeadingBlanks(t_Text<T> text) {
    int count = 0;
    while (count < text.m_Length && IsBlank(text.m_p_Data[count])) {
        ++count;
    }
    return count;
}

template <typename T> int CountTrailingBlanks(t_Text<T> text) {
    int count = 0;
    while (count < text.m_Length && IsBlank(text.m_p_Data[text.m_Length - 1 - count])) {
        ++count;
    }
    return count;
}

template <typename T> t_Text<T> Trimmed(t_Text<T> text) {
    const int leading = CountLeadingBlanks(text);
    if (leading == text.m_Length) {
        return {};
    }
    const int trailing = CountTrailingBlanks(text);
    return {text.m_p_Data + leading, text.m_Length - leading - trailing};
}

template <typename T> t_Text<T> TrimmedLeft(t_Text<T> text) {
    const int leading = CountLeadingBlanks(text);
    return {text.m_p_Data + leading, text.m_Length - leading};
}

template <typename T> t_Text<T> TrimmedRight(t_Text<T> text) {
    return {text.m_p_Data, text.m_Length - CountTrailingBlanks(text)};
}

// Runs of one raw unit at both ends; NUL and units above 0x7F trim like any other.
template <typename T> t_Text<T> TrimmedUnit(t_Text<T> text, T unit) {
    int first = 0;
    while (first < text.m_Length && text.m_p_Data[first] == unit) {
        ++first;
    }
    if (first == text.m_Length) {
        return {};
    }
    int last = text.m_Length - 1;
    while (text.m_p_Data[last] == unit) {
        --last;
    }
    return {text.m_p_Data + first, last - first + 1};
}

template <typename T> bool IsAsciiLetter(T unit) {
    return FoldCase(unit) - 'a' < 26u;
}
template <typename T> bool IsAsciiDigit(T unit) {
    return ToUnsigned(unit) - '0' < 10u;
}

template <typename T, typename Predicate> bool AllUnits(t_Text<T> text, Predicate predicate) {
    for (int i = 0; i < text.m_Length; ++i) {
        if (!predicate(text.m_p_Data[i])) {
            return false;
        }
    }
    return true;
}

template <typename T> int ClampedLength(const T* text) {
    if (text == nullptr) {
        return 0;
    }
    if constexpr (sizeof(T) == 1) {
        const std::size_t length = std::strlen(text);
        return length > INT_MAX ? INT_MAX : static_cast<int>(length);
    } else {
        std::size_t length = 0;
        while (length < INT_MAX && text[length] != 0) {
            ++length;
        }
        return static_cast<int>(length);
    }
}

template <typename T> int CutAtNul(const T* text, int length) {
    if constexpr (sizeof(T) == 1) {
        const void* nul = std::memchr(text, 0, static_cast<std::size_t>(length));
        return nul == nullptr ? length : static_cast<int>(static_cast<const T*>(nul) - text);
    } else {
        for (int i = 0; i < length; ++i) {
            if (text[i] == 0) {
                return i;
            }
        }
        return length;
    }
}

} // namespace n_StringCore
