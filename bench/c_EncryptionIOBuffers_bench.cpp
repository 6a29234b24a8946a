// c_EncryptionIOBuffers against the same client/server pair written directly with SSL_read and
// SSL_write over memory BIOs: 1 GiB of application bytes in 64 KiB pieces, and the handshake rate.

#include "bench/BenchRatio.h"
#include "network/c_EncryptionIOBuffers.h"
#include "network/c_TLSContext.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr std::int64_t TOTAL_BYTES = std::int64_t(1) << 30;
const char SERVER_NAME[] = "Dovrik Chart Cert";

// One server context with the self-signed certificate and a client context that trusts it.
struct s_Contexts {
    c_TLSContext m_Server{3, 1};
    c_TLSContext m_Client{3, 0};
    s_Contexts() {
        if (!m_Server.CreateAndUseSelfSignedCertificate(nullptr) ||
            X509_STORE_add_cert(SSL_CTX_get_cert_store(m_Client.GetSSLContext()),
                                SSL_CTX_get0_certificate(m_Server.GetSSLContext())) != 1) {
            std::abort();
        }
    }
};

s_Contexts& GetContexts() {
    static s_Contexts contexts;
    return contexts;
}

std::vector<std::uint8_t> MakePiece(std::size_t size) {
    std::vector<std::uint8_t> piece(size);
    for (std::size_t i = 0; i < size; ++i) {
        piece[i] = static_cast<std::uint8_t>(i * 31 + 7);
    }
    return piece;
}

// Ours: the buffers as the socket drives them.
struct s_OurPair {
    c_EncryptionIOBuffers m_Client{&GetContexts().m_Client};
    c_EncryptionIOBuffers m_Server{&GetContexts().m_Server};

    static void Pump(c_EncryptionIOBuffers& from, c_EncryptionIOBuffers& to) {
        from.ProcessIO();
        c_ByteBuffer& records = from.GetOutgoingEncrypted();
        to.GetIncomingEncrypted().Append(records);
        records.Consume(records.GetSize());
        to.ProcessIO();
    }
    void Handshake() {
        m_Client.SetServerName(SERVER_NAME);
        m_Client.StartHandshake();
        m_Server.StartHandshake();
        for (int round = 0; round < 3; ++round) {
            Pump(m_Client, m_Server);
            Pump(m_Server, m_Client);
        }
        if (m_Client.HasError() || m_Server.HasError()) {
            std::abort();
        }
    }
    std::uint32_t Transfer(const std::vector<std::uint8_t>& piece) {
        m_Client.GetOutgoingPlain().Append(piece.data(), static_cast<std::uint32_t>(piece.size()));
        Pump(m_Client, m_Server);
        c_ByteBuffer& received = m_Server.GetIncomingDecrypted();
        const std::uint32_t size = received.GetSize();
        received.Consume(size);
        return size;
    }
};

// The peer: the same two SSL objects driven directly.
struct s_DirectPair {
    SSL* m_p_Client = SSL_new(GetContexts().m_Client.GetSSLContext());
    SSL* m_p_Server = SSL_new(GetContexts().m_Server.GetSSLContext());
    std::vector<std::uint8_t> m_Wire = std::vector<std::uint8_t>(1 << 17);
    std::vector<std::uint8_t> m_Plain = std::vector<std::uint8_t>(1 << 16);

    s_DirectPair() {
        SSL_set_bio(m_p_Client, BIO_new(BIO_s_mem()), BIO_new(BIO_s_mem()));
        SSL_set_bio(m_p_Server, BIO_new(BIO_s_mem()), BIO_new(BIO_s_mem()));
    }
    ~s_DirectPair() {
        SSL_free(m_p_Client);
        SSL_free(m_p_Server);
    }
    void Move(SSL* from, SSL* to) {
        for (int read = 0; (read = BIO_read(SSL_get_wbio(from), m_Wire.data(), static_cast<int>(m_Wire.size()))) > 0;) {
            BIO_write(SSL_get_rbio(to), m_Wire.data(), read);
        }
    }
    void Handshake() {
        SSL_set1_host(m_p_Client, SERVER_NAME);
        SSL_set_tlsext_host_name(m_p_Client, SERVER_NAME);
        SSL_set_connect_state(m_p_Client);
        SSL_set_accept_state(m_p_Server);
        for (int round = 0; round < 3; ++round) {
            SSL_do_handshake(m_p_Client);
            Move(m_p_Client, m_p_Server);
            SSL_do_handshake(m_p_Server);
            Move(m_p_Server, m_p_Client);
        }
        if (SSL_is_init_finished(m_p_Client) == 0 || SSL_is_init_finished(m_p_Server) == 0) {
            std::abort();
        }
    }
    std::uint32_t Transfer(const std::vector<std::uint8_t>& piece) {
        SSL_write(m_p_Client, piece.data(), static_cast<int>(piece.size()));
        Move(m_p_Client, m_p_Server);
        std::uint32_t total = 0;
        for (int read = 0; (read = SSL_read(m_p_Server, m_Plain.data(), static_cast<int>(m_Plain.size()))) > 0;) {
            total += static_cast<std::uint32_t>(read);
        }
        return total;
    }
};

template <typename Pair> void Transfer(benchmark::State& state) {
    const std::vector<std::uint8_t> piece = MakePiece(static_cast<std::size_t>(state.range(0)));
    Pair pair;
    pair.Handshake();
    for (auto _ : state) {
        std::int64_t moved = 0;
        while (moved < TOTAL_BYTES) {
            moved += pair.Transfer(piece);
        }
        benchmark::DoNotOptimize(moved);
    }
    state.SetBytesProcessed(state.iterations() * TOTAL_BYTES);
}

template <typename Pair> void Handshake(benchmark::State& state) {
    for (auto _ : state) {
        Pair pair;
        pair.Handshake();
    }
}

} // namespace

BENCHMARK(Transfer<s_OurPair>)->Name("TLSTransfer1GiB/ours")->Arg(64 << 10)->Unit(benchmark::kMillisecond);
BENCHMARK(Transfer<s_DirectPair>)->Name("TLSTransfer1GiB/peer")->Arg(64 << 10)->Unit(benchmark::kMillisecond);
BENCHMARK(Handshake<s_OurPair>)->Name("TLSHandshake/ours")->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(Handshake<s_DirectPair>)->Name("TLSHandshake/peer")->Arg(0)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    return n_Bench::RunAndPrintRatios(argc, argv, "direct SSL");
}
