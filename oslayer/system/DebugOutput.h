#pragma once
// n_OSLayer::OutputDebugString and WriteDebugLine: texts for the debugger, in UTF-8.

#include "strings/c_StringView.h"

namespace n_OSLayer {

// OutputDebugStringW of the text.
void OutputDebugString(const c_StringView& text);

} // namespace n_OSLayer

// The text, then "\r\n", as two debug outputs.
void WriteDebugLine(const c_StringView& text);
