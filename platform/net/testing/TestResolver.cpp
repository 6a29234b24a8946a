// Test helper: resolvers that answer "no such name" or "try again".

#include "platform/net/testing/TestResolver.h"

#include "platform/net/internal/PosixResolver.h"

#include <netdb.h>

namespace n_Platform {

namespace {

int AnswerNoName(const char*, const char*, const addrinfo*, addrinfo**) {
    return EAI_NONAME;
}

int AnswerTryAgain(const char*, const char*, const addrinfo*, addrinfo**) {
    return EAI_AGAIN;
}

} // namespace

c_FailingResolver::c_FailingResolver(e_Failure failure) {
    n_PosixSockets::SetResolver(failure == NAME_NOT_KNOWN ? &AnswerNoName : &AnswerTryAgain);
}

c_FailingResolver::~c_FailingResolver() {
    n_PosixSockets::SetResolver(nullptr);
}

} // namespace n_Platform
