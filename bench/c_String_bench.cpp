// c_String against std::string: building, copying, appending, joining, searching and ordered maps.

#include "bench/BenchRatio.h"
#include "strings/c_StringNoCase.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <string>

namespace {

const char* Text(int length) {
    static const std::string source = [] {
        std::string text;
        for (int i = 0; i < 1100; ++i) {
            text += static_cast<char>('a' + i % 26);
        }
        return text;
    }();
    return source.c_str() + (source.size() - static_cast<size_t>(length));
}

const int LENGTHS[] = {0, 8, 16, 24, 30, 64, 1000};

void Lengths(benchmark::internal::Benchmark* benchmark) {
    for (int length : LENGTHS) {
        benchmark->Arg(length);
    }
}

void Construct_ours(benchmark::State& state) {
    const c_StringView source(Text(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        c_String text(source);
        benchmark::DoNotOptimize(text);
    }
}
void Construct_peer(benchmark::State& state) {
    const char* source = Text(static_cast<int>(state.range(0)));
    const size_t length = std::strlen(source);
    for (auto _ : state) {
        std::string text(source, length);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(Construct_ours)->Name("Construct/ours")->Apply(Lengths);
BENCHMARK(Construct_peer)->Name("Construct/peer")->Apply(Lengths);

void Copy_ours(benchmark::State& state) {
    const c_String source(Text(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        c_String copy(source);
        benchmark::DoNotOptimize(copy);
    }
}
void Copy_peer(benchmark::State& state) {
    const std::string source(Text(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        std::string copy(source);
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(Copy_ours)->Name("Copy/ours")->Apply(Lengths);
BENCHMARK(Copy_peer)->Name("Copy/peer")->Apply(Lengths);

// A log line put together from pieces, as most messages are.
void AppendChain_ours(benchmark::State& state) {
    const c_String path("C:\\Program Files\\Dovrik\\Data\\");
    const c_String name("FilesToDownload.txt");
    for (auto _ : state) {
        c_String line = "Error moving " + path + name + " file to the folder " + path + ". " + "Access denied.";
        benchmark::DoNotOptimize(line);
    }
}
void AppendChain_peer(benchmark::State& state) {
    const std::string path("C:\\Program Files\\Dovrik\\Data\\");
    const std::string name("FilesToDownload.txt");
    for (auto _ : state) {
        std::string line = "Error moving " + path + name + " file to the folder " + path + ". " + "Access denied.";
        benchmark::DoNotOptimize(line);
    }
}
BENCHMARK(AppendChain_ours)->Name("AppendChain/ours");
BENCHMARK(AppendChain_peer)->Name("AppendChain/peer");

void Concat_ours(benchmark::State& state) {
    const c_String host("127.0.0.2");
    const c_String path("downloads/VersionNumbers.txt");
    for (auto _ : state) {
        c_String url = Concat({"https://", host, ":8443/", path});
        benchmark::DoNotOptimize(url);
    }
}
void Concat_peer(benchmark::State& state) {
    const std::string host("127.0.0.2");
    const std::string path("downloads/VersionNumbers.txt");
    for (auto _ : state) {
        std::string url;
        url.reserve(8 + host.size() + 6 + path.size());
        url.append("https://").append(host).append(":8443/").append(path);
        benchmark::DoNotOptimize(url);
    }
}
BENCHMARK(Concat_ours)->Name("Concat/ours");
BENCHMARK(Concat_peer)->Name("Concat/peer");

// A 1000-byte text searched for a pattern near its end.
const char* const HAYSTACK = Text(1000);
const char* const NEEDLE = "uvwxyzabc";

void Find_ours(benchmark::State& state) {
    const c_String text(HAYSTACK);
    const c_StringView pattern(NEEDLE);
    for (auto _ : state) {
        benchmark::DoNotOptimize(text.ReverseFind(pattern) + text.Find(pattern, 900));
    }
}
void Find_peer(benchmark::State& state) {
    const std::string text(HAYSTACK);
    const std::string pattern(NEEDLE);
    for (auto _ : state) {
        benchmark::DoNotOptimize(text.rfind(pattern) + text.find(pattern, 900));
    }
}
BENCHMARK(Find_ours)->Name("Find/ours");
BENCHMARK(Find_peer)->Name("Find/peer");

void FindNoCase_ours(benchmark::State& state) {
    const c_StringNoCase text(HAYSTACK);
    const c_StringView pattern("UVWXYZABC");
    for (auto _ : state) {
        benchmark::DoNotOptimize(text.Find(pattern));
    }
}
void FindNoCase_peer(benchmark::State& state) {
    const std::string text(HAYSTACK);
    const std::string pattern("UVWXYZABC");
    for (auto _ : state) {
        auto found = std::search(text.begin(), text.end(), pattern.begin(), pattern.end(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        });
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(FindNoCase_ours)->Name("FindNoCase/ours");
BENCHMARK(FindNoCase_peer)->Name("FindNoCase/peer");

const char* const HEADER_NAMES[] = {
    "Accept",
    "Accept-Charset",
    "Accept-Encoding",
    "Accept-Language",
    "Accept-Ranges",
    "Age",
    "Allow",
    "Authorization",
    "Cache-Control",
    "Connection",
    "Content-Encoding",
    "Content-Language",
    "Content-Length",
    "Content-Location",
    "Content-Range",
    "Content-Type",
    "Date",
    "ETag",
    "Expires",
    "Host",
    "If-Modified-Since",
    "Last-Modified",
    "Location",
    "Pragma",
    "Proxy-Authenticate",
    "Range",
    "Referer",
    "Server",
    "Transfer-Encoding",
    "User-Agent",
};

struct s_LessNoCase {
    bool operator()(const std::string& left, const std::string& right) const {
        return strcasecmp(left.c_str(), right.c_str()) < 0;
    }
};

void HeaderMap_ours(benchmark::State& state) {
    std::map<c_StringNoCase, int> headers;
    for (const char* name : HEADER_NAMES) {
        headers[name] = 1;
    }
    const c_StringNoCase lookups[] = {"content-length", "TRANSFER-ENCODING", "location", "Host", "x-missing"};
    for (auto _ : state) {
        int found = 0;
        for (const c_StringNoCase& name : lookups) {
            found += static_cast<int>(headers.count(name));
        }
        benchmark::DoNotOptimize(found);
    }
}
void HeaderMap_peer(benchmark::State& state) {
    std::map<std::string, int, s_LessNoCase> headers;
    for (const char* name : HEADER_NAMES) {
        headers[name] = 1;
    }
    const std::string lookups[] = {"content-length", "TRANSFER-ENCODING", "location", "Host", "x-missing"};
    for (auto _ : state) {
        int found = 0;
        for (const std::string& name : lookups) {
            found += static_cast<int>(headers.count(name));
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(HeaderMap_ours)->Name("HeaderMap/ours");
BENCHMARK(HeaderMap_peer)->Name("HeaderMap/peer");

} // namespace

int main(int argc, char** argv) {
    return n_Bench::RunAndPrintRatios(argc, argv, "std::string");
}
