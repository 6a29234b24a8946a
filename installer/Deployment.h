#pragma once
// Deployment: the addresses that differ between deployments, set when the project is configured.

#include "strings/c_String.h"

// The maker's web site, "https://" + host + "/", under which the licence and support pages live.
c_String GetWebSiteBaseURL();
