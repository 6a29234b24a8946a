// The LZ4 stream wrappers against LZ4's own streaming calls, on 16 MiB of mixed data handed over in
// 64 KiB calls as a socket's send buffers are. Two peers for each direction:
// - "ring": LZ4's calls in the same ring and framing, as LZ4's ring-buffer example uses them (the
//   work of the wrapper without its checks);
// - "flat": LZ4's calls on the data in place, blocks of 1024 bytes with no ring and so no copy (the
//   least that LZ4 can do for these blocks, possible only when all the data stays in memory).

#include "bench/BenchRatio.h"
#include "network/LZ4Streams.h"
#include "network/testing/CompressionTestData.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using t_Bytes = std::vector<std::uint8_t>;

constexpr std::size_t DATA_SIZE = 16u << 20;
constexpr int CALL = 64 << 10;
constexpr int CHUNK = c_LZ4StreamCompressor::CHUNK_SIZE;
constexpr int RING = int(c_LZ4StreamCompressor::RING_SIZE);

const t_Bytes& Data() {
    static const t_Bytes data = [] {
        const std::string text = n_CompressionTestData::MixedData(DATA_SIZE, 2025);
        return t_Bytes(text.begin(), text.end());
    }();
    return data;
}

int FramedBound() {
    return c_LZ4StreamCompressor::GetStreamCompressBound(int(DATA_SIZE));
}

// The framed stream of the whole data, made once by our compressor.
const t_Bytes& Framed() {
    static const t_Bytes framed = [] {
        t_Bytes out(static_cast<std::size_t>(FramedBound()));
        c_LZ4StreamCompressor compressor;
        int written = 0;
        for (std::size_t at = 0; at < DATA_SIZE; at += CALL) {
            written += compressor.Compress(Data().data() + at, CALL, out.data() + written, int(out.size()) - written);
        }
        out.resize(std::size_t(written));
        return out;
    }();
    return framed;
}

void WriteLength(std::uint8_t* destination, int length) {
    destination[0] = std::uint8_t(length);
    destination[1] = std::uint8_t(length >> 8);
}

void Compress_ours(benchmark::State& state) {
    const t_Bytes& data = Data();
    t_Bytes out(static_cast<std::size_t>(FramedBound()));
    for (auto _ : state) {
        c_LZ4StreamCompressor compressor;
        int written = 0;
        for (std::size_t at = 0; at < DATA_SIZE; at += CALL) {
            written += compressor.Compress(data.data() + at, CALL, out.data() + written, int(out.size()) - written);
        }
        benchmark::DoNotOptimize(written);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(DATA_SIZE));
}

void Compress_ring(benchmark::State& state) {
    const t_Bytes& data = Data();
    t_Bytes out(static_cast<std::size_t>(FramedBound()));
    t_Bytes ring(static_cast<std::size_t>(RING));
    for (auto _ : state) {
        LZ4_stream_t stream;
        LZ4_initStream(&stream, sizeof(stream));
        int position = 0;
        int written = 0;
        for (std::size_t at = 0; at < DATA_SIZE; at += CHUNK) {
            if (position + CHUNK > RING) {
                position = 0;
            }
            std::memcpy(ring.data() + position, data.data() + at, CHUNK);
            const int c = LZ4_compress_fast_continue(&stream, reinterpret_cast<const char*>(ring.data() + position),
                                                     reinterpret_cast<char*>(out.data() + written + 2), CHUNK,
                                                     LZ4_COMPRESSBOUND(CHUNK), 1);
            WriteLength(out.data() + written, c);
            written += c + 2;
            position += CHUNK;
        }
        benchmark::DoNotOptimize(written);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(DATA_SIZE));
}

void Compress_flat(benchmark::State& state) {
    const t_Bytes& data = Data();
    t_Bytes out(static_cast<std::size_t>(FramedBound()));
    for (auto _ : state) {
        LZ4_stream_t stream;
        LZ4_initStream(&stream, sizeof(stream));
        int written = 0;
        for (std::size_t at = 0; at < DATA_SIZE; at += CHUNK) {
            const int c = LZ4_compress_fast_continue(&stream, reinterpret_cast<const char*>(data.data() + at),
                                                     reinterpret_cast<char*>(out.data() + written + 2), CHUNK,
                                                     LZ4_COMPRESSBOUND(CHUNK), 1);
            WriteLength(out.data() + written, c);
            written += c + 2;
        }
        benchmark::DoNotOptimize(written);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(DATA_SIZE));
}

void Decompress_ours(benchmark::State& state) {
    const t_Bytes& framed = Framed();
    t_Bytes out(DATA_SIZE);
    for (auto _ : state) {
        c_LZ4StreamDecompressor decompressor;
        const int written =
            decompressor.Decompress(framed.data(), int(framed.size()), out.data(), int(out.size()), nullptr);
        if (written != int(DATA_SIZE)) {
            state.SkipWithError("wrong size");
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(DATA_SIZE));
}

// Calls decode on each block of the framed stream; returns the bytes decoded.
template <typename Decode> std::size_t DecodeBlocks(const t_Bytes& framed, Decode decode) {
    std::size_t produced = 0;
    for (std::size_t at = 0; at + 2 <= framed.size();) {
        const int length = framed[at] | framed[at + 1] << 8;
        produced += std::size_t(decode(reinterpret_cast<const char*>(framed.data() + at + 2), length));
        at += 2 + std::size_t(length);
    }
    return produced;
}

void Decompress_ring(benchmark::State& state) {
    const t_Bytes& framed = Framed();
    t_Bytes out(DATA_SIZE);
    t_Bytes ring(static_cast<std::size_t>(RING));
    for (auto _ : state) {
        LZ4_streamDecode_t stream;
        LZ4_setStreamDecode(&stream, nullptr, 0);
        int position = 0;
        std::size_t produced = 0;
        DecodeBlocks(framed, [&](const char* block, int length) {
            if (position + CHUNK > RING) {
                position = 0;
            }
            const int c = LZ4_decompress_safe_continue(&stream, block, reinterpret_cast<char*>(ring.data() + position),
                                                       length, CHUNK);
            std::memcpy(out.data() + produced, ring.data() + position, std::size_t(c));
            position += c;
            produced += std::size_t(c);
            return c;
        });
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(DATA_SIZE));
}

void Decompress_flat(benchmark::State& state) {
    const t_Bytes& framed = Framed();
    t_Bytes out(DATA_SIZE);
    for (auto _ : state) {
        LZ4_streamDecode_t stream;
        LZ4_setStreamDecode(&stream, nullptr, 0);
        std::size_t produced = 0;
        DecodeBlocks(framed, [&](const char* block, int length) {
            const int c = LZ4_decompress_safe_continue(&stream, block, reinterpret_cast<char*>(out.data() + produced),
                                                       length, CHUNK);
            produced += std::size_t(c);
            return c;
        });
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(DATA_SIZE));
}

} // namespace

BENCHMARK(Compress_ours)->Name("LZ4StreamCompress/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(Compress_ring)->Name("LZ4StreamCompress/peer")->Unit(benchmark::kMillisecond);
BENCHMARK(Compress_ours)->Name("LZ4StreamCompress-vs-flat/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(Compress_flat)->Name("LZ4StreamCompress-vs-flat/peer")->Unit(benchmark::kMillisecond);
BENCHMARK(Decompress_ours)->Name("LZ4StreamDecompress/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(Decompress_ring)->Name("LZ4StreamDecompress/peer")->Unit(benchmark::kMillisecond);
BENCHMARK(Decompress_ours)->Name("LZ4StreamDecompress-vs-flat/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(Decompress_flat)->Name("LZ4StreamDecompress-vs-flat/peer")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return n_Bench::RunAndPrintRatios(argc, argv, "LZ4 direct");
}
