// The phone page under load: a diary of 36,500 days (a hundred years)
// served over HTTPS on 127.0.0.1 by the real server and service, and 20
// clients asking at once for the page and for GET /api/diary: each keeping
// its connection, as a browser does, and then each request on a new TLS
// connection, as a script run for each weight does. Prints the latency
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

// A client's TLS connection to the server, kept open from one request to
// the next as a browser keeps it, until the server closes it.
class Connection {
public:
    Connection(SSL_CTX* context, int port)
        : m_fd(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const int yes = 1;
        ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        if (::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            return;
        m_tls = SSL_new(context);
        SSL_set_fd(m_tls, m_fd);
        if (SSL_connect(m_tls) != 1) {
            SSL_free(m_tls);
            m_tls = nullptr;
        }
    }
    ~Connection()
    {
        if (m_tls)
            SSL_free(m_tls);
        ::close(m_fd);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool Open() const { return m_tls != nullptr && !m_closed; }

    // One request's whole answer, headers and body, or "" when the
    // connection failed or was closed before it.
    std::string Ask(const std::string& request)
    {
        if (!Open() || SSL_write(m_tls, request.data(), static_cast<int>(request.size())) <= 0)
            return {};
        std::string answer;
        std::size_t headersEnd = std::string::npos;
        std::size_t length = 0;
        while (headersEnd == std::string::npos || answer.size() < headersEnd + length) {
            char buffer[16384];
            const int n = SSL_read(m_tls, buffer, sizeof buffer);
            if (n <= 0) {
                m_closed = true;
                return headersEnd == std::string::npos ? std::string() : answer;
            }
            answer.append(buffer, static_cast<std::size_t>(n));
            if (headersEnd == std::string::npos && (headersEnd = answer.find("\r\n\r\n")) != std::string::npos) {
                headersEnd += 4;
                const std::size_t at = answer.find("Content-Length: ");
                length = at < headersEnd ? std::strtoul(answer.c_str() + at + 16, nullptr, 10) : 0;
            }
        }
        if (answer.find("Connection: close\r\n") < headersEnd)
            m_closed = true;
        return answer;
    }

private:
    int m_fd;
    SSL* m_tls = nullptr;
    bool m_closed = false;
};

std::string Body(const std::string& answer)
{
    const std::size_t end = answer.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : answer.substr(end + 4);
}

struct Figures {
    double p50 = 0, p99 = 0, max = 0;
    int failures = 0;
};

enum class Connections { Kept, Fresh };

Figures Load(SSL_CTX* context, int port, const std::string& request, int perClient, Connections connections)
{
    std::vector<std::vector<double>> times(kClients);
    std::vector<int> failures(kClients, 0);
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c)
        clients.emplace_back([&, c] {
            const std::string sent = connections == Connections::Kept
                ? request
                : request.substr(0, request.size() - 2) + "Connection: close\r\n\r\n";
            std::unique_ptr<Connection> connection;
            // A kept connection is made and used once before the clock
            // starts: its handshake is what the fresh connections measure.
            if (connections == Connections::Kept) {
                connection = std::make_unique<Connection>(context, port);
                connection->Ask(sent);
            }
            for (int i = 0; i < perClient; ++i) {
                const auto start = Clock::now();
                if (!connection || !connection->Open())
                    connection = std::make_unique<Connection>(context, port);
                const std::string answer = connection->Ask(sent);
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
    const std::string paired =
        Connection(context, server.Port()).Ask("GET " + link.substr(base.size()) + " HTTP/1.1\r\n" + host + "\r\n");
    const std::size_t cookieAt = paired.find("Set-Cookie: ");
    if (cookieAt == std::string::npos) {
        std::fprintf(stderr, "pairing failed:\n%s\n", paired.c_str());
        return 1;
    }
    const std::string cookie = paired.substr(cookieAt + 12, paired.find(';', cookieAt) - cookieAt - 12);
    const std::string page = "GET / HTTP/1.1\r\n" + host + "Cookie: " + cookie + "\r\n\r\n";
    const std::string api = "GET /api/diary HTTP/1.1\r\n" + host + "Cookie: " + cookie + "\r\n\r\n";

    const std::string pageBody = Body(Connection(context, server.Port()).Ask(page));
    std::printf("diary: %d days; page: %zu bytes (HTML, style, script and graph in one answer)\n", kDays,
        pageBody.size());
    std::printf("%d clients x %d requests each\n", kClients, perClient);
    for (const auto& [connections, what] : {std::pair{Connections::Kept, "each client keeps its connection"},
             std::pair{Connections::Fresh, "a new TLS connection per request"}}) {
        std::printf("%s:\n", what);
        for (const auto& [name, request] : {std::pair{"page", page}, std::pair{"GET /api/diary", api}}) {
            const Figures figures = Load(context, server.Port(), request, perClient, connections);
            std::printf("  %-15s p50 %6.2f ms  p99 %6.2f ms  max %6.2f ms  failures %d\n", name, figures.p50,
                figures.p99, figures.max, figures.failures);
        }
    }
    SSL_CTX_free(context);
    server.Stop();
    service.reset();
    std::filesystem::remove_all(folder);
    return 0;
}
