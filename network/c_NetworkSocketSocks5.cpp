// c_NetworkSocket: the SOCKS 5 handshake (RFC 1928, RFC 1929) on the socket thread: its messages
// go out through the send path, the proxy's answers come from the receive completions, and the
// bytes behind the proxy's reply continue as the connection's data.

#include "network/c_NetworkSocket.h"

#include "network/c_NetworkSocketOwner.h"

// The proxy resolves the target; a name it cannot be given is refused before anything is sent.
bool c_NetworkSocket::RefuseSocks5Settings() {
    const char* refused = m_Socks5Settings.m_UseSocks5 ? c_Socks5Client::CheckSettings(m_Socks5Settings) : nullptr;
    if (refused != nullptr) {
        Log(refused, true);
    }
    return refused != nullptr;
}

bool c_NetworkSocket::ProcessSocks5Handshake(c_CriticalSectionLock& lock) {
    if (m_ShutdownState != 0) {
        return false;
    }
    switch (m_Socks5Client.GetState()) {
        case c_Socks5Client::STATE_NONE:
            return true;
        case c_Socks5Client::STATE_GREETING_DUE:
            if (!m_Socks5Client.StageGreeting()) {
                FailWithSocketError();
                return false;
            }
            SendSocks5Message("Socks5 sending version and method", lock);
            return false;
        default:
            break;
    }
    // A proxy may answer ahead; each whole answer is taken in turn.
    for (;;) {
        if (m_Socks5Client.GetState() == c_Socks5Client::STATE_AUTHENTICATION &&
            !m_Socks5Client.GetReceiveBuffer().IsEmpty()) {
            Log("Socks5 reading authentication response", false);
        }
        switch (m_Socks5Client.Advance(m_Socks5Settings)) {
            case c_Socks5Client::STEP_WAIT:
                return false;
            case c_Socks5Client::STEP_SEND_CREDENTIALS:
                if (!SendSocks5Message("Socks5 sending username and password authentication", lock)) {
                    return false;
                }
                break;
            case c_Socks5Client::STEP_SEND_CONNECT:
                if (!SendSocks5Message("Socks5 sending connection instructions", lock)) {
                    return false;
                }
                break;
            case c_Socks5Client::STEP_CONNECTED:
                Log("Socks5 connected", false);
                NotifyConnected(lock);
                return true;
            case c_Socks5Client::STEP_FAILED:
                OnSocks5Failed(m_Socks5Client.GetFailureText());
                return false;
        }
    }
}

bool c_NetworkSocket::SendSocks5Message(const char* line, c_CriticalSectionLock& lock) {
    Log(line, false);
    if (!SendData(false, lock)) {
        FailWithSocketError();
        return false;
    }
    return true;
}

void c_NetworkSocket::OnSocks5Failed(const char* text) {
    Log(text, true);
    PostSocketEvent(SOCKET_EVENT_CONNECT_FAILED);
}

// The newest receive belongs to the handshake; what follows the proxy's reply is the connection's.
void c_NetworkSocket::OnSocks5BytesReceived(c_CriticalSectionLock& lock) {
    c_ByteBuffer received;
    if (!TakeNewestReceivedBytes(received) ||
        !m_Socks5Client.AddReceivedBytes(received.GetData(), received.GetSize())) {
        OnOutOfMemory();
        return;
    }
    if (m_ShutdownState == 0 && ProcessSocks5Handshake(lock) && !m_Socks5Client.GetReceiveBuffer().IsEmpty()) {
        if (!RefillNewestReceivedBuffer(m_Socks5Client.GetReceiveBuffer())) {
            OnOutOfMemory();
            return;
        }
        DeliverReceivedBytes(lock);
        return;
    }
    if (!ReceiveData(lock)) {
        PostSocketEvent(SOCKET_EVENT_CONNECT_FAILED);
    }
}
