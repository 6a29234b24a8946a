// Deployment: the configured addresses (CMake cache variables, see installer/CMakeLists.txt).

#include "installer/Deployment.h"

c_String GetWebSiteBaseURL() {
    return c_String(INSTALLER_WEB_SITE_URL);
}

std::array<c_String, MIRROR_COUNT> GetMirrorBaseURLs() {
    return {c_String(INSTALLER_MIRROR_1_URL), c_String(INSTALLER_MIRROR_2_URL), c_String(INSTALLER_MIRROR_3_URL),
            c_String(INSTALLER_MIRROR_4_URL)};
}
