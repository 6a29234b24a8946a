// c_NetworkSocket: the TLS branch: the engine's set-up, encryption of each send buffer, decryption
// of each receive and the close_notify at the end.

#include "network/c_NetworkSocket.h"

#include "network/TLSTexts.h"
#include "network/c_NetworkSocketCore.h"
#include "network/c_NetworkSocketOwner.h"

#include <algorithm>
#include <new>

namespace {

constexpr int ROLE_CLIENT = 0;

} // namespace

bool c_NetworkSocket::SetUpEncryption(bool serverRole) {
    if (m_SecurityMethod == 0) {
        Log("Creating socket.", false);
        return true;
    }
    Log(Concat({"Creating socket.  Using ", GetSecurityMethodName(m_SecurityMethod), "."}), false);
    if (m_p_EncryptionIOBuffers != nullptr) {
        return true;
    }
    // The receiver decrypts before it inflates, so compression under TLS could never be read back.
    if (m_CompressionType != 0) {
        Log("Encryption I/O initialization error.  TLS together with compression is not supported.", true);
        return false;
    }
    c_NetworkSocketCore* core = c_NetworkSocketCore::GetCore();
    c_TLSContext* context =
        core != nullptr ? core->GetTLSContext(serverRole ? c_TLSContext::ROLE_SERVER : ROLE_CLIENT, m_SecurityMethod)
                        : nullptr;
    if (context == nullptr || context->GetSSLContext() == nullptr) {
        Log(Concat({"Encryption I/O initialization error.  No TLS context for ",
                    GetSecurityMethodName(m_SecurityMethod), "."}),
            true);
        return false;
    }
    m_p_EncryptionIOBuffers.reset(new (std::nothrow) c_EncryptionIOBuffers(context));
    if (m_p_EncryptionIOBuffers == nullptr) {
        Log("c_EncryptionIOBuffers memory error.", false);
        return false;
    }
    c_EncryptionIOBuffers& engine = *m_p_EncryptionIOBuffers;
    if (!m_ServerCertificateFile.IsEmpty()) {
        engine.UseCertificateFile(m_ServerCertificateFile);
    }
    if (!m_ClientCAFile.IsEmpty()) {
        engine.UseClientCertificate(m_ClientCAFile, m_ClientCertificateFile, m_ClientKeyFile);
    }
    if (!serverRole) {
        engine.SetServerName(GetTLSServerName());
    }
    engine.StartHandshake();
    if (engine.HasError()) {
        Log(c_String("Encryption I/O initialization error.  ") + engine.GetErrorText(), true);
        return false;
    }
    return true;
}

// Through SOCKS 5 the socket connects to the proxy, but the certificate to check is the target's.
c_String c_NetworkSocket::GetTLSServerName() const {
    return m_Socks5Settings.m_UseSocks5 ? m_Socks5Settings.m_Host : m_RemoteName;
}

// What goes out in place of the owner's bytes: the staged handshake message during SOCKS 5, else
// on a TLS socket the records that encrypt them.
bool c_NetworkSocket::StageSendBuffer(std::int32_t index, c_IOBuffer& buffer) {
    if (IsSocks5HandshakeInProgress()) {
        if (!AddDataToSocketSendBuffer(m_Socks5Client.GetSendBuffer(), buffer)) {
            Log("AddDataToSocketSendBuffer error", true);
            return false;
        }
        return true;
    }
    return m_SecurityMethod == 0 || EncryptSendBuffer(index);
}

bool c_NetworkSocket::EncryptSendBuffer(std::int32_t index) {
    c_EncryptionIOBuffers* engine = m_p_EncryptionIOBuffers.get();
    // Never plain text on a socket asked for TLS: one that was not set up sends nothing.
    if (engine == nullptr) {
        Log("Encryption stream error encountered when sending data.  The socket has no encryption I/O buffers.", true);
        return false;
    }
    if (!CopyFromSendBufferToStreamBuffer(index, engine->GetOutgoingPlain())) {
        Log("CopyFromSendBufferToStreamBuffer error", true);
        return false;
    }
    engine->ProcessIO();
    SendDueCloseNotify(*engine);
    if (engine->HasError()) {
        Log(c_String("Encryption stream error encountered when sending data.  ") + engine->GetErrorText(), true);
        return false;
    }
    if (!engine->GetOutgoingEncrypted().IsEmpty() &&
        !CopyFromStreamBufferToSendBuffer(index, engine->GetOutgoingEncrypted())) {
        Log("CopyFromStreamBufferToSendBuffer error", true);
        return false;
    }
    return true;
}

// The close_notify follows the last plain bytes; while some still wait for the handshake it waits too.
void c_NetworkSocket::SendDueCloseNotify(c_EncryptionIOBuffers& engine) {
    if (!m_TLSCloseNotifyDue || !engine.GetOutgoingPlain().IsEmpty() || !engine.GetPendingPlain().IsEmpty()) {
        return;
    }
    m_TLSCloseNotifyDue = false;
    engine.Shutdown();
    engine.ProcessIO();
}

bool c_NetworkSocket::QueueTLSCloseNotify() {
    const c_EncryptionIOBuffers* engine = m_p_EncryptionIOBuffers.get();
    if (engine == nullptr || engine->IsClosed() || engine->HasError() || !m_Connected ||
        IsSocks5HandshakeInProgress()) {
        return false;
    }
    m_TLSCloseNotifyDue = true;
    return true;
}

bool c_NetworkSocket::DecryptNewestReceivedBuffer(c_CriticalSectionLock& lock) {
    c_EncryptionIOBuffers* engine = m_p_EncryptionIOBuffers.get();
    if (engine == nullptr || !TakeNewestReceivedBytes(engine->GetIncomingEncrypted())) {
        OnOutOfMemory();
        return false;
    }
    engine->ProcessIO();
    if (engine->HasError()) {
        Log(c_String("Encryption stream error encountered when processing received data.  ") + engine->GetErrorText(),
            true);
        FailWithSocketError();
        return false;
    }
    const bool dataReady = !engine->GetIncomingDecrypted().IsEmpty();
    if (dataReady && !RefillNewestReceivedBuffer(engine->GetIncomingDecrypted())) {
        OnOutOfMemory();
        return false;
    }
    if (!dataReady && !ReceiveData(lock)) {
        PostSocketEvent(SOCKET_EVENT_CONNECT_FAILED);
        return false;
    }
    // Handshake records and alerts that the engine wrote go out with whatever the owner queued.
    if (!SendData(false, lock)) {
        FailWithSocketError();
        return false;
    }
    return dataReady;
}

bool c_NetworkSocket::AddDataToSocketSendBuffer(c_ByteBuffer& source, c_IOBuffer& target) {
    if (!target.SetUsedSize(static_cast<int>(source.GetSize()))) {
        return false;
    }
    std::copy(source.GetData(), source.GetData() + source.GetSize(), target.GetData());
    source.Clear(false);
    return true;
}

bool c_NetworkSocket::CopyFromSendBufferToStreamBuffer(std::int32_t index, c_ByteBuffer& input) {
    c_IOBuffer& buffer = m_SendBuffers[static_cast<std::size_t>(index)];
    const int count = buffer.GetUsedSize();
    if (!input.Append(buffer.GetData(), static_cast<std::uint32_t>(count))) {
        return false;
    }
    AddPendingSendBytes(-count);
    buffer.SetUsedSizeWithinCapacity(0);
    return true;
}

bool c_NetworkSocket::CopyFromStreamBufferToSendBuffer(std::int32_t index, c_ByteBuffer& output) {
    const auto count = static_cast<int>(output.GetSize());
    if (!m_SendBuffers[static_cast<std::size_t>(index)].Append(output.GetData(), count)) {
        return false;
    }
    AddPendingSendBytes(count);
    output.Clear(false);
    return true;
}
