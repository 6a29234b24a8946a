#pragma once
// Files named *.exe are programs: on Windows a program starts by its name alone, so a file that
// arrives under such a name through the layer (created, copied or moved there) gets the execute
// bits that the umask allows, and CreateProcessW can start it. Other names keep their mode.

#include <string>
#include <string_view>
#include <sys/types.h>

namespace n_Platform {

// Whether the Linux file name ends in ".exe", in any case.
bool IsExecutableName(std::string_view name);
// The execute bits that the process's umask lets a new file have.
mode_t GetAllowedExecuteBits();
// Adds those bits to the regular file at the Linux path when its name is executable. The file is
// already in place, so a failure to change its mode is not the caller's failure.
void GrantExecuteBitsByName(const std::string& linuxPath);

} // namespace n_Platform
