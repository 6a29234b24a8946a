#pragma once
// Running a thread's message loop in tests until something has happened, within one real-time limit.

#include <windows.h>

#include <functional>

namespace n_Platform {

// How long a test waits, in real time, for something that should happen promptly before it fails:
// generous, for sanitizer builds on two busy cores; a passing test never waits it out.
constexpr DWORD PROMPTLY_MS = 30000;

// Dispatches the calling thread's messages until done() holds or PROMPTLY_MS of real time have
// passed; returns done(). It waits for input with no time-out, so it works on the test clock too.
bool PumpUntil(const std::function<bool()>& done);

// Checks done() again and again, yielding between checks, until it holds or PROMPTLY_MS of real time
// have passed; returns done(). For what another thread or process brings about without a message.
bool WaitUntil(const std::function<bool()>& done);

// WaitUntil that dispatches the calling thread's messages between checks: for what another process
// brings about while this thread's own events must go on (no message tells it when done() holds).
bool PumpAndWaitUntil(const std::function<bool()>& done);

// Dispatches every message that the calling thread has queued now, without waiting.
void PumpPending();

} // namespace n_Platform
