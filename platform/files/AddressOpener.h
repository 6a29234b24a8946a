#pragma once
// The opener of addresses for ShellExecuteExW: with one set (a display back end sets its own), an
// address such as "https://..." goes to it instead of to xdg-open; files still go to xdg-open. The
// test hook of ShellExecuteHook.h comes before it.

#include <functional>
#include <string>

namespace n_Platform {

// Takes the address in UTF-8; false when it could not be opened.
using t_AddressOpener = std::function<bool(const std::string& address)>;

// An empty opener brings back xdg-open.
void SetAddressOpener(t_AddressOpener opener);

} // namespace n_Platform
