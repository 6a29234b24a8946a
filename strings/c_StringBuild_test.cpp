// Tests of the operations that build and edit a c_String: append, operator+, Concat, formatting,
// insertion, erasure, replacement, trims, and what they do with their own text and without memory.

#include "strings/c_StringNoCase.h"

#include "strings/testing/c_FailingAllocation.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

std::string Repeat(char c, int count) {
    return std::string(static_cast<size_t>(count), c);
}

TEST(StringBuild, AppendingOwnTextAcrossGrowth) {
    // Inline to heap: the source lies in the object itself and must survive the move.
    c_String inlineText(c_StringView(Repeat('a', 20).c_str()));
    inlineText.Append(inlineText);
    EXPECT_EQ(inlineText.GetChars(), Repeat('a', 40));

    // A view of the last three characters of a full heap block, read after realloc moved it.
    c_String heap(c_StringView((Repeat('b', 61) + "xyz").c_str()));
    ASSERT_EQ(heap.GetCapacity(), 128);
    heap.Append(c_StringView(Repeat('c', 64).c_str()));
    heap.Append(heap.Mid(61, 3));
    EXPECT_EQ(heap.GetChars(), Repeat('b', 61) + "xyz" + Repeat('c', 64) + "xyz");

    c_String viaOperator("ab");
    viaOperator += viaOperator.GetChars();
    EXPECT_STREQ(viaOperator.GetChars(), "abab");
}

TEST(StringBuild, OperatorPlusChains) {
    const c_String name("value");
    const c_StringView view("view");
    const c_String built = "[" + name + "] " + view + ' ' + c_String("s") + '\xE9' + "!";
    EXPECT_STREQ(built.GetChars(), "[value] view s!");
    EXPECT_STREQ(('x' + name).GetChars(), "xvalue");
    EXPECT_STREQ((view + view).GetChars(), "viewview");

    // The rvalue form keeps the left operand's block.
    c_String left(c_StringView(Repeat('l', 40).c_str()));
    left.Reserve(200);
    const char* block = left.GetChars();
    const c_String joined = static_cast<c_String&&>(left) + "tail";
    EXPECT_EQ(joined.GetChars(), block);
    EXPECT_EQ(joined.GetCapacity(), 256);
}

TEST(StringBuild, Concat) {
    const c_String empty = Concat({});
    EXPECT_EQ(empty.GetStoredSize(), 1);
    const c_String inlineText = Concat({"ab", "", "cd"});
    EXPECT_STREQ(inlineText.GetChars(), "abcd");
    EXPECT_FALSE(inlineText.IsOnHeap());

    const std::uint64_t before = n_Memory::GetAllocationCount();
    const c_String large = Concat({c_StringView(Repeat('x', 30).c_str()), "-", c_StringView(Repeat('y', 30).c_str())});
    EXPECT_EQ(n_Memory::GetAllocationCount() - before, 1u);
    EXPECT_EQ(large.GetLength(), 61);
    EXPECT_EQ(large.GetCapacity(), 64);
}

TEST(StringBuild, GrowingToThirtyUnitsStaysInline) {
    c_String text;
    for (int i = 0; i < 30; ++i) {
        text += 'a';
    }
    EXPECT_EQ(text.GetLength(), 30);
    EXPECT_FALSE(text.IsOnHeap());
    EXPECT_EQ(text.GetChars(), Repeat('a', 30));
    text.Append("b");
    EXPECT_TRUE(text.IsOnHeap());
    EXPECT_EQ(text.GetChars(), Repeat('a', 30) + "b");
}

TEST(StringBuild, AppendPastIntMaxLeavesTheStringUnchanged) {
    // The view is never read: the total must be refused before any copy.
    const char* somewhere = "x";
    for (const int length : {INT_MAX - 3, INT_MAX - 1, INT_MAX}) {
        c_String text("abc");
        text.Append(c_StringView(somewhere, length));
        EXPECT_STREQ(text.GetChars(), "abc") << length;
        EXPECT_EQ(text.GetStoredSize(), 4) << length;
        EXPECT_FALSE(text.IsOnHeap()) << length;
    }
}

TEST(StringBuild, ConcatTotalThatCannotBeStoredGivesTheDefaultState) {
    // Lengths that wrap a 32-bit sum to a small number: the pieces are never read.
    const char* somewhere = "x";
    const c_StringView huge(somewhere, INT_MAX);
    EXPECT_EQ(Concat({huge, huge, "ab"}).GetStoredSize(), 0);
    EXPECT_EQ(Concat({huge}).GetStoredSize(), 0);
    EXPECT_EQ(JoinStringViews({huge, huge}, "ab").GetStoredSize(), 0);
}

TEST(StringBuild, JoinStringViews) {
    EXPECT_STREQ(JoinStringViews({"a", "", "b"}, ", ").GetChars(), "a, , b");
    // Lengths, not only C strings: pieces holding NULs count whole.
    EXPECT_EQ(JoinStringViews({"a", "", "b"}, ", ").GetLength(), 6);
    const c_String joined = JoinStringViews({c_StringView("a\0b", 3), c_StringView("cd")}, c_StringView("\0", 1));
    EXPECT_EQ(joined.GetLength(), 6);
    EXPECT_EQ(std::string(joined.begin(), joined.end()), std::string("a\0b\0cd", 6));
    EXPECT_STREQ(JoinStringViews({"only"}, ", ").GetChars(), "only");
    EXPECT_STREQ(JoinStringViews(std::vector<c_StringView>{}, ", ").GetChars(), "");
    const std::vector<c_StringView> pieces{"x", "y", "z"};
    EXPECT_STREQ(JoinStringViews(pieces, "").GetChars(), "xyz");
}

TEST(StringBuild, Formatting) {
    EXPECT_STREQ(c_String::MakeFormatted("%d.%d.%d.%d", 10, 0, 0, 1).GetChars(), "10.0.0.1");

    c_String grown(c_StringView(Repeat('f', 28).c_str()));
    const std::uint64_t before = n_Memory::GetAllocationCount();
    grown.AppendFormat("%010d", 7);
    EXPECT_EQ(n_Memory::GetAllocationCount() - before, 1u);
    EXPECT_EQ(grown.GetCapacity(), 64);
    EXPECT_EQ(grown.GetChars(), Repeat('f', 28) + "0000000007");

    c_String replaced(c_StringView(Repeat('r', 40).c_str()));
    const int capacity = replaced.GetCapacity();
    replaced.Format("%x", 255);
    EXPECT_STREQ(replaced.GetChars(), "ff");
    EXPECT_EQ(replaced.GetCapacity(), capacity);

    c_String unchanged("keep");
    unchanged.AppendFormat(nullptr);
    EXPECT_STREQ(unchanged.GetChars(), "keep");
}

TEST(StringBuild, FormattingWithArgumentsFromTheSameString) {
    c_String text("abc");
    text.AppendFormat("-%s-%s", text.GetChars(), text.GetChars());
    EXPECT_STREQ(text.GetChars(), "abc-abc-abc");

    c_String large(c_StringView(Repeat('s', 40).c_str()));
    large.AppendFormat("%s", large.GetChars()); // grows: the argument points into the old block
    EXPECT_EQ(large.GetChars(), Repeat('s', 80));

    c_String formatted("xy");
    formatted.Format("[%s|%s]", formatted.GetChars(), formatted.GetChars());
    EXPECT_STREQ(formatted.GetChars(), "[xy|xy]");
}

TEST(StringBuild, Insert) {
    struct Case {
        int position;
        const char* inserted;
        const char* expected;
    } cases[] = {
        {0, "X", "Xabc"}, {3, "X", "abcX"},      {1, "XY", "aXYbc"}, {-1, "X", "abc"},
        {4, "X", "abc"},  {INT_MIN, "X", "abc"}, {1, "", "abc"},
    };
    for (const Case& row : cases) {
        c_String text("abc");
        text.Insert(row.position, row.inserted);
        EXPECT_STREQ(text.GetChars(), row.expected) << row.position;
    }
    c_String text("abc");
    text.Insert(1, '\0').Insert(1, '\xE9');
    EXPECT_STREQ(text.GetChars(), "abc");
    text.Insert(1, 'Q');
    EXPECT_STREQ(text.GetChars(), "aQbc");
    const char* null = nullptr;
    text.Insert(1, null);
    EXPECT_STREQ(text.GetChars(), "aQbc");

    c_String self(c_StringView(Repeat('i', 30).c_str()));
    self.Insert(10, self);
    EXPECT_EQ(self.GetChars(), Repeat('i', 60));
}

TEST(StringBuild, Erase) {
    struct Case {
        int start;
        int count;
        const char* expected;
    } cases[] = {
        {-2, 5, "def"},
        {2, 100, "ab"},
        {0, 0, "abcdef"},
        {1, 2, "adef"},
        {0, 6, ""},
        {6, 1, "abcdef"},
        {-5, 3, "abcdef"},
        {INT_MAX, INT_MAX, "abcdef"},
        {INT_MIN, INT_MAX, "abcdef"},
        {2, INT_MAX, "ab"},
        {0, -1, "abcdef"},
    };
    for (const Case& row : cases) {
        c_String text("abcdef");
        text.Erase(row.start, row.count);
        EXPECT_STREQ(text.GetChars(), row.expected) << row.start << "," << row.count;
    }
}

TEST(StringBuild, RemoveReplaceAndCase) {
    c_String removed("\xC3\xA9t\xC3\xA9");
    removed.Remove('\xC3');
    EXPECT_STREQ(removed.GetChars(), "\xA9t\xA9");

    c_String replaced("axb");
    replaced.Replace('x', '\0');
    EXPECT_EQ(replaced.GetLength(), 3);
    EXPECT_STREQ(replaced.GetChars(), "a");

    c_String word("stra\xC3\x9F"
                  "e");
    word.MakeUpper();
    EXPECT_STREQ(word.GetChars(), "STRA\xC3\x9F"
                                  "E");
    word.MakeLower();
    EXPECT_STREQ(word.GetChars(), "stra\xC3\x9F"
                                  "e");
    EXPECT_EQ(ToUpperChar('a'), 'A');
    EXPECT_EQ(ToUpperChar('{'), '{');
    EXPECT_EQ(ToLowerChar('Z'), 'z');
    EXPECT_EQ(ToLowerChar(0xC4), 0xC4);
}

TEST(StringBuild, ReplaceAll) {
    c_String text("aaa");
    text.ReplaceAll("a", "aa");
    EXPECT_STREQ(text.GetChars(), "aaaaaa");

    // A NUL char replacement removes for C-string and char finds, and changes nothing for string
    // and view finds.
    c_String cString("axbx");
    cString.ReplaceAll("x", '\0');
    EXPECT_STREQ(cString.GetChars(), "ab");
    c_String viaString("axbx");
    viaString.ReplaceAll(c_String("x"), '\0');
    EXPECT_STREQ(viaString.GetChars(), "axbx");
    c_String viaView("axbx");
    viaView.ReplaceAll(c_StringView("x"), '\0');
    EXPECT_STREQ(viaView.GetChars(), "axbx");
    c_String highByte("axbx");
    highByte.ReplaceAll(c_String("x"), '\xE9');
    EXPECT_STREQ(highByte.GetChars(), "ab");

    struct Case {
        const char* text;
        const char* find;
        const char* replacement;
        const char* expected;
    } cases[] = {
        {"a\\b\\c", "\\", "/", "a/b/c"},    {"abc", "", "x", "abc"},       {"abc", "b", "b", "abc"},
        {"abcabc", "abc", "", ""},          {"x||y||", "||", "|", "x|y|"}, {"aXa", "x", "y", "aXa"},
        {"abab", "ab", "abab", "abababab"},
    };
    for (const Case& row : cases) {
        c_String edited(row.text);
        edited.ReplaceAll(row.find, row.replacement);
        EXPECT_STREQ(edited.GetChars(), row.expected) << row.text << " " << row.find;
    }
    c_String nullReplacement("a-b");
    const char* null = nullptr;
    nullReplacement.ReplaceAll('-', null);
    EXPECT_STREQ(nullReplacement.GetChars(), "ab");
}

TEST(StringBuild, ReplaceAllWithOperandsFromTheSameString) {
    c_String text(c_StringView((Repeat('r', 20) + "-" + Repeat('r', 20)).c_str()));
    text.ReplaceAll(text.Left(1), text.Left(20)); // both operands point into the changing text
    EXPECT_EQ(text.GetLength(), 40 * 20 + 1);
    EXPECT_EQ(text.Find('-'), 400);
}

TEST(StringBuild, FailuresNeverLeaveAPartialText) {
    const std::string longText = Repeat('p', 40);
    const c_StringView longView(longText.c_str());
    {
        c_FailingAllocation failing;
        EXPECT_EQ((c_StringView("left") + longView).GetStoredSize(), 0) << "operator+ gives the default state";
    }
    {
        c_String left("left");
        c_FailingAllocation failing;
        EXPECT_EQ((static_cast<c_String&&>(left) + longView).GetStoredSize(), 0) << "rvalue operator+ too";
    }
    {
        c_FailingAllocation failing;
        EXPECT_EQ(Concat({"a", longView}).GetStoredSize(), 0);
    }
    {
        c_String text(c_StringView((longText + "x").c_str()));
        c_FailingAllocation failing;
        text.ReplaceAll("x", c_StringView(Repeat('y', 40).c_str()));
        EXPECT_EQ(text.GetChars(), longText + "x") << "ReplaceAll changes nothing";
    }
    {
        c_String text("abc");
        c_FailingAllocation failing;
        text.Insert(1, longView);
        EXPECT_STREQ(text.GetChars(), "abc") << "Insert changes nothing";
    }
    {
        c_String text("abc");
        c_FailingAllocation failing;
        text.AppendFormat("%s", longText.c_str());
        EXPECT_STREQ(text.GetChars(), "abc") << "AppendFormat changes nothing";
    }
    {
        // Output of 256 bytes or more is formatted apart in a block of its own, even when it fits.
        const std::string wide = Repeat('w', 300);
        c_String text("abc");
        ASSERT_TRUE(text.Reserve(1000));
        c_FailingAllocation failing;
        text.AppendFormat("%s", wide.c_str());
        EXPECT_STREQ(text.GetChars(), "abc") << "AppendFormat of 300 bytes changes nothing";
    }
    {
        c_String text("abc");
        c_FailingAllocation failing;
        text.Format("%s", longText.c_str());
        EXPECT_STREQ(text.GetChars(), "") << "Format leaves the empty text";
    }
}

TEST(StringBuild, InPlaceTrimsAndAffixes) {
    struct Case {
        const char* text;
        c_String (*edit)(c_String);
        const char* expected;
    } cases[] = {
        {"  a b\r\n", [](c_String s) { return s.Trim(); }, "a b"},
        {"   ", [](c_String s) { return s.Trim(); }, ""},
        {" \ta", [](c_String s) { return s.TrimLeft(); }, "a"},
        {"\"quoted\"", [](c_String s) { return s.TrimChar('"'); }, "quoted"},
        {"\"\"", [](c_String s) { return s.TrimChar('"'); }, ""},
        {"abc", [](c_String s) { return s.RemovePrefix("abc"); }, ""},
        {"abc", [](c_String s) { return s.RemovePrefix("x"); }, "abc"},
        {"abc", [](c_String s) { return s.RemovePrefix(""); }, "abc"},
        {"a.txt", [](c_String s) { return s.RemoveSuffix(".txt"); }, "a"},
        {"a.TXT", [](c_String s) { return s.RemoveSuffix(".txt"); }, "a.TXT"},
    };
    for (const Case& row : cases) {
        EXPECT_STREQ(row.edit(c_String(row.text)).GetChars(), row.expected) << row.text;
    }
    c_StringNoCase noCase("a.TXT");
    noCase.RemoveSuffix(".txt");
    EXPECT_STREQ(noCase.GetChars(), "a");
    noCase = "PREfix";
    noCase.RemovePrefix("pre");
    EXPECT_STREQ(noCase.GetChars(), "fix");
}

TEST(StringBuild, PiecesOfAStringPointIntoIt) {
    const c_String text("  a:b:c  ");
    EXPECT_TRUE(text.GetTrimmedView() == "a:b:c");
    EXPECT_EQ(text.GetTrimmedView().begin(), text.GetChars() + 2);
    EXPECT_TRUE(text.GetTrimmedLeftView() == "a:b:c  ");
    EXPECT_TRUE(c_String("xxaxx").GetTrimmedView('x') == "a");
    EXPECT_EQ(c_String("   ").GetTrimmedView().begin(), nullptr);
    EXPECT_EQ(text.CountLeadingSpaces(), 2);
    EXPECT_EQ(text.CountTrailingSpaces(), 2);
    const c_String path("a:b:c");
    EXPECT_EQ(path.Find(':'), 1);
    EXPECT_EQ(path.ReverseFind(':'), 3);
    EXPECT_EQ(path.Find(c_StringView(":"), 2), 3);
    EXPECT_EQ(path.Find(""), -1);
    EXPECT_EQ(path.FindLastOf({':', 'b'}), 3);
    EXPECT_TRUE(path.Left(1) == "a");
    EXPECT_TRUE(path.Right(1) == "c");
    EXPECT_TRUE(path.WithoutPrefix("a:") == "b:c");
    EXPECT_TRUE(path.WithoutSuffix(":c") == "a:b");
}

} // namespace
