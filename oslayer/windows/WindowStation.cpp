// The window station's visible flag.

#include "oslayer/windows/WindowStation.h"

#include <windows.h>

namespace n_OSLayer {

bool IsWindowStationVisible() {
    USEROBJECTFLAGS flags = {};
    DWORD needed = 0;
    return GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags, &needed) != FALSE &&
           (flags.dwFlags & WSF_VISIBLE) != 0;
}

} // namespace n_OSLayer
