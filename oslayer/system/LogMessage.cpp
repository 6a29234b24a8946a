// LogMessage: hands each line to the sink set by the application.

#include "oslayer/system/LogMessage.h"

#include <atomic>

namespace {

std::atomic<t_LogSink> g_LogSink{nullptr};

} // namespace

void LogMessage(const c_StringView& line) {
    const t_LogSink sink = g_LogSink.load(std::memory_order_acquire);
    if (sink != nullptr) {
        sink(line);
    }
}

t_LogSink SetLogSink(t_LogSink sink) {
    return g_LogSink.exchange(sink, std::memory_order_acq_rel);
}
