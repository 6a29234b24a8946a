// c_MD5 against OpenSSL's EVP MD5 (hand-written assembly) on small, medium and large inputs.

#include "bench/BenchRatio.h"
#include "textutil/c_MD5.h"

#include <openssl/evp.h>

#include <cstdint>
#include <vector>

namespace {

std::vector<std::uint8_t> MakeData(std::size_t size) {
    std::vector<std::uint8_t> data(size);
    std::uint32_t state = 12345;
    for (std::uint8_t& byte : data) {
        state = state * 1103515245 + 12345;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    return data;
}

void MD5_ours(benchmark::State& state) {
    const std::vector<std::uint8_t> data = MakeData(static_cast<std::size_t>(state.range(0)));
    std::uint8_t digest[c_MD5::DIGEST_SIZE];
    for (auto _ : state) {
        MD5Digest(s_ByteSpan::FromPointer(data.data(), data.size()), digest);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void MD5_peer(benchmark::State& state) {
    const std::vector<std::uint8_t> data = MakeData(static_cast<std::size_t>(state.range(0)));
    std::uint8_t digest[EVP_MAX_MD_SIZE];
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    for (auto _ : state) {
        unsigned int size = 0;
        EVP_DigestInit_ex(context, EVP_md5(), nullptr);
        EVP_DigestUpdate(context, data.data(), data.size());
        EVP_DigestFinal_ex(context, digest, &size);
        benchmark::DoNotOptimize(digest);
    }
    EVP_MD_CTX_free(context);
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(MD5_ours)->Name("MD5/ours")->Arg(64)->Arg(64 << 10)->Arg(64 << 20);
BENCHMARK(MD5_peer)->Name("MD5/peer")->Arg(64)->Arg(64 << 10)->Arg(64 << 20);

int main(int argc, char** argv) {
    return n_Bench::RunAndPrintRatios(argc, argv, "OpenSSL MD5");
}
