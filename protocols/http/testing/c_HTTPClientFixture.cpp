// Test helper: a client, its owner and the services it runs on.

#include "protocols/http/testing/c_HTTPClientFixture.h"

#include "oslayer/threads/c_TimerCore.h"
#include "platform/testing/PumpUntil.h"

c_HTTPClientFixture::c_HTTPClientFixture() {
    c_TimerCore::Start();
}

c_HTTPClientFixture::~c_HTTPClientFixture() {
    m_p_Client.reset();
    c_TimerCore::Stop();
}

std::int32_t c_HTTPClientFixture::Send(std::int32_t method, const std::string& url, const t_HTTPHeaderMap& headers,
                                       const std::string& body) {
    c_HTTPRequestParameters parameters;
    parameters.m_Method = method;
    parameters.m_URL = c_String(url.data(), static_cast<int>(url.size()));
    parameters.m_Headers = headers;
    parameters.SetBody(body.data(), static_cast<std::uint32_t>(body.size()));
    return m_p_Client->SendRequestAndGetID(parameters);
}

bool c_HTTPClientFixture::WaitForReport(std::int32_t id) {
    return n_Platform::PumpAndWaitUntil([&] { return m_Owner.FindReport(id) != nullptr; });
}

bool c_HTTPClientFixture::WaitForChainReport(std::int32_t firstID) {
    return n_Platform::PumpAndWaitUntil([&] { return m_Owner.FindChainReport(firstID) != nullptr; });
}

std::string c_HTTPClientFixture::StatusText(std::int32_t id) const {
    const c_AsyncHTTP2::c_Request* request = m_p_Client->FindRequest(id);
    return request != nullptr ? request->GetStatusText().GetChars() : "";
}
