// Tests of the wide strings and views: layout, unit operands, case rule, formatting and edits.

#include "strings/c_WStringNoCase.h"

#include "strings/testing/c_FailingAllocation.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <map>
#include <string>

namespace {

std::u16string Repeat(char16_t unit, int count) {
    return std::u16string(static_cast<size_t>(count), unit);
}

bool Is(const c_WString& text, const std::u16string& expected) {
    return std::u16string(text.begin(), text.end()) == expected;
}

TEST(WString, LayoutAndCapacity) {
    struct Case {
        int length;
        bool onHeap;
        int capacity;
    } cases[] = {{0, false, 31}, {30, false, 31}, {31, true, 32}, {32, true, 64}, {1000, true, 1024}};
    for (const Case& row : cases) {
        const std::u16string units = Repeat(u'w', row.length);
        const c_WString text(units.c_str());
        EXPECT_EQ(text.IsOnHeap(), row.onHeap) << row.length;
        EXPECT_EQ(text.GetCapacity(), row.capacity) << row.length;
        EXPECT_TRUE(Is(text, units));
        EXPECT_EQ(text.GetBuffer()[row.length], 0);
    }
    const c_WString inlineText(u"ab");
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&inlineText);
    EXPECT_EQ(bytes[62], 3); // flag byte: stored size 2 + 1
    const c_WString heapText(Repeat(u'h', 40).c_str());
    bytes = reinterpret_cast<const unsigned char*>(&heapText);
    EXPECT_EQ(bytes[62], 0x80);
    std::int32_t capacity;
    std::memcpy(&capacity, bytes + 8, 4);
    EXPECT_EQ(capacity, 64);
    for (int i = 16; i < 62; ++i) {
        EXPECT_EQ(bytes[i], 0) << i;
    }
    const c_WString empty;
    EXPECT_EQ(empty.GetStoredSize(), 0);
    EXPECT_EQ(empty.GetBuffer()[0], 0);
    EXPECT_EQ(c_WString(c_WStringView(u"")).GetStoredSize(), 1);
    EXPECT_TRUE(Is(c_WString(u"ab\0c", 4), u"ab"));
}

// A single unit is a one-unit text in every operation, whatever its value; 0 is the empty text.
TEST(WString, UnitOperands) {
    const char16_t units[] = {u'A', 0x00E9, 0x4E2D, 0xD800, 0xFFFF};
    for (char16_t unit : units) {
        const std::u16string one(1, unit);
        EXPECT_TRUE(Is(c_WString(unit), one)) << int(unit);
        c_WString assigned(u"xyz");
        assigned = unit;
        EXPECT_TRUE(Is(assigned, one));
        c_WString appended(u"ab");
        appended += unit;
        EXPECT_TRUE(Is(appended, u"ab" + one));
        c_WString inserted(u"ab");
        inserted.Insert(1, unit);
        EXPECT_TRUE(Is(inserted, u"a" + one + u"b"));
        EXPECT_TRUE(Is(c_WStringView(u"ab") + unit, u"ab" + one));
        EXPECT_TRUE(Is(unit + c_WStringView(u"ab"), one + u"ab"));
        const c_WString haystack((u"x" + one).c_str());
        EXPECT_EQ(haystack.Find(unit), 1);
        EXPECT_TRUE(haystack.EndsWith(unit));
        EXPECT_TRUE(c_WStringView(one.c_str()) == unit);
    }
    const char16_t zero = 0;
    EXPECT_EQ(c_WString(zero).GetStoredSize(), 1);
    c_WString text(u"ab");
    text += zero;
    text.Insert(1, zero);
    EXPECT_TRUE(Is(text, u"ab"));
    EXPECT_TRUE(Is(c_WStringView(u"ab") + zero, u"ab"));
    EXPECT_EQ(text.Find(zero), -1);
    EXPECT_FALSE(text.StartsWith(zero));
    EXPECT_TRUE(c_WStringView() == zero);
    EXPECT_TRUE(text != zero);
}

TEST(WString, CaseRuleAndOrdering) {
    const c_WString host(u"Host");
    const c_WString upper(u"HOST");
    EXPECT_FALSE(host == upper);
    EXPECT_TRUE(host == c_WStringNoCase(u"HOST"));
    EXPECT_TRUE(c_WStringNoCase(u"HOST") == host);
    EXPECT_TRUE(host == c_WStringViewNoCase(u"hOsT"));
    EXPECT_TRUE(c_WStringView(u"ABC") == c_WStringViewNoCase(u"abc"));
    // Only 'A'-'Z' fold: 0x00C4 and 0x00E4 stay different.
    EXPECT_FALSE(c_WStringNoCase(u"\u00C4b") == u"\u00E4b");
    EXPECT_EQ(c_WStringView(u"a").Compare(u"c", true), -2);
    EXPECT_EQ(c_WStringView(u"ab").Compare(u"AB", false), 0);
    EXPECT_EQ(c_WStringView(u"abc").Compare(u"ab", true), 1);
    const char16_t* null = nullptr;
    EXPECT_TRUE(c_WString() == null);
    EXPECT_TRUE(c_WString() < u"a");

    std::map<c_WStringNoCase, int> keys{{u"Host", 1}, {u"HOST", 2}, {u"", 3}, {u"_a", 4}};
    EXPECT_EQ(keys.size(), 3u);
    EXPECT_TRUE(keys.begin()->first.IsEmpty());
}

TEST(WString, SearchesPiecesAndSets) {
    const c_WString abc(u"abc");
    EXPECT_EQ(abc.Find(u""), -1);
    EXPECT_EQ(abc.Find(u'c', -3), 2);
    EXPECT_EQ(abc.ReverseFind(u'a', -1), -1);
    EXPECT_EQ(c_WStringView(u"aXa").ReverseFind(u"a", 1), 0);
    EXPECT_TRUE(abc.WithoutPrefix(u"abc").IsEmpty());
    EXPECT_EQ(abc.Mid(INT_MAX, INT_MAX).begin(), nullptr);
    EXPECT_TRUE(abc.Left(-1) == u"ab");

    const c_WString list(u"a\tb,c");
    EXPECT_EQ(list.FindFirstOf({u',', u'\t'}), 1);
    EXPECT_EQ(list.FindLastOf({u',', u'\t'}, INT_MAX), 3);
    EXPECT_EQ(list.FindLastOf({u',', u'\t'}, 2), 1);

    const c_WStringNoCase connection(u"keep-alive, Upgrade");
    EXPECT_TRUE(connection.Contains(u"upgrade"));
    EXPECT_TRUE(c_WStringNoCase(u"a.cfg").EndsWith(u".CFG"));
    EXPECT_TRUE(connection.Right(7) == u"UPGRADE");

    // No blank beyond the six ASCII ones: U+00A0 and U+3000 stay.
    EXPECT_TRUE(c_WStringView(u"\u00A0a ").Trimmed() == u"\u00A0a");
    EXPECT_TRUE(c_WString(u" \u3000 ").GetTrimmedView() == u"\u3000");
}

TEST(WString, ViewsFromSpans) {
    const char16_t units[] = {u'a', 0, u'b', u'c'};
    EXPECT_EQ(c_WStringView(s_ByteSpan::FromPointer(units, 7), false).GetLength(), 3);
    EXPECT_EQ(c_WStringView(s_ByteSpan::FromPointer(units, 8), true).GetLength(), 1);
    EXPECT_EQ(c_WStringView(s_ByteSpan::FromPointer(units, 8), false).GetLength(), 4);
    EXPECT_EQ(c_WStringView(units, 3).ToSpan().m_Size, 6u);
    EXPECT_EQ(c_WStringView(units, units + 4).GetLength(), 4);
    EXPECT_EQ(c_WString(u"abc").ToSpan().m_Size, 6u);
}

TEST(WString, EditsInUnits) {
    struct Case {
        const char16_t* text;
        c_WString (*edit)(c_WString);
        const char16_t* expected;
    } cases[] = {
        {u"abcdef", [](c_WString s) { return s.Erase(-2, 5); }, u"def"},
        {u"abcdef", [](c_WString s) { return s.Erase(2, 100); }, u"ab"},
        {u"aaa", [](c_WString s) { return s.ReplaceAll(u"a", u"aa"); }, u"aaaaaa"},
        {u"axbx", [](c_WString s) { return s.ReplaceAll(u"x", char16_t(0)); }, u"axbx"},
        {u"axbx", [](c_WString s) { return s.ReplaceAll(u'x', u"yz"); }, u"ayzbyz"},
        {u"a\u00E9a", [](c_WString s) { return s.Remove(u'a'); }, u"\u00E9"},
        {u"ab", [](c_WString s) { return s.Remove(char16_t(0)); }, u"ab"},
        {u"ab", [](c_WString s) { return s.Replace(u'a', char16_t(0)); }, u"ab"},
        {u"ab", [](c_WString s) { return s.Replace(u'a', u'\u00E9'); }, u"\u00E9b"},
        {u"a-\u00E4", [](c_WString s) { return s.MakeUpper(); }, u"A-\u00E4"},
        {u"  \r\n", [](c_WString s) { return s.Trim(); }, u""},
        {u"\"q\"", [](c_WString s) { return s.TrimChar(u'"'); }, u"q"},
        {u"a.txt", [](c_WString s) { return s.RemoveSuffix(u".txt"); }, u"a"},
        {u"abc", [](c_WString s) { return s.RemovePrefix(u'x'); }, u"abc"},
    };
    for (const Case& row : cases) {
        EXPECT_TRUE(Is(row.edit(c_WString(row.text)), row.expected)) << std::u16string(row.text).size();
    }
    c_WString blanks(u"   ");
    blanks.Trim();
    EXPECT_EQ(blanks.GetStoredSize(), 1);

    c_WString self(Repeat(u's', 30).c_str());
    self.Append(self).Insert(5, self.Left(3));
    EXPECT_EQ(self.GetLength(), 63);
}

TEST(WString, FormattingGoesThroughUtf8) {
    EXPECT_TRUE(Is(c_WString::MakeFormatted(u"%d.%d", 10, 1), u"10.1"));
    c_WString text(Repeat(u'f', 28).c_str());
    text.AppendFormat(u"%s-\u00E9%s", "\xC3\xA4", "\xF0\x9F\x98\x80");
    EXPECT_TRUE(Is(text, Repeat(u'f', 28) + u"\u00E4-\u00E9\U0001F600"));
    EXPECT_EQ(text.GetCapacity(), 64);
    text.Format(u"%x", 255);
    EXPECT_TRUE(Is(text, u"ff"));
    // Invalid UTF-8 in an argument becomes U+FFFD, a lone surrogate in the format too.
    const char16_t loneSurrogate[] = {0xD800, u'%', u's', 0};
    EXPECT_TRUE(Is(c_WString::MakeFormatted(loneSurrogate, "a\xFF"), u"\uFFFDa\uFFFD"));
}

TEST(WString, CutAtNulAndFailures) {
    c_WString buffer;
    ASSERT_TRUE(buffer.SetSize(16));
    std::memcpy(buffer.GetBuffer(), u"ab\0", 6);
    EXPECT_TRUE(Is(c_WString::FromBuffer(static_cast<c_WString&&>(buffer)), u"ab"));
    c_WString never;
    never.CutAtNul();
    EXPECT_EQ(never.GetStoredSize(), 0);

    const std::u16string longText = Repeat(u'l', 40);
    {
        c_FailingAllocation failing;
        EXPECT_EQ(c_WString(longText.c_str()).GetStoredSize(), 0);
    }
    {
        c_FailingAllocation failing;
        EXPECT_EQ((c_WStringView(u"x") + c_WStringView(longText.c_str())).GetStoredSize(), 0);
    }
    {
        c_WString text(u"abc");
        c_FailingAllocation failing;
        text.Insert(1, longText.c_str());
        EXPECT_TRUE(Is(text, u"abc"));
    }
    const c_WStringView huge(longText.c_str(), INT_MAX);
    EXPECT_EQ(Concat({huge, huge, u"ab"}).GetStoredSize(), 0);
}

TEST(WString, IndexingOutOfRange) {
    c_WString text(u"ab");
    const c_WString& constText = text;
    EXPECT_EQ(text[1], u'b');
    text[-1] = u'z';
    EXPECT_EQ(constText[5], 0);
    EXPECT_TRUE(Is(text, u"ab"));
}

} // namespace
