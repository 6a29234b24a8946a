// The process-wide message-box caption provider.

#include "oslayer/windows/MessageBoxCaption.h"

namespace {

t_MessageBoxCaptionProvider& GetProvider() {
    static t_MessageBoxCaptionProvider* provider = new t_MessageBoxCaptionProvider;
    return *provider;
}

} // namespace

void SetMessageBoxCaptionProvider(const t_MessageBoxCaptionProvider& provider) {
    GetProvider() = provider;
}

c_String GetMessageBoxCaption(const c_StringView& text, std::uintptr_t first, std::uintptr_t second) {
    const t_MessageBoxCaptionProvider& provider = GetProvider();
    return provider ? provider(text, first, second) : c_String();
}
