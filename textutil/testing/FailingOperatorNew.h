#pragma once
// Test hook for the test executable's operator new, which stands in for the global one there: the
// n-th allocation by the calling thread from now on throws std::bad_alloc (1 = the next one, 0 disarms);
// the nothrow form counts alike and returns null.
// The vectors and maps of the split and key-value functions take their memory there.

namespace n_TestAllocation {

void FailNthOperatorNew(unsigned n);

} // namespace n_TestAllocation
