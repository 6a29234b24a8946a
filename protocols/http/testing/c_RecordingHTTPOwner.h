#pragma once
// Test helper: an owner of the HTTP client that records every finished report and followed redirect,
// counts activity, and lets a test act (or throw) inside either slot.

#include "protocols/http/c_AsyncHTTP2.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct s_FinishedReport {
    std::int32_t m_FirstID = 0;
    std::int32_t m_FinalID = 0;
    std::int32_t m_EndState = 0;
    std::string m_StatusText;
    std::int32_t m_StatusCode = 0;
    std::string m_ContentEncoding;
    std::string m_Body;
};

class c_RecordingHTTPOwner : public c_AsyncHTTP2Owner {
public:
    void OnAsyncHTTP2RequestActivity(c_AsyncHTTP2* client, c_AsyncHTTP2Request* first, c_AsyncHTTP2Request* current,
                                     c_HTTPResponse* response) override;
    void OnAsyncHTTP2RequestRedirect(c_AsyncHTTP2* client, c_AsyncHTTP2Request* old,
                                     c_AsyncHTTP2Request* next) override;
    void OnAsyncHTTP2RequestFinished(c_AsyncHTTP2* client, c_AsyncHTTP2Request* first, c_AsyncHTTP2Request* final,
                                     std::int32_t endState, c_HTTPResponse* response) override;

    // The report whose final request is id, or null.
    const s_FinishedReport* FindReport(std::int32_t id) const;
    // The report of the chain that id opened, or null.
    const s_FinishedReport* FindChainReport(std::int32_t firstID) const;
    std::size_t CountReports(std::int32_t id) const;

    std::vector<s_FinishedReport> m_Reports;
    // Each followed redirect: the old request's id and the new one's.
    std::vector<std::pair<std::int32_t, std::int32_t>> m_Redirects;
    std::int32_t m_ActivityCount = 0;
    std::function<void(c_AsyncHTTP2Request*)> m_OnActivity;
    std::function<void(c_AsyncHTTP2Request*)> m_OnFinished;
};
