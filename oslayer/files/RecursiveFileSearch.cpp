// The recursive file search.

#include "oslayer/files/RecursiveFileSearch.h"

#include "oslayer/files/c_FindFile.h"

#include <windows.h>

void FindFilesRecursively(const c_String& folder, const c_String& nameToFind, std::vector<c_String>& out,
                          bool returnFiles, bool* searchError, const c_String& mask, bool namesOnly, const bool* stop) {
    const bool endsWithSeparator = folder.EndsWith('\\') || folder.EndsWith('/');
    const c_String prefix = endsWithSeparator ? folder : Concat({folder, "\\"});
    n_OSLayer::c_FindFile find(Concat({prefix, mask}));
    if (!find.IsValid()) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND && searchError != nullptr) {
            *searchError = true;
        }
        return;
    }
    do {
        if (stop != nullptr && *stop) {
            return;
        }
        const c_String name = find.GetFileName();
        if (name == "." || name == "..") {
            continue;
        }
        if (find.IsDirectory()) {
            FindFilesRecursively(Concat({prefix, name}), nameToFind, out, returnFiles, searchError, mask, namesOnly,
                                 stop);
        } else if (nameToFind.IsEmpty() || name == nameToFind) {
            out.push_back(!returnFiles ? folder : namesOnly ? name : Concat({prefix, name}));
        }
    } while (find.FindNext());
}
