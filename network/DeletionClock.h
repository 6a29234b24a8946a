#pragma once
// The clock of the delayed deletion's time stamps: UTC microseconds, replaceable by tests.

#include <cstdint>

using t_DeletionClock = std::int64_t (*)();

// Microseconds since 1899-12-30 UTC, or the test's reading.
std::int64_t ReadDeletionClock();
// Null restores the calendar clock; returns the clock it replaced.
t_DeletionClock SetDeletionClock(t_DeletionClock clock);
