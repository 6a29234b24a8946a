// LogTimerException: the timer-exception line.

#include "oslayer/threads/LogTimerException.h"

#include "oslayer/system/LogMessage.h"
#include "oslayer/threads/c_TimerNew.h"

void LogTimerException(c_TimerNew* timer) {
    c_String line("Warning: Caught an exception during the processing of a timer event.");
    if (timer != nullptr && !timer->GetName().IsEmpty()) {
        line.Append("  Source: ").Append(timer->GetName());
    }
    LogMessage(line);
}
