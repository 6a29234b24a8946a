#pragma once
// Monitors and window placement: work areas, rectangles kept on or centred on a monitor, windows
// sized as a fraction of the screen and windows moved back onto a monitor.

#include <windows.h>

// The monitor at the point; null when none is there.
HMONITOR GetMonitorAtPoint(POINT point);
// The work area of the monitor at the point; an empty rectangle when none is there.
RECT GetWorkAreaAtPoint(POINT point);

// Shifts the rectangle, keeping its size, into the work area of its monitor (or the nearest one):
// left and top edges first, so a rectangle larger than the work area stays at its left or top.
void ClampRectToWorkArea(RECT& rect);
// Clamps, then centres the rectangle in the work area at its centre.
void CenterRectOnMonitor(RECT& rect);
// A rectangle of the fraction (0.2 for 0 or less, at most 1) of the reference window's work area, or
// of the full-screen size without one, at that area's corner, or centred in it.
void ComputeWindowRectOnMonitor(RECT& rect, double fraction, bool center, HWND reference);
// Centres a window that lies on no monitor in the nearest monitor's work area.
void MoveWindowOntoMonitor(HWND window);
