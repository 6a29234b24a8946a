// c_EncryptionIOBuffers: the TLS layer of one connection, one OpenSSL SSL object over two memory BIOs.

#include "network/c_EncryptionIOBuffers.h"

#include "network/TLSTexts.h"
#include "network/internal/PEMFiles.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <algorithm>
#include <climits>

namespace {

// Bytes per SSL_read and BIO_read, and the room made before each: a whole record's plain bytes,
// since 1 KiB steps cost a third of the throughput.
constexpr int STEP = 16384;
constexpr std::uint32_t ROOM = STEP;

// OpenSSL takes int counts; larger buffers go in int-sized pieces.
int ToCount(std::uint32_t size) {
    return static_cast<int>(std::min<std::uint32_t>(size, INT_MAX));
}

void ConsumeWritten(c_ByteBuffer& buffer, int written) {
    buffer.Consume(std::min(static_cast<std::uint32_t>(written), buffer.GetSize()));
}

// Room for one step after the data; false when the buffer cannot grow.
bool MakeRoom(c_ByteBuffer& buffer) {
    const std::uint32_t size = buffer.GetSize();
    return size <= c_ByteBuffer::MAX_SIZE - ROOM && buffer.SetSize(size + ROOM);
}

bool IsIPAddress(const c_String& hostName) {
    ASN1_OCTET_STRING* address = a2i_IPADDRESS(hostName.GetChars());
    ASN1_OCTET_STRING_free(address);
    return address != nullptr;
}

} // namespace

c_EncryptionIOBuffers::c_EncryptionIOBuffers(c_TLSContext* context) : m_p_Context(context) {
    ERR_clear_error();
    m_p_SSL = SSL_new(context->GetSSLContext());
    if (m_p_SSL == nullptr) {
        SetOpenSSLError("Failed to create a new SSL object.  ");
        return;
    }
    m_p_ReadBIO = BIO_new(BIO_s_mem());
    m_p_WriteBIO = BIO_new(BIO_s_mem());
    if (m_p_ReadBIO == nullptr || m_p_WriteBIO == nullptr) {
        // Without both BIOs the SSL object is no use; keep the error case's promise of no calls.
        SetOpenSSLError("Failed to create a new SSL object.  ");
        BIO_free(m_p_ReadBIO);
        BIO_free(m_p_WriteBIO);
        SSL_free(m_p_SSL);
        m_p_SSL = nullptr;
        m_p_ReadBIO = m_p_WriteBIO = nullptr;
        return;
    }
    SSL_set_bio(m_p_SSL, m_p_ReadBIO, m_p_WriteBIO);
}

c_EncryptionIOBuffers::~c_EncryptionIOBuffers() {
    SSL_free(m_p_SSL);
}

void c_EncryptionIOBuffers::SetError(const c_StringView& text) {
    if (m_HasError) {
        return;
    }
    m_HasError = true;
    m_ErrorText = text;
}

void c_EncryptionIOBuffers::SetOpenSSLError(const c_StringView& text) {
    c_String queue = GetOpenSSLErrorText();
    const long verifyResult = m_p_SSL != nullptr ? SSL_get_verify_result(m_p_SSL) : X509_V_OK;
    if (verifyResult != X509_V_OK) {
        if (!queue.IsEmpty()) {
            queue += "; ";
        }
        queue += "certificate verify error: ";
        queue += X509_verify_cert_error_string(verifyResult);
    }
    SetError(text + queue);
}

bool c_EncryptionIOBuffers::UseCertificateFile(const c_String& pathAndFileName) {
    if (!IsUsable()) {
        return false;
    }
    ERR_clear_error();
    X509* certificate = n_PEMFiles::ReadCertificate(pathAndFileName);
    const bool certificateUsed = certificate != nullptr && SSL_use_certificate(m_p_SSL, certificate) == 1;
    X509_free(certificate);
    if (!certificateUsed) {
        SetOpenSSLError(Concat({"Failed to use certificate file ", pathAndFileName, ".  "}));
        return false;
    }
    EVP_PKEY* key = n_PEMFiles::ReadPrivateKey(pathAndFileName);
    const bool keyUsed = key != nullptr && SSL_use_PrivateKey(m_p_SSL, key) == 1;
    EVP_PKEY_free(key);
    if (!keyUsed) {
        SetOpenSSLError(Concat({"Failed to use private key from file ", pathAndFileName, ".  "}));
        return false;
    }
    if (SSL_check_private_key(m_p_SSL) != 1) {
        SetOpenSSLError(Concat({"Failed checking private key from file ", pathAndFileName, ".  "}));
        return false;
    }
    return true;
}

bool c_EncryptionIOBuffers::UseClientCertificate(const c_String& certificateAuthorityFile,
                                                 const c_String& certificateFile, const c_String& keyFile) {
    if (!IsUsable()) {
        return false;
    }
    ERR_clear_error();
    if (!n_PEMFiles::AddAuthorities(SSL_CTX_get_cert_store(m_p_Context->GetSSLContext()), certificateAuthorityFile)) {
        SetOpenSSLError(Concat({"Failed to load certificate authority file ", certificateAuthorityFile, ".  "}));
        return false;
    }
    X509* certificate = n_PEMFiles::ReadCertificate(certificateFile);
    const bool certificateUsed = certificate != nullptr && SSL_use_certificate(m_p_SSL, certificate) == 1;
    X509_free(certificate);
    if (!certificateUsed) {
        SetOpenSSLError(Concat({"Failed to use client certificate from file ", certificateFile, ".  "}));
        return false;
    }
    EVP_PKEY* key = n_PEMFiles::ReadPrivateKey(keyFile);
    const bool keyUsed = key != nullptr && SSL_use_PrivateKey(m_p_SSL, key) == 1;
    EVP_PKEY_free(key);
    if (!keyUsed) {
        SetOpenSSLError(Concat({"Failed to use client certificate private key from file ", keyFile, ".  "}));
        return false;
    }
    return true;
}

bool c_EncryptionIOBuffers::SetServerName(const c_String& hostName) {
    if (m_p_SSL == nullptr || m_p_Context->IsServer()) {
        return true;
    }
    ERR_clear_error();
    if (SetVerifiedName(hostName)) {
        return true;
    }
    SetOpenSSLError(Concat({"Failed to set the server name ", hostName, " for verification.  "}));
    return false;
}

// An empty name would check nothing, so it is refused like one that OpenSSL refuses.
bool c_EncryptionIOBuffers::SetVerifiedName(const c_String& hostName) {
    if (hostName.IsEmpty()) {
        return false;
    }
    if (IsIPAddress(hostName)) {
        return X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(m_p_SSL), hostName.GetChars()) == 1;
    }
    SSL_set_hostflags(m_p_SSL, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
    return SSL_set1_host(m_p_SSL, hostName.GetChars()) == 1 &&
           SSL_set_tlsext_host_name(m_p_SSL, hostName.GetChars()) == 1;
}

bool c_EncryptionIOBuffers::StartHandshake() {
    if (!IsUsable()) {
        return false;
    }
    if (m_p_Context->IsServer()) {
        SSL_set_accept_state(m_p_SSL);
        return true;
    }
    SSL_set_connect_state(m_p_SSL);
    ERR_clear_error();
    const int result = SSL_do_handshake(m_p_SSL);
    // A ClientHello that cannot even be written (no usable cipher or version) fails here, not later.
    if (result != 1 && SSL_get_error(m_p_SSL, result) != SSL_ERROR_WANT_READ) {
        SetOpenSSLError("Failed to start the handshake.  ");
        return false;
    }
    return true;
}

void c_EncryptionIOBuffers::ProcessIO() {
    if (m_p_SSL == nullptr) {
        return;
    }
    m_WriteWantsRead = false;
    if (!m_IncomingEncrypted.IsEmpty()) {
        WriteIncomingEncrypted();
    }
    if (BIO_ctrl_pending(m_p_ReadBIO) != 0) {
        ReadIncomingDecrypted();
    }
    if (!m_PendingPlain.IsEmpty() && WritePendingPlain() && !m_PendingPlain.IsEmpty()) {
        RequeuePartialWrite();
    }
    SendOutgoingPlain();
    if (BIO_ctrl_pending(m_p_WriteBIO) != 0) {
        ReadOutgoingEncrypted();
    }
}

void c_EncryptionIOBuffers::SendOutgoingPlain() {
    if (m_p_SSL == nullptr || m_OutgoingPlain.IsEmpty() || !m_PendingPlain.IsEmpty()) {
        return;
    }
    m_OutgoingPlain.Swap(m_PendingPlain);
    if (WritePendingPlain()) {
        m_OutgoingPlain.Swap(m_PendingPlain);
    }
}

bool c_EncryptionIOBuffers::NeedsProcessing() const {
    if (!IsUsable()) {
        return false;
    }
    return !m_IncomingEncrypted.IsEmpty() || BIO_ctrl_pending(m_p_ReadBIO) != 0 ||
           (!m_OutgoingPlain.IsEmpty() && !m_WriteWantsRead) || BIO_ctrl_pending(m_p_WriteBIO) != 0;
}

void c_EncryptionIOBuffers::Shutdown() {
    if (!IsUsable()) {
        return;
    }
    ERR_clear_error();
    SSL_shutdown(m_p_SSL);
    ERR_clear_error();
    m_IsClosed = true;
}

bool c_EncryptionIOBuffers::Renegotiate() {
    if (m_p_SSL == nullptr) {
        return false;
    }
    ERR_clear_error();
    if (SSL_renegotiate(m_p_SSL) != 1) {
        SetOpenSSLError("Failed to start renegotiation.  ");
        return false;
    }
    const int result = SSL_do_handshake(m_p_SSL);
    // A client's renegotiation waits for the server's answer: that is a started handshake.
    if (result != 1 && SSL_get_error(m_p_SSL, result) != SSL_ERROR_WANT_READ) {
        SetOpenSSLError("Failed to start the handshake for renegotiation.  ");
        return false;
    }
    ReadOutgoingEncrypted();
    return true;
}

void c_EncryptionIOBuffers::WriteIncomingEncrypted() {
    ERR_clear_error();
    const int written = BIO_write(m_p_ReadBIO, m_IncomingEncrypted.GetData(), ToCount(m_IncomingEncrypted.GetSize()));
    if (written > 0) {
        ConsumeWritten(m_IncomingEncrypted, written);
        return;
    }
    SetOpenSSLError("Failed to write incoming encrypted data to the incoming binary I/O stream.  ");
}

void c_EncryptionIOBuffers::ReadIncomingDecrypted() {
    int error = SSL_ERROR_NONE;
    while (error == SSL_ERROR_NONE) {
        const std::uint32_t size = m_IncomingDecrypted.GetSize();
        if (!MakeRoom(m_IncomingDecrypted)) {
            SetError("Failed to make room for incoming decrypted data.");
            return;
        }
        ERR_clear_error();
        const int read = SSL_read(m_p_SSL, m_IncomingDecrypted.GetData() + size, STEP);
        error = read > 0 ? SSL_ERROR_NONE : SSL_get_error(m_p_SSL, read);
        m_IncomingDecrypted.SetSize(size + static_cast<std::uint32_t>(std::max(read, 0)));
    }
    if (error == SSL_ERROR_ZERO_RETURN) {
        m_IsClosed = true;
    } else if (error != SSL_ERROR_WANT_READ) {
        SetOpenSSLError("Failed to read incoming decrypted data from the incoming binary I/O stream.  ");
    }
}

bool c_EncryptionIOBuffers::WritePendingPlain() {
    ERR_clear_error();
    const int written = SSL_write(m_p_SSL, m_PendingPlain.GetData(), ToCount(m_PendingPlain.GetSize()));
    if (written > 0) {
        ConsumeWritten(m_PendingPlain, written);
        return true;
    }
    if (SSL_get_error(m_p_SSL, written) == SSL_ERROR_WANT_READ) {
        m_WriteWantsRead = true;
    } else {
        SetOpenSSLError("Failed to write outgoing unencrypted data to the outgoing binary I/O stream.");
    }
    return false;
}

// The unwritten rest goes back in front of the newer bytes, and the pending buffer is free again.
void c_EncryptionIOBuffers::RequeuePartialWrite() {
    if (!m_PendingPlain.Append(m_OutgoingPlain)) {
        SetError("Failed to make room for outgoing unencrypted data.");
        return;
    }
    m_OutgoingPlain.Consume(m_OutgoingPlain.GetSize());
    m_OutgoingPlain.Swap(m_PendingPlain);
}

void c_EncryptionIOBuffers::ReadOutgoingEncrypted() {
    while (BIO_ctrl_pending(m_p_WriteBIO) != 0) {
        const std::uint32_t size = m_OutgoingEncrypted.GetSize();
        if (!MakeRoom(m_OutgoingEncrypted)) {
            SetError("Failed to make room for outgoing encrypted data.");
            return;
        }
        ERR_clear_error();
        const int read = BIO_read(m_p_WriteBIO, m_OutgoingEncrypted.GetData() + size, STEP);
        m_OutgoingEncrypted.SetSize(size + static_cast<std::uint32_t>(std::max(read, 0)));
        if (read <= 0) {
            SetOpenSSLError("Failed to read outgoing encrypted data from the outgoing binary I/O stream.  ");
            return;
        }
    }
}
