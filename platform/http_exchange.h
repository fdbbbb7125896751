#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One HTTP request and its answer as plain values, so that what a server
// answers can be decided and tested without a socket; the server library
// is bound to them in one place (platform/http_server.*).
struct HttpRequest {
    std::string method;                                       // "GET", "POST", ...
    std::string path;                                         // as sent, without the query; not decoded
    std::string query;                                        // after the '?', not decoded
    std::vector<std::pair<std::string, std::string>> headers; // names lower-case
    std::string body;
    std::string remoteAddress; // the peer's address, for slowing down guessers

    // The first header of that (lower-case) name, or "" when there is none.
    std::string_view Header(std::string_view name) const
    {
        for (const auto& [key, value] : headers)
            if (key == name)
                return value;
        return {};
    }
};

struct HttpResponse {
    int status = 200;
    std::string contentType = "text/plain; charset=utf-8";
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers; // Set-Cookie, Location, ...
};

using HttpHandler = std::function<HttpResponse(const HttpRequest&)>;
