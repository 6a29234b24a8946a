// c_ScopedTimeZone: the zone is the process's TZ setting, read again by the C library at once.

#include "platform/testing/c_ScopedTimeZone.h"

#include <cstdlib>
#include <ctime>

namespace n_Platform {

c_ScopedTimeZone::c_ScopedTimeZone(const char* zone) {
    const char* previous = std::getenv("TZ");
    m_HadZone = previous != nullptr;
    m_Previous = m_HadZone ? previous : "";
    setenv("TZ", zone, 1);
    tzset();
}

c_ScopedTimeZone::~c_ScopedTimeZone() {
    if (m_HadZone) {
        setenv("TZ", m_Previous.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

} // namespace n_Platform
