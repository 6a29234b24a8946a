#pragma once
// COM start-up, objects, interfaces and task memory (win32/com.h).

#include "win32/com.h"
