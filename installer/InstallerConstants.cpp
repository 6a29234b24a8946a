// InstallerConstants: the shared names.

#include "installer/InstallerConstants.h"

const c_String DEFAULT_PRODUCT_NAME("DovrikChart");
const c_String STAGING_FOLDER_NAME("DownloadedInstallationFiles");
const c_StringNoCase HTML_DOCTYPE_MARKER("<!DOCTYPE");
const c_StringNoCase HTML_TAG_MARKER("<html>");
