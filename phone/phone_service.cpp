#include "phone/phone_service.h"

#include "phone/api_routes.h"
#include "phone/device_store.h"
#include "phone/failure_throttle.h"
#include "phone/form_fields.h"
#include "phone/http_answers.h"
#include "phone/page_routes.h"
#include "phone/phone_page.h"
#include "phone/request_checks.h"
#include "platform/state_folder.h"

#include <filesystem>
#include <stdexcept>

namespace {

// A weight and a date fit in far less; anything bigger is not the page's.
constexpr std::size_t kMaxBody = 8 * 1024;

constexpr std::string_view kPairPrefix = "/pair/";

bool IsApi(const HttpRequest& request)
{
    return request.path.rfind("/api/", 0) == 0;
}

HttpResponse Refusal(const HttpRequest& request, int status, std::string_view english, std::string_view japanese)
{
    if (IsApi(request) || WantsJson(request))
        return JsonError(status, english);
    const std::string nonce = NewNonce();
    return HtmlAnswer(status,
        WholePage("<h1>体重日記</h1>\n<p class=\"error\" role=\"alert\">" + HtmlEscape(japanese) + "</p>\n",
            {.nonce = nonce}),
        nonce);
}

HttpResponse PairingPage(int status, std::string_view problem)
{
    const std::string nonce = NewNonce();
    return HtmlAnswer(status, WholePage(PairingNeededMain(problem), {.nonce = nonce}), nonce);
}

HttpResponse WrongMethod(const HttpRequest& request, const char* allowed)
{
    HttpResponse response = Refusal(request, 405, "method not allowed", "この操作はできません。");
    response.headers.emplace_back("Allow", allowed);
    return response;
}

std::string DefaultStateFolder(const std::string& given)
{
    return given.empty() ? StateFolder("tarelog") : given;
}

} // namespace

struct PhoneService::State {
    explicit State(Options given)
        : options(std::move(given))
        , devices(options.diaryPath, DefaultStateFolder(options.stateFolder),
              options.clock ? options.clock : DeviceStore::Clock(DeviceStore::SystemSeconds))
        , throttle(options.clock ? options.clock : FailureThrottle::Clock(DeviceStore::SystemSeconds))
        , cache(std::filesystem::absolute(options.diaryPath).lexically_normal().string())
    {
    }

    ServiceContext Context()
    {
        return {&cache, options.profile, &profileMutex, options.today ? options.today() : CalendarDate::Today(),
            options.recorded};
    }

    HttpResponse Route(const HttpRequest& request);
    HttpResponse Pair(const HttpRequest& request);
    HttpResponse Page(const HttpRequest& request);
    HttpResponse Api(const HttpRequest& request);
    std::optional<Device> CookieDevice(const HttpRequest& request);

    Options options;
    DeviceStore devices;
    FailureThrottle throttle;
    DiaryViewCache cache;
    std::mutex profileMutex;
};

PhoneService::PhoneService(Options options)
    : m_state(std::make_unique<State>(std::move(options)))
{
}

PhoneService::~PhoneService() = default;

HttpResponse PhoneService::Handle(const HttpRequest& request)
{
    if (const std::int64_t wait = m_state->throttle.RetryAfter(request.remoteAddress); wait > 0) {
        HttpResponse response = Refusal(request, 429, "too many failed attempts from this address; try again later",
            "失敗が続いたため、しばらく受け付けません。時間をおいてお試しください。");
        response.headers.emplace_back("Retry-After", std::to_string(wait));
        return response;
    }
    try {
        return m_state->Route(request);
    } catch (const std::exception& error) {
        // The random generator or the digest failing: nothing was let in.
        return Refusal(request, 500, error.what(), "内部エラーが発生しました。");
    }
}

HttpResponse PhoneService::State::Route(const HttpRequest& request)
{
    if (IsSuspectPath(request.path))
        return Refusal(request, 400, "malformed path", "ページのアドレスが正しくありません。");
    if (request.body.size() > kMaxBody)
        return Refusal(request, 413, "the body is too large", "送信された内容が大きすぎます。");
    if (request.path.rfind(kPairPrefix, 0) == 0)
        return Pair(request);
    if (request.path == "/")
        return Page(request);
    if (request.path == "/api/diary" || request.path == "/api/entries")
        return Api(request);
    return Refusal(request, 404, "not found", "ページが見つかりません。");
}

std::optional<Device> PhoneService::State::CookieDevice(const HttpRequest& request)
{
    const std::string secret = CookieValue(request.Header("cookie"), kDeviceCookie);
    if (secret.empty())
        return std::nullopt;
    std::optional<Device> device = devices.Authenticate(secret, Device::Kind::Phone);
    if (!device)
        throttle.RecordFailure(request.remoteAddress);
    return device;
}

HttpResponse PhoneService::State::Pair(const HttpRequest& request)
{
    if (request.method != "GET")
        return WrongMethod(request, "GET");
    const std::string_view secret = std::string_view(request.path).substr(kPairPrefix.size());
    const auto paired = devices.Redeem(secret, request.Header("user-agent"));
    if (!paired) {
        if (paired.error() == DeviceStore::Refusal::Unwritable)
            return PairingPage(503, "登録を保存できませんでした。コンピューター側の状態フォルダーを確かめてください。");
        throttle.RecordFailure(request.remoteAddress);
        return PairingPage(403,
            "このリンクは使えません（使用済みか、期限の10分を過ぎています）。新しいリンクを作ってください。");
    }
    const std::string nonce = NewNonce();
    HttpResponse response = HtmlAnswer(200,
        WholePage(PairedMain(paired->name), {.nonce = nonce, .refreshToRoot = true}), nonce);
    response.headers.emplace_back("Set-Cookie", DeviceCookie(paired->secret));
    return response;
}

HttpResponse PhoneService::State::Page(const HttpRequest& request)
{
    if (request.method != "GET" && request.method != "POST")
        return WrongMethod(request, "GET, POST");
    const bool sentCookie = !CookieValue(request.Header("cookie"), kDeviceCookie).empty();
    const std::optional<Device> device = CookieDevice(request);
    if (!device) {
        HttpResponse response = PairingPage(sentCookie || request.method == "POST" ? 401 : 200,
            sentCookie ? "このスマートフォンの登録は取り消されたか、無効です。" : "");
        if (sentCookie)
            response.headers.emplace_back("Set-Cookie", ClearedDeviceCookie());
        return response;
    }
    if (request.method == "POST") {
        if (!ComesFromOwnPage(request))
            return Refusal(request, 403, "the request does not come from this page",
                "このページ以外からの送信は受け付けません。");
        return PostPage(Context(), request);
    }
    HttpResponse response = ShowPage(Context());
    // Sent again with each visit, so that the browser's cap on a cookie's
    // life never ends a pairing in use.
    response.headers.emplace_back("Set-Cookie", DeviceCookie(CookieValue(request.Header("cookie"), kDeviceCookie)));
    return response;
}

HttpResponse PhoneService::State::Api(const HttpRequest& request)
{
    const bool entries = request.path == "/api/entries";
    if (request.method != (entries ? "POST" : "GET"))
        return WrongMethod(request, entries ? "POST" : "GET");
    const std::string token = BearerToken(request);
    if (!token.empty()) {
        if (!devices.Authenticate(token, Device::Kind::Token)) {
            throttle.RecordFailure(request.remoteAddress);
            return JsonError(401, "unknown or revoked token");
        }
    } else if (!CookieDevice(request)) {
        return JsonError(401, "pair this device or send Authorization: Bearer TOKEN");
    } else if (entries && !ComesFromOwnPage(request)) {
        // A cookie rides along with any site's request; only the page's own count.
        return JsonError(403, "the request does not come from this page");
    }
    return entries ? PostEntry(Context(), request) : DiaryJson(Context());
}

std::string NewPairingLink(const std::string& diaryPath, const std::string& baseUrl)
{
    DeviceStore store(diaryPath, StateFolder("tarelog"));
    const Result<std::string, std::string> secret = store.NewPairingSecret();
    if (!secret)
        throw std::runtime_error(secret.error());
    return baseUrl + std::string(kPairPrefix) + *secret;
}
