#pragma once
// InstallerIcon: icon 131 (the window's big and small icon), a 32 x 32 pixel table.

#include "installer/InstallerResourceIds.h"

extern const n_Platform::s_IconTemplate INSTALLER_ICON;
