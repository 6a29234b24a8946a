#pragma once
// InstallerConstants: the names that the application, the dialog and the downloader share.

#include "strings/c_String.h"
#include "strings/c_StringNoCase.h"

// The product name when InstallerName is not given, and the base of the installed program's name.
extern const c_String DEFAULT_PRODUCT_NAME;
// The folder under the installation folder where downloaded files wait before they are moved.
extern const c_String STAGING_FOLDER_NAME;
// A body that starts with either of these is an error page, not a file.
extern const c_StringNoCase HTML_DOCTYPE_MARKER;
extern const c_StringNoCase HTML_TAG_MARKER;
