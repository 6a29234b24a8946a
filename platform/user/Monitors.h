#pragma once
// The monitors of the headless screen, which tests may replace.

#include <windows.h>

#include <vector>

namespace n_Platform {

struct s_Monitor {
    RECT m_Rect;
    RECT m_WorkArea;
};

// The first monitor is the primary one; the screen metrics follow it.
std::vector<s_Monitor> GetMonitors();
// Replaces the monitors (at least one); the handles of the old ones fail from then on.
void SetMonitors(std::vector<s_Monitor> monitors);
// The bounding rectangle of all monitors.
RECT GetVirtualScreen();

} // namespace n_Platform
