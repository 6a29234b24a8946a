#pragma once
// Test helpers: resolvers put in place of the system's for the helper's lifetime, so lookups are
// tested without a network: one fails every lookup the way a name server would, one answers every
// name with 127.0.0.1 and counts the lookups.

namespace n_Platform {

class c_FailingResolver {
public:
    enum e_Failure { NAME_NOT_KNOWN, TRY_AGAIN };

    explicit c_FailingResolver(e_Failure failure);
    ~c_FailingResolver();
    c_FailingResolver(const c_FailingResolver&) = delete;
    c_FailingResolver& operator=(const c_FailingResolver&) = delete;
};

class c_LoopbackResolver {
public:
    c_LoopbackResolver();
    ~c_LoopbackResolver();
    c_LoopbackResolver(const c_LoopbackResolver&) = delete;
    c_LoopbackResolver& operator=(const c_LoopbackResolver&) = delete;

    // Lookups answered so far, on any thread.
    unsigned GetLookupCount() const;
};

} // namespace n_Platform
