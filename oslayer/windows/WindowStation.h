#pragma once
// Whether the process's windows are seen by someone: the window station's visible flag.

namespace n_OSLayer {

// GetUserObjectInformationW(UOI_FLAGS) of the process's window station has WSF_VISIBLE; false when
// it cannot be read (a service's station, say).
bool IsWindowStationVisible();

} // namespace n_OSLayer
