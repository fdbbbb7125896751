#pragma once

#include "platform/http_exchange.h"

#include <string>
#include <string_view>

// The answers every route shares: the security headers that go on each of
// them, the page's HTML and the API's JSON.

// A nonce for the page's inline style and script, fresh for each answer.
std::string NewNonce();

// The headers every answer carries: no caching of a health record, no
// framing, no sniffing, no referrer, and only the page's own style and
// script (`nonce`) may run.
void AddSecurityHeaders(HttpResponse& response, std::string_view nonce);

HttpResponse HtmlAnswer(int status, std::string html, std::string_view nonce);
HttpResponse JsonAnswer(int status, std::string json);
// {"error":"..."} with the status.
HttpResponse JsonError(int status, std::string_view message);
