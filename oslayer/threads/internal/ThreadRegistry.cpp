// The thread registry: a c_Guarded set that lives from the first wrapper to static destruction.

#include "oslayer/threads/internal/ThreadRegistry.h"

#include "oslayer/threads/c_Guarded.h"

#include <atomic>
#include <unordered_set>
#include <utility>

namespace {

typedef c_Guarded<std::unordered_set<c_ThreadWrapper*>> t_Registry;

std::atomic<t_Registry*> g_p_Registry{nullptr};

// Constructed by the first Add (thread-safe, as every function-local static), so it is destroyed
// after every wrapper that was constructed before it finished, statics included.
struct s_RegistryLifetime {
    s_RegistryLifetime() { g_p_Registry.store(new t_Registry); }
    ~s_RegistryLifetime() { delete g_p_Registry.exchange(nullptr); }
};

t_Registry* GetOrMakeRegistry() {
    static s_RegistryLifetime lifetime;
    return g_p_Registry.load();
}

} // namespace

namespace n_ThreadRegistry {

void Add(c_ThreadWrapper* wrapper) {
    if (t_Registry* registry = GetOrMakeRegistry()) {
        registry->Access()->insert(wrapper);
    }
}

void Remove(c_ThreadWrapper* wrapper) {
    if (t_Registry* registry = g_p_Registry.load()) {
        registry->Access()->erase(wrapper);
    }
}

void ForEach(const std::function<void(const c_ThreadWrapper&)>& visit) {
    t_Registry* registry = g_p_Registry.load();
    if (registry == nullptr) {
        return;
    }
    c_GuardedAccess<std::unordered_set<c_ThreadWrapper*>> wrappers = registry->Access();
    for (const c_ThreadWrapper* wrapper : *wrappers) {
        visit(*wrapper);
    }
}

void ReplaceName(c_String& name, c_String& replacement) {
    c_CriticalSectionLock lock;
    if (t_Registry* registry = g_p_Registry.load()) {
        registry->Lock(lock);
    }
    name = std::move(replacement);
}

} // namespace n_ThreadRegistry
