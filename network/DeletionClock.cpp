// The clock of the delayed deletion's time stamps.

#include "network/DeletionClock.h"

#include "textutil/c_DateTime.h"

#include <atomic>

namespace {

std::int64_t ReadCalendarClock() {
    return GetCurrentDateTimeUTC().GetValue();
}

std::atomic<t_DeletionClock> g_DeletionClock{&ReadCalendarClock};

} // namespace

std::int64_t ReadDeletionClock() {
    return g_DeletionClock.load(std::memory_order_acquire)();
}

t_DeletionClock SetDeletionClock(t_DeletionClock clock) {
    return g_DeletionClock.exchange(clock != nullptr ? clock : &ReadCalendarClock, std::memory_order_acq_rel);
}
