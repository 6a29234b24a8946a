// Test helper: a recording owner of the HTTP client.

#include "protocols/http/testing/c_RecordingHTTPOwner.h"

#include <algorithm>

void c_RecordingHTTPOwner::OnAsyncHTTP2RequestActivity(c_AsyncHTTP2*, c_AsyncHTTP2Request*,
                                                       c_AsyncHTTP2Request* current, c_HTTPResponse*) {
    ++m_ActivityCount;
    if (m_OnActivity) {
        m_OnActivity(current);
    }
}

void c_RecordingHTTPOwner::OnAsyncHTTP2RequestRedirect(c_AsyncHTTP2*, c_AsyncHTTP2Request* old,
                                                       c_AsyncHTTP2Request* next) {
    m_Redirects.emplace_back(old->GetID(), next->GetID());
}

void c_RecordingHTTPOwner::OnAsyncHTTP2RequestFinished(c_AsyncHTTP2*, c_AsyncHTTP2Request* first,
                                                       c_AsyncHTTP2Request* final, std::int32_t endState,
                                                       c_HTTPResponse* response) {
    s_FinishedReport report;
    report.m_FirstID = first->GetID();
    report.m_FinalID = final->GetID();
    report.m_EndState = endState;
    report.m_StatusText = final->GetStatusText().GetChars();
    report.m_StatusCode = response->GetStatusCode();
    report.m_ContentEncoding = response->GetHeader("Content-Encoding").GetChars();
    const c_ByteBuffer& body = response->GetBody();
    report.m_Body.assign(reinterpret_cast<const char*>(body.GetData()), body.GetSize());
    m_Reports.push_back(report);
    if (m_OnFinished) {
        m_OnFinished(final);
    }
}

const s_FinishedReport* c_RecordingHTTPOwner::FindReport(std::int32_t id) const {
    const auto found = std::find_if(m_Reports.begin(), m_Reports.end(),
                                    [&](const s_FinishedReport& report) { return report.m_FinalID == id; });
    return found != m_Reports.end() ? &*found : nullptr;
}

std::size_t c_RecordingHTTPOwner::CountReports(std::int32_t id) const {
    return static_cast<std::size_t>(std::count_if(
        m_Reports.begin(), m_Reports.end(), [&](const s_FinishedReport& report) { return report.m_FinalID == id; }));
}

const s_FinishedReport* c_RecordingHTTPOwner::FindChainReport(std::int32_t firstID) const {
    const auto found = std::find_if(m_Reports.begin(), m_Reports.end(),
                                    [&](const s_FinishedReport& report) { return report.m_FirstID == firstID; });
    return found != m_Reports.end() ? &*found : nullptr;
}
