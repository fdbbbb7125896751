#include "phone/http_answers.h"

#include "phone/secrets.h"

#include <nlohmann/json.hpp>

std::string NewNonce()
{
    return NewSecret().substr(0, 22); // 132 bits
}

void AddSecurityHeaders(HttpResponse& response, std::string_view nonce)
{
    const std::string n(nonce);
    std::string policy = "default-src 'none'; ";
    policy += nonce.empty() ? "" : "style-src 'nonce-" + n + "'; script-src 'nonce-" + n + "'; ";
    policy += "connect-src 'self'; form-action 'self'; base-uri 'none'; frame-ancestors 'none'";
    response.headers.emplace_back("Content-Security-Policy", policy);
    response.headers.emplace_back("Cache-Control", "no-store");
    response.headers.emplace_back("X-Content-Type-Options", "nosniff");
    // Not "no-referrer": under it a browser sends "Origin: null" with a
    // plain form post, and the page's own form, sent without a script,
    // would be refused as another site's.
    response.headers.emplace_back("Referrer-Policy", "same-origin");
    response.headers.emplace_back("X-Frame-Options", "DENY");
}

HttpResponse HtmlAnswer(int status, std::string html, std::string_view nonce)
{
    HttpResponse response;
    response.status = status;
    response.contentType = "text/html; charset=utf-8";
    response.body = std::move(html);
    AddSecurityHeaders(response, nonce);
    return response;
}

HttpResponse JsonAnswer(int status, std::string json)
{
    HttpResponse response;
    response.status = status;
    response.contentType = "application/json";
    response.body = std::move(json);
    response.body += '\n';
    AddSecurityHeaders(response, {});
    return response;
}

HttpResponse JsonError(int status, std::string_view message)
{
    return JsonAnswer(status, nlohmann::json{{"error", message}}.dump());
}
