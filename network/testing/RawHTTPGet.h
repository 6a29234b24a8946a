#pragma once
// Test helper: one HTTP/1.1 GET with "Connection: close" through a test owner's socket, read until
// the server closes, split into the header block and the body. The path may be an absolute URL, as
// a proxy takes it; extra header lines end with CRLF each.

#include "network/testing/c_TestSocketOwner.h"
#include "platform/testing/PumpUntil.h"

#include <string>

struct s_RawResponse {
    bool m_Closed = false; // the server closed after its answer, without an error on our side
    std::string m_Head;
    std::string m_Body;
};

// Pumps while the owner keeps receiving, until done() holds.
inline bool PumpWhileReceiving(c_TestSocketOwner& owner, const std::function<bool()>& done) {
    std::uint32_t before = 0;
    do {
        before = owner.m_Received.GetSize();
        if (n_Platform::PumpUntil(done)) {
            return true;
        }
    } while (owner.m_Received.GetSize() > before);
    return false;
}

inline std::string GetReceivedText(const c_TestSocketOwner& owner) {
    return std::string(reinterpret_cast<const char*>(owner.m_Received.GetData()), owner.m_Received.GetSize());
}

// The owner has asked to connect; waits for the connection, then sends the request.
inline bool SendRawHTTPGet(c_TestSocketOwner& owner, const std::string& host, const std::string& path,
                           const std::string& extraHeaders = "") {
    if (!n_Platform::PumpUntil(
            [&] { return owner.HasEvent(SOCKET_EVENT_CONNECTED) || owner.HasEvent(SOCKET_EVENT_CONNECT_FAILED); }) ||
        !owner.HasEvent(SOCKET_EVENT_CONNECTED)) {
        return false;
    }
    const std::string request =
        "GET " + path + " HTTP/1.1\r\nHost: " + host + "\r\nConnection: close\r\n" + extraHeaders + "\r\n";
    return owner.Send(reinterpret_cast<const std::uint8_t*>(request.data()),
                      static_cast<std::uint32_t>(request.size())) == request.size();
}

inline s_RawResponse RawHTTPGet(c_TestSocketOwner& owner, const std::string& host, const std::string& path,
                                const std::string& extraHeaders = "") {
    s_RawResponse response;
    if (!SendRawHTTPGet(owner, host, path, extraHeaders)) {
        return response;
    }
    PumpWhileReceiving(
        owner, [&] { return owner.HasEvent(SOCKET_EVENT_CLOSED_BY_REMOTE) || owner.HasEvent(SOCKET_EVENT_ERROR); });
    response.m_Closed = owner.HasEvent(SOCKET_EVENT_CLOSED_BY_REMOTE) && !owner.HasEvent(SOCKET_EVENT_ERROR);
    const std::string all = GetReceivedText(owner);
    const std::size_t end = all.find("\r\n\r\n");
    if (end != std::string::npos) {
        response.m_Head = all.substr(0, end + 2);
        response.m_Body = all.substr(end + 4);
    }
    return response;
}
