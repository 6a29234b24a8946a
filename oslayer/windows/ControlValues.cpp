// Numbers in control texts over the window-text wrappers and the number conversions.

#include "oslayer/windows/ControlValues.h"

#include "oslayer/windows/ControlHandle.h"
#include "oslayer/windows/WindowState.h"
#include "textutil/DoubleFormatting.h"
#include "textutil/NumberFormatting.h"
#include "textutil/NumberParsing.h"

namespace {

c_String GetText(CWnd* control) {
    return n_OSLayer::GetWindowText(GetControlHandle(control));
}

void SetText(CWnd* control, const c_String& text) {
    n_OSLayer::SetWindowText(GetControlHandle(control), text);
}

bool IsBlank(const c_String& text) {
    return text.GetTrimmedView().IsEmpty();
}

} // namespace

void SetControlInt(CWnd* control, std::int32_t value) {
    SetText(control, ToString(static_cast<int>(value)));
}

void SetControlUInt32(CWnd* control, std::uint32_t value) {
    SetText(control, ToString(static_cast<unsigned int>(value)));
}

void SetControlInt64(CWnd* control, std::int64_t value) {
    SetText(control, ToString(static_cast<long long>(value)));
}

void SetControlUInt64(CWnd* control, std::uint64_t value) {
    SetText(control, ToString(static_cast<unsigned long long>(value)));
}

void SetControlDouble(CWnd* control, double value) {
    SetText(control, ToString(value));
}

void SetControlFloat(CWnd* control, float value) {
    SetText(control, ToString(value));
}

void SetWindowInt(HWND window, std::int32_t value) {
    n_OSLayer::SetWindowText(window, ToString(static_cast<int>(value)));
}

void SetWindowInt64(HWND window, std::int64_t value) {
    n_OSLayer::SetWindowText(window, ToString(static_cast<long long>(value)));
}

void SetWindowDouble(HWND window, double value) {
    n_OSLayer::SetWindowText(window, ToString(value));
}

std::int32_t GetControlInt(CWnd* control) {
    return ParseInt32(GetText(control));
}

std::int32_t GetControlIntOrDefault(CWnd* control, std::int32_t defaultValue) {
    const c_String text = GetText(control);
    return IsBlank(text) ? defaultValue : ParseInt32(text);
}

double GetControlDouble(CWnd* control) {
    return ParseDouble(GetText(control));
}

void GetControlDouble(CWnd* control, double* value) {
    if (value != nullptr) {
        *value = GetControlDouble(control);
    }
}

float GetControlFloat(CWnd* control) {
    return static_cast<float>(GetControlDouble(control));
}

float GetControlFloatOrDefault(CWnd* control, float defaultValue) {
    const c_String text = GetText(control);
    return IsBlank(text) ? defaultValue : static_cast<float>(ParseDouble(text));
}
