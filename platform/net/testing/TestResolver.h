#pragma once
// Test helper: a resolver that fails every lookup the way a name server would, put in place of the
// system's for the helper's lifetime, so lookup failures are tested without a network.

namespace n_Platform {

class c_FailingResolver {
public:
    enum e_Failure { NAME_NOT_KNOWN, TRY_AGAIN };

    explicit c_FailingResolver(e_Failure failure);
    ~c_FailingResolver();
    c_FailingResolver(const c_FailingResolver&) = delete;
    c_FailingResolver& operator=(const c_FailingResolver&) = delete;
};

} // namespace n_Platform
