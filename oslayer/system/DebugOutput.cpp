// n_OSLayer::OutputDebugString over OutputDebugStringW, and debug lines.

#include "oslayer/system/DebugOutput.h"

#include "oslayer/system/TextConversion.h"

#include <windows.h>

namespace n_OSLayer {

void OutputDebugString(const c_StringView& text) {
    OutputDebugStringW(UTF8ToWide(text).GetBuffer());
}

} // namespace n_OSLayer

void WriteDebugLine(const c_StringView& text) {
    n_OSLayer::OutputDebugString(text);
    n_OSLayer::OutputDebugString("\r\n");
}
