#pragma once
// The Windows API as the program uses it, provided on Linux by the platform layer.

#include "win32/completion.h"
#include "win32/controls.h"
#include "win32/dialogs.h"
#include "win32/errors.h"
#include "win32/files.h"
#include "win32/modules.h"
#include "win32/processes.h"
#include "win32/resources.h"
#include "win32/sync.h"
#include "win32/text.h"
#include "win32/threads.h"
#include "win32/time.h"
#include "win32/types.h"
#include "win32/user.h"
