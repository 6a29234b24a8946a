#pragma once
// c_SharedSocketLock: the reference-counted lock that a buffered socket and its network socket share.
//
// The core allocates, counts and frees blocks under its core lock, so the lock outlives whichever of
// the two objects goes first.

#include "oslayer/threads/c_CriticalSection.h"

#include <cstdint>

struct c_SharedSocketLock {
    std::int32_t m_ReferenceCount = 1;
    c_CriticalSection m_Section;
};
