#pragma once
// GetRedirectTarget: where a redirect may lead. The "Location" is resolved against the request's URL
// (RFC 3986 section 5), and the follow-up is refused when the chain is long enough to be a loop, when
// the target is not an http or https URL the client can request, and when it would take an https
// request to plain http, where its data could be read on the way.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

#include <cstdint>

constexpr std::int32_t MAX_REDIRECTS = 10;

// redirectCount: redirects already followed in the chain. False with the error when the redirect must
// not be followed; target is then empty.
bool GetRedirectTarget(const c_StringView& requestURL, const c_StringView& location, std::int32_t redirectCount,
                       c_String& target, c_String& error);
