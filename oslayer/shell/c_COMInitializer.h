#pragma once
// n_OSLayer::c_COMInitializer: COM initialised on the calling thread for the life of one object.

namespace n_OSLayer {

class c_COMInitializer {
public:
    // CoInitialize; initialised when it gives S_OK or S_FALSE (COM already initialised here).
    c_COMInitializer();
    // CoUninitialize, only when initialised.
    ~c_COMInitializer();
    c_COMInitializer(const c_COMInitializer&) = delete;
    c_COMInitializer& operator=(const c_COMInitializer&) = delete;

    bool IsInitialized() const { return initialized; }

private:
    bool initialized = false;
};

} // namespace n_OSLayer
