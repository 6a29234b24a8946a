// c_HTTPResponse's throughput on a 32 MiB body sent by length, in 8 KiB chunks and gzip-compressed,
// fed in 64 KiB pieces as a socket delivers them. The peers are a plain memcpy of the same body bytes
// (length and chunked) and zlib's own inflate loop (gzip). Every side writes into fresh memory each
// iteration, as each response gets a body of its own: on this machine the page faults of a new body
// cost far more than the copy.

#include "bench/BenchRatio.h"
#include "network/testing/CompressionTestData.h"
#include "protocols/http/c_HTTPResponse.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

using namespace n_CompressionTestData;

constexpr std::size_t DATA_SIZE = 32u << 20;
constexpr std::size_t PIECE = 64u << 10;
constexpr std::size_t CHUNK = 8u << 10;

enum e_Form { FORM_LENGTH, FORM_CHUNKED, FORM_GZIP };

const std::string& Data() {
    static const std::string data = MixedData(DATA_SIZE, 2024);
    return data;
}

const std::string& Gzipped() {
    static const std::string gzipped = Deflated(Data(), GZIP_WINDOW_BITS);
    return gzipped;
}

std::string MakeResponse(int form) {
    if (form == FORM_LENGTH) {
        return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(DATA_SIZE) + "\r\n\r\n" + Data();
    }
    if (form == FORM_GZIP) {
        return "HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Length: " + std::to_string(Gzipped().size()) +
               "\r\n\r\n" + Gzipped();
    }
    std::string response = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    for (std::size_t at = 0; at < DATA_SIZE; at += CHUNK) {
        char line[16];
        std::snprintf(line, sizeof(line), "%zx\r\n", std::min(CHUNK, DATA_SIZE - at));
        response += line + Data().substr(at, CHUNK) + "\r\n";
    }
    return response + "0\r\n\r\n";
}

const std::string& Response(int form) {
    static std::string responses[3];
    if (responses[form].empty()) {
        responses[form] = MakeResponse(form);
    }
    return responses[form];
}

void Parse_ours(benchmark::State& state) {
    const std::string& response = Response(int(state.range(0)));
    c_ByteBuffer received;
    c_HTTPResponse parser(nullptr, 1);
    for (auto _ : state) {
        parser.Reset();
        for (std::size_t at = 0; at < response.size(); at += PIECE) {
            received.Append(response.data() + at, std::uint32_t(std::min(PIECE, response.size() - at)));
            parser.ParseData(received);
        }
        if (!parser.IsComplete() || parser.GetBody().GetSize() != DATA_SIZE) {
            state.SkipWithError("parse failed");
        }
        benchmark::DoNotOptimize(parser.GetBody().GetData());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(DATA_SIZE));
}

void CopyPeer(benchmark::State& state) {
    const std::string& data = Data();
    for (auto _ : state) {
        const std::unique_ptr<std::uint8_t[]> output(new std::uint8_t[DATA_SIZE]);
        for (std::size_t at = 0; at < DATA_SIZE; at += PIECE) {
            std::memcpy(output.get() + at, data.data() + at, std::min(PIECE, DATA_SIZE - at));
        }
        benchmark::DoNotOptimize(output.get());
    }
}

void InflatePeer(benchmark::State& state) {
    const std::string& compressed = Gzipped();
    for (auto _ : state) {
        const std::unique_ptr<std::uint8_t[]> output(new std::uint8_t[DATA_SIZE]);
        z_stream stream;
        std::memset(&stream, 0, sizeof(stream));
        inflateInit2(&stream, 47);
        stream.next_out = output.get();
        stream.avail_out = uInt(DATA_SIZE);
        for (std::size_t at = 0; at < compressed.size(); at += PIECE) {
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data() + at));
            stream.avail_in = uInt(std::min(PIECE, compressed.size() - at));
            inflate(&stream, Z_NO_FLUSH);
        }
        if (stream.total_out != DATA_SIZE) {
            state.SkipWithError("wrong size");
        }
        inflateEnd(&stream);
        benchmark::DoNotOptimize(output.get());
    }
}

void Parse_peer(benchmark::State& state) {
    if (state.range(0) == FORM_GZIP) {
        InflatePeer(state);
    } else {
        CopyPeer(state);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(DATA_SIZE));
}

} // namespace

// The argument is the body's form: 0 by length, 1 in 8 KiB chunks, 2 gzip by length.
BENCHMARK(Parse_ours)->Name("Body32MiB/ours")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(1);
BENCHMARK(Parse_peer)->Name("Body32MiB/peer")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(1);

int main(int argc, char** argv) {
    return n_Bench::RunAndPrintRatios(argc, argv, "memcpy (length, chunked) and zlib's inflate (gzip)");
}
