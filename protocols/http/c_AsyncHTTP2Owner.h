#pragma once
// c_AsyncHTTP2Owner: how the HTTP client reports on its requests to the object that sent them.
//
// A chain starts with a request the owner sent and goes on with the follow-ups (redirects, proxy
// challenges) that the client sends in its place; the owner hears of its end once, with the first and
// the final request. The objects passed are valid only during the call. Every slot does nothing
// unless overridden.

#include <cstdint>

class c_AsyncHTTP2;
// The client's request; the client names it c_AsyncHTTP2::c_Request.
class c_AsyncHTTP2Request;
class c_HTTPResponse;

class c_AsyncHTTP2Owner {
public:
    // Response bytes of the current request have been parsed.
    virtual void OnAsyncHTTP2RequestActivity(c_AsyncHTTP2*, c_AsyncHTTP2Request* /*first*/,
                                             c_AsyncHTTP2Request* /*current*/, c_HTTPResponse*) {}
    // A redirect is followed: the new request is sent in place of the old one.
    virtual void OnAsyncHTTP2RequestRedirect(c_AsyncHTTP2*, c_AsyncHTTP2Request* /*old*/,
                                             c_AsyncHTTP2Request* /*next*/) {}
    // A chain has ended with the given end state.
    virtual void OnAsyncHTTP2RequestFinished(c_AsyncHTTP2*, c_AsyncHTTP2Request* /*first*/,
                                             c_AsyncHTTP2Request* /*final*/, std::int32_t /*endState*/,
                                             c_HTTPResponse*) {}

protected:
    // Owners are never deleted through this interface.
    ~c_AsyncHTTP2Owner() = default;
};
