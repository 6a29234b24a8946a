// c_InstallerDownloader: the factory slot.

#include "installer/c_InstallerDownloader.h"

#include <atomic>

namespace {

std::atomic<t_InstallerDownloaderFactory> g_Factory{nullptr};

} // namespace

t_InstallerDownloaderFactory SetInstallerDownloaderFactory(t_InstallerDownloaderFactory factory) {
    return g_Factory.exchange(factory, std::memory_order_acq_rel);
}

c_InstallerDownloader* CreateInstallerDownloader(c_InstallerDialog* dialog) {
    const t_InstallerDownloaderFactory factory = g_Factory.load(std::memory_order_acquire);
    return factory != nullptr ? factory(dialog) : nullptr;
}
