#pragma once
// n_OSLayer window placement: reading and restoring placements, the process-wide offsets, the
// placement marker and the placement's text.
//
// The adjusted readers set the placement marker, bit 31 of flags, to say that rcNormalPosition
// holds the frame's screen coordinates; restoring a placement honours it
// (c_WindowWrapper::RestoreWindowPlacement).

#include "strings/c_String.h"

#include <windows.h>

#include <cstdint>

namespace n_OSLayer {

constexpr UINT PLACEMENT_MARKER = 0x80000000;

std::int32_t GetRectWidth(const RECT& rect);
std::int32_t GetRectHeight(const RECT& rect);

// Sets length to 44. With the offsets enabled it reads as GetWindowPlacementAdjusted; otherwise
// it is the system's placement. False for a null record.
bool GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement, bool keepNormalPosition);
// The system's placement with flags set to the marker alone. Unless keepNormalPosition, a window
// that is not minimized gets its frame (GetWindowRect) as rcNormalPosition, and a minimized one has
// the positive offsets added to its normal rectangle. The caller sets length.
bool GetWindowPlacementAdjusted(HWND window, WINDOWPLACEMENT* placement, bool keepNormalPosition);
bool SetWindowPlacement(HWND window, const WINDOWPLACEMENT* placement);
// A copy with flags set to WPF_SETMINPOSITION alone; false for a null window.
bool SetWindowPlacementDirect(HWND window, const WINDOWPLACEMENT* placement);
// The first argument is the top offset. The values stay until set again.
void SetWindowPlacementOffsets(std::int32_t topOffset, std::int32_t leftOffset, bool enable);

// "WINDOWPLACEMENT { length: 44 | flags: 0 | showCmd: 0 | ptMinPosition: {0, 0} | ptMaxPosition:
// {0, 0} | rcNormalPosition: { {0, 0}, {0, 0} } }", with length, flags and showCmd unsigned.
c_String WindowPlacementToText(const WINDOWPLACEMENT& placement);

} // namespace n_OSLayer
