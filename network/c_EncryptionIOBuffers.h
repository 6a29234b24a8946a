#pragma once
// c_EncryptionIOBuffers: the TLS layer of one connection, one OpenSSL SSL object over two memory BIOs.
//
// The socket never hands OpenSSL a socket. It appends plain bytes to send to the outgoing plain
// buffer and received TLS bytes to the incoming encrypted buffer, calls ProcessIO, and takes the
// records to send and the decrypted bytes out of the other two buffers. Plain bytes offered to
// SSL_write that it could not take yet (the handshake is running) wait in a pending buffer that
// nothing else touches, so the retry passes the same bytes at the same address.
//
// The first failure is sticky: its text stays and later failures are dropped. A client checks the
// server's chain and the name given to SetServerName (as an address when it is an IP literal); a
// failed check is the connection's first error, with OpenSSL's verify reason in its text.
// No lock: calls on one object must not overlap.

#include "network/c_TLSContext.h"
#include "strings/c_String.h"
#include "textutil/c_ByteBuffer.h"

#include <openssl/types.h>

class c_EncryptionIOBuffers {
public:
    // The context must outlive the object. When no SSL object can be made, the error is set and no
    // member calls OpenSSL afterwards.
    explicit c_EncryptionIOBuffers(c_TLSContext* context);
    ~c_EncryptionIOBuffers();
    c_EncryptionIOBuffers(const c_EncryptionIOBuffers&) = delete;
    c_EncryptionIOBuffers& operator=(const c_EncryptionIOBuffers&) = delete;

    // This connection's own certificate and key, both from one PEM file. False after an error.
    bool UseCertificateFile(const c_String& pathAndFileName);
    // Adds the authorities to the shared context's store and presents the client certificate.
    // False after an error.
    bool UseClientCertificate(const c_String& certificateAuthorityFile, const c_String& certificateFile,
                              const c_String& keyFile);
    // For a client: the name to check on the server's certificate, sent as server name indication
    // unless it is an IP address. A name that cannot be checked is an error. Servers ignore it.
    bool SetServerName(const c_String& hostName);
    // A client writes its ClientHello, which the next ProcessIO moves out. False after an error.
    bool StartHandshake();
    // Moves bytes through OpenSSL; failures show only in HasError and GetErrorText.
    void ProcessIO();
    // Offers the outgoing plain bytes to SSL_write unless earlier bytes still wait.
    void SendOutgoingPlain();
    bool NeedsProcessing() const;
    // Sends close_notify with the next ProcessIO. Nothing after an error.
    void Shutdown();
    bool Renegotiate();

    bool HasError() const { return m_HasError; }
    const c_String& GetErrorText() const { return m_ErrorText; }
    // Keeps the first text.
    void SetError(const c_StringView& text);
    bool IsClosed() const { return m_IsClosed; }
    bool DoesWriteWantRead() const { return m_WriteWantsRead; }

    c_ByteBuffer& GetOutgoingPlain() { return m_OutgoingPlain; }
    c_ByteBuffer& GetOutgoingEncrypted() { return m_OutgoingEncrypted; }
    c_ByteBuffer& GetIncomingEncrypted() { return m_IncomingEncrypted; }
    c_ByteBuffer& GetIncomingDecrypted() { return m_IncomingDecrypted; }
    const c_ByteBuffer& GetPendingPlain() const { return m_PendingPlain; }

private:
    bool IsUsable() const { return m_p_SSL != nullptr && !m_HasError; }
    // The fixed text followed by OpenSSL's queue and, when the peer's certificate failed, its reason.
    void SetOpenSSLError(const c_StringView& text);
    bool SetVerifiedName(const c_String& hostName);
    void WriteIncomingEncrypted();
    void ReadIncomingDecrypted();
    bool WritePendingPlain();
    void RequeuePartialWrite();
    void ReadOutgoingEncrypted();

    c_ByteBuffer m_OutgoingPlain;
    c_ByteBuffer m_OutgoingEncrypted;
    c_ByteBuffer m_IncomingEncrypted;
    c_ByteBuffer m_IncomingDecrypted;
    c_TLSContext* m_p_Context;
    SSL* m_p_SSL = nullptr;
    BIO* m_p_WriteBIO = nullptr;
    BIO* m_p_ReadBIO = nullptr;
    bool m_HasError = false;
    c_String m_ErrorText;
    bool m_IsClosed = false;
    bool m_WriteWantsRead = false;
    c_ByteBuffer m_PendingPlain;
};
