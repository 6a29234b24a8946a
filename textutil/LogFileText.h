#pragma once
// The two texts of the installer's log file that carry a time: the end of each line and the file name.
//
// A line is the message, " | ", the UTC date and time of DateTimeToString (two blanks between date
// and time) and "\r\n"; the file is "Installer Log " + the strftime form "%Y-%m-%d %H%M%S" + ".log".
// Both are one whole text, or empty when memory runs out.

#include "strings/c_String.h"
#include "strings/c_StringView.h"
#include "textutil/c_DateTime.h"

// text | 2024-01-05  13:04:09\r\n
c_String MakeLogFileLine(const c_StringView& message, c_DateTime time);
// Installer Log 2024-01-05 130409.log
c_String MakeLogFileName(c_DateTime time);
