// Tests of the n_OSLayer text conversions.

#include "oslayer/system/TextConversion.h"

#include "strings/Memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

struct s_WideCase {
    const char* m_Name;
    std::string m_Input;
    std::u16string m_Expected;
};

std::u16string Units(const c_WString& text) {
    return std::u16string(text.begin(), text.end());
}

TEST(UTF8ToWide, ConvertsAndReplacesIllFormedBytes) {
    const s_WideCase cases[] = {
        {"empty", "", u""},
        {"ascii", "abc", u"abc"},
        {"accented", "caf\xC3\xA9", u"caf\u00E9"},
        {"outside the basic plane", "\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
        {"NUL inside", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        {"invalid byte",
         "a\xFF"
         "b",
         u"a\uFFFDb"},
        {"overlong", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"long text", std::string(40, 'x') + "\xC3\xA9", std::u16string(40, u'x') + u"\u00E9"},
    };
    for (const s_WideCase& row : cases) {
        const c_WString wide = n_OSLayer::UTF8ToWide(c_StringView(row.m_Input.data(), int(row.m_Input.size())));
        EXPECT_EQ(Units(wide), row.m_Expected) << row.m_Name;
    }
}

struct s_NarrowCase {
    const char* m_Name;
    std::u16string m_Input;
    std::string m_Expected;
};

TEST(WideToUTF8, ConvertsAndReplacesLoneSurrogates) {
    const s_NarrowCase cases[] = {
        {"empty", u"", ""},
        {"accented", u"caf\u00E9", "caf\xC3\xA9"},
        {"pair", u"\xD83D\xDE00", "\xF0\x9F\x98\x80"},
        {"lone high surrogate", u"a\xD800", "a\xEF\xBF\xBD"},
        {"lone low surrogate", u"\xDC00z", "\xEF\xBF\xBDz"},
        {"long text", std::u16string(40, u'y'), std::string(40, 'y')},
    };
    for (const s_NarrowCase& row : cases) {
        const c_String narrow = n_OSLayer::WideToUTF8(c_WStringView(row.m_Input.data(), int(row.m_Input.size())));
        EXPECT_EQ(std::string(narrow.begin(), narrow.end()), row.m_Expected) << row.m_Name;
        EXPECT_EQ(n_OSLayer::GetUTF8Length(c_WStringView(row.m_Input.data(), int(row.m_Input.size()))),
                  int(row.m_Expected.size()))
            << row.m_Name;
    }
}

struct s_InlineCase {
    const char* m_Name;
    int m_Length;
    bool m_OnHeap;
    std::uint64_t m_Allocations;
};

// A text of up to 30 units stays in the result's inline room and costs no allocation; a longer
// one takes one heap block.
TEST(UTF8ToWide, ShortTextsStayInline) {
    const s_InlineCase cases[] = {
        {"30 units", 30, false, 0},
        {"31 units", 31, true, 1},
    };
    for (const s_InlineCase& row : cases) {
        const std::string narrow(static_cast<std::size_t>(row.m_Length), 'n');
        const std::u16string wide(static_cast<std::size_t>(row.m_Length), u'w');
        const std::uint64_t before = n_Memory::GetAllocationCount();
        const c_WString toWide = n_OSLayer::UTF8ToWide(c_StringView(narrow.data(), row.m_Length));
        const std::uint64_t between = n_Memory::GetAllocationCount();
        const c_String toNarrow = n_OSLayer::WideToUTF8(c_WStringView(wide.data(), row.m_Length));
        EXPECT_EQ(between - before, row.m_Allocations) << row.m_Name;
        EXPECT_EQ(n_Memory::GetAllocationCount() - between, row.m_Allocations) << row.m_Name;
        EXPECT_EQ(toWide.GetLength(), row.m_Length) << row.m_Name;
        EXPECT_EQ(toWide.IsOnHeap(), row.m_OnHeap) << row.m_Name;
        EXPECT_EQ(toNarrow.GetLength(), row.m_Length) << row.m_Name;
        EXPECT_EQ(toNarrow.IsOnHeap(), row.m_OnHeap) << row.m_Name;
    }
}

TEST(UTF8ToWide, GivesTheEmptyTextWhenMemoryRunsOut) {
    const std::string text(31, 'm');
    n_Memory::FailNthAllocation(1);
    const c_WString wide = n_OSLayer::UTF8ToWide(c_StringView(text.data(), 31));
    n_Memory::FailNthAllocation(0);
    EXPECT_TRUE(wide.IsEmpty());
}

TEST(ANSIToUTF8, ReadsWindows1252) {
    EXPECT_EQ(n_OSLayer::ANSIToUTF8("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(n_OSLayer::ANSIToUTF8(""), "");
}

TEST(FormatHex64, WritesLowerCaseWithoutLeadingZeros) {
    EXPECT_EQ(n_OSLayer::FormatHex64(0), "0");
    EXPECT_EQ(n_OSLayer::FormatHex64(0xABC), "abc");
    EXPECT_EQ(n_OSLayer::FormatHex64(UINT64_MAX), "ffffffffffffffff");
}

} // namespace
