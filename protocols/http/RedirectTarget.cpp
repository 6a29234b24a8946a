// GetRedirectTarget.

#include "protocols/http/RedirectTarget.h"

#include "protocols/http/HTTPTexts.h"
#include "protocols/http/URLReference.h"
#include "protocols/http/c_HTTPURLParts.h"

namespace {

constexpr const char* TOO_MANY_TEXT = "Too many redirects.";
constexpr const char* SCHEME_TEXT =
    "Unable to follow a redirect response because the location is not a valid HTTP or HTTPS URL.";
constexpr const char* DOWNGRADE_TEXT =
    "Unable to follow a redirect response because it leads from an HTTPS URL to an HTTP URL.";

bool IsHTTPOrHTTPS(const c_HTTPURLParts& parts) {
    const s_HTTPTexts& texts = GetHTTPTexts();
    return parts.IsValid() && (parts.GetScheme() == texts.m_HTTP || parts.GetScheme() == texts.m_HTTPS);
}

bool IsSecure(const c_StringView& url) {
    return ParseURL(url).GetScheme() == GetHTTPTexts().m_HTTPS;
}

} // namespace

bool GetRedirectTarget(const c_StringView& requestURL, const c_StringView& location, std::int32_t redirectCount,
                       c_String& target, c_String& error) {
    target.Clear();
    error.Clear();
    if (redirectCount >= MAX_REDIRECTS) {
        error = TOO_MANY_TEXT;
        return false;
    }
    c_String resolved = ResolveURLReference(requestURL, location);
    if (!IsHTTPOrHTTPS(ParseURL(resolved))) {
        error = SCHEME_TEXT;
        return false;
    }
    if (IsSecure(requestURL) && !IsSecure(resolved)) {
        error = DOWNGRADE_TEXT;
        return false;
    }
    target = static_cast<c_String&&>(resolved);
    return true;
}
