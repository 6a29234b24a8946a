#pragma once
// Futex calls for the layer's own locks and waits: sleeping on a 32-bit word and waking its sleepers.
//
// Waking a word whose owner has gone is harmless: at worst another sleeper at the same address
// wakes early, and every sleeper checks its condition again.

#include <cstdint>
#include <ctime>

namespace n_Platform {

// Sleeps while the word holds expected, up to timeout (null: no limit); may return early.
void FutexWait(const void* word, std::uint32_t expected, const timespec* timeout);
void FutexWakeOne(const void* word);
void FutexWakeAll(const void* word);

} // namespace n_Platform
