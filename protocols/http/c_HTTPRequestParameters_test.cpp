// Tests of the request record and the method texts.

#include "protocols/http/c_HTTPRequestParameters.h"

#include <gtest/gtest.h>

namespace {

c_String Body(const c_HTTPRequestParameters& request) {
    return c_String(reinterpret_cast<const char*>(request.m_Body.GetData()), int(request.m_Body.GetSize()));
}

TEST(GetHTTPMethodText, NamesTheFourMethods) {
    const struct {
        std::int32_t m_Method;
        const char* m_Text;
        bool m_WithBody;
    } rows[] = {{0, "", false},      {1, "GET", false}, {2, "POST", true}, {3, "PUT", true},
                {4, "DELETE", true}, {5, "", false},    {-1, "", false}};
    for (const auto& row : rows) {
        EXPECT_EQ(GetHTTPMethodText(row.m_Method), c_String(row.m_Text)) << row.m_Method;
        EXPECT_EQ(IsHTTPMethodWithBody(row.m_Method), row.m_WithBody) << row.m_Method;
    }
}

TEST(c_HTTPRequestParameters, DefaultsNameNoMethod) {
    const c_HTTPRequestParameters request;
    EXPECT_EQ(request.m_Method, 0);
    EXPECT_TRUE(request.m_URL.IsEmpty());
    EXPECT_TRUE(request.m_Headers.empty());
    EXPECT_TRUE(request.m_Body.IsEmpty());
}

TEST(c_HTTPRequestParameters, HeaderKeepsFirstSpellingAndLastValue) {
    c_HTTPRequestParameters request;
    request.m_Headers[c_StringNoCase("content-type")] = "a";
    request.m_Headers[c_StringNoCase("Content-Type")] = "b";
    ASSERT_EQ(request.m_Headers.size(), 1u);
    EXPECT_EQ(c_String(request.m_Headers.begin()->first), c_String("content-type"));
    EXPECT_EQ(request.m_Headers.begin()->second, c_String("b"));
}

TEST(c_HTTPRequestParameters, BodySetAppendAndSwap) {
    c_HTTPRequestParameters request;
    request.SetBody(c_String("abc"));
    EXPECT_EQ(Body(request), c_String("abc"));
    request.AppendBody("de", 2);
    request.AppendBody(c_String("f"));
    EXPECT_EQ(Body(request), c_String("abcdef"));
    request.SetBody("xy", 2);
    EXPECT_EQ(Body(request), c_String("xy"));
    c_ByteBuffer other;
    other.Append(c_String("other"));
    request.SwapBody(other);
    EXPECT_EQ(Body(request), c_String("other"));
    EXPECT_EQ(other.GetSize(), 2u);
}

TEST(c_HTTPRequestParameters, CopiesTakeTheUnreadBody) {
    c_HTTPRequestParameters request;
    request.m_Method = 2;
    request.m_URL = "http://a/";
    request.m_Headers[c_StringNoCase("X")] = "1";
    request.SetBody(c_String("skipbody"));
    request.m_Body.Consume(4);
    const c_HTTPRequestParameters copy(request);
    EXPECT_EQ(copy.m_Method, 2);
    EXPECT_EQ(copy.m_URL, c_String("http://a/"));
    EXPECT_EQ(copy.m_Headers.size(), 1u);
    EXPECT_EQ(Body(copy), c_String("body"));
    c_HTTPRequestParameters assigned;
    assigned = request;
    EXPECT_EQ(Body(assigned), c_String("body"));
    c_HTTPRequestParameters& self = assigned;
    assigned = self;
    EXPECT_EQ(Body(assigned), c_String("body"));
    EXPECT_EQ(assigned.m_URL, c_String("http://a/"));
}

} // namespace
