// ToString and ParseInt32 against std::to_chars and std::from_chars on integers of every width.

#include "bench/BenchRatio.h"
#include "textutil/NumberFormatting.h"
#include "textutil/NumberParsing.h"

#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr int COUNT = 1024;

std::vector<int> MakeValues() {
    std::vector<int> values(COUNT);
    std::uint32_t state = 77;
    for (int& value : values) {
        state = state * 1664525 + 1013904223;
        // Every width from one digit to ten, and both signs.
        value = static_cast<int>(state) >> (state % 31);
    }
    return values;
}

std::vector<std::string> MakeTexts() {
    std::vector<std::string> texts;
    for (const int value : MakeValues()) {
        texts.push_back(std::to_string(value));
    }
    return texts;
}

void ToString_ours(benchmark::State& state) {
    const std::vector<int> values = MakeValues();
    for (auto _ : state) {
        for (const int value : values) {
            c_String text = ToString(value);
            benchmark::DoNotOptimize(text);
        }
    }
    state.SetItemsProcessed(state.iterations() * COUNT);
}

void ToString_peer(benchmark::State& state) {
    const std::vector<int> values = MakeValues();
    for (auto _ : state) {
        for (const int value : values) {
            char buffer[16];
            const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
            benchmark::DoNotOptimize(buffer);
            benchmark::DoNotOptimize(result.ptr);
        }
    }
    state.SetItemsProcessed(state.iterations() * COUNT);
}

void ParseInt32_ours(benchmark::State& state) {
    const std::vector<std::string> texts = MakeTexts();
    for (auto _ : state) {
        for (const std::string& text : texts) {
            benchmark::DoNotOptimize(ParseInt32(c_StringView(text.data(), static_cast<int>(text.size()))));
        }
    }
    state.SetItemsProcessed(state.iterations() * COUNT);
}

void ParseInt32_peer(benchmark::State& state) {
    const std::vector<std::string> texts = MakeTexts();
    for (auto _ : state) {
        for (const std::string& text : texts) {
            int value = 0;
            std::from_chars(text.data(), text.data() + text.size(), value);
            benchmark::DoNotOptimize(value);
        }
    }
    state.SetItemsProcessed(state.iterations() * COUNT);
}

} // namespace

BENCHMARK(ToString_ours)->Name("ToString/ours");
BENCHMARK(ToString_peer)->Name("ToString/peer");
BENCHMARK(ParseInt32_ours)->Name("ParseInt32/ours");
BENCHMARK(ParseInt32_peer)->Name("ParseInt32/peer");

int main(int argc, char** argv) {
    return n_Bench::RunAndPrintRatios(argc, argv, "std::charconv");
}
