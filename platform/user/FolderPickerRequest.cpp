// The end of a folder picker.

#include "platform/user/FolderPickerRequest.h"

namespace n_Platform {

bool EndFolderPicker(s_FolderPickerRequest& request, bool chosen, std::u16string folder) {
    if (request.m_Ended) {
        return false;
    }
    request.m_Ended = true;
    request.m_Chosen = chosen;
    request.m_Folder = chosen ? std::move(folder) : std::u16string();
    return true;
}

} // namespace n_Platform
