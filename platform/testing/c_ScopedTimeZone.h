#pragma once
// A time zone for the process while a test runs: local times follow it, and the zone that was
// there before comes back at the end.

#include <string>

namespace n_Platform {

class c_ScopedTimeZone {
public:
    // A zone by name ("Asia/Tokyo") or rule ("EST5", offset west of Greenwich).
    explicit c_ScopedTimeZone(const char* zone);
    ~c_ScopedTimeZone();
    c_ScopedTimeZone(const c_ScopedTimeZone&) = delete;
    c_ScopedTimeZone& operator=(const c_ScopedTimeZone&) = delete;

private:
    bool m_HadZone = false;
    std::string m_Previous;
};

} // namespace n_Platform
