#pragma once
// ResolveURLReference: a URI reference resolved against a base URI, as RFC 3986 section 5.2 says
// (strict parser, dot segments removed), for the "Location" of redirects (RFC 9110 section 10.2.2).
//
//   URI-reference = [ scheme ":" ] [ "//" authority ] path [ "?" query ] [ "#" fragment ]
//   scheme        = 1*( any byte but ":" "/" "?" "#" )               ; Appendix B's split
//   authority     = *( any byte but "/" "?" "#" )
//   path          = *( any byte but "?" "#" )
//
// The split takes any text and never fails; whether the result is a URL the client can request is
// for its caller to check.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

c_String ResolveURLReference(const c_StringView& base, const c_StringView& reference);

// Section 5.2.4: "." and ".." segments removed from a path.
c_String RemoveDotSegments(const c_StringView& path);
