// The log file's line and name texts.

#include "textutil/LogFileText.h"

#include "textutil/DateTimeText.h"

c_String MakeLogFileLine(const c_StringView& message, c_DateTime time) {
    const c_String stamp = DateTimeToString(time);
    if (stamp.IsEmpty()) {
        return c_String();
    }
    return Concat({message, " | ", stamp, "\r\n"});
}

c_String MakeLogFileName(c_DateTime time) {
    const c_String stamp = DateTimeToFileNameString(time);
    if (stamp.IsEmpty()) {
        return c_String();
    }
    return Concat({"Installer Log ", stamp, ".log"});
}
