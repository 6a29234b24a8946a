#pragma once
// The registry of live thread wrappers: a guarded set of their addresses.
//
// It is made once, by whichever wrapper is constructed first on whichever thread, and destroyed in
// static destruction at process exit; a wrapper destroyed after that finds no registry and skips
// its removal. Its lock is taken only to add or remove a wrapper, to list them and to rename one.

#include "strings/c_String.h"

#include <functional>

class c_ThreadWrapper;

namespace n_ThreadRegistry {

void Add(c_ThreadWrapper* wrapper);
void Remove(c_ThreadWrapper* wrapper);

// Calls visit for every registered wrapper, in the set's order, under the registry's lock.
void ForEach(const std::function<void(const c_ThreadWrapper&)>& visit);

// Moves the replacement into a wrapper's name under the lock, so that a listing never reads a
// name that is being replaced.
void ReplaceName(c_String& name, c_String& replacement);

} // namespace n_ThreadRegistry
