// c_Event: making, setting, resetting and waiting for the event.

#include "oslayer/threads/c_Event.h"

#include "oslayer/system/TextConversion.h"

bool c_Event::Create(bool manualReset, const c_StringView& name) {
    Close();
    const c_WString wideName = n_OSLayer::UTF8ToWide(name);
    c_Handle::operator=(CreateEventW(nullptr, manualReset, FALSE, wideName.IsEmpty() ? nullptr : wideName.begin()));
    return IsValid();
}

bool c_Event::Set() {
    return IsValid() && SetEvent(Get()) != FALSE;
}

bool c_Event::Reset() {
    return IsValid() && ResetEvent(Get()) != FALSE;
}

bool c_Event::IsSet() const {
    return Wait(0);
}

bool c_Event::Wait(std::uint32_t milliseconds) const {
    return IsValid() && WaitForSingleObject(Get(), milliseconds) == WAIT_OBJECT_0;
}
