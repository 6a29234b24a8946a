// Fuzz target: the header value list split, the unquoting and the proxy challenge parse on any text.
// Parts are trimmed pieces of the text in order, a text with anything but blanks has at least one,
// unquoted values hold only bytes 1-127 and never grow, and the parse finds a challenge exactly when
// a part starts with "Basic" and a blank.

#include "fuzz/FuzzInput.h"
#include "protocols/http/HTTPHeaderValues.h"
#include "protocols/http/c_HTTPResponse.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

void CheckUnquoted(const c_StringView& text) {
    const c_String value = UnquoteHeaderValue(text);
    FUZZ_CHECK(value.GetLength() <= text.GetLength());
    for (char c : value) {
        FUZZ_CHECK(c >= 1 && c <= 127);
    }
}

// Whether some part is a Basic challenge.
bool CheckParts(const c_StringView& text) {
    const std::vector<c_StringView> parts = SplitHeaderValue(text);
    FUZZ_CHECK(parts.empty() == text.Trimmed().IsEmpty());
    const char* previousEnd = text.begin();
    bool basic = false;
    for (const c_StringView& part : parts) {
        FUZZ_CHECK(part.IsEmpty() || (part.begin() >= previousEnd && part.end() <= text.end()));
        FUZZ_CHECK(part.IsEmpty() || (!IsBlank(*part.begin()) && !IsBlank(part.end()[-1])));
        previousEnd = part.IsEmpty() ? previousEnd : part.end();
        CheckUnquoted(part);
        basic = basic || c_StringViewNoCase(part).StartsWith("Basic ");
    }
    return basic;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 16) {
        return 0;
    }
    const c_StringView text(reinterpret_cast<const char*>(data), int(size));
    const bool basic = CheckParts(text);
    c_HTTPResponse response(nullptr, 1);
    response.GetHeaderValue("Proxy-Authenticate") = text;
    c_String error;
    c_String realm;
    const bool found = response.ParseProxyAuthenticate(error, realm);
    FUZZ_CHECK(found == basic);
    FUZZ_CHECK(found == error.IsEmpty());
    FUZZ_CHECK(realm.GetLength() <= text.GetLength());
    return 0;
}
