#pragma once
// c_XvfbDisplay: a virtual X server of the test's own, started by PID on a display number that the
// server picks itself (-displayfd), stopped when the object goes; DISPLAY names it meanwhile.

#include <string>
#include <vector>

#include <sys/types.h>

namespace n_Platform {

class c_XvfbDisplay {
public:
    c_XvfbDisplay();
    ~c_XvfbDisplay();
    c_XvfbDisplay(const c_XvfbDisplay&) = delete;
    c_XvfbDisplay& operator=(const c_XvfbDisplay&) = delete;

    bool IsRunning() const { return m_Server > 0 && m_Problem.empty(); }
    // Why the server is not running.
    const std::string& GetProblem() const { return m_Problem; }
    // ":N".
    const std::string& GetName() const { return m_Name; }

    // Runs an X client (xdotool ...) on the display to its end; whether it succeeded.
    bool RunClient(const std::vector<std::string>& arguments) const;

private:
    void Start();

    pid_t m_Server = -1;
    std::string m_Name;
    std::string m_Problem;
};

} // namespace n_Platform
