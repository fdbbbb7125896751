// The phone page under load: a diary of 36,500 days (a hundred years)
// served over HTTPS on 127.0.0.1 by the real server and service, and 20
// clients asking at once for the page and for GET /api/diary, each request
// on its own TLS connection as the server serves them. Prints the latency
// percentiles of each and the page's weight.
//
//   build/bin/tarelog_phone_load [REQUESTS_PER_CLIENT]
#include "diary/diary_file.h"
#include "diary/tarelog_doc.h"
#include "phone/phone_service.h"
#include "platform/http_server.h"
#include "platform/tls_certificate.h"

#include <openssl/ssl.h>

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kClients = 20;
constexpr int kDays = 36500;

// One request on a fresh TLS connection; the whole answer, or "" on failure.
std::string Fetch(SSL_CTX* context, int port, const std::string& request)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int yes = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    std::string answer;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        SSL* tls = SSL_new(context);
        SSL_set_fd(tls, fd);
        if (SSL_connect(tls) == 1 && SSL_write(tls, request.data(), static_cast<int>(request.size())) > 0) {
            char buffer[16384];
            for (int n; (n = SSL_read(tls, buffer, sizeof buffer)) > 0;)
                answer.append(buffer, static_cast<std::size_t>(n));
        }
        SSL_free(tls);
    }
    ::close(fd);
    return answer;
}

std::string Body(const std::string& answer)
{
    const std::size_t end = answer.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : answer.substr(end + 4);
}

struct Figures {
    double p50 = 0, p99 = 0, max = 0;
    int failures = 0;
};

Figures Load(SSL_CTX* context, int port, const std::string& request, int perClient)
{
    std::vector<std::vector<double>> times(kClients);
    std::vector<int> failures(kClients, 0);
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c)
        clients.emplace_back([&, c] {
            for (int i = 0; i < perClient; ++i) {
                const auto start = Clock::now();
                const std::string answer = Fetch(context, port, request);
                times[c].push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
                if (!answer.starts_with("HTTP/1.1 200"))
                    ++failures[c];
            }
        });
    for (std::thread& client : clients)
        client.join();
    std::vector<double> all;
    Figures figures;
    for (int c = 0; c < kClients; ++c) {
        all.insert(all.end(), times[c].begin(), times[c].end());
        figures.failures += failures[c];
    }
    std::sort(all.begin(), all.end());
    figures.p50 = all[all.size() / 2];
    figures.p99 = all[std::min(all.size() - 1, all.size() * 99 / 100)];
    figures.max = all.back();
    return figures;
}

void WriteDiary(const std::string& path)
{
    CTarelogDoc doc;
    const CalendarDate today = CalendarDate::Today();
    for (int day = 0; day < kDays; ++day) {
        // Days out of range roll over into the months before.
        const CalendarDate date = CalendarDate::FromYmd(today.Year(), today.Month(), today.Day() - (kDays - 1 - day));
        doc.SetDayWeight(70.0 + 5.0 * ((day * 7919) % 1000) / 1000.0, date.Year(), date.Month(), date.Day());
    }
    if (!SaveDiaryFile(doc, path)) {
        std::fprintf(stderr, "cannot write the diary %s\n", path.c_str());
        std::exit(1);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const int perClient = argc > 1 ? std::atoi(argv[1]) : 50;
    char folder[] = "/tmp/tarelog-phone-load-XXXXXX";
    if (::mkdtemp(folder) == nullptr)
        return 1;
    // The devices and the certificate go to the temporary folder, not the user's state.
    ::setenv("XDG_STATE_HOME", folder, 1);
    const std::string diary = std::string(folder) + "/weights.tlg";
    WriteDiary(diary);
    const auto identity = LoadOrMakeTlsIdentity(std::string(folder) + "/tls", {});
    if (!identity)
        return 1;

    std::unique_ptr<PhoneService> service;
    HttpServerOptions options;
    options.tlsIdentity = identity->path;
    HttpServer server(options, [&service](const HttpRequest& request) { return service->Handle(request); });
    if (server.Start())
        return 1;
    const std::string base = "https://127.0.0.1:" + std::to_string(server.Port());
    service = std::make_unique<PhoneService>(PhoneService::Options{.diaryPath = diary, .baseUrl = base});

    SSL_CTX* context = SSL_CTX_new(TLS_client_method());
    const std::string host = "Host: 127.0.0.1:" + std::to_string(server.Port()) + "\r\n";
    const std::string link = NewPairingLink(diary, base);
    const std::string paired = Fetch(context, server.Port(),
        "GET " + link.substr(base.size()) + " HTTP/1.1\r\n" + host + "Connection: close\r\n\r\n");
    const std::size_t cookieAt = paired.find("Set-Cookie: ");
    if (cookieAt == std::string::npos) {
        std::fprintf(stderr, "pairing failed:\n%s\n", paired.c_str());
        return 1;
    }
    const std::string cookie = paired.substr(cookieAt + 12, paired.find(';', cookieAt) - cookieAt - 12);
    const std::string page = "GET / HTTP/1.1\r\n" + host + "Cookie: " + cookie + "\r\nConnection: close\r\n\r\n";
    const std::string api = "GET /api/diary HTTP/1.1\r\n" + host + "Cookie: " + cookie
        + "\r\nConnection: close\r\n\r\n";

    const std::string pageBody = Body(Fetch(context, server.Port(), page));
    std::printf("diary: %d days; page: %zu bytes (HTML, style, script and graph in one answer)\n", kDays,
        pageBody.size());
    std::printf("%d clients x %d requests each, one TLS connection per request\n", kClients, perClient);
    for (const auto& [name, request] : {std::pair{"page", page}, std::pair{"GET /api/diary", api}}) {
        const Figures figures = Load(context, server.Port(), request, perClient);
        std::printf("%-15s p50 %6.2f ms  p99 %6.2f ms  max %6.2f ms  failures %d\n", name, figures.p50, figures.p99,
            figures.max, figures.failures);
    }
    SSL_CTX_free(context);
    server.Stop();
    service.reset();
    std::filesystem::remove_all(folder);
    return 0;
}
