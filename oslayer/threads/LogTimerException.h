#pragma once
// LogTimerException: what the application stores in TimerExceptionHook at start-up.

class c_TimerNew;

// Logs "Warning: Caught an exception during the processing of a timer event.", followed by
// "  Source: " and the timer's name when it has one, as one line. It neither stops nor restarts the
// timer.
void LogTimerException(c_TimerNew* timer);
