#pragma once
// Winsock's start-up count.

namespace n_Platform {

// True between a successful WSAStartup and the WSACleanup that balances the last of them.
bool IsWinsockStarted();

} // namespace n_Platform
