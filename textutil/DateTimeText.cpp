// Date-time texts: the flag-driven formatter, the fixed forms, timestamps and durations.

#include "textutil/DateTimeText.h"

#include "textutil/CalendarTables.h"
#include "textutil/DoubleFormatting.h"
#include "textutil/NumberFormatting.h"
#include "textutil/internal/c_ShortText.h"

#include <cstddef>
#include <ctime>

namespace {

namespace n_Flags = n_DateTimeFlags;

struct s_Parts {
    int m_Year = 0;
    int m_Month = 0;
    int m_Day = 0;
    int m_Hour = 0;
    int m_Minute = 0;
    int m_Second = 0;
    // Microseconds; 0 unless the split was exact.
    int m_Fraction = 0;
};

s_Parts SplitToMilliseconds(c_DateTime value) {
    s_Parts p;
    int millisecond = 0;
    value.GetDateTimeParts(p.m_Year, p.m_Month, p.m_Day, p.m_Hour, p.m_Minute, p.m_Second, millisecond);
    return p;
}

s_Parts SplitExactly(c_DateTime value) {
    s_Parts p;
    value.GetDateTimePartsMicro(p.m_Year, p.m_Month, p.m_Day, p.m_Hour, p.m_Minute, p.m_Second, p.m_Fraction);
    return p;
}

c_String ToText(const c_ShortText& text) {
    c_String out;
    text.AssignTo(out);
    return out;
}

bool Has(std::uint32_t flags, std::uint32_t bits) {
    return (flags & bits) != 0;
}

// The weekday of the date actually printed, which rounding may have moved to the next day.
void AppendWeekday(const s_Parts& p, c_ShortText& text) {
    const int dayNumber = c_DateTime::GetDayNumber(p.m_Year, p.m_Month, p.m_Day);
    text.Append(c_DateTime::GetDayName(c_DateTime::GetDayOfWeekOfDayNumber(dayNumber)));
    text.Append(' ');
}

void AppendDate(const s_Parts& p, std::uint32_t flags, c_ShortText& text) {
    if (Has(flags, n_Flags::WEEKDAY)) {
        AppendWeekday(p, text);
    }
    if (Has(flags, n_Flags::DAY_MONTH_NAME_YEAR)) {
        text.AppendNumber(p.m_Day, 0);
        text.Append(n_Calendar::MONTH_NAMES[p.m_Month]);
        text.AppendNumber(p.m_Year % 100, 2);
        return;
    }
    const int padding = Has(flags, n_Flags::UNPADDED_MONTH_AND_DAY) ? 0 : 2;
    bool fieldWritten = false;
    if (Has(flags, n_Flags::YEAR)) {
        text.AppendNumber(p.m_Year, 0);
        fieldWritten = true;
    }
    if (Has(flags, n_Flags::MONTH)) {
        if (fieldWritten) {
            text.Append('-');
        }
        text.AppendNumber(p.m_Month, padding);
        fieldWritten = true;
    }
    if (Has(flags, n_Flags::DAY)) {
        if (fieldWritten) {
            text.Append('-');
        }
        text.AppendNumber(p.m_Day, fieldWritten ? padding : 0);
    }
}

void AppendTime(const s_Parts& p, std::uint32_t flags, bool negativeSpan, c_ShortText& text) {
    if (!text.IsEmpty()) {
        text.Append(Has(flags, n_Flags::ONE_BLANK) ? " " : "  ");
    }
    if (negativeSpan) {
        text.Append('-');
    } else if (Has(flags, n_Flags::PLUS_SIGN)) {
        text.Append('+');
    }
    bool fieldWritten = false;
    if (Has(flags, n_Flags::HOUR)) {
        text.AppendNumber(p.m_Hour, Has(flags, n_Flags::UNPADDED_HOUR) ? 0 : 2);
        fieldWritten = true;
    }
    if (Has(flags, n_Flags::MINUTE)) {
        if (fieldWritten) {
            text.Append(':');
        }
        text.AppendNumber(p.m_Minute, 2);
        fieldWritten = true;
    }
    const bool fraction = Has(flags, n_Flags::MILLISECONDS | n_Flags::MICROSECONDS);
    const bool omitSeconds = Has(flags, n_Flags::OMIT_ZERO_SECONDS) && p.m_Second == 0 && !fraction;
    if (Has(flags, n_Flags::SECOND) && !omitSeconds) {
        if (fieldWritten) {
            text.Append(':');
        }
        text.AppendNumber(p.m_Second, 2);
    }
}

void AppendFraction(int fraction, std::uint32_t flags, c_ShortText& text) {
    if (fraction == 0 && Has(flags, n_Flags::OMIT_ZERO_FRACTION)) {
        return;
    }
    if (Has(flags, n_Flags::MILLISECONDS)) {
        text.Append('.');
        text.AppendNumber(fraction / 1000, 3);
    } else if (Has(flags, n_Flags::MICROSECONDS)) {
        text.Append('.');
        text.AppendNumber(fraction, 6);
    }
}

void AppendElapsedHours(c_DateTime span, c_ShortText& text) {
    if (span.IsNegative()) {
        text.Append('-');
        span = span.Abs();
    }
    int hour = 0;
    int minute = 0;
    int second = 0;
    span.GetTimeOfDayParts(hour, minute, second);
    text.AppendNumber(hour + std::int64_t(span.GetDayNumber()) * 24, 2);
    text.Append(':');
    text.AppendNumber(minute, 2);
    text.Append(':');
    text.AppendNumber(second, 2);
}

void AppendDateTime(c_DateTime value, std::uint32_t flags, c_ShortText& text) {
    if (value.IsZero() && !Has(flags, n_Flags::TIME)) {
        return;
    }
    if (Has(flags, n_Flags::ELAPSED_HOURS)) {
        AppendElapsedHours(value, text);
        return;
    }
    const bool negativeSpan = value.IsNegative() && value.IsAboveMinusOneDay();
    if (negativeSpan) {
        value = value.Abs();
    }
    const bool fraction = Has(flags, n_Flags::MILLISECONDS | n_Flags::MICROSECONDS);
    const s_Parts parts = fraction ? SplitExactly(value) : SplitToMilliseconds(value);
    if (value.GetDayNumber() != 0) {
        AppendDate(parts, flags, text);
    }
    if (Has(flags, n_Flags::TIME)) {
        AppendTime(parts, flags, negativeSpan, text);
    }
    AppendFraction(parts.m_Fraction, flags, text);
}

c_String FormatWithFlags(c_DateTime value, std::uint32_t flags) {
    c_String out;
    FormatDateTime(value, flags, out);
    return out;
}

c_String TimestampText(c_DateTime value, bool microseconds) {
    const s_Parts p = SplitExactly(value);
    c_ShortText text;
    text.AppendNumber(p.m_Year, 0);
    text.AppendNumber(p.m_Month, 2);
    text.AppendNumber(p.m_Day, 2);
    text.Append('-');
    text.AppendNumber(p.m_Hour, 2);
    text.Append(':');
    text.AppendNumber(p.m_Minute, 2);
    text.Append(':');
    text.AppendNumber(p.m_Second, 2);
    text.Append('.');
    if (microseconds) {
        text.AppendNumber(p.m_Fraction, 6);
    } else {
        text.AppendNumber(p.m_Fraction / 1000, 3);
    }
    return ToText(text);
}

} // namespace

void FormatDateTime(c_DateTime value, std::uint32_t flags, c_String& out) {
    c_ShortText text;
    AppendDateTime(value, flags, text);
    text.AssignTo(out);
}

c_String DateTimeToString(c_DateTime value) {
    return FormatWithFlags(value, n_Flags::DATE | n_Flags::TIME);
}

c_String DateTimeToStringWithMilliseconds(c_DateTime value) {
    return FormatWithFlags(value, n_Flags::DATE | n_Flags::TIME | n_Flags::MILLISECONDS);
}

c_String DateTimeToStringWithMicroseconds(c_DateTime value) {
    return FormatWithFlags(value, n_Flags::DATE | n_Flags::TIME | n_Flags::MICROSECONDS);
}

c_String TimeToString(c_DateTime value) {
    return FormatWithFlags(value, n_Flags::TIME);
}

c_String DateToString(c_DateTime value) {
    if (value.IsZero()) {
        return c_String("0");
    }
    return FormatWithFlags(value, n_Flags::DATE);
}

c_String DateToYYYYMMDDString(c_DateTime value) {
    return ToString(DateToYYYYMMDD(value));
}

c_String DateTimeToTimestampString(c_DateTime value) {
    return TimestampText(value, false);
}

c_String DateTimeToTimestampStringMicro(c_DateTime value) {
    return TimestampText(value, true);
}

c_String TimeOfDayToHHMMSS(c_DateTime value) {
    int hour = 0;
    int minute = 0;
    int second = 0;
    value.GetTimeOfDayParts(hour, minute, second);
    c_ShortText text;
    text.AppendNumber(hour, 2);
    text.AppendNumber(minute, 2);
    text.AppendNumber(second, 2);
    return ToText(text);
}

c_String DateTimeToFileNameString(c_DateTime value) {
    const s_Parts p = SplitToMilliseconds(value);
    std::tm record{};
    record.tm_year = p.m_Year - 1900;
    record.tm_mon = p.m_Month - 1;
    record.tm_mday = p.m_Day;
    record.tm_hour = p.m_Hour;
    record.tm_min = p.m_Minute;
    record.tm_sec = p.m_Second;
    char buffer[128] = {};
    const std::size_t written = std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H%M%S", &record);
    return c_String(buffer, static_cast<int>(written));
}

c_String FormatElapsedHours(c_DateTime span) {
    c_ShortText text;
    AppendElapsedHours(span, text);
    return ToText(text);
}

c_String FormatDurationCompact(c_DateTime span) {
    const std::int64_t seconds = span.Abs().GetSecondsRounded();
    if (seconds <= 0) {
        return c_String("0s");
    }
    const struct {
        std::int64_t m_Count;
        char m_Unit;
    } units[] = {
        {seconds / 86400, 'd'},
        {seconds % 86400 / 3600, 'h'},
        {seconds % 3600 / 60, 'm'},
        {seconds % 60, 's'},
    };
    c_ShortText text;
    if (span.IsNegative()) {
        text.Append('-');
    }
    bool unitWritten = false;
    for (const auto& unit : units) {
        if (unit.m_Count == 0) {
            continue;
        }
        if (unitWritten) {
            text.Append(' ');
        }
        text.AppendNumber(unit.m_Count, 0);
        text.Append(unit.m_Unit);
        unitWritten = true;
    }
    return ToText(text);
}

c_String FormatDurationInOneUnit(c_DateTime span) {
    const double magnitude = static_cast<double>(span.Abs().GetValue());
    const struct {
        std::int64_t m_Below;
        double m_Divisor;
        const char* m_Unit;
    } units[] = {
        {120000000, 1e6, " seconds"},
        {7200000000, 6e7, " minutes"},
        {172800000000, 3.6e9, " hours"},
        {c_DateTime::GetTwoYearSpan().GetValue(), 8.64e10, " days"},
    };
    double amount = magnitude / 8.64e10 / 365;
    const char* unitName = " years";
    for (const auto& unit : units) {
        if (span.Abs().GetValue() < unit.m_Below) {
            amount = magnitude / unit.m_Divisor;
            unitName = unit.m_Unit;
            break;
        }
    }
    const c_String number = ToString(amount, 1);
    if (number.IsEmpty()) {
        return c_String();
    }
    return Concat({span.IsNegative() ? "-" : "", number, unitName});
}
