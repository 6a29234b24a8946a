// GetSystemTimeAdjustment, read from the kernel's clock discipline without changing it.

#include "platform/kernel/LastError.h"

#include <windows.h>

#include <cerrno>
#include <sys/timex.h>

namespace {

constexpr long long HUNDRED_NANOSECONDS_PER_MICROSECOND = 10;
// timex.freq is in parts per million with a 16-bit fraction.
constexpr long long FREQUENCY_UNIT = 65536LL * 1000000LL;

} // namespace

BOOL WINAPI GetSystemTimeAdjustment(LPDWORD timeAdjustment, LPDWORD timeIncrement, LPBOOL timeAdjustmentDisabled) {
    if (timeAdjustment == nullptr || timeIncrement == nullptr || timeAdjustmentDisabled == nullptr) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    timex clock = {};
    // modes 0 only reads, which needs no privilege.
    if (adjtimex(&clock) == -1) {
        return n_Platform::FailWithErrno(FALSE, errno);
    }
    const long long increment = clock.tick * HUNDRED_NANOSECONDS_PER_MICROSECOND;
    *timeIncrement = static_cast<DWORD>(increment);
    *timeAdjustment = static_cast<DWORD>(increment + increment * clock.freq / FREQUENCY_UNIT);
    *timeAdjustmentDisabled = clock.freq == 0 ? TRUE : FALSE;
    return TRUE;
}
