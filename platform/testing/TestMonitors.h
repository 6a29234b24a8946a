#pragma once
// Test helper: the headless screen with monitors of the test's own, put back when the test ends.

#include "platform/user/Monitors.h"

#include <vector>

class c_TestMonitors {
public:
    // The first monitor is the primary one.
    explicit c_TestMonitors(std::vector<n_Platform::s_Monitor> monitors) : m_Old(n_Platform::GetMonitors()) {
        n_Platform::SetMonitors(std::move(monitors));
    }
    ~c_TestMonitors() { n_Platform::SetMonitors(m_Old); }
    c_TestMonitors(const c_TestMonitors&) = delete;
    c_TestMonitors& operator=(const c_TestMonitors&) = delete;

private:
    std::vector<n_Platform::s_Monitor> m_Old;
};
