// Tests of the proxy credentials check, the proxy record's switch and the "Proxy-Authorization" field.

#include "protocols/http/ProxyAuthorization.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr const char* USER_COLON = "The username must not contain a colon character.";
constexpr const char* USER_CONTROL = "The username must not contain any control characters.";
constexpr const char* PASSWORD_CONTROL = "The password must not contain any control characters.";

struct s_CredentialsCase {
    const char* m_Name;
    std::string m_Username;
    std::string m_Password;
    const char* m_Error;
};

const s_CredentialsCase CREDENTIALS_CASES[] = {
    {"Plain", "user", "secret", ""},
    {"Empty", "", "", ""},
    {"ColonInPassword", "user", "a:b", ""},
    {"UTF8InBoth", "j\xC3\xBCrgen", "gr\xC3\xBC\xC3\x9F", ""},
    {"SpaceAndTilde", "a b~", " ~", ""},
    {"ColonInUser", "dom:user", "x", USER_COLON},
    {"NulInUser", std::string("a\0b", 3), "x", USER_CONTROL},
    {"UnitSeparatorInUser", "a\x1F", "x", USER_CONTROL},
    {"DeleteInUser", "a\x7F", "x", USER_CONTROL},
    {"TabInPassword", "user", "a\tb", PASSWORD_CONTROL},
    {"DeleteInPassword", "user", "\x7F", PASSWORD_CONTROL},
    {"NulInPassword", "user", std::string("\0", 1), PASSWORD_CONTROL},
    {"FirstOffenceInUserDecides", "a\x01:", "x", USER_CONTROL},
    {"ColonBeforeControl", "a:\x01", "x", USER_COLON},
    {"UserBeforePassword", "a:", "\x01", USER_COLON},
};

c_String Text(const std::string& bytes) {
    return c_String(c_StringView(bytes.data(), static_cast<int>(bytes.size())));
}

class CheckProxyCredentialsCases : public testing::TestWithParam<s_CredentialsCase> {};

TEST_P(CheckProxyCredentialsCases, RefusesWhatBasicCannotCarry) {
    const s_CredentialsCase& row = GetParam();
    c_HTTPProxySettings settings;
    settings.m_Username = Text(row.m_Username);
    settings.m_Password = Text(row.m_Password);
    c_String error = "old";
    EXPECT_EQ(CheckProxyCredentials(settings, error), *row.m_Error == 0);
    EXPECT_EQ(error, c_String(row.m_Error));
}

INSTANTIATE_TEST_SUITE_P(Credentials, CheckProxyCredentialsCases, testing::ValuesIn(CREDENTIALS_CASES),
                         [](const testing::TestParamInfo<s_CredentialsCase>& info) {
                             return std::string(info.param.m_Name);
                         });

struct s_EnableCase {
    const char* m_Name;
    bool m_ViaProxy;
    bool m_Secure;
    const char* m_Error;
};

const s_EnableCase ENABLE_CASES[] = {
    {"SecureProxy", true, true, ""},
    {"PlainProxy", true, false,
     "Proxy authentication cannot be completed over a non-secure connection.  HTTPS is required."},
    {"SecureServer", false, true, "This is not a proxy connection."},
    {"PlainServer", false, false, "This is not a proxy connection."},
};

class EnableProxyAuthorizationCases : public testing::TestWithParam<s_EnableCase> {};

TEST_P(EnableProxyAuthorizationCases, OnlyForAProxyOverTLS) {
    const s_EnableCase& row = GetParam();
    c_HTTPConnectionInfo info;
    info.m_ViaProxy = row.m_ViaProxy;
    info.m_Secure = row.m_Secure;
    c_String error = "old";
    EXPECT_EQ(EnableProxyAuthorization(info, error), *row.m_Error == 0);
    EXPECT_EQ(info.m_UseProxyAuthorization, *row.m_Error == 0);
    EXPECT_EQ(error, c_String(row.m_Error));
}

INSTANTIATE_TEST_SUITE_P(Records, EnableProxyAuthorizationCases, testing::ValuesIn(ENABLE_CASES),
                         [](const testing::TestParamInfo<s_EnableCase>& info) {
                             return std::string(info.param.m_Name);
                         });

struct s_ValueCase {
    const char* m_Name;
    const char* m_Username;
    const char* m_Password;
    const char* m_Value;
};

// RFC 7617 section 2's example, then the empty pair, a colon in the password and UTF-8 bytes.
const s_ValueCase VALUE_CASES[] = {
    {"RFCExample", "Aladdin", "open sesame", "Basic QWxhZGRpbjpvcGVuIHNlc2FtZQ=="},
    {"Empty", "", "", "Basic Og=="},
    {"ColonInPassword", "u", "a:b", "Basic dTphOmI="},
    {"UTF8", "\xC3\xA9", "p", "Basic w6k6cA=="},
};

class GetProxyAuthorizationValueCases : public testing::TestWithParam<s_ValueCase> {};

TEST_P(GetProxyAuthorizationValueCases, EncodesUserColonPassword) {
    const s_ValueCase& row = GetParam();
    c_HTTPProxySettings settings;
    settings.m_Username = row.m_Username;
    settings.m_Password = row.m_Password;
    c_String value;
    c_String error = "old";
    EXPECT_TRUE(GetProxyAuthorizationValue(settings, value, error));
    EXPECT_EQ(value, c_String(row.m_Value));
    EXPECT_TRUE(error.IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Values, GetProxyAuthorizationValueCases, testing::ValuesIn(VALUE_CASES),
                         [](const testing::TestParamInfo<s_ValueCase>& info) {
                             return std::string(info.param.m_Name);
                         });

TEST(GetProxyAuthorizationValue, RefusedCredentialsGiveNoValue) {
    c_HTTPProxySettings settings;
    settings.m_Username = "dom:user";
    c_String value = "old";
    c_String error;
    EXPECT_FALSE(GetProxyAuthorizationValue(settings, value, error));
    EXPECT_TRUE(value.IsEmpty());
    EXPECT_EQ(error, c_String(USER_COLON));
}

struct s_AddCase {
    const char* m_Name;
    bool m_UseProxyAuthorization;
    bool m_Secure;
    const char* m_Username;
    const char* m_Existing; // null: the request has no field yet
    bool m_Result;
    const char* m_Field; // null: no field afterwards
};

const s_AddCase ADD_CASES[] = {
    {"Added", true, true, "Aladdin", nullptr, true, "Basic QWxhZGRpbjpvcGVuIHNlc2FtZQ=="},
    {"NotAskedFor", false, true, "Aladdin", nullptr, true, nullptr},
    {"NotAskedForOverPlain", false, false, "Aladdin", nullptr, true, nullptr},
    {"ExistingFieldKept", true, false, "Aladdin", "Basic old", true, "Basic old"},
    {"PlainConnection", true, false, "Aladdin", nullptr, false, nullptr},
    {"RefusedCredentials", true, true, "dom:user", nullptr, false, nullptr},
};

class AddProxyAuthorizationCases : public testing::TestWithParam<s_AddCase> {};

TEST_P(AddProxyAuthorizationCases, AddsTheFieldOnlyOverTLS) {
    const s_AddCase& row = GetParam();
    c_HTTPConnectionInfo info;
    info.m_ViaProxy = true;
    info.m_Secure = row.m_Secure;
    info.m_UseProxyAuthorization = row.m_UseProxyAuthorization;
    c_HTTPProxySettings settings;
    settings.m_Username = row.m_Username;
    settings.m_Password = "open sesame";
    t_HTTPHeaderMap headers;
    if (row.m_Existing != nullptr) {
        headers["proxy-authorization"] = row.m_Existing;
    }
    EXPECT_EQ(AddProxyAuthorization(info, settings, headers), row.m_Result);
    ASSERT_EQ(headers.size(), row.m_Field != nullptr ? 1u : 0u);
    if (row.m_Field != nullptr) {
        EXPECT_EQ(headers["Proxy-Authorization"], c_String(row.m_Field));
    }
}

INSTANTIATE_TEST_SUITE_P(Requests, AddProxyAuthorizationCases, testing::ValuesIn(ADD_CASES),
                         [](const testing::TestParamInfo<s_AddCase>& info) { return std::string(info.param.m_Name); });

} // namespace
