// n_OSLayer::c_COMInitializer: one CoInitialize and its matching CoUninitialize.

#include "oslayer/shell/c_COMInitializer.h"

#include <objbase.h>

namespace n_OSLayer {

c_COMInitializer::c_COMInitializer() {
    const HRESULT result = CoInitialize(nullptr);
    initialized = result == S_OK || result == S_FALSE;
}

c_COMInitializer::~c_COMInitializer() {
    if (initialized) {
        CoUninitialize();
    }
}

} // namespace n_OSLayer
