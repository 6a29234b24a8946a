#pragma once
// LogMessage: the one entry point through which the OS layer and everything above it log a line.
//
// The application sets the sink (the installer's log) at start-up and clears it at shutdown; while
// no sink is set, lines are dropped. The sink may be called on any thread.

#include "strings/c_StringView.h"

typedef void (*t_LogSink)(const c_StringView& line);

void LogMessage(const c_StringView& line);

// Replaces the sink (null drops every line) and returns the one it replaced.
t_LogSink SetLogSink(t_LogSink sink);
