#pragma once
// Deployment: the addresses that differ between deployments, set when the project is configured.

#include "strings/c_String.h"

#include <array>
#include <cstddef>

constexpr std::size_t MIRROR_COUNT = 4;

// The maker's web site, "https://" + host + "/", under which the licence and support pages live.
c_String GetWebSiteBaseURL();
// The download mirrors, each "https://" + host + "/", in the order they are asked.
std::array<c_String, MIRROR_COUNT> GetMirrorBaseURLs();
