// Choosing the back end at start.

#include "platform/user/gtk/DisplayStart.h"

#include "platform/files/AddressOpener.h"
#include "platform/user/gtk/GtkBackend.h"

#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>

namespace {

bool OpenWithGio(const std::string& address) {
    GError* error = nullptr;
    if (g_app_info_launch_default_for_uri(address.c_str(), nullptr, &error) != FALSE) {
        return true;
    }
    std::fprintf(stderr, "Cannot open %s: %s\n", address.c_str(), error->message);
    g_error_free(error);
    return false;
}

} // namespace

namespace n_Platform {

bool StartDisplayBackend() {
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
        return false;
    }
    if (gtk_init_check(nullptr, nullptr) == FALSE) {
        return false;
    }
    // Never destroyed: threads may still wait on their queues while the process exits.
    SetUserBackend(new c_GtkBackend);
    SetAddressOpener(OpenWithGio);
    return true;
}

} // namespace n_Platform
