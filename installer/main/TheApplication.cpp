// The program's one application object; the framework's main runs it.

#include "installer/c_InstallerApp.h"

c_InstallerApp theApp;
