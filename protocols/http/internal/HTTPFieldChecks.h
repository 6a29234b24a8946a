#pragma once
// What may go onto the wire in a request's header block (RFC 9110 section 5): a field name is a
// token, and a value holds no control byte but the horizontal tab. Anything else could end a line
// early and smuggle a field or a second request.

#include "strings/c_StringView.h"

namespace n_HTTPFieldChecks {

// 1*tchar: letters, digits and !#$%&'*+-.^_`|~
bool IsFieldName(const c_StringView& name);
// No CR, LF, NUL, other control byte or DEL; tabs and bytes above 127 pass.
bool IsFieldValue(const c_StringView& value);

} // namespace n_HTTPFieldChecks
