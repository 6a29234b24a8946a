#pragma once
// Test helper: the lines handed to LogMessage while the recorder lives, in order; the sink that was
// set before comes back afterwards.

#include "oslayer/system/LogMessage.h"
#include "strings/c_StringView.h"

#include <mutex>
#include <string>
#include <vector>

class c_LogRecorder {
public:
    c_LogRecorder() {
        std::lock_guard<std::mutex> lock(GetLock());
        GetLines().clear();
        m_Previous = SetLogSink(&Record);
    }
    ~c_LogRecorder() { SetLogSink(m_Previous); }
    c_LogRecorder(const c_LogRecorder&) = delete;
    c_LogRecorder& operator=(const c_LogRecorder&) = delete;

    // The lines so far, which the recorder then forgets.
    std::vector<std::string> TakeLines() {
        std::lock_guard<std::mutex> lock(GetLock());
        std::vector<std::string> lines;
        lines.swap(GetLines());
        return lines;
    }

private:
    static std::mutex& GetLock() {
        static std::mutex lock;
        return lock;
    }
    static std::vector<std::string>& GetLines() {
        static std::vector<std::string> lines;
        return lines;
    }
    static void Record(const c_StringView& line) {
        std::lock_guard<std::mutex> lock(GetLock());
        GetLines().emplace_back(line.begin(), line.end());
    }

    t_LogSink m_Previous = nullptr;
};
