// The program's main: AfxWinMain with the command line rebuilt from the arguments.
//
// A library of its own, linked only into the executable, so that test programs keep their own main
// and the headless back end; the program shows its windows when a display is present.

#include "platform/files/PathText.h"
#include "platform/user/gtk/DisplayStart.h"

#include <afxwin.h>

#include <string>

int main(int argumentCount, char** arguments) {
    // Joined by single blanks, unquoted: the text as it was typed after the program's name, which
    // is what the program's own command-line reading expects (a path with a blank stays whole).
    std::u16string commandLine;
    for (int index = 1; index < argumentCount; ++index) {
        if (index > 1) {
            commandLine += u' ';
        }
        commandLine += n_Platform::ToUtf16(arguments[index]);
    }
    n_Platform::StartDisplayBackend();
    return AfxWinMain(GetModuleHandleW(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
}
