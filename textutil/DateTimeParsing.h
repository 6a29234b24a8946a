#pragma once
// Reading dates and times out of text: the ISO-like form, free date and time texts, and field parsers
// over counted text.
//
//   ISO        YYYY-MM-DD [ 'T' HH [ ':' MM [ ':' SS [ '.' f{1,3} ] ] ] ]    anything may follow
//   free date  (Y-M-D | M-D-Y with '-', '/' or '.') | YYYYMMDD | YYMMDD | YYYY | YY,
//              ending at the first ',' or tab; years below 100 in the last three forms and in
//              M-D-Y are 2000-2049 (below 50) or 1950-1999
//   time       ['+' | '-'] ( H [':' MM [':' SS['.' f]]] | H | HH | HHMM | HHMMSS | HHMMSSmmm ) [am | pm]
//              where any 'p' or 'P' starts the PM marker and any 'a' or 'A' the AM marker
//   date-time  [date field] blanks [time]
//   fields     int = ['-'] digit+
//              date field = int ('-'|'/') int ('-'|'/') int, Y-M-D when the first is above 12, else M/D/Y
//              time field = int ':' int [':' int]
//
// No parser allocates except ParseDateList, and none throws. A date that does not exist in its month
// is never read as a date.

#include "strings/c_String.h"
#include "strings/c_StringView.h"
#include "textutil/c_DateTime.h"

#include <set>

// YYYY-MM-DDTHH:MM:SS.mmm and its leading parts down to the date; the fraction's digits count as
// decimals (".5" is 500 ms). Fails for a null text, a part out of range or a missing day. A null out
// only tests the text.
bool ParseISODateTime(const char* text, c_DateTime* out);
// The same; 0 when it fails.
c_DateTime ISODateTimeFromString(const c_String& text);

// A free date at 00:00; 0 when it is empty or no date. Y-M-D raises a month or day below 1 to 1.
c_DateTime ParseDateText(const c_StringView& text);
// A time of day or a span, negative with a leading '-'. Each piece must be a plain number; hours are
// not limited, minutes and seconds must be below 60. out is 0 when it fails.
bool ParseTimeText(const c_StringView& text, c_DateTime& out);
// A date field, blanks and a time text, either one missing. True when a time was read, or a date was
// read and nothing follows it but blanks; otherwise false with out 0.
bool ParseDateTimeText(const char* text, c_DateTime& out);
// Comma-separated free dates, each trimmed; a piece that is no date adds 0, an empty one nothing.
// Empty when memory runs out.
std::set<c_DateTime> ParseDateList(const c_StringView& text);

// The field parsers read from the start of length characters at text. On success they return true
// and set the value and the number of characters read (either pointer may be null); on failure they
// change neither.

// A valid date; replaces the date of *value and keeps its time of day.
bool ParseDateField(const char* text, int length, c_DateTime* value, int* consumed);
// Hour 0-23, minute 0-59 and an optional second 0-59 (one out of range is not read and counts as 0);
// replaces the time of day of *value and keeps its date.
bool ParseTimeField(const char* text, int length, c_DateTime* value, int* consumed);
// A number that fits an int; fails without a digit.
bool ParseIntField(const char* text, int length, int* value, int* consumed);
// Counts leading tabs, line feeds, carriage returns and blanks; true when there is at least one.
bool SkipBlanksField(const char* text, int length, int* count);

inline bool ParseDateField(const c_StringView& text, c_DateTime* value, int* consumed) {
    return ParseDateField(text.begin(), text.GetLength(), value, consumed);
}
inline bool ParseTimeField(const c_StringView& text, c_DateTime* value, int* consumed) {
    return ParseTimeField(text.begin(), text.GetLength(), value, consumed);
}
inline bool SkipBlanksField(const c_StringView& text, int* count) {
    return SkipBlanksField(text.begin(), text.GetLength(), count);
}
