#pragma once
// The handles that window calls and drawing calls share: device contexts and fonts.

#include "win32/types.h"

DECLARE_HANDLE(HDC);
DECLARE_HANDLE(HFONT);
