// Deployment: the configured addresses (CMake cache variables, see installer/CMakeLists.txt).

#include "installer/Deployment.h"

c_String GetWebSiteBaseURL() {
    return c_String(INSTALLER_WEB_SITE_URL);
}
