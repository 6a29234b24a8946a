#pragma once
// c_Event: a c_Handle that holds a Windows event.
//
// Every operation on an empty holder returns false without a system call.

#include "oslayer/threads/c_Handle.h"
#include "strings/c_StringView.h"

#include <cstdint>

class c_Event : public c_Handle {
public:
    // Closes the held event and makes a new one, not signalled; an empty name makes an unnamed
    // event, and opening an existing named one counts as success.
    bool Create(bool manualReset, const c_StringView& name);
    bool Set();
    bool Reset();
    bool IsSet() const;
    // INFINITE waits without limit; false on time-out and on failure.
    bool Wait(std::uint32_t milliseconds) const;
};
