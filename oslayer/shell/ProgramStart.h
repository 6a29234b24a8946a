#pragma once
// Starting a program with its start logged, and opening a web page in the browser.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

// n_OSLayer::CreateProcess with its message handed to LogMessage: "Created process " + path +
// ".  Current folder: " + the folder used (+ ".  Parameters: " + parameters with logParameters), or
// "Error creating process " + path + ".  " + the Windows error text. The result is the start's.
bool StartProgram(const c_StringView& path, const c_StringView& parameters, const c_StringView& folder,
                  bool logParameters);
// The same with the parameters logged.
bool StartProgram(const c_StringView& path, const c_StringView& parameters, const c_StringView& folder);

// "-new-tab " + the URL in double quotes.
c_String MakeBrowserParameters(const c_StringView& url);

// Without a browser, the shell opens the URL (n_OSLayer::ShellExecuteEx); with one, the browser
// starts in its own folder with MakeBrowserParameters, through StartProgram. Nothing is returned: a
// failed start shows only in the log.
void OpenURL(const c_StringView& url, const c_StringView& browserPath);
