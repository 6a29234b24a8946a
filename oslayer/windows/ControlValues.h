#pragma once
// Numbers in control texts: written as decimal text, read back with the number parsers.
//
// A control is its CWnd; a null one stands for no window, so setters change nothing and getters read
// the empty text.

#include <afxwin.h>

#include <cstdint>

void SetControlInt(CWnd* control, std::int32_t value);
void SetControlUInt32(CWnd* control, std::uint32_t value);
void SetControlInt64(CWnd* control, std::int64_t value);
void SetControlUInt64(CWnd* control, std::uint64_t value);
// Integral values without decimals, others in their shortest form.
void SetControlDouble(CWnd* control, double value);
void SetControlFloat(CWnd* control, float value);
void SetWindowInt(HWND window, std::int32_t value);
void SetWindowInt64(HWND window, std::int64_t value);
void SetWindowDouble(HWND window, double value);

// Leading blanks skipped, digits up to the first other character, clamped; 0 for no number.
std::int32_t GetControlInt(CWnd* control);
// The default for an empty or blank text.
std::int32_t GetControlIntOrDefault(CWnd* control, std::int32_t defaultValue);
double GetControlDouble(CWnd* control);
void GetControlDouble(CWnd* control, double* value);
float GetControlFloat(CWnd* control);
float GetControlFloatOrDefault(CWnd* control, float defaultValue);
