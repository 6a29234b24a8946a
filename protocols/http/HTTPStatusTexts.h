#pragma once
// The decimal text and the reason phrase of an HTTP status code (the phrases of RFC 7231 section 6.1).

#include "strings/c_String.h"

#include <cstdint>

c_String GetHTTPStatusCodeText(std::int32_t code);
// Empty for a code that the table does not list.
c_String GetHTTPStatusReasonPhrase(std::int32_t code);
