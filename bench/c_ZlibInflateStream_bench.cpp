// c_ZlibInflateStream against zlib's own inflate loop, on 64 MiB of mixed data (words, numbers and
// runs of random bytes) compressed at the default level, fed in 64 KiB pieces as a socket delivers a
// body. Both write the whole output to memory that is kept from one iteration to the next.

#include "bench/BenchRatio.h"
#include "network/c_ZlibInflateStream.h"
#include "network/testing/CompressionTestData.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::size_t DATA_SIZE = 64u << 20;
constexpr std::size_t PIECE = 64u << 10;

const std::string& Compressed(int windowBits) {
    static const std::string data = n_CompressionTestData::MixedData(DATA_SIZE, 2024);
    static std::string compressed[2];
    std::string& stream = compressed[windowBits == n_CompressionTestData::GZIP_WINDOW_BITS];
    if (stream.empty()) {
        stream = n_CompressionTestData::Deflated(data, windowBits);
    }
    return stream;
}

void Inflate_ours(benchmark::State& state) {
    const std::string& compressed = Compressed(int(state.range(0)));
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(compressed.data());
    // Room for the whole body, touched once, as the peer's output is.
    c_ByteBuffer output;
    PrepareOutputBuffer(output, int(DATA_SIZE));
    output.SetSize(std::uint32_t(DATA_SIZE));
    std::memset(output.GetData(), 0, DATA_SIZE);
    for (auto _ : state) {
        c_ZlibInflateStream stream;
        output.Clear(false);
        for (std::size_t at = 0; at < compressed.size(); at += PIECE) {
            const int length = int(std::min(PIECE, compressed.size() - at));
            if (!stream.Inflate(bytes + at, length, output, nullptr)) {
                state.SkipWithError("inflate failed");
            }
        }
        if (output.GetSize() != DATA_SIZE) {
            state.SkipWithError("wrong size");
        }
        benchmark::DoNotOptimize(output.GetData());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(DATA_SIZE));
}

// zlib's loop as its own example has it: 256 KiB of output room per call until a piece is used up.
void Inflate_peer(benchmark::State& state) {
    const std::string& compressed = Compressed(int(state.range(0)));
    std::vector<std::uint8_t> output(DATA_SIZE);
    for (auto _ : state) {
        z_stream stream;
        std::memset(&stream, 0, sizeof(stream));
        inflateInit2(&stream, c_ZlibInflateStream::WINDOW_BITS_AUTO);
        std::size_t produced = 0;
        int result = Z_OK;
        for (std::size_t at = 0; at < compressed.size() && result != Z_STREAM_END; at += PIECE) {
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data() + at));
            stream.avail_in = uInt(std::min(PIECE, compressed.size() - at));
            do {
                const std::size_t room = std::min<std::size_t>(c_ZlibInflateStream::OUTPUT_STEP, DATA_SIZE - produced);
                stream.next_out = output.data() + produced;
                stream.avail_out = uInt(room);
                result = inflate(&stream, Z_NO_FLUSH);
                produced += room - stream.avail_out;
            } while (stream.avail_out == 0 && result == Z_OK && produced < DATA_SIZE);
        }
        inflateEnd(&stream);
        if (produced != DATA_SIZE) {
            state.SkipWithError("wrong size");
        }
        benchmark::DoNotOptimize(output.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(DATA_SIZE));
}

} // namespace

// The argument is zlib's window bits: 15 for a zlib body, 31 for a gzip body.
BENCHMARK(Inflate_ours)->Name("Inflate64MiB/ours")->Arg(15)->Arg(31)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(Inflate_peer)->Name("Inflate64MiB/peer")->Arg(15)->Arg(31)->Unit(benchmark::kMillisecond)->MinTime(2);

int main(int argc, char** argv) {
    return n_Bench::RunAndPrintRatios(argc, argv, "zlib's loop");
}
