// Tests of MultiByteToWideChar and WideCharToMultiByte.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace {

std::u16string ToWide(UINT codePage, const std::string& text) {
    const int units = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::u16string result(static_cast<std::size_t>(units), u'\0');
    if (units > 0) {
        EXPECT_EQ(units,
                  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(), units));
    }
    return result;
}

std::string ToNarrow(UINT codePage, const std::u16string& text) {
    const int bytes =
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(bytes), '\0');
    if (bytes > 0) {
        EXPECT_EQ(bytes, WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(),
                                             bytes, nullptr, nullptr));
    }
    return result;
}

struct s_DecodeCase {
    const char* m_Name;
    UINT m_CodePage;
    std::string m_Input;
    std::u16string m_Expected;
};

TEST(MultiByteToWideChar, DecodesAndReplacesIllFormedInput) {
    const s_DecodeCase cases[] = {
        {"ascii", CP_UTF8, "abc", u"abc"},
        {"two-byte", CP_UTF8, "\xC3\xA9", u"\u00E9"},
        {"three-byte", CP_UTF8, "\xE2\x82\xAC", u"\u20AC"},
        {"four-byte becomes a pair", CP_UTF8, "\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
        {"embedded NUL is a character", CP_UTF8, std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        {"lone continuation byte", CP_UTF8, "\x80", u"\uFFFD"},
        {"overlong two-byte", CP_UTF8, "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"overlong three-byte", CP_UTF8, "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
        {"overlong four-byte", CP_UTF8, "\xF0\x80\x80\xAF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"encoded surrogate", CP_UTF8, "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"above U+10FFFF", CP_UTF8, "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"byte never used", CP_UTF8, "\xF5\xFF", u"\uFFFD\uFFFD"},
        {"truncated sequence is one replacement", CP_UTF8,
         "\xE2\x82"
         "A",
         u"\uFFFDA"},
        {"truncated at the end", CP_UTF8, "a\xF0\x9F\x98", u"a\uFFFD"},
        {"1252 euro", CP_ACP, "\x80", u"\u20AC"},
        {"1252 unassigned byte", CP_ACP, "\x81\x9D", u"\u0081\u009D"},
        {"1252 last of the row", CP_ACP, "\x9F", u"\u0178"},
        {"1252 Latin-1 range", CP_ACP, "\xE9\xFF", u"\u00E9\u00FF"},
    };
    for (const s_DecodeCase& row : cases) {
        EXPECT_EQ(ToWide(row.m_CodePage, row.m_Input), row.m_Expected) << row.m_Name;
    }
}

struct s_EncodeCase {
    const char* m_Name;
    std::u16string m_Input;
    std::string m_Expected;
};

TEST(WideCharToMultiByte, EncodesUtf8AndReplacesUnpairedSurrogates) {
    const s_EncodeCase cases[] = {
        {"ascii", u"abc", "abc"},
        {"three-byte", u"\u20AC", "\xE2\x82\xAC"},
        {"pair", u"\xD83D\xDE00", "\xF0\x9F\x98\x80"},
        {"lone high surrogate",
         u"\xD800"
         "a",
         "\xEF\xBF\xBD"
         "a"},
        {"lone low surrogate", u"\xDC00", "\xEF\xBF\xBD"},
        {"reversed pair", u"\xDE00\xD83D", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"high surrogate at the end", u"a\xD83D", "a\xEF\xBF\xBD"},
    };
    for (const s_EncodeCase& row : cases) {
        EXPECT_EQ(ToNarrow(CP_UTF8, row.m_Input), row.m_Expected) << row.m_Name;
    }
}

TEST(WideCharToMultiByte, Windows1252UsesTheDefaultCharacter) {
    const std::u16string text = u"\u20AC\u4E2D\xD83D\xDE00";
    char buffer[8] = {};
    BOOL usedDefault = FALSE;
    ASSERT_EQ(3, WideCharToMultiByte(CP_ACP, 0, text.data(), 4, buffer, 8, nullptr, &usedDefault));
    EXPECT_EQ(std::string(buffer, 3), "\x80??");
    EXPECT_TRUE(usedDefault);
    const char star = '*';
    ASSERT_EQ(2, WideCharToMultiByte(CP_ACP, 0, u"a\u4E2D", 2, buffer, 8, &star, &usedDefault));
    EXPECT_EQ(std::string(buffer, 2), "a*");
    ASSERT_EQ(1, WideCharToMultiByte(CP_ACP, 0, u"a", 1, buffer, 8, nullptr, &usedDefault));
    EXPECT_FALSE(usedDefault);
}

TEST(MultiByteToWideChar, ShortBufferFailsWithoutWritingPastIt) {
    const std::string text(31, 'x');
    char16_t buffer[32];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    SetLastError(0);
    EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, 0, text.data(), 31, buffer, 30));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(buffer[30], u'#');
    EXPECT_EQ(30, MultiByteToWideChar(CP_UTF8, 0, text.data(), 30, buffer, 30));
    // A pair needs both of its units.
    EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, 0, "\xF0\x9F\x98\x80", 4, buffer, 1));
    EXPECT_EQ(buffer[1], u'x');
}

TEST(MultiByteToWideChar, LengthMinusOneCountsTheNul) {
    char16_t buffer[4];
    EXPECT_EQ(3, MultiByteToWideChar(CP_UTF8, 0, "ab", -1, nullptr, 0));
    EXPECT_EQ(3, MultiByteToWideChar(CP_UTF8, 0, "ab", -1, buffer, 4));
    EXPECT_EQ(buffer[2], u'\0');
    EXPECT_EQ(3, WideCharToMultiByte(CP_UTF8, 0, u"ab", -1, nullptr, 0, nullptr, nullptr));
}

struct s_ArgumentCase {
    const char* m_Name;
    UINT m_CodePage;
    DWORD m_Flags;
    const char* m_Text;
    int m_Length;
    DWORD m_Error;
};

TEST(MultiByteToWideChar, RejectsBadArguments) {
    const s_ArgumentCase cases[] = {
        {"flags", CP_UTF8, 8, "a", 1, ERROR_INVALID_FLAGS},
        {"zero length", CP_UTF8, 0, "a", 0, ERROR_INVALID_PARAMETER},
        {"length below -1", CP_UTF8, 0, "a", -2, ERROR_INVALID_PARAMETER},
        {"null text", CP_UTF8, 0, nullptr, 1, ERROR_INVALID_PARAMETER},
        {"unknown code page", 437, 0, "a", 1, ERROR_INVALID_PARAMETER},
    };
    for (const s_ArgumentCase& row : cases) {
        SetLastError(0);
        EXPECT_EQ(0, MultiByteToWideChar(row.m_CodePage, row.m_Flags, row.m_Text, row.m_Length, nullptr, 0))
            << row.m_Name;
        EXPECT_EQ(GetLastError(), row.m_Error) << row.m_Name;
    }
    SetLastError(0);
    EXPECT_EQ(0, WideCharToMultiByte(CP_UTF8, 0, u"a", 1, nullptr, 0, "?", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

} // namespace
