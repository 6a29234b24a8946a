// Test helper: a running network core for one test.

#include "network/testing/c_CoreSession.h"

#include "platform/testing/PumpUntil.h"

#include <algorithm>

std::mutex c_CoreSession::s_Lock;
std::vector<std::string> c_CoreSession::s_Lines;
std::atomic<c_AsyncWindow*> c_CoreSession::s_p_Wake{nullptr};

c_CoreSession::c_CoreSession() {
    c_AsyncWindow::Initialize(GetModuleHandleW(nullptr));
    m_Wake.CreateAsyncWindow();
    {
        std::lock_guard<std::mutex> lock(s_Lock);
        s_Lines.clear();
    }
    s_p_Wake.store(&m_Wake);
    m_PreviousSink = SetLogSink(&RecordLine);
    c_NetworkSocketCore::CreateNetworkSocketCore(&m_Settings);
}

c_CoreSession::~c_CoreSession() {
    Stop();
    SetLogSink(m_PreviousSink);
    s_p_Wake.store(nullptr);
    m_Wake.DestroyAsyncWindow();
    c_AsyncWindow::Uninitialize();
}

void c_CoreSession::Stop() {
    c_NetworkSocketCore::DestroyNetworkSocketCore();
}

void c_CoreSession::RecordLine(const c_StringView& line) {
    {
        std::lock_guard<std::mutex> lock(s_Lock);
        s_Lines.emplace_back(line.begin(), line.end());
    }
    if (c_AsyncWindow* wake = s_p_Wake.load()) {
        wake->PostMessage(WM_USER + 100, 0, 0);
    }
}

bool c_CoreSession::HasLine(const std::string& line) const {
    std::lock_guard<std::mutex> lock(s_Lock);
    return std::find(s_Lines.begin(), s_Lines.end(), line) != s_Lines.end();
}

bool c_CoreSession::HasLineStartingWith(const std::string& start) const {
    return CountLinesStartingWith(start) > 0;
}

std::size_t c_CoreSession::CountLinesStartingWith(const std::string& start) const {
    std::lock_guard<std::mutex> lock(s_Lock);
    return static_cast<std::size_t>(std::count_if(s_Lines.begin(), s_Lines.end(), [&](const std::string& line) {
        return line.compare(0, start.size(), start) == 0;
    }));
}

bool c_CoreSession::HasLineContaining(const std::string& part) const {
    std::lock_guard<std::mutex> lock(s_Lock);
    return std::any_of(s_Lines.begin(), s_Lines.end(),
                       [&](const std::string& line) { return line.find(part) != std::string::npos; });
}

bool c_CoreSession::HasLinesInOrder(const std::vector<std::string>& lines) const {
    std::lock_guard<std::mutex> lock(s_Lock);
    auto position = s_Lines.begin();
    for (const std::string& line : lines) {
        position = std::find(position, s_Lines.end(), line);
        if (position == s_Lines.end()) {
            return false;
        }
        ++position;
    }
    return true;
}

bool c_CoreSession::WaitForLine(const std::string& line) const {
    return n_Platform::PumpUntil([&] { return HasLine(line); });
}
