#pragma once
// Taking a window out of the layer: the last step of DestroyWindow and of a thread's end.

#include "platform/user/WindowTable.h"

namespace n_Platform {

// On the owning thread: removes the window from the table, its class and its queue, drops its
// posted messages and tells the back end. Calls no window procedure.
void ForgetWindow(const std::shared_ptr<c_WindowObject>& window);

} // namespace n_Platform
