// c_AsyncHTTP2 follow-ups: a proxy's 407 answered with Basic credentials on a new request, and the
// 301 and 302 redirects followed (RFC 9110 sections 15.4 and 11.7.1). The follow-up joins the old
// request's chain; the owner hears of the chain once, when its last request ends.

#include "protocols/http/c_AsyncHTTP2.h"

#include "protocols/http/HTTPTexts.h"
#include "protocols/http/ProxyAuthorization.h"
#include "protocols/http/RedirectTarget.h"
#include "textutil/NumberFormatting.h"

namespace {

constexpr std::int32_t PROXY_AUTHENTICATION_REQUIRED = 407;
constexpr std::int32_t FOUND = 302;

c_String GetRefusedCredentialsText(const c_String& realm, std::int32_t id) {
    return Concat({"Proxy authentication for \"", realm, "\" for HTTP request with ID ", ToString(id),
                   " was not accepted.  The username or password in the proxy settings may be incorrect."});
}

// Redirects followed before this request in its chain; a proxy resend is not one.
std::int32_t CountRedirects(const c_AsyncHTTP2::c_Request& request) {
    std::int32_t count = 0;
    for (c_AsyncHTTP2::c_Request* previous = request.GetPreviousRequest(); previous != nullptr;
         previous = previous->GetPreviousRequest()) {
        count += previous->GetResponse().IsRedirect() ? 1 : 0;
    }
    return count;
}

} // namespace

void c_AsyncHTTP2::CompleteRequest(c_Request& request) {
    if (request.m_Finished == 1 || HandleProxyAuthentication(request) || HandleRedirect(request)) {
        return;
    }
    EndRequest(request, c_Request::END_COMPLETED);
}

bool c_AsyncHTTP2::HandleProxyAuthentication(c_Request& request) {
    if (request.GetResponse().GetStatusCode() != PROXY_AUTHENTICATION_REQUIRED || !IsProxyInUse()) {
        return false;
    }
    c_String error;
    c_String realm;
    if (!request.GetResponse().ParseProxyAuthenticate(error, realm)) {
        request.SetStatusText(Concat({error, "  Unable to send authorization."}));
    } else if (request.HasHeader(GetHTTPTexts().m_ProxyAuthorization)) {
        request.SetStatusText(GetRefusedCredentialsText(realm, request.GetID()));
    } else if (c_HTTPConnectionInfo* info = request.GetConnectionInfo(); info == nullptr) {
        request.SetStatusText("Failed to get the connection information while handling proxy authorization.");
    } else if (!EnableProxyAuthorization(*info, error)) {
        request.SetStatusText(Concat({"Failed to set the connection to use proxy authorization.  ", error}));
    } else if (SendRequest(request.m_Parameters, &request) == nullptr) {
        request.SetStatusText("Attempt to send a new request for proxy authorization failed.");
    } else {
        ReplaceRequest(request);
        return true;
    }
    FailRequest(request);
    return true;
}

bool c_AsyncHTTP2::HandleRedirect(c_Request& request) {
    if (!request.GetResponse().IsRedirect()) {
        return false;
    }
    c_Request* next = FollowRedirect(request);
    if (next == nullptr) {
        FailRequest(request);
        return true;
    }
    ReplaceRequest(request);
    if (request.m_NotifyOwner) {
        NotifyRedirect(request, *next);
    }
    return true;
}

c_AsyncHTTP2::c_Request* c_AsyncHTTP2::FollowRedirect(c_Request& request) {
    const s_HTTPTexts& texts = GetHTTPTexts();
    const c_HTTPResponse& response = request.GetResponse();
    if (response.GetStatusCode() == FOUND && request.m_Parameters.m_Method != HTTP_METHOD_GET) {
        request.SetStatusText("Unable to follow a redirect response because the original request method was not GET.");
        return nullptr;
    }
    const c_String& location = response.GetHeader(texts.m_Location);
    if (location.IsEmpty()) {
        request.SetStatusText("Unable to follow a redirect response because no location was given in the response.");
        return nullptr;
    }
    c_String target;
    c_String error;
    if (!GetRedirectTarget(request.GetURL(), location, CountRedirects(request), target, error)) {
        request.SetStatusText(error);
        return nullptr;
    }
    c_HTTPRequestParameters parameters = request.m_Parameters;
    parameters.m_URL = target;
    parameters.m_Headers[texts.m_Host] = c_Request::GetHostFieldValue(target);
    // Credentials were given for the old target; the dispatch adds the proxy's again where its record asks.
    parameters.m_Headers.erase(texts.m_ProxyAuthorization);
    parameters.m_Headers.erase(texts.m_Authorization);
    c_Request* next = SendRequest(parameters, &request);
    if (next == nullptr) {
        request.SetStatusText("Unable to follow a redirect response because the attempt to send a new request failed.");
    }
    return next;
}

void c_AsyncHTTP2::ReplaceRequest(c_Request& request) {
    request.m_Finished = 1;
    request.m_EndState = c_Request::END_COMPLETED;
    request.m_TimeoutTimer.Stop();
}
