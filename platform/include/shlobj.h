#pragma once
// The shell: known folders and the shell link object.

#include "win32/knownfolders.h"
#include "win32/shelllink.h"
