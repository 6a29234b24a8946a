#pragma once
// The Windows API as the program uses it, provided on Linux by the platform layer.

#include "win32/clipboard.h"
#include "win32/completion.h"
#include "win32/errors.h"
#include "win32/files.h"
#include "win32/input.h"
#include "win32/memory.h"
#include "win32/modules.h"
#include "win32/processes.h"
#include "win32/registry.h"
#include "win32/screen.h"
#include "win32/sync.h"
#include "win32/text.h"
#include "win32/threads.h"
#include "win32/time.h"
#include "win32/types.h"
#include "win32/user.h"
