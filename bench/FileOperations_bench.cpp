// BitCopyFile against cp and GetMD5OfFile against md5sum, on a 256 MiB file in the page cache.
//
// The peers run as child processes, started with posix_spawnp and timed from the start to their end,
// in the same run and on the same file as ours.

#include "bench/BenchRatio.h"
#include "oslayer/files/FileCopies.h"
#include "oslayer/files/FileDigests.h"
#include "oslayer/system/LogMessage.h"
#include "platform/testing/TemporaryDrives.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr std::size_t FILE_SIZE = std::size_t(256) << 20;

// The test drives with the big file in C:\, made once for every case and removed at exit.
struct s_BigFile {
    s_BigFile() {
        std::ofstream file(m_Drives.GetC() + "/big.bin", std::ios::binary);
        std::string block(1 << 20, '\0');
        std::uint32_t state = 88172645u;
        for (std::size_t written = 0; written < FILE_SIZE; written += block.size()) {
            for (char& byte : block) {
                state ^= state << 13;
                state ^= state >> 17;
                state ^= state << 5;
                byte = static_cast<char>(state);
            }
            file.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
    }

    std::string Linux(const char* name) const { return m_Drives.GetC() + "/" + name; }

    c_TemporaryDrives m_Drives;
};

s_BigFile& GetBigFile() {
    static s_BigFile file;
    return file;
}

// Runs the command with its output thrown away; the seconds from its start to its end.
double RunCommand(const std::vector<std::string>& command) {
    std::vector<char*> arguments;
    for (const std::string& argument : command) {
        arguments.push_back(const_cast<char*>(argument.c_str()));
    }
    arguments.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    int status = -1;
    if (posix_spawnp(&child, arguments[0], &actions, nullptr, arguments.data(), environ) == 0) {
        waitpid(child, &status, 0);
    }
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    return status == 0 ? std::chrono::duration<double>(end - start).count() : -1;
}

template <typename Call> double TimeCall(const Call& call) {
    const auto start = std::chrono::steady_clock::now();
    const bool succeeded = call();
    const auto end = std::chrono::steady_clock::now();
    return succeeded ? std::chrono::duration<double>(end - start).count() : -1;
}

void Report(benchmark::State& state, double seconds) {
    if (seconds < 0) {
        state.SkipWithError("the call failed");
        return;
    }
    state.SetIterationTime(seconds);
}

void BitCopyFile_ours(benchmark::State& state) {
    GetBigFile();
    for (auto _ : state) {
        Report(state, TimeCall([] { return BitCopyFile("C:\\big.bin", "C:\\copy.bin", true); }));
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(FILE_SIZE));
}

void BitCopyFile_peer(benchmark::State& state) {
    const s_BigFile& file = GetBigFile();
    for (auto _ : state) {
        Report(state, RunCommand({"cp", file.Linux("big.bin"), file.Linux("copy.bin")}));
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(FILE_SIZE));
}

void MD5OfFile_ours(benchmark::State& state) {
    GetBigFile();
    for (auto _ : state) {
        Report(state, TimeCall([] { return !GetMD5OfFile("C:\\big.bin").IsEmpty(); }));
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(FILE_SIZE));
}

void MD5OfFile_peer(benchmark::State& state) {
    const s_BigFile& file = GetBigFile();
    for (auto _ : state) {
        Report(state, RunCommand({"md5sum", file.Linux("big.bin")}));
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(FILE_SIZE));
}

} // namespace

BENCHMARK(BitCopyFile_ours)->Name("BitCopyFile/ours")->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BitCopyFile_peer)->Name("BitCopyFile/peer")->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(MD5OfFile_ours)->Name("MD5OfFile/ours")->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(MD5OfFile_peer)->Name("MD5OfFile/peer")->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return n_Bench::RunAndPrintRatios(argc, argv, "cp/md5sum ns");
}
