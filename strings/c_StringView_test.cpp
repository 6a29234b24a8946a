// Tests of the views: the case rule, ordering, searches, pieces and trims.

#include "strings/c_StringNoCase.h"
#include "strings/c_WStringNoCase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <iterator>
#include <type_traits>
#include <vector>

namespace {

c_StringView Bytes(const char* text, int length) {
    return c_StringView(text, length);
}

TEST(StringView, EmptyTextsAreAllEqualAndNoneIsLess) {
    const c_String empty;
    const c_String emptyFromView{c_StringView("")};
    const char* null = nullptr;
    const c_StringView views[] = {c_StringView(),      c_StringView(null),          c_StringView(""),
                                  c_StringView(empty), c_StringView(emptyFromView), c_StringView('\0'),
                                  c_StringView('\xE9')};
    for (const c_StringView& left : views) {
        for (const c_StringView& right : views) {
            EXPECT_TRUE(left == right);
            EXPECT_FALSE(left < right);
            EXPECT_TRUE(left >= right);
        }
        EXPECT_TRUE(left == empty);
        EXPECT_TRUE(left == null);
    }
}

TEST(StringView, OrderingUsesTheLengthAsTieBreak) {
    struct Case {
        const char* left;
        const char* right;
        int expected; // sign of left <=> right
    } cases[] = {
        {"abc", "abd", -1}, {"ab", "abc", -1}, {"", "a", -1},    {"a", "", 1},
        {"", "", 0},        {"abc", "abc", 0}, {"\xC3", "z", 1}, {"A", "_", -1},
    };
    for (const Case& row : cases) {
        const c_StringView left(row.left);
        const int sign = (left <=> row.right) < 0 ? -1 : ((left <=> row.right) > 0 ? 1 : 0);
        EXPECT_EQ(sign, row.expected) << row.left << " vs " << row.right;
        EXPECT_EQ(left < row.right, row.expected < 0);
        EXPECT_EQ(left <= row.right, row.expected <= 0);
        EXPECT_EQ(left > row.right, row.expected > 0);
        EXPECT_EQ(left >= row.right, row.expected >= 0);
        EXPECT_EQ(left == row.right, row.expected == 0);
        EXPECT_EQ(left != row.right, row.expected != 0);
    }
}

// Every pair of operand kinds: the comparison ignores case exactly when either side is a NoCase type.
TEST(StringView, CaseRuleFollowsTheOperandKinds) {
    const c_String upper("ABC");
    const c_StringNoCase upperNoCase("ABC");
    const c_StringView upperView("ABC");
    const c_StringViewNoCase upperViewNoCase("ABC");
    const c_String lower("abc");
    const c_StringNoCase lowerNoCase("abc");
    const c_StringView lowerView("abc");
    const c_StringViewNoCase lowerViewNoCase("abc");

    // Case-sensitive kinds against each other: unequal, and 'A' sorts before 'a'.
    EXPECT_FALSE(upper == lower);
    EXPECT_FALSE(upper == lowerView);
    EXPECT_FALSE(upperView == lower);
    EXPECT_FALSE(upperView == "abc");
    EXPECT_FALSE("abc" == upper);
    EXPECT_TRUE(upper < lower);
    EXPECT_TRUE(upperView < "abc");

    // Any NoCase operand, left or right, string or view: equal and not ordered.
    EXPECT_TRUE(upper == lowerNoCase);
    EXPECT_TRUE(upper == lowerViewNoCase);
    EXPECT_TRUE(upperView == lowerNoCase);
    EXPECT_TRUE(upperView == lowerViewNoCase);
    EXPECT_TRUE(upperNoCase == lower);
    EXPECT_TRUE(upperNoCase == lowerView);
    EXPECT_TRUE(upperNoCase == "abc");
    EXPECT_TRUE("abc" == upperNoCase);
    EXPECT_TRUE(upperViewNoCase == lower);
    EXPECT_TRUE(upperViewNoCase == "abc");
    EXPECT_TRUE(upperViewNoCase == lowerNoCase);
    EXPECT_FALSE(upperNoCase < lower);
    EXPECT_FALSE(lower < upperNoCase);
    EXPECT_FALSE(upperViewNoCase < lowerView);

    // The same NoCase object handed on as a c_String compares with case.
    const c_String& asString = upperNoCase;
    EXPECT_FALSE(asString == lower);
}

TEST(StringView, FoldingIsAsciiOnly) {
    // Without case '_' and '[' sort before 'A' (letters fold down); with case after.
    EXPECT_TRUE(c_StringViewNoCase("_") < "A");
    EXPECT_TRUE(c_StringViewNoCase("[") < "a");
    EXPECT_FALSE(c_StringView("_") < "A");
    // Bytes from 0x80 never fold and sort after ASCII.
    EXPECT_FALSE(c_StringViewNoCase("\xC3\x84") == "\xC3\xA4");
    EXPECT_TRUE(c_StringView("\xC3") > "z");
    EXPECT_TRUE(c_StringViewNoCase("\xC3") > "z");
}

TEST(StringView, ComparisonEndsAtASharedNul) {
    EXPECT_TRUE(Bytes("a\0b", 3) == Bytes("a\0c", 3));
    EXPECT_TRUE(c_StringViewNoCase(Bytes("A\0b", 3)) == Bytes("a\0c", 3));
    EXPECT_FALSE(Bytes("a\0b", 3) == Bytes("a\0", 2));
}

TEST(StringView, CompareReturnsThePrimitiveResult) {
    EXPECT_EQ(c_StringView("ab").Compare("AB", false), 0);
    EXPECT_LT(c_StringView("a").Compare("B", false), 0);
    EXPECT_EQ(c_StringView("a").Compare("c", false), 'a' - 'c');
    EXPECT_EQ(c_StringView("abc").Compare("ab", true), 1);
    EXPECT_EQ(c_StringView("ab").Compare("abc", true), -1);
    EXPECT_EQ(c_StringView("").Compare("", true), 0);
    EXPECT_EQ(c_StringView("").Compare("a", true), -1);
    EXPECT_EQ(c_StringView("a").Compare("", true), 1);
    EXPECT_TRUE(c_StringView("ab").Equals("AB", false));
    EXPECT_FALSE(c_StringView("ab").Equals("AB", true));
}

TEST(StringView, ForwardAndBackwardSearch) {
    const c_StringView abc("abc");
    const c_StringView aXa("aXa");
    struct Case {
        int found;
        int expected;
    } cases[] = {
        {abc.Find(""), -1},
        {abc.Find("x", 5), -1},
        {abc.Find('c', -3), 2},
        {abc.Find("abcd"), -1},
        {abc.Find("bc", 1), 1},
        {abc.Find("bc", 2), -1},
        {abc.Find('c', INT_MAX), -1},
        {abc.Find('c', INT_MIN), 2},
        {aXa.ReverseFind('a'), 2},
        {aXa.ReverseFind('a', 1), 0},
        {aXa.ReverseFind("aX", 0), 0},
        {aXa.ReverseFind('a', -1), -1},
        {aXa.ReverseFind(""), -1},
        {aXa.ReverseFind("aXaa"), -1},
        {aXa.ReverseFind("X", INT_MIN), -1},
        {c_StringViewNoCase("aXa").Find("x"), 1},
        {aXa.Find("x"), -1},
        {aXa.Find(c_StringViewNoCase("x")), 1},
        {aXa.Find(c_StringNoCase("x")), 1},
        {aXa.ReverseFind(c_StringViewNoCase("A")), 2},
        {c_StringViewNoCase("xa").Find('A'), 1},
        {c_StringView("a:b:c").Find(':', 2), 3},
        // a pattern holding a NUL matches where the text holds the same NUL, whatever follows it
        {c_StringView("xa\0b", 4).Find(Bytes("a\0c", 3)), 1},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].found, cases[i].expected) << "row " << i;
    }
}

TEST(StringView, CharOperandsOutsideAsciiAreEmpty) {
    const c_StringView text("a\xE9");
    EXPECT_FALSE(text.Contains('\xE9'));
    EXPECT_FALSE(text.StartsWith('\xE9'));
    EXPECT_FALSE(text.EndsWith('\xE9'));
    EXPECT_FALSE(text.Contains('\0'));
    EXPECT_EQ(text.Find('\xE9'), -1);
    EXPECT_TRUE(c_StringView() == '\xE9');
    EXPECT_TRUE(c_StringView("x") != '\0');
    EXPECT_TRUE(c_StringView("\x7F") == '\x7F');
    EXPECT_TRUE(c_StringView("\x01") == '\x01');
}

TEST(StringView, PrefixAndSuffixTests) {
    const c_StringView text("Folder\\");
    EXPECT_FALSE(text.StartsWith(""));
    EXPECT_FALSE(text.EndsWith(""));
    EXPECT_FALSE(text.Contains(""));
    EXPECT_TRUE(text.EndsWith('\\'));
    EXPECT_TRUE(text.StartsWith("Fold"));
    EXPECT_FALSE(text.StartsWith("fold"));
    EXPECT_TRUE(text.StartsWith(c_StringNoCase("fold")));
    EXPECT_FALSE(text.StartsWith("Folder\\\\"));
    EXPECT_TRUE(c_StringViewNoCase("a.cfg").EndsWith(".CFG"));
}

struct PieceCase {
    const char* name;
    c_StringView piece;
    const char* expected; // null: the null empty view
};

void CheckPieces(const std::vector<PieceCase>& cases) {
    for (const PieceCase& row : cases) {
        if (row.expected == nullptr) {
            EXPECT_EQ(row.piece.begin(), nullptr) << row.name;
            EXPECT_EQ(row.piece.GetLength(), 0) << row.name;
        } else {
            EXPECT_TRUE(row.piece == row.expected) << row.name;
        }
    }
}

TEST(StringView, PiecesWithNegativeAndExtremeCounts) {
    const c_StringView abc("abc");
    CheckPieces({
        {"Left -1", abc.Left(-1), "ab"},
        {"Left 0", abc.Left(0), nullptr},
        {"Left -3", abc.Left(-3), nullptr},
        {"Left 5", abc.Left(5), "abc"},
        {"Left INT_MAX", abc.Left(INT_MAX), "abc"},
        {"Left INT_MIN", abc.Left(INT_MIN), nullptr},
        {"Right -1", abc.Right(-1), "bc"},
        {"Right -4", abc.Right(-4), nullptr},
        {"Right -3", abc.Right(-3), ""},
        {"Right 2", abc.Right(2), "bc"},
        {"Right INT_MAX", abc.Right(INT_MAX), "abc"},
        {"Right INT_MIN", abc.Right(INT_MIN), nullptr},
        {"Mid 1,-1", abc.Mid(1, -1), "a"},
        {"Mid -1,2", abc.Mid(-1, 2), "a"},
        {"Mid 3,1", abc.Mid(3, 1), ""},
        {"Mid 4,1", abc.Mid(4, 1), nullptr},
        {"Mid 1,INT_MAX", abc.Mid(1, INT_MAX), "bc"},
        {"Mid INT_MIN,INT_MAX", abc.Mid(INT_MIN, INT_MAX), nullptr},
        {"Mid INT_MAX,INT_MIN", abc.Mid(INT_MAX, INT_MIN), "abc"},
        {"Mid 0,INT_MIN", abc.Mid(0, INT_MIN), ""},
        {"Mid INT_MAX,INT_MAX", abc.Mid(INT_MAX, INT_MAX), nullptr},
        {"RightFrom -2", abc.RightFrom(-2), "abc"},
        {"RightFrom 3", abc.RightFrom(3), ""},
        {"RightFrom 4", abc.RightFrom(4), nullptr},
        {"RightFrom INT_MIN", abc.RightFrom(INT_MIN), "abc"},
        {"WithoutPrefix whole", abc.WithoutPrefix("abc"), ""},
        {"WithoutPrefix other", abc.WithoutPrefix("x"), "abc"},
        {"WithoutSuffix empty", abc.WithoutSuffix(""), "abc"},
        {"WithoutSuffix whole", abc.WithoutSuffix("abc"), nullptr},
        {"WithoutSuffix c", abc.WithoutSuffix('c'), "ab"},
    });
    // Pieces at the end point at the end, not at null.
    EXPECT_EQ(abc.Right(0).begin(), abc.end());
    EXPECT_EQ(abc.RightFrom(3).begin(), abc.end());
    EXPECT_EQ(abc.WithoutPrefix("abc").begin(), abc.end());
    // A NoCase view cuts without case and stays NoCase.
    const c_StringViewNoCase header("Content-Length");
    EXPECT_TRUE(header.WithoutPrefix("content-") == "LENGTH");
}

TEST(StringView, PointerPieces) {
    const char buffer[] = "<<<<<key=value>>";
    const c_StringView text(buffer + 5, 9);
    const char* equals = text.begin() + 3;
    EXPECT_TRUE(text.LeftOf(equals) == "key");
    EXPECT_EQ(text.LeftOf(buffer + 4).begin(), nullptr);
    EXPECT_TRUE(text.LeftOf(buffer + 15) == "key=value");
    EXPECT_TRUE(text.After(text.Left(4)) == "value");
    EXPECT_TRUE(text.After(c_StringView(buffer, 2)) == "key=value");
    EXPECT_EQ(text.After(c_StringView(text.end(), 1)).begin(), nullptr);

    c_StringView truncated = text;
    truncated.TruncateAt(equals);
    EXPECT_TRUE(truncated == "key");
    truncated.TruncateAt(truncated.end());
    EXPECT_TRUE(truncated == "key");
    truncated.Truncate(5);
    EXPECT_TRUE(truncated == "key");
    truncated.Truncate(1);
    EXPECT_TRUE(truncated == "k");
    truncated.Truncate(-1);
    EXPECT_TRUE(truncated == "k");
}

TEST(StringView, Overlaps) {
    const c_StringView text("abcdef");
    EXPECT_TRUE(text.Overlaps(text.Mid(2, 2)));
    EXPECT_TRUE(text.Mid(2, 2).Overlaps(text));
    EXPECT_FALSE(text.Left(2).Overlaps(text.RightFrom(2)));
    EXPECT_TRUE(c_StringView(text.begin(), 0).Overlaps(text));
    EXPECT_FALSE(c_StringView(text.begin(), 0).Overlaps(c_StringView(text.begin(), 0)));
    EXPECT_FALSE(text.Left(0).Overlaps(text));
    const char other[] = "abcdef";
    EXPECT_FALSE(text.Overlaps(c_StringView(other)));
}

TEST(StringView, Trims) {
    const char blanks[] = " \t\r\n\v\f";
    EXPECT_EQ(c_StringView(blanks).Trimmed().begin(), nullptr);
    EXPECT_TRUE(c_StringView(" a b ").Trimmed() == "a b");
    EXPECT_TRUE(c_StringView(" a b ").TrimmedLeft() == "a b ");
    EXPECT_TRUE(c_StringView(" a b ").TrimmedRight() == " a b");
    EXPECT_TRUE(c_StringView("xxaxx").Trimmed('x') == "a");
    EXPECT_EQ(c_StringView("xxxx").Trimmed('x').begin(), nullptr);
    EXPECT_TRUE(Bytes("\0a\0", 3).Trimmed('\0') == "a");
    EXPECT_TRUE(c_StringView("\xE9"
                             "a\xE9")
                    .Trimmed('\xE9') == "a");
    EXPECT_TRUE(c_StringView("\xA0"
                             "a")
                    .Trimmed() == "\xA0"
                                  "a");
    EXPECT_EQ(c_StringView(" \t").CountLeadingSpaces(), 2);
    EXPECT_EQ(c_StringView("a \t").CountTrailingSpaces(), 2);

    c_StringView view("  a");
    EXPECT_EQ(view.TrimLeft(), 2);
    EXPECT_TRUE(view == "a");
    view = c_StringView("a \n");
    EXPECT_EQ(view.TrimRight(), 2);
    EXPECT_TRUE(view == "a");
    view = c_StringView("--a-");
    view.Trim('-');
    EXPECT_TRUE(view == "a");
    view = c_StringView("\"quoted\"");
    EXPECT_TRUE(view.RemovePrefix('"').RemoveSuffix('"') == "quoted");
}

TEST(StringView, CharacterSets) {
    const c_StringView text("a\tb,c");
    EXPECT_EQ(text.FindFirstOf({',', '\t'}), 1);
    EXPECT_EQ(text.FindFirstOf({',', '\t'}, 2), 3);
    EXPECT_EQ(text.FindFirstOf({',', '\t'}, -5), 1);
    EXPECT_EQ(text.FindFirstOf({',', '\t'}, 5), -1);
    EXPECT_EQ(text.FindFirstOf({}), -1);
    EXPECT_EQ(text.FindLastOf({',', '\t'}), 3);
    EXPECT_EQ(text.FindLastOf(c_CharSet{',', '\t'}, 2), 1);
    EXPECT_EQ(text.FindLastOf(c_CharSet{',', '\t'}, -1), -1);
    EXPECT_EQ(text.FindLastOf(c_CharSet{}), -1);
    EXPECT_EQ(c_StringView().FindLastOf({'a'}), -1);
    EXPECT_EQ(c_StringView("x\xE9").FindFirstOf({'\xE9'}), 1);
    EXPECT_EQ(c_StringView("a:b:c").FindLastOf({':', 'b'}), 3);
}

TEST(StringView, Constructors) {
    EXPECT_EQ(c_StringView("abc\0def", 7).GetLength(), 7);
    EXPECT_EQ(c_StringView("abc\0def", 7, true).GetLength(), 3);
    EXPECT_EQ(c_StringView("abc", -1).GetLength(), 0);
    const char* text = "abcdef";
    EXPECT_TRUE(c_StringView(text + 1, text + 3) == "bc");
    EXPECT_EQ(c_StringView(text + 3, text + 1).GetLength(), 0);
    EXPECT_EQ(c_StringView(text + 3, text + 1).begin(), text + 3);

    const unsigned char bytes[] = {'a', 0, 'b'};
    EXPECT_EQ(c_StringView(s_ByteSpan::FromPointer(bytes, 3), false).GetLength(), 3);
    EXPECT_EQ(c_StringView(s_ByteSpan::FromPointer(bytes, 3), true).GetLength(), 1);
    EXPECT_EQ(c_StringView(s_ByteSpan{}, true).GetLength(), 0);
    const c_StringView view("hello");
    EXPECT_EQ(view.ToSpan().m_Size, 5u);
    EXPECT_EQ(view.ToSpan().m_p_Data, view.begin());

    // Cut at the first NUL within the stored size, never past the text's end.
    c_String raw(40);
    std::memcpy(raw.GetBuffer(), "ab\0cd", 5);
    EXPECT_TRUE(c_StringView(raw, 40) == "ab");
    EXPECT_TRUE(c_StringView(raw, 1) == "a");
    const c_String ordinary("hello");
    EXPECT_TRUE(c_StringView(ordinary, 100) == "hello");
}

TEST(StringView, AccessorsAndClassification) {
    c_StringView view("a1");
    EXPECT_EQ(view.GetFirstChar(), 'a');
    EXPECT_EQ(c_StringView().GetFirstChar(), 0);
    EXPECT_TRUE(view.IsLetterAt(0));
    EXPECT_FALSE(view.IsLetterAt(1));
    EXPECT_TRUE(view.IsDigitAt(1));
    EXPECT_FALSE(view.IsDigitAt(2));
    EXPECT_FALSE(view.IsDigitAt(-1));
    EXPECT_TRUE(c_StringView("").IsAllLetters());
    EXPECT_TRUE(c_StringView("").IsAllDigits());
    EXPECT_TRUE(c_StringView("aZ").IsAllLetters());
    EXPECT_FALSE(c_StringView("a\xE9").IsAllLetters());
    EXPECT_TRUE(c_StringView("0129").IsAllDigits());
    EXPECT_TRUE(view.DropFirst() == "1");
    EXPECT_TRUE(view.DropFirst().DropFirst().IsEmpty());
    EXPECT_TRUE(IsWhitespaceChar('\v'));
    EXPECT_FALSE(IsWhitespaceChar('\xA0'));
    EXPECT_FALSE(IsWhitespaceChar('\0'));
}

// Each view type over the storage "abcdef", NUL, NUL: the text runs to the stored size less one.
template <typename View, typename String> struct t_ViewOver {
    using t_View = View;
    using t_String = String;
};

template <typename Pair> class ViewConstructors : public testing::Test {
protected:
    using View = typename Pair::t_View;
    using String = typename Pair::t_String;
    using Unit = typename View::t_Unit;

    void SetUp() override {
        const Unit units[] = {'a', 'b', 'c', 'd', 'e', 'f', 0, 0};
        ASSERT_TRUE(m_Text.SetSize(8));
        std::copy(std::begin(units), std::end(units), m_Text.GetBuffer());
    }

    String m_Text;
};

using ViewTypes = testing::Types<t_ViewOver<c_StringView, c_String>, t_ViewOver<c_StringViewNoCase, c_String>,
                                 t_ViewOver<c_WStringView, c_WString>, t_ViewOver<c_WStringViewNoCase, c_WString>>;
TYPED_TEST_SUITE(ViewConstructors, ViewTypes);

TYPED_TEST(ViewConstructors, ABoolSelectsTheCutNeverALength) {
    using View = typename TestFixture::View;
    using String = typename TestFixture::String;
    using Unit = typename TestFixture::Unit;
    const String& text = this->m_Text;
    struct s_Row {
        const char* m_Name;
        View m_View;
        int m_Length;
    };
    const s_Row rows[] = {
        {"no second argument: the text", View(text), 7},
        {"true: cut at the first 0", View(text, true), 6},
        {"false: the text", View(text, false), 7},
    };
    for (const s_Row& row : rows) {
        EXPECT_EQ(row.m_View.GetLength(), row.m_Length) << row.m_Name;
        EXPECT_EQ(row.m_View.begin(), text.GetBuffer()) << row.m_Name;
    }
    if constexpr (View::IS_NO_CASE) {
        static_assert(!std::is_constructible_v<View, const String&, int>, "no length form without case");
    } else {
        EXPECT_EQ(View(text, 2).GetLength(), 2) << "a length";
        EXPECT_EQ(View(text, 100).GetLength(), 6) << "a length past the storage is cut at the first 0";
    }
    static_assert(!std::is_constructible_v<View, const Unit*, bool>, "a bool is never a pointer's length");
}

} // namespace
