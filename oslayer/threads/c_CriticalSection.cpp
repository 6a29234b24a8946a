// c_CriticalSection: making and deleting the Windows section.

#include "oslayer/threads/c_CriticalSection.h"

c_CriticalSection::c_CriticalSection() {
    InitializeCriticalSectionAndSpinCount(&m_Section, 0);
}

c_CriticalSection::~c_CriticalSection() {
    DeleteCriticalSection(&m_Section);
}
