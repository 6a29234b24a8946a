#pragma once
// The shell: known folders, the folder picker and the shell link object.

#include "win32/folderpicker.h"
#include "win32/knownfolders.h"
#include "win32/shelllink.h"
