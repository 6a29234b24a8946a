#pragma once
// Test helper: the timer service, a network core with its log, a recording owner and its HTTP
// client, for tests that drive the client; the client goes first.

#include "network/testing/c_CoreSession.h"
#include "protocols/http/c_AsyncHTTP2.h"
#include "protocols/http/testing/c_RecordingHTTPOwner.h"

#include <cstdint>
#include <memory>
#include <string>

class c_HTTPClientFixture {
protected:
    c_HTTPClientFixture();
    ~c_HTTPClientFixture();

    // The new request's id, or 0.
    std::int32_t Send(std::int32_t method, const std::string& url, const t_HTTPHeaderMap& headers = {},
                      const std::string& body = "");
    // Pumps until the request whose id is the final one of a chain has been reported.
    bool WaitForReport(std::int32_t id);
    // Pumps until the chain that id opened has been reported.
    bool WaitForChainReport(std::int32_t firstID);
    const s_FinishedReport& Report(std::int32_t id) const { return *m_Owner.FindReport(id); }
    const s_FinishedReport& ChainReport(std::int32_t firstID) const { return *m_Owner.FindChainReport(firstID); }
    // The status text of a request the client still holds, or empty.
    std::string StatusText(std::int32_t id) const;
    bool IsConnectionGone(std::int32_t id) const { return m_p_Client->FindConnection(id) == nullptr; }

    c_CoreSession m_Session;
    c_RecordingHTTPOwner m_Owner;
    std::unique_ptr<c_AsyncHTTP2> m_p_Client = std::make_unique<c_AsyncHTTP2>(&m_Owner);
};
