// A whole installation from the local nginx mirrors (tools/mirror): 200 files of 256 MiB in all and 50
// small ones, by the installer program run unattended and headless into a fresh folder, against a
// shell pipeline doing the same job with curl (five transfers at a time, one connection per file) and
// md5sum. Prints both times, the ratio and the installer's peak memory. Holds the mirror addresses'
// lock while nginx runs. An installation that leaves files out is an error, not a figure.

#include "bench/BenchRatio.h"
#include "installer/testing/c_MirrorKit.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int LARGE_FILES = 200;
constexpr int LARGE_MIB = 256;
constexpr int SMALL_FILES = 50;
// The mirror with the largest field 4 that the installer chooses, used by the peer as well.
constexpr const char* CHOSEN_MIRROR = "127.0.0.3";

bool g_Failed = false;

c_MirrorKit& GetKit() {
    static c_MirrorKit kit({"--large-files", std::to_string(LARGE_FILES), "--large-mib", std::to_string(LARGE_MIB),
                            "--small-files", std::to_string(SMALL_FILES)});
    static const bool started = kit.IsReady() && kit.StartNginx();
    if (!started) {
        std::fprintf(stderr, "Installation_bench: the mirror kit or nginx did not start\n");
    }
    return kit;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// The files both lists name, as "folder/name" under the installation folder.
std::vector<std::string> GetListedFiles() {
    std::vector<std::string> files;
    const std::string version = std::to_string(c_MirrorKit::CURRENT_VERSION);
    for (const std::string& list : {version, std::string("Common")}) {
        std::istringstream lines(ReadFile(GetKit().GetPath("payload/downloads/" + list + "/FilesToDownload.txt")));
        for (std::string line; std::getline(lines, line);) {
            const std::size_t equals = line.find('=');
            if (equals == std::string::npos) {
                continue;
            }
            const std::string folder = line.substr(equals + 1, line.find('|') - equals - 1);
            files.push_back((folder.empty() ? "" : folder + "/") + line.substr(0, equals));
        }
    }
    return files;
}

// The listed files that are missing in folder or differ in size from the mirror's.
int CountMissingFiles(const std::string& folder) {
    int missing = 0;
    const std::string version = std::to_string(c_MirrorKit::CURRENT_VERSION);
    for (const std::string& file : GetListedFiles()) {
        std::string source = GetKit().GetPath("payload/downloads/" + version + "/" + file);
        if (!std::filesystem::exists(source)) {
            source = GetKit().GetPath("payload/downloads/Common/" + file);
        }
        std::error_code error;
        if (std::filesystem::file_size(folder + "/" + file, error) != std::filesystem::file_size(source)) {
            ++missing;
        }
    }
    return missing;
}

// Runs the program with its environment; its exit status, and its peak memory in MiB.
int RunProgram(const std::vector<std::string>& arguments, const std::vector<std::string>& variables, double* peakMiB) {
    std::vector<std::string> environment(variables);
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string text = *variable;
        if (text.rfind("DISPLAY=", 0) != 0 && text.rfind("WAYLAND_DISPLAY=", 0) != 0) {
            environment.push_back(text);
        }
    }
    std::vector<char*> argumentPointers;
    std::vector<std::string> argumentCopies(arguments);
    for (std::string& argument : argumentCopies) {
        argumentPointers.push_back(argument.data());
    }
    argumentPointers.push_back(nullptr);
    std::vector<char*> environmentPointers;
    for (std::string& variable : environment) {
        environmentPointers.push_back(variable.data());
    }
    environmentPointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t process = 0;
    const int spawned = posix_spawn(&process, argumentPointers[0], &actions, nullptr, argumentPointers.data(),
                                    environmentPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return -1;
    }
    int status = 0;
    rusage usage{};
    wait4(process, &status, 0, &usage);
    *peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The last lines of the newest log in the folder, which is gone with the kit.
void PrintLogEnd(const std::string& folder) {
    std::filesystem::path newest;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (newest.empty() || entry.last_write_time() > std::filesystem::last_write_time(newest)) {
            newest = entry.path();
        }
    }
    if (newest.empty()) {
        std::fprintf(stderr, "Installation_bench: the installer wrote no log\n");
        return;
    }
    std::vector<std::string> lines;
    std::istringstream log(ReadFile(newest.string()));
    for (std::string line; std::getline(log, line);) {
        lines.push_back(line);
    }
    std::string end;
    for (std::size_t at = lines.size() > 8 ? lines.size() - 8 : 0; at < lines.size(); ++at) {
        end += "    " + lines[at] + "\n";
    }
    std::fprintf(stderr, "Installation_bench: the end of its log %s:\n%s", newest.c_str(), end.c_str());
}

// A fresh drive C: with the program copied into C:\Downloads, so its log and its copy stay inside.
std::string MakeDriveC() {
    const std::string driveC = GetKit().GetPath("run/c");
    std::filesystem::remove_all(GetKit().GetPath("run"));
    std::filesystem::create_directories(driveC + "/Downloads");
    std::filesystem::copy_file(INSTALLER_PROGRAM, driveC + "/Downloads/DovrikChartInstaller.exe");
    return driveC;
}

void Installation_ours(benchmark::State& state) {
    GetKit();
    double peakMiB = 0;
    std::string driveC;
    int status = 0;
    for (auto _ : state) {
        state.PauseTiming();
        driveC = MakeDriveC();
        state.ResumeTiming();
        // A program that does not end by itself is stopped; it has then installed nothing whole.
        status = RunProgram(
            {"/usr/bin/timeout", "120", driveC + "/Downloads/DovrikChartInstaller.exe", "/InstallPath=C:\\DovrikChart",
             "/CreateShortcuts=false", "/AutoStart2=1"},
            {"PLATFORM_DRIVES=C=" + driveC + ";Z=/", "HOME=" + driveC, "SSL_CERT_FILE=" + GetKit().GetAuthorityPath()},
            &peakMiB);
    }
    const int missing = CountMissingFiles(driveC + "/DovrikChart");
    if (missing > 0) {
        g_Failed = true;
        std::fprintf(stderr, "Installation_bench: the installer (exit status %d) left %d of %zu listed files out\n",
                     status, missing, GetListedFiles().size());
        PrintLogEnd(driveC + "/Downloads/Logs");
        state.SkipWithError("the installer did not install the files");
        return;
    }
    state.counters["peak_MiB"] = peakMiB;
}

// The same job by curl and md5sum: the version from one mirror, both lists, every file with five
// curl processes at a time (one connection each), then every MD5 checked.
const char* PEER_SCRIPT = R"(set -euo pipefail
base=https://$1:8443/downloads; destination=$2; authority=$3
get() { curl -sf --cacert "$authority" "$@"; }
version=$(get "$base/VersionNumbers.txt" | cut -d'|' -f1)
: >"$destination.transfers"; : >"$destination.md5"
for list in "$version" Common; do
    get "$base/$list/FilesToDownload.txt" | tr -d '\r' | grep '=' | while IFS='=' read -r name value; do
        folder=${value%%|*}; rest=${value#*|}; path=${folder:+$folder/}$name; url="$base/$list/$path"
        printf '%s\0%s\0' "${url// /%20}" "$destination/$path" >>"$destination.transfers"
        printf '%s  %s\n' "${rest%%|*}" "$destination/$path" >>"$destination.md5"
    done
done
xargs -0 -n 2 -P 5 sh -c 'curl -sf --create-dirs --cacert "$0" -o "$2" "$1"' "$authority" <"$destination.transfers"
md5sum -c --quiet "$destination.md5"
)";

void Installation_peer(benchmark::State& state) {
    GetKit();
    const std::string destination = GetKit().GetPath("peer");
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(destination);
        state.ResumeTiming();
        double peakMiB = 0;
        if (RunProgram(
                {"/bin/bash", "-c", PEER_SCRIPT, "peer", CHOSEN_MIRROR, destination, GetKit().GetAuthorityPath()}, {},
                &peakMiB) != 0) {
            state.SkipWithError("the curl pipeline failed");
        }
    }
}

BENCHMARK(Installation_ours)->Name("Installation/ours")->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(Installation_peer)->Name("Installation/peer")->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    n_Bench::RunAndPrintRatios(argc, argv, "curl x5 and md5sum");
    return g_Failed ? 1 : 0;
}
