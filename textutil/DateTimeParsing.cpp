// Date and time parsers: ISO-like text, free dates, times with AM and PM, and counted-text fields.

#include "textutil/DateTimeParsing.h"

#include "textutil/NumberParsing.h"

#include <cmath>
#include <cstdio>
#include <new>

namespace {

constexpr std::int64_t HOUR = c_DateTime::MICROSECONDS_PER_HOUR;
constexpr std::int64_t MINUTE = c_DateTime::MICROSECONDS_PER_MINUTE;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsInRange(int value, int low, int high) {
    return value >= low && value <= high;
}

// ';' ends a field like the others but makes a date count as written without separators.
const std::initializer_list<char> DATE_SEPARATORS = {'/', '-', '.', ';'};

int WithCentury(int year) {
    if (year < 50) {
        return year + 2000;
    }
    return year < 100 ? year + 1900 : year;
}

// Leading characters that are no digits are skipped; a '-' among them makes the number negative.
int ReadDateNumber(const c_StringView& field) {
    bool negative = false;
    int position = 0;
    for (; position < field.GetLength() && !IsDigit(field.begin()[position]); ++position) {
        negative = negative || field.begin()[position] == '-';
    }
    const int value = ParseInt32(field.RightFrom(position));
    return negative ? -value : value;
}

// YYYYMMDD, YYMMDD (both year = n / 10000) or a year alone.
c_DateTime ParseUnseparatedDate(const c_StringView& date) {
    const c_StringView digits = date.Trimmed();
    if (digits.GetLength() < 2 || !IsDigit(digits.GetFirstChar())) {
        return c_DateTime();
    }
    const int number = ParseInt32(digits);
    if (digits.GetLength() <= 4) {
        return c_DateTime(WithCentury(number), 1, 1, 0, 0, 0);
    }
    return c_DateTime(WithCentury(number / 10000), number / 100 % 100, number % 100, 0, 0, 0);
}

int Clamped(int value, int low) {
    return value < low ? low : value;
}

// Digits only: H, HH, HHMM, HHMMSS or HHMMSSmmm.
bool ParseDigitTime(const c_StringView& text, bool pm, bool am, std::int64_t& time) {
    const int length = text.GetLength();
    const bool knownLength = length == 1 || length == 2 || length == 4 || length == 6 || length == 9;
    if (!knownLength || !text.IsAllDigits()) {
        return false;
    }
    const auto pair = [&text](int index) { return ParseInt32(text.Mid(2 * index, 2)); };
    int hour = length <= 2 ? ParseInt32(text) : pair(0);
    int minute = length >= 4 ? pair(1) : 0;
    int second = length >= 6 ? pair(2) : 0;
    int millisecond = length == 9 ? ParseInt32(text.RightFrom(6)) : 0;
    if (minute > 59 || second > 59) {
        return false;
    }
    if (hour == 24 && minute == 0 && second == 0 && millisecond == 0) {
        hour = 23;
        minute = 59;
        second = 59;
    }
    time = c_DateTime::TimeOfDayToMicroseconds(hour, minute, second, millisecond);
    if (pm && IsInRange(hour, 1, 11)) {
        time += 12 * HOUR;
    } else if (am && hour == 12) {
        time -= 12 * HOUR;
    }
    return true;
}

// Blanks around it, an optional '-' when allowed, digits, and '.' with more digits when allowed.
bool IsPlainNumber(const c_StringView& text, bool sign, bool fraction) {
    c_StringView rest = text.Trimmed();
    if (sign && rest.GetFirstChar() == '-') {
        rest.DropFirst();
    }
    int digits = 0;
    for (; !rest.IsEmpty() && IsDigit(rest.GetFirstChar()); rest.DropFirst()) {
        ++digits;
    }
    if (fraction && rest.GetFirstChar() == '.') {
        rest.DropFirst();
        for (; !rest.IsEmpty() && IsDigit(rest.GetFirstChar()); rest.DropFirst()) {
            ++digits;
        }
    }
    return digits > 0 && rest.IsEmpty();
}

// H[:MM[:SS[.f]]] with any number of hours; a negative hour makes the time negative. An empty minute
// or second is 0; any other piece must be a plain number.
bool ParseColonTime(const c_StringView& text, bool pm, bool am, bool& negative, std::int64_t& time) {
    const int colon = text.Find(':');
    const c_StringView hourText = text.Left(colon);
    const c_StringView rest = text.RightFrom(colon + 1);
    const int secondColon = rest.Find(':');
    const c_StringView minuteText = (secondColon < 0 ? rest : rest.Left(secondColon)).Trimmed();
    const c_StringView secondText = secondColon < 0 ? c_StringView() : rest.RightFrom(secondColon + 1).Trimmed();
    if (!IsPlainNumber(hourText, true, false) || (!minuteText.IsEmpty() && !IsPlainNumber(minuteText, false, false)) ||
        (!secondText.IsEmpty() && !IsPlainNumber(secondText, false, true))) {
        return false;
    }
    std::int64_t hour = ParseInt32(hourText);
    if (hour < 0) {
        negative = true;
        hour = -hour;
    }
    if (pm && hour >= 1 && hour <= 11) {
        hour += 12;
    } else if (am && hour == 12) {
        hour = 0;
    }
    const int minute = ParseInt32(minuteText);
    const double seconds = ParseDouble(secondText);
    if (!IsInRange(minute, 0, 59) || seconds >= 60) {
        return false;
    }
    time = hour * HOUR + minute * MINUTE + std::llround(seconds * 1e6);
    return true;
}

// Cuts the text at the first of the two letters (the lower case one looked for first).
bool CutAtMarker(c_StringView& text, char lower, char upper) {
    int position = text.Find(lower);
    if (position < 0) {
        position = text.Find(upper);
    }
    if (position < 0) {
        return false;
    }
    text = text.Left(position);
    return true;
}

// A separator from the set and the number after it; position moves past both on success.
bool ReadSeparatedNumber(const char* text, int length, int& position, const char* separators, int& number) {
    if (position >= length || c_StringView(separators).Find(text[position]) < 0) {
        return false;
    }
    int used = 0;
    if (!ParseIntField(text + position + 1, length - position - 1, &number, &used)) {
        return false;
    }
    position += 1 + used;
    return true;
}

} // namespace

bool ParseISODateTime(const char* text, c_DateTime* out) {
    if (text == nullptr) {
        return false;
    }
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, fraction = 0;
    int fractionStart = 0, fractionEnd = 0;
    const int fields = std::sscanf(text, "%04d-%02d-%02dT%02d:%02d:%02d.%n%03d%n", &year, &month, &day, &hour, &minute,
                                   &second, &fractionStart, &fraction, &fractionEnd);
    if (fields < 3 || !IsInRange(year, 0, 9999) || !IsInRange(month, 1, 12) || !IsInRange(day, 1, 31) ||
        !IsInRange(hour, 0, 23) || !IsInRange(minute, 0, 59) || !IsInRange(second, 0, 60) ||
        !IsInRange(fraction, 0, 999) || !c_DateTime::IsValidDate(year, month, day)) {
        return false;
    }
    // The fraction is read as decimals: one or two digits are tenths or hundredths.
    int digits = 0;
    for (int position = fractionStart; position < fractionEnd; ++position) {
        digits += IsDigit(text[position]) ? 1 : 0;
    }
    for (; fields == 7 && digits < 3; ++digits) {
        fraction *= 10;
    }
    if (out != nullptr) {
        const std::int64_t timeOfDay = c_DateTime::TimeOfDayToMicroseconds(hour, minute, second, fraction);
        *out = c_DateTime(c_DateTime::EncodeWithTimeOfDay(year, month, day, timeOfDay));
    }
    return true;
}

c_DateTime ISODateTimeFromString(const c_String& text) {
    c_DateTime value;
    return ParseISODateTime(text.GetChars(), &value) ? value : c_DateTime();
}

c_DateTime ParseDateText(const c_StringView& text) {
    const int end = text.FindFirstOf({',', '\t'});
    const c_StringView date = end < 0 ? text : text.Left(end);
    if (date.IsEmpty()) {
        return c_DateTime();
    }
    const int first = date.FindFirstOf(DATE_SEPARATORS);
    if (first < 0 || date.begin()[first] == ';') {
        return ParseUnseparatedDate(date);
    }
    const c_StringView rest = date.RightFrom(first + 1);
    const int second = rest.FindFirstOf(DATE_SEPARATORS);
    const int a = ReadDateNumber(date.Left(first));
    const int b = ReadDateNumber(second < 0 ? rest : rest.Left(second));
    const int c = second < 0 ? 0 : ReadDateNumber(rest.RightFrom(second + 1));
    if (a > 100) {
        return c_DateTime(a, Clamped(b, 1), Clamped(c, 1), 0, 0, 0);
    }
    return c_DateTime(WithCentury(c), a, b, 0, 0, 0);
}

bool ParseTimeText(const c_StringView& text, c_DateTime& out) {
    out = c_DateTime();
    c_StringView time = text.Trimmed();
    const bool pm = CutAtMarker(time, 'p', 'P');
    const bool am = CutAtMarker(time, 'a', 'A');
    bool negative = false;
    if (time.GetFirstChar() == '+' || time.GetFirstChar() == '-') {
        negative = time.GetFirstChar() == '-';
        time.DropFirst();
        time.Trim();
    }
    std::int64_t microseconds = 0;
    const bool parsed = time.Find(':') < 0 ? ParseDigitTime(time, pm, am, microseconds)
                                           : ParseColonTime(time, pm, am, negative, microseconds);
    if (!parsed) {
        return false;
    }
    out = c_DateTime(negative && microseconds > 0 ? -microseconds : microseconds);
    return true;
}

bool ParseDateTimeText(const char* text, c_DateTime& out) {
    out = c_DateTime();
    const c_StringView all(text);
    if (all.IsEmpty()) {
        return false;
    }
    c_DateTime date;
    int consumed = 0;
    const bool dateFound = ParseDateField(all, &date, &consumed);
    int blanks = 0;
    SkipBlanksField(all.RightFrom(consumed), &blanks);
    const c_StringView rest = all.RightFrom(consumed + blanks);
    c_DateTime time;
    const bool timeFound = ParseTimeText(rest, time);
    if (!timeFound && !(dateFound && rest.IsEmpty())) {
        return false;
    }
    // The time moves along the date's instant, so a date before 1899-12-30 keeps its day.
    out = dateFound ? c_DateTime(c_DateTime::FromInstant(date.GetInstant() + time.GetValue())) : time;
    return true;
}

std::set<c_DateTime> ParseDateList(const c_StringView& text) {
    std::set<c_DateTime> dates;
    try {
        c_StringView rest = text;
        for (;;) {
            const int comma = rest.Find(',');
            const c_StringView piece = (comma < 0 ? rest : rest.Left(comma)).Trimmed();
            if (!piece.IsEmpty()) {
                dates.insert(ParseDateText(piece));
            }
            if (comma < 0) {
                break;
            }
            rest = rest.RightFrom(comma + 1);
        }
    } catch (const std::bad_alloc&) {
        dates.clear();
    }
    return dates;
}

bool ParseDateField(const char* text, int length, c_DateTime* value, int* consumed) {
    int numbers[3] = {};
    int position = 0;
    if (!ParseIntField(text, length, &numbers[0], &position) ||
        !ReadSeparatedNumber(text, length, position, "-/", numbers[1]) ||
        !ReadSeparatedNumber(text, length, position, "-/", numbers[2])) {
        return false;
    }
    const bool yearFirst = numbers[0] > 12;
    const int year = yearFirst ? numbers[0] : numbers[2];
    const int month = yearFirst ? numbers[1] : numbers[0];
    const int day = yearFirst ? numbers[2] : numbers[1];
    if (!c_DateTime::IsValidDate(year, month, day)) {
        return false;
    }
    if (value != nullptr) {
        value->SetDatePart(c_DateTime::GetDayNumber(year, month, day));
    }
    if (consumed != nullptr) {
        *consumed = position;
    }
    return true;
}

bool ParseTimeField(const char* text, int length, c_DateTime* value, int* consumed) {
    int hour = 0;
    int minute = 0;
    int position = 0;
    if (!ParseIntField(text, length, &hour, &position) || !IsInRange(hour, 0, 23) ||
        !ReadSeparatedNumber(text, length, position, ":", minute) || !IsInRange(minute, 0, 59)) {
        return false;
    }
    int second = 0;
    int afterSecond = position;
    if (ReadSeparatedNumber(text, length, afterSecond, ":", second) && IsInRange(second, 0, 59)) {
        position = afterSecond;
    } else {
        second = 0;
    }
    if (value != nullptr) {
        value->SetTime(hour, minute, second);
    }
    if (consumed != nullptr) {
        *consumed = position;
    }
    return true;
}

bool ParseIntField(const char* text, int length, int* value, int* consumed) {
    if (text == nullptr || length <= 0) {
        return false;
    }
    const int sign = text[0] == '-' ? 1 : 0;
    c_StringView digits(text + sign, length - sign);
    const int available = digits.GetLength();
    int magnitude = 0;
    if (!ConsumeDecimal(digits, &magnitude)) {
        return false;
    }
    if (value != nullptr) {
        *value = sign != 0 ? -magnitude : magnitude;
    }
    if (consumed != nullptr) {
        *consumed = sign + available - digits.GetLength();
    }
    return true;
}

bool SkipBlanksField(const char* text, int length, int* count) {
    int blanks = 0;
    while (text != nullptr && blanks < length &&
           (text[blanks] == '\t' || text[blanks] == '\n' || text[blanks] == '\r' || text[blanks] == ' ')) {
        ++blanks;
    }
    if (count != nullptr) {
        *count = blanks;
    }
    return blanks > 0;
}
