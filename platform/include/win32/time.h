#pragma once
// Clocks and times: tick counts, the performance counter, the system time and FILETIME conversions.

#include "win32/types.h"

// 100-nanosecond intervals since 1601-01-01 00:00 UTC.
struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};
typedef FILETIME* LPFILETIME;

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};
typedef SYSTEMTIME* LPSYSTEMTIME;

union LARGE_INTEGER {
    struct {
        DWORD LowPart;
        LONG HighPart;
    } u;
    LONGLONG QuadPart;
};

static_assert(sizeof(FILETIME) == 8, "FILETIME is 8 bytes");
static_assert(sizeof(SYSTEMTIME) == 16, "SYSTEMTIME is 16 bytes");
static_assert(sizeof(LARGE_INTEGER) == 8, "LARGE_INTEGER is 8 bytes");

// Only the current zone (a null pointer) is supported.
struct TIME_ZONE_INFORMATION;

// Milliseconds since boot, counting time spent suspended.
ULONGLONG WINAPI GetTickCount64();
DWORD WINAPI GetTickCount();
// A monotonic counter at 10 MHz.
BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency);

VOID WINAPI GetSystemTimePreciseAsFileTime(LPFILETIME time);
VOID WINAPI GetSystemTimeAsFileTime(LPFILETIME time);
VOID WINAPI GetSystemTime(LPSYSTEMTIME time);
VOID WINAPI GetLocalTime(LPSYSTEMTIME time);
BOOL WINAPI FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime);
BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime);
BOOL WINAPI SystemTimeToTzSpecificLocalTime(const TIME_ZONE_INFORMATION* zone, const SYSTEMTIME* universal,
                                            LPSYSTEMTIME local);

// Read from the kernel's clock discipline: the increment is the kernel tick, the adjustment that
// tick corrected by the frequency offset in effect, and the adjustment is disabled while no
// frequency offset is in effect. Setting the clock or its adjustment is not offered.
BOOL WINAPI GetSystemTimeAdjustment(LPDWORD timeAdjustment, LPDWORD timeIncrement, LPBOOL timeAdjustmentDisabled);
