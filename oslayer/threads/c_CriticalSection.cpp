// c_CriticalSection: making and deleting the Windows section.

#include "oslayer/threads/c_CriticalSection.h"

namespace {

// Sections are held briefly: a waiter that watches a little often takes one without sleeping.
constexpr DWORD SPIN_COUNT = 4000;

} // namespace

c_CriticalSection::c_CriticalSection() {
    InitializeCriticalSectionAndSpinCount(&m_Section, SPIN_COUNT);
}

c_CriticalSection::~c_CriticalSection() {
    DeleteCriticalSection(&m_Section);
}
