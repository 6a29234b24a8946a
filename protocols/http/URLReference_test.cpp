// Tests of the reference resolution with the examples of RFC 3986 sections 5.2.4 and 5.4.

#include "protocols/http/URLReference.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct s_ReferenceCase {
    const char* m_Reference;
    const char* m_Target;
};

// Letters and digits stay; every other character becomes "_" and its code.
std::string CaseName(const char* reference) {
    std::string name = *reference == 0 ? "Empty" : "";
    for (const char* c = reference; *c != 0; ++c) {
        if (std::isalnum(static_cast<unsigned char>(*c))) {
            name.push_back(*c);
        } else {
            name.push_back('_');
            name.append(std::to_string(int(*c)));
        }
    }
    return name;
}

std::string ReferenceName(const testing::TestParamInfo<s_ReferenceCase>& info) {
    return CaseName(info.param.m_Reference);
}

constexpr const char* BASE = "http://a/b/c/d;p?q";

// Section 5.4.1.
const s_ReferenceCase NORMAL_CASES[] = {
    {"g:h", "g:h"},
    {"g", "http://a/b/c/g"},
    {"./g", "http://a/b/c/g"},
    {"g/", "http://a/b/c/g/"},
    {"/g", "http://a/g"},
    {"//g", "http://g"},
    {"?y", "http://a/b/c/d;p?y"},
    {"g?y", "http://a/b/c/g?y"},
    {"#s", "http://a/b/c/d;p?q#s"},
    {"g#s", "http://a/b/c/g#s"},
    {"g?y#s", "http://a/b/c/g?y#s"},
    {";x", "http://a/b/c/;x"},
    {"g;x", "http://a/b/c/g;x"},
    {"g;x?y#s", "http://a/b/c/g;x?y#s"},
    {"", "http://a/b/c/d;p?q"},
    {".", "http://a/b/c/"},
    {"./", "http://a/b/c/"},
    {"..", "http://a/b/"},
    {"../", "http://a/b/"},
    {"../g", "http://a/b/g"},
    {"../..", "http://a/"},
    {"../../", "http://a/"},
    {"../../g", "http://a/g"},
};

// Section 5.4.2, with the strict parser's answer to "http:g".
const s_ReferenceCase ABNORMAL_CASES[] = {
    {"../../../g", "http://a/g"},
    {"../../../../g", "http://a/g"},
    {"/./g", "http://a/g"},
    {"/../g", "http://a/g"},
    {"g.", "http://a/b/c/g."},
    {".g", "http://a/b/c/.g"},
    {"g..", "http://a/b/c/g.."},
    {"..g", "http://a/b/c/..g"},
    {"./../g", "http://a/b/g"},
    {"./g/.", "http://a/b/c/g/"},
    {"g/./h", "http://a/b/c/g/h"},
    {"g/../h", "http://a/b/c/h"},
    {"g;x=1/./y", "http://a/b/c/g;x=1/y"},
    {"g;x=1/../y", "http://a/b/c/y"},
    {"g?y/./x", "http://a/b/c/g?y/./x"},
    {"g?y/../x", "http://a/b/c/g?y/../x"},
    {"g#s/./x", "http://a/b/c/g#s/./x"},
    {"g#s/../x", "http://a/b/c/g#s/../x"},
    {"http:g", "http:g"},
};

class ResolveURLReferenceCases : public testing::TestWithParam<s_ReferenceCase> {};

TEST_P(ResolveURLReferenceCases, MatchesTheRFCExample) {
    EXPECT_EQ(ResolveURLReference(BASE, GetParam().m_Reference), c_String(GetParam().m_Target));
}

INSTANTIATE_TEST_SUITE_P(Normal, ResolveURLReferenceCases, testing::ValuesIn(NORMAL_CASES), ReferenceName);
INSTANTIATE_TEST_SUITE_P(Abnormal, ResolveURLReferenceCases, testing::ValuesIn(ABNORMAL_CASES), ReferenceName);

TEST(ResolveURLReference, BaseWithoutPathMergesUnderTheRoot) {
    EXPECT_EQ(ResolveURLReference("http://a", "g"), c_String("http://a/g"));
    EXPECT_EQ(ResolveURLReference("http://a:8080?q", "?r"), c_String("http://a:8080?r"));
}

TEST(ResolveURLReference, AuthorityWithoutSchemeTakesTheBaseScheme) {
    EXPECT_EQ(ResolveURLReference("https://a/x", "//b:8443/./c/../d?e"), c_String("https://b:8443/d?e"));
}

TEST(ResolveURLReference, AbsoluteReferenceLosesItsDots) {
    EXPECT_EQ(ResolveURLReference("http://a/x", "https://b/c/./../d/"), c_String("https://b/d/"));
}

// Section 5.2.4's own examples, and what is left when every segment goes.
const s_ReferenceCase DOT_CASES[] = {
    {"/a/b/c/./../../g", "/a/g"}, {"mid/content=5/../6", "mid/6"}, {"/..", "/"}, {"/.", "/"}, {"..", ""}, {"a/..", "/"},
    {"a//../b", "a/b"},
};

class RemoveDotSegmentsCases : public testing::TestWithParam<s_ReferenceCase> {};

TEST_P(RemoveDotSegmentsCases, RemovesDotSegments) {
    EXPECT_EQ(RemoveDotSegments(GetParam().m_Reference), c_String(GetParam().m_Target));
}

INSTANTIATE_TEST_SUITE_P(Paths, RemoveDotSegmentsCases, testing::ValuesIn(DOT_CASES), ReferenceName);

} // namespace
