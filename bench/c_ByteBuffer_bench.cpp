// c_ByteBuffer as a socket-like FIFO against std::vector with a read offset.
//
// Each round appends one received chunk and consumes what a parser would take, a little less than
// it got, so data lingers and the free room behind it is reused; every 64 rounds the consumer
// drains the buffer, as at the end of a message.

#include "bench/BenchRatio.h"
#include "textutil/c_ByteBuffer.h"

#include <cstdint>
#include <vector>

namespace {

constexpr int ROUNDS = 1024;

// The peer: a vector that drops consumed bytes from the front once they are half of it.
class c_VectorFifo {
public:
    void Append(const std::uint8_t* bytes, std::size_t count) { m_Bytes.insert(m_Bytes.end(), bytes, bytes + count); }
    void Consume(std::size_t count) {
        m_Offset += count < GetSize() ? count : GetSize();
        if (m_Offset == m_Bytes.size()) {
            m_Bytes.clear();
            m_Offset = 0;
        } else if (m_Offset > m_Bytes.size() / 2) {
            m_Bytes.erase(m_Bytes.begin(), m_Bytes.begin() + static_cast<std::ptrdiff_t>(m_Offset));
            m_Offset = 0;
        }
    }
    std::size_t GetSize() const { return m_Bytes.size() - m_Offset; }
    const std::uint8_t* GetData() const { return m_Bytes.data() + m_Offset; }

private:
    std::vector<std::uint8_t> m_Bytes;
    std::size_t m_Offset = 0;
};

template <typename Fifo, typename AppendFunction> void RunFifo(benchmark::State& state, AppendFunction append) {
    const std::size_t chunk = static_cast<std::size_t>(state.range(0));
    const std::vector<std::uint8_t> received(chunk, 0x5A);
    for (auto _ : state) {
        Fifo fifo;
        for (int round = 0; round < ROUNDS; ++round) {
            append(fifo, received.data(), chunk);
            benchmark::DoNotOptimize(fifo.GetData());
            fifo.Consume(round % 64 == 63 ? fifo.GetSize() : chunk - chunk / 8);
        }
    }
    state.SetBytesProcessed(state.iterations() * ROUNDS * state.range(0));
}

void Fifo_ours(benchmark::State& state) {
    RunFifo<c_ByteBuffer>(state, [](c_ByteBuffer& fifo, const std::uint8_t* bytes, std::size_t count) {
        fifo.Append(bytes, static_cast<std::uint32_t>(count));
    });
}

void Fifo_peer(benchmark::State& state) {
    RunFifo<c_VectorFifo>(
        state, [](c_VectorFifo& fifo, const std::uint8_t* bytes, std::size_t count) { fifo.Append(bytes, count); });
}

} // namespace

BENCHMARK(Fifo_ours)->Name("Fifo/ours")->Arg(64)->Arg(1460)->Arg(16384);
BENCHMARK(Fifo_peer)->Name("Fifo/peer")->Arg(64)->Arg(1460)->Arg(16384);

int main(int argc, char** argv) {
    return n_Bench::RunAndPrintRatios(argc, argv, "std::vector");
}
