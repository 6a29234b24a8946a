// Tests of the small text functions, URL extraction and the similarity measures.

#include "textutil/TextFunctions.h"

#include "textutil/TextSimilarity.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(TextFunctions, BuiltTexts) {
    c_StringView text("hello world");
    c_StringView model("HELLO");
    const c_String copied = CopyLetterCase(text, model);
    EXPECT_TRUE(text.IsEmpty() && model.IsEmpty()) << "both views are consumed";
    c_StringView text2("hello world");
    c_StringView model2("HeLP");
    c_String mnemonic("&File && Exit\tCtrl+X&");
    RemoveMenuMnemonics(mnemonic);
    const struct {
        c_String m_Text;
        const char* m_Expected;
    } cases[] = {
        {Repeat("ab", 3), "ababab"},
        {Repeat("ab", 0), ""},
        {Repeat("ab", -2), ""},
        {Repeat("", 5), ""},
        {Repeat("abcdefghij", 300000000), ""},
        {ToUpper("abc-\xE9z"), "ABC-\xE9Z"},
        {ToLower("ABC-\xC9Z"), "abc-\xC9z"},
        {copied, "HELLO world"},
        {CopyLetterCase(text2, model2), "HeLlo world"},
        {mnemonic, "File & Exit\tCtrl+X"},
        {JoinWithDots("1", "2", "3", "4"), "1.2.3.4"},
        {Concat(c_String("a"), nullptr, c_String("b")), "ab"},
        {Concat(c_String("a"), " - ", c_String("b")), "a - b"},
        {JoinWithSpace("Error", "text"), "Error text"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ToStd(test.m_Text), test.m_Expected);
    }
}

TEST(TextFunctions, ConsumePrefixFollowsTheCaseRule) {
    const struct {
        const char* m_Name;
        bool m_Consumed;
        bool (*m_Call)(c_StringView& text);
    } cases[] = {
        {"C string, with case", false, [](c_StringView& t) { return ConsumePrefix(t, "content-"); }},
        {"view, with case", false, [](c_StringView& t) { return ConsumePrefix(t, c_StringView("content-")); }},
        {"string, with case", false, [](c_StringView& t) { return ConsumePrefix(t, c_String("content-")); }},
        {"NoCase view", true, [](c_StringView& t) { return ConsumePrefix(t, c_StringViewNoCase("content-")); }},
        {"NoCase string", true, [](c_StringView& t) { return ConsumePrefix(t, c_StringNoCase("content-")); }},
        {"exact case", true, [](c_StringView& t) { return ConsumePrefix(t, "Content-"); }},
        {"empty prefix", false, [](c_StringView& t) { return ConsumePrefix(t, ""); }},
        {"null prefix", false, [](c_StringView& t) { return ConsumePrefix(t, static_cast<const char*>(nullptr)); }},
        {"longer than the text", false, [](c_StringView& t) { return ConsumePrefix(t, "Content-Type: x"); }},
    };
    for (const auto& test : cases) {
        c_StringView text("Content-Type");
        EXPECT_EQ(test.m_Call(text), test.m_Consumed) << test.m_Name;
        EXPECT_EQ(ToStd(text), test.m_Consumed ? "Type" : "Content-Type") << test.m_Name;
    }
    c_StringViewNoCase header("Content-Type");
    EXPECT_TRUE(ConsumePrefix(header, "CONTENT-"));
    EXPECT_EQ(ToStd(header), "Type");
}

TEST(TextFunctions, BetweenAndCommonPrefix) {
    EXPECT_EQ(ToStd(Between("<a>text</a>", "<a>", "</a>")), "text");
    EXPECT_EQ(ToStd(Between("x[]y", "[", "]")), "");
    EXPECT_EQ(ToStd(Between("end] before [start", "[", "]")), "");
    EXPECT_EQ(ToStd(Between("abc", "", "c")), "");
    c_StringView a("prefix-one");
    c_StringView b("prefix-two");
    EXPECT_EQ(StripCommonPrefix(a, b), 7);
    EXPECT_EQ(ToStd(a), "one");
    EXPECT_EQ(ToStd(b), "two");
}

TEST(TextFunctions, ExtractURLs) {
    const struct {
        const char* m_Text;
        std::vector<std::string> m_Addresses;
    } cases[] = {
        {"see https://x.org/a?b=1 and http://y.net/<tag>", {"https://x.org/a?b=1", "http://y.net/"}},
        {"HTTP://Z", {}},
        {"http://", {"http://"}},
        {"xhttp://a, then.", {"http://a,"}},
        {"httphttps://b\tc", {"https://b"}},
        {"(http://a)|http://b", {"http://a)", "http://b"}},
        {"", {}},
    };
    for (const auto& test : cases) {
        std::vector<std::string> found;
        for (const c_StringView& address : ExtractURLs(test.m_Text)) {
            found.push_back(ToStd(address));
        }
        EXPECT_EQ(found, test.m_Addresses) << test.m_Text;
    }
}

TEST(TextSimilarity, Measures) {
    EXPECT_EQ(GetSimilarityPercent("Chart", "chart"), 100);
    EXPECT_EQ(GetSimilarityPercent("abc", "xyz"), 0);
    EXPECT_EQ(GetSimilarityPercent("abcd", "abxd"), 75);
    EXPECT_EQ(GetSimilarityPercent("", "abc"), 0);
    EXPECT_EQ(CountMatchingCharacters("WIKIMEDIA", "WIKIMANIA"), 7);
    EXPECT_EQ(CountMatchingCharacters("abXcd", "abYcd"), 4) << "matches on both sides of the mismatch";
    std::string alternating;
    for (int i = 0; i < 300; ++i) {
        alternating += i % 2 == 0 ? "a" : "b";
    }
    const std::string ones(300, 'a');
    EXPECT_EQ(CountMatchingCharacters(c_StringView(alternating.c_str()), c_StringView(ones.c_str())), 150);
    EXPECT_EQ(GetTermWeight("abc"), 30);
    EXPECT_EQ(GetTermWeight("abcdef"), 50);
    EXPECT_EQ(GetTermWeight("a b"), 20);
    EXPECT_EQ(GetTermWeight("a b c d e f g"), 30);
    EXPECT_EQ(GetTermWeight("a b c d e f g h i"), 40);
}

TEST(TextSimilarity, WordMatchRank) {
    const std::vector<c_StringView> words = {"dovrik", "chart", ""};
    EXPECT_EQ(GetWordMatchRank("The DOVRIK Chart app", "dovrik chart", words), 100);
    EXPECT_EQ(GetWordMatchRank("Chart by Dovrik", "dovrik chart", words), 98) << "the empty word never counts";
    EXPECT_EQ(GetWordMatchRank("charting", "x", {"chart", "y"}), 98);
    EXPECT_EQ(GetWordMatchRank("nothing", "x", words), 0);
    EXPECT_EQ(GetWordMatchRank("text", "", {}), 0);
}

} // namespace
