#pragma once
// Test hook of ShellExecuteExW: with one set, the call hands its arguments to the hook instead of
// starting xdg-open, and succeeds or fails as the hook answers.

#include <shellapi.h>

#include <functional>

namespace n_Platform {

using t_ShellExecuteHook = std::function<bool(const SHELLEXECUTEINFOW& information)>;

// An empty hook brings back the real opening.
void SetShellExecuteHook(t_ShellExecuteHook hook);

} // namespace n_Platform
