// Test helper: resolvers that answer "no such name" or "try again".

#include "platform/testing/TestResolver.h"

#include "platform/net/internal/PosixResolver.h"

#include <netdb.h>

#include <atomic>

namespace n_Platform {

namespace {

int AnswerNoName(const char*, const char*, const addrinfo*, addrinfo**) {
    return EAI_NONAME;
}

int AnswerTryAgain(const char*, const char*, const addrinfo*, addrinfo**) {
    return EAI_AGAIN;
}

std::atomic<unsigned> g_LoopbackLookups{0};

int AnswerLoopback(const char*, const char* service, const addrinfo* hints, addrinfo** result) {
    const int answer = ::getaddrinfo("127.0.0.1", service, hints, result);
    g_LoopbackLookups.fetch_add(1);
    return answer;
}

} // namespace

c_FailingResolver::c_FailingResolver(e_Failure failure) {
    n_PosixSockets::SetResolver(failure == NAME_NOT_KNOWN ? &AnswerNoName : &AnswerTryAgain);
}

c_FailingResolver::~c_FailingResolver() {
    n_PosixSockets::SetResolver(nullptr);
}

c_LoopbackResolver::c_LoopbackResolver() {
    g_LoopbackLookups.store(0);
    n_PosixSockets::SetResolver(&AnswerLoopback);
}

c_LoopbackResolver::~c_LoopbackResolver() {
    n_PosixSockets::SetResolver(nullptr);
}

unsigned c_LoopbackResolver::GetLookupCount() const {
    return g_LoopbackLookups.load();
}

} // namespace n_Platform
