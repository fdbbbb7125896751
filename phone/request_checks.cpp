#include "phone/request_checks.h"

#include <algorithm>
#include <cctype>

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

} // namespace

bool IsSuspectPath(const std::string& path)
{
    if (path.empty() || path.front() != '/' || path.find_first_of("%\\") != std::string::npos)
        return true;
    if (path == "/")
        return false;
    std::size_t start = 1;
    while (start <= path.size()) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        const std::string_view segment(path.data() + start, slash - start);
        if (segment.empty() || segment == "." || segment == "..")
            return true;
        start = slash + 1;
    }
    return false;
}

bool ComesFromOwnPage(const HttpRequest& request)
{
    const std::string_view origin = request.Header("origin");
    const std::string_view host = request.Header("host");
    if (host.empty())
        return false;
    for (const std::string_view scheme : {"https://", "http://"})
        if (origin.size() == scheme.size() + host.size() && origin.substr(0, scheme.size()) == scheme
            && origin.substr(scheme.size()) == host)
            return true;
    return false;
}

std::string BearerToken(const HttpRequest& request)
{
    const std::string_view value = request.Header("authorization");
    if (!StartsWithNoCase(value, "Bearer "))
        return {};
    std::string_view token = value.substr(7);
    while (!token.empty() && token.front() == ' ')
        token.remove_prefix(1);
    while (!token.empty() && token.back() == ' ')
        token.remove_suffix(1);
    return std::string(token);
}

bool WantsJson(const HttpRequest& request)
{
    return request.Header("accept").find("application/json") != std::string_view::npos;
}

std::string DeviceCookie(const std::string& secret)
{
    // Browsers cap a cookie's life at about 400 days; the page sends it
    // again with every visit, so a phone in use stays paired until revoked.
    return std::string(kDeviceCookie) + "=" + secret + "; Path=/; Max-Age=34560000; HttpOnly; Secure; SameSite=Strict";
}

std::string ClearedDeviceCookie()
{
    return std::string(kDeviceCookie) + "=; Path=/; Max-Age=0; HttpOnly; Secure; SameSite=Strict";
}
