#pragma once
// The server's data folder: a program that runs from inside a "DovrikChartServer" (or
// "DovrikChartServer_Trading") folder keeps its data files there, among them
// "ComputerServerName.txt".

#include "strings/c_String.h"
#include "strings/c_StringView.h"

// One new string: the first text followed by the second.
c_String JoinTwoStrings(const c_StringView& first, const c_StringView& second);

// The program folder up to and including its last "\DovrikChartServer\" (any case), or else its last
// "\DovrikChartServer_Trading\", followed by the file name; empty when the folder is in neither.
c_String GetServerDataFilePath(const c_StringView& fileName);
c_String FindServerDataFilePath(const c_StringView& programFolder, const c_StringView& fileName);

// The trimmed text of the server folder's "ComputerServerName.txt"; empty without the file.
c_String GetComputerServerName();
c_String ReadComputerServerName(const c_StringView& programFolder);
