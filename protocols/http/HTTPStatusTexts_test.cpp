// Tests of the status code texts and reason phrases.

#include "protocols/http/HTTPStatusTexts.h"

#include <gtest/gtest.h>

namespace {

TEST(GetHTTPStatusReasonPhrase, GivesTheTablePhraseOrNothing) {
    const struct {
        std::int32_t m_Code;
        const char* m_Phrase;
    } rows[] = {
        {100, "Continue"},
        {101, "Switching Protocols"},
        {200, "OK"},
        {206, "Partial Content"},
        {302, "Found"},
        {307, "Temporary Redirect"},
        {407, "Proxy Authentication Required"},
        {426, "Upgrade Required"},
        {505, "HTTP Version Not Supported"},
        {0, ""},
        {306, ""},
        {418, ""},
        {-1, ""},
        {99, ""},
        {506, ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(GetHTTPStatusReasonPhrase(row.m_Code), c_String(row.m_Phrase)) << row.m_Code;
    }
}

TEST(GetHTTPStatusCodeText, IsTheDecimalCode) {
    EXPECT_EQ(GetHTTPStatusCodeText(404), c_String("404"));
    EXPECT_EQ(GetHTTPStatusCodeText(-7), c_String("-7"));
}

} // namespace
