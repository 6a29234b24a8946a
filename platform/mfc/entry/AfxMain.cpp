// The program's main: AfxWinMain with the command line that Windows would pass.
//
// A library of its own, linked only into the executable, so that test programs keep their own main
// and the headless back end; the program shows its windows when a display is present.

#include "platform/files/CommandLine.h"
#include "platform/files/PathText.h"
#include "platform/user/gtk/DisplayStart.h"

#include <afxwin.h>

#include <string>
#include <vector>

int main(int argumentCount, char** arguments) {
    std::vector<std::u16string> rest;
    for (int index = 1; index < argumentCount; ++index) {
        rest.push_back(n_Platform::ToUtf16(arguments[index]));
    }
    std::u16string commandLine = n_Platform::JoinArguments(rest);
    n_Platform::StartDisplayBackend();
    return AfxWinMain(GetModuleHandleW(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
}
