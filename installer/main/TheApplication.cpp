// The program's one application object, and the downloader its dialog uses; the framework's main
// runs it.

#include "installer/c_FileDownloader.h"
#include "installer/c_InstallerApp.h"

namespace {

// Before the framework's main, so the dialog's first downloader is a real one.
const bool g_DownloaderRegistered = (SetInstallerDownloaderFactory(&c_FileDownloader::Create), true);

} // namespace

c_InstallerApp theApp;
