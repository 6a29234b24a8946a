#pragma once
// The shell link object behind CLSID_ShellLink: IShellLinkW and IPersistFile over one
// s_ShellLinkData, saved and loaded as a .lnk file through the layer's own file calls, so that
// sharing, read-only files and errors follow the file rules.

#include <objbase.h>

namespace n_Platform {

// A new object with one reference, handed out as the interface asked for; E_NOINTERFACE (and no
// object) for an interface it does not have.
HRESULT CreateShellLink(REFIID id, void** object);

} // namespace n_Platform
