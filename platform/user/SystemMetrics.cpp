// GetSystemMetrics: the sizes of a 96-DPI screen, and the screen's own from its monitors.

#include "platform/user/Monitors.h"

namespace {

constexpr int CAPTION_HEIGHT = 23;

struct s_FixedMetric {
    int m_Index;
    int m_Value;
};

constexpr s_FixedMetric FIXED_METRICS[] = {
    {SM_CXVSCROLL, 17},
    {SM_CYHSCROLL, 17},
    {SM_CYCAPTION, CAPTION_HEIGHT},
    {SM_CXBORDER, 1},
    {SM_CYBORDER, 1},
    {SM_CXDLGFRAME, 3},
    {SM_CYDLGFRAME, 3},
    {SM_CYVTHUMB, 17},
    {SM_CXHTHUMB, 17},
    {SM_CXICON, 32},
    {SM_CYICON, 32},
    {SM_CXCURSOR, 32},
    {SM_CYCURSOR, 32},
    {SM_CYMENU, 20},
    {SM_CYVSCROLL, 17},
    {SM_CXHSCROLL, 17},
    {SM_MOUSEPRESENT, 0},
    {SM_SWAPBUTTON, 0},
    {SM_CXMIN, 136},
    {SM_CYMIN, 39},
    {SM_CXSIZE, 36},
    {SM_CYSIZE, 22},
    {SM_CXFRAME, 4},
    {SM_CYFRAME, 4},
    {SM_CXDOUBLECLK, 4},
    {SM_CYDOUBLECLK, 4},
    {SM_CXEDGE, 2},
    {SM_CYEDGE, 2},
    {SM_CXSMICON, 16},
    {SM_CYSMICON, 16},
    {SM_SAMEDISPLAYFORMAT, 1},
};

// The metrics that follow the monitors; false for other indexes.
bool FindScreenMetric(int index, int& value) {
    const std::vector<n_Platform::s_Monitor> monitors = n_Platform::GetMonitors();
    const RECT screen = monitors.front().m_Rect;
    const RECT work = monitors.front().m_WorkArea;
    const RECT virtualScreen = n_Platform::GetVirtualScreen();
    switch (index) {
        case SM_CXSCREEN:
            value = screen.right - screen.left;
            return true;
        case SM_CYSCREEN:
            value = screen.bottom - screen.top;
            return true;
        case SM_CXFULLSCREEN:
        case SM_CXMAXIMIZED:
            value = work.right - work.left;
            return true;
        case SM_CYFULLSCREEN:
            value = work.bottom - work.top - CAPTION_HEIGHT;
            return true;
        case SM_CYMAXIMIZED:
            value = work.bottom - work.top;
            return true;
        case SM_XVIRTUALSCREEN:
            value = virtualScreen.left;
            return true;
        case SM_YVIRTUALSCREEN:
            value = virtualScreen.top;
            return true;
        case SM_CXVIRTUALSCREEN:
            value = virtualScreen.right - virtualScreen.left;
            return true;
        case SM_CYVIRTUALSCREEN:
            value = virtualScreen.bottom - virtualScreen.top;
            return true;
        case SM_CMONITORS:
            value = static_cast<int>(monitors.size());
            return true;
        default:
            return false;
    }
}

} // namespace

int WINAPI GetSystemMetrics(int index) {
    for (const s_FixedMetric& metric : FIXED_METRICS) {
        if (metric.m_Index == index) {
            return metric.m_Value;
        }
    }
    int value = 0;
    return FindScreenMetric(index, value) ? value : 0;
}
