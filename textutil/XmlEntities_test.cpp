// Tests of XML entity encoding and decoding.

#include "textutil/XmlEntities.h"

#include "strings/Memory.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

namespace {

TEST(XmlEntities, EncodeAndDecode) {
    const struct {
        const char* m_Plain;
        const char* m_Encoded;
    } cases[] = {
        {"a<b & c>d", "a&lt;b &amp; c&gt;d"},
        {"say \"it's\"", "say &quot;it&apos;s&quot;"},
        {"plain", "plain"},
        {"", ""},
        {"&lt;", "&amp;lt;"},
    };
    for (const auto& test : cases) {
        c_String text(test.m_Plain);
        EXPECT_TRUE(XmlEncodeEntities(text));
        EXPECT_EQ(ToStd(text), test.m_Encoded);
        XmlDecodeEntities(text);
        EXPECT_EQ(ToStd(text), test.m_Plain);
    }
}

TEST(XmlEntities, DecodeLeavesUnknownAndCutEntities) {
    const struct {
        const char* m_Text;
        const char* m_Decoded;
    } cases[] = {
        {"&amp;lt;", "&lt;"}, {"&nbsp;", "&nbsp;"}, {"a &lt", "a &lt"}, {"&&gt;;", "&>;"}, {"&", "&"},
    };
    for (const auto& test : cases) {
        c_String text(test.m_Text);
        XmlDecodeEntities(text);
        EXPECT_EQ(ToStd(text), test.m_Decoded) << test.m_Text;
    }
}

TEST(XmlEntities, EncodeFailureLeavesTextUnchanged) {
    c_String longer("0123456789012345678901234567 <");
    n_Memory::FailNthAllocation(1);
    EXPECT_FALSE(XmlEncodeEntities(longer));
    EXPECT_EQ(ToStd(longer), "0123456789012345678901234567 <");
    n_Memory::FailNthAllocation(0);
}

} // namespace
