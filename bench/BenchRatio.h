#pragma once
// Runs the registered benchmarks and prints, for each pair named "<case>/ours/<arg>" and
// "<case>/peer/<arg>", how many times faster ours is than the peer (below 1: slower).

#include <benchmark/benchmark.h>

namespace n_Bench {

// Use as the body of main().
int RunAndPrintRatios(int argc, char** argv, const char* peerName);

} // namespace n_Bench
