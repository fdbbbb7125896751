#include "platform/http_server.h"
#include "platform/tls_certificate.h"

#include "../diary/temp_dir.h"
#include "loopback_client.h"

#include <gtest/gtest.h>

#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A handler that keeps what it was given and answers with an echo of the path.
struct Recorder {
    std::mutex mutex;
    std::vector<HttpRequest> requests;

    HttpHandler Handler()
    {
        return [this](const HttpRequest& request) {
            const std::lock_guard lock(mutex);
            requests.push_back(request);
            HttpResponse response;
            response.status = 201;
            response.contentType = "application/json";
            response.body = "{\"path\":\"" + request.path + "\"}";
            response.headers = {{"Set-Cookie", "a=1"}, {"Set-Cookie", "b=2"}, {"X-Extra", "yes"}};
            return response;
        };
    }
    std::size_t Count()
    {
        const std::lock_guard lock(mutex);
        return requests.size();
    }
};

std::unique_ptr<HttpServer> Started(HttpServerOptions options, HttpHandler handler)
{
    auto server = std::make_unique<HttpServer>(std::move(options), std::move(handler));
    const auto failure = server->Start();
    EXPECT_FALSE(failure) << *failure;
    return server;
}

std::string StatusLine(const std::string& response)
{
    return response.substr(0, response.find("\r\n"));
}

TEST(HttpServer, HandsTheRequestOverAsSentAndTheAnswerBack)
{
    Recorder recorder;
    const auto server = Started({}, recorder.Handler());
    const std::string answer = Exchange(server->Port(),
        "POST /api/%2e%2e/entries?x=1&y=%20 HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Mixed-Case: Value\r\n"
        "REMOTE_ADDR: 10.9.8.7\r\nContent-Type: application/json\r\nContent-Length: 7\r\nConnection: close\r\n\r\n"
        "{\"a\":1}");

    EXPECT_EQ(StatusLine(answer), "HTTP/1.1 201 Created");
    EXPECT_NE(answer.find("Content-Type: application/json\r\n"), std::string::npos);
    EXPECT_NE(answer.find("Set-Cookie: a=1\r\n"), std::string::npos);
    EXPECT_NE(answer.find("Set-Cookie: b=2\r\n"), std::string::npos);
    EXPECT_NE(answer.find("X-Extra: yes\r\n"), std::string::npos);
    EXPECT_TRUE(answer.ends_with("{\"path\":\"/api/%2e%2e/entries\"}"));

    ASSERT_EQ(recorder.Count(), 1u);
    const HttpRequest& request = recorder.requests[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, "/api/%2e%2e/entries"); // not decoded: the handler judges the climb
    EXPECT_EQ(request.query, "x=1&y=%20");
    EXPECT_EQ(request.Header("x-mixed-case"), "Value");
    EXPECT_EQ(request.Header("content-type"), "application/json");
    EXPECT_EQ(request.body, "{\"a\":1}");
    // The peer's address is the socket's, whatever a header claims.
    EXPECT_EQ(request.remoteAddress, "127.0.0.1");
    EXPECT_EQ(request.Header("remote_addr"), "");
    for (const auto& [name, value] : request.headers)
        EXPECT_EQ(name.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos) << name;
}

TEST(HttpServer, EveryMethodAndPathReachesTheHandler)
{
    Recorder recorder;
    const auto server = Started({}, recorder.Handler());
    for (const char* method : {"GET", "PUT", "DELETE", "PATCH", "OPTIONS"}) {
        const std::string answer = Exchange(server->Port(),
            std::string(method)
                + " /no/such/%0Apage HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        EXPECT_EQ(StatusLine(answer), "HTTP/1.1 201 Created") << method;
    }
    ASSERT_EQ(recorder.Count(), 5u);
    EXPECT_EQ(recorder.requests[4].method, "OPTIONS");
    EXPECT_EQ(recorder.requests[4].path, "/no/such/%0Apage");
}

TEST(HttpServer, RefusesABodyOverTheLimitWithoutTheHandler)
{
    Recorder recorder;
    HttpServerOptions options;
    options.maxBodyBytes = 1024;
    const auto server = Started(options, recorder.Handler());
    const std::string big(1025, 'x');
    const std::string declared = Exchange(server->Port(),
        "POST /api/entries HTTP/1.1\r\nHost: x\r\nContent-Length: 1025\r\nConnection: close\r\n\r\n" + big);
    EXPECT_EQ(StatusLine(declared), "HTTP/1.1 413 Payload Too Large");
    EXPECT_TRUE(declared.ends_with("Payload Too Large\n"));
    // A chunked body declares no length, and the library would read it
    // whole: refused from its headers, as a method without a handler is.
    const std::string chunked = Exchange(server->Port(),
        "POST /api/entries HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n"
        "5\r\nabcde\r\n0\r\n\r\n");
    EXPECT_EQ(StatusLine(chunked), "HTTP/1.1 411 Length Required");
    const std::string unknownMethod = Exchange(server->Port(),
        "PRI /api/entries HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n"
        "401\r\n"
            + big + "\r\n0\r\n\r\n");
    EXPECT_EQ(StatusLine(unknownMethod), "HTTP/1.1 411 Length Required");
    // A refused body is left unread: a request inside it is not answered.
    for (const std::string& framing :
        {std::string("Content-Length: 1025"), std::string("Transfer-Encoding: chunked")}) {
        LoopbackSocket kept(server->Port());
        ASSERT_TRUE(kept.Send("POST /a HTTP/1.1\r\nHost: x\r\n" + framing + "\r\n\r\n"));
        // Later, so that it is not in the bytes read with the headers.
        std::this_thread::sleep_for(100ms);
        kept.Send("GET /smuggled HTTP/1.1\r\nHost: x\r\n\r\n");
        const std::string refused = kept.ReceiveAll(3000);
        EXPECT_EQ(refused.find("HTTP/1.1", 1), std::string::npos) << refused;
        EXPECT_TRUE(StatusLine(refused).starts_with("HTTP/1.1 41")) << refused;
        EXPECT_NE(refused.find("Connection: close\r\n"), std::string::npos) << refused;
    }
    const std::string fits = Exchange(server->Port(),
        "POST /api/entries HTTP/1.1\r\nHost: x\r\nContent-Length: 1024\r\nConnection: close\r\n\r\n" + big.substr(1));
    EXPECT_EQ(StatusLine(fits), "HTTP/1.1 201 Created");
    EXPECT_EQ(recorder.Count(), 1u);
}

TEST(HttpServer, AFailingHandlerAnswers500AndTheServerGoesOn)
{
    std::atomic<int> calls = 0;
    const auto server = Started({}, [&calls](const HttpRequest&) -> HttpResponse {
        if (calls++ == 0)
            throw std::runtime_error("broken");
        return HttpResponse{.status = 200, .contentType = "text/plain", .body = "fine", .headers = {}};
    });
    const std::string request = "GET / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
    EXPECT_EQ(StatusLine(Exchange(server->Port(), request)), "HTTP/1.1 500 Internal Server Error");
    const std::string second = Exchange(server->Port(), request);
    EXPECT_EQ(StatusLine(second), "HTTP/1.1 200 OK");
    EXPECT_TRUE(second.ends_with("fine"));
}

// Connections that open and send nothing each hold a thread of the server
// while they last: 200 of them must not make a new request wait for them
// to time out, however the threads are counted.
TEST(HttpServer, IdleConnectionsDoNotKeepANewRequestWaiting)
{
    Recorder recorder;
    HttpServerOptions options;
    options.idleTimeout = 5s;
    options.readTimeout = 5s;
    const auto server = Started(options, recorder.Handler());
    std::vector<std::unique_ptr<LoopbackSocket>> idle;
    for (int i = 0; i < 200; ++i) {
        idle.push_back(std::make_unique<LoopbackSocket>(server->Port()));
        ASSERT_TRUE(idle.back()->Connected()) << i;
    }
    // Half of them have started a request and stopped mid-header.
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(idle[i]->Send("GET / HTTP/1.1\r\nHost: x\r\n"));
    std::this_thread::sleep_for(200ms);

    const auto start = Clock::now();
    const std::string answer = Exchange(server->Port(), "GET /now HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    const auto waited = Clock::now() - start;
    EXPECT_EQ(StatusLine(answer), "HTTP/1.1 201 Created");
    // Well inside the 5 s an idle connection is kept: no request waited for one to end.
    EXPECT_LT(waited, 3s);
}

// Past the limit a connection waits its turn: the limit is real.
TEST(HttpServer, ConnectionsPastTheLimitWaitForAThread)
{
    Recorder recorder;
    HttpServerOptions options;
    options.maxConnections = 2;
    options.idleTimeout = 1s;
    const auto server = Started(options, recorder.Handler());
    LoopbackSocket first(server->Port()), second(server->Port());
    std::this_thread::sleep_for(100ms);
    const auto start = Clock::now();
    const std::string answer = Exchange(server->Port(), "GET / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(StatusLine(answer), "HTTP/1.1 201 Created");
    EXPECT_GE(Clock::now() - start, 700ms);
    // The idle ones were closed by the server when their time was up.
    EXPECT_TRUE(first.ClosedWithin(3000));
}

TEST(HttpServer, StopFinishesTheRequestInFlightThenRefuses)
{
    std::promise<void> entered;
    const auto server = Started({}, [&entered](const HttpRequest&) {
        entered.set_value();
        std::this_thread::sleep_for(300ms);
        return HttpResponse{.status = 200, .contentType = "text/plain", .body = "done", .headers = {}};
    });
    const int port = server->Port();
    auto reply = std::async(std::launch::async,
        [port] { return Exchange(port, "GET / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n"); });
    entered.get_future().wait();
    server->Stop();
    const std::string answer = reply.get();
    EXPECT_EQ(StatusLine(answer), "HTTP/1.1 200 OK");
    EXPECT_TRUE(answer.ends_with("done"));
    EXPECT_FALSE(LoopbackSocket(port).Connected());
    server->Stop(); // a second stop is harmless
}

TEST(HttpServer, ATakenPortOrABadIdentityIsSaid)
{
    Recorder recorder;
    const auto first = Started({}, recorder.Handler());
    HttpServerOptions same;
    same.port = first->Port();
    HttpServer second(same, recorder.Handler());
    const auto taken = second.Start();
    ASSERT_TRUE(taken);
    EXPECT_NE(taken->find(std::to_string(first->Port())), std::string::npos);

    TempDir dir;
    WriteBytes(dir.File("server.pem"), "not a key");
    HttpServerOptions tls;
    tls.tlsIdentity = dir.File("server.pem");
    HttpServer third(tls, recorder.Handler());
    const auto bad = third.Start();
    ASSERT_TRUE(bad);
    EXPECT_NE(bad->find("server.pem"), std::string::npos);
}

// The certificate a TLS client is shown, as a fingerprint.
std::string ServedFingerprint(int port)
{
    LoopbackSocket socket(port);
    const std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> context(SSL_CTX_new(TLS_client_method()), &SSL_CTX_free);
    const std::unique_ptr<SSL, decltype(&SSL_free)> tls(SSL_new(context.get()), &SSL_free);
    SSL_set_fd(tls.get(), socket.Fd());
    if (SSL_connect(tls.get()) != 1)
        return {};
    const std::unique_ptr<X509, decltype(&X509_free)> certificate(SSL_get1_peer_certificate(tls.get()), &X509_free);
    unsigned char* der = nullptr;
    const int size = i2d_X509(certificate.get(), &der);
    const std::string bytes(reinterpret_cast<char*>(der), static_cast<std::size_t>(size));
    OPENSSL_free(der);
    return CertificateFingerprint(bytes);
}

// A server over TLS with an identity made in `dir`.
std::unique_ptr<HttpServer> StartedOverTls(const TempDir& dir, Recorder& recorder, std::string* fingerprint = nullptr)
{
    const auto identity = LoadOrMakeTlsIdentity(dir.File("tls"), {"127.0.0.1"});
    EXPECT_TRUE(identity) << identity.error();
    if (!identity)
        return nullptr;
    if (fingerprint)
        *fingerprint = identity->fingerprint;
    HttpServerOptions options;
    options.tlsIdentity = identity->path;
    return Started(options, recorder.Handler());
}

TEST(HttpServer, ServesTlsWithTheKeptIdentityOnly)
{
    TempDir dir;
    Recorder recorder;
    std::string fingerprint;
    const auto server = StartedOverTls(dir, recorder, &fingerprint);
    ASSERT_TRUE(server);
    EXPECT_EQ(ServedFingerprint(server->Port()), fingerprint);
    // Plain HTTP to the TLS port reaches no handler.
    const std::string clear = Exchange(server->Port(), "GET / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(clear.find("201"), std::string::npos);
    EXPECT_EQ(recorder.Count(), 0u);
}

// One answer read from a TLS connection that stays open: its headers and
// as much body as they announce.
std::string ReadAnswer(SSL* tls)
{
    std::string answer;
    for (;;) {
        const std::size_t headersEnd = answer.find("\r\n\r\n");
        if (headersEnd != std::string::npos) {
            const std::size_t at = answer.find("Content-Length: ");
            const std::size_t length = at < headersEnd ? std::stoul(answer.substr(at + 16)) : 0;
            if (answer.size() >= headersEnd + 4 + length)
                return answer;
        }
        char buffer[4096];
        const int n = SSL_read(tls, buffer, sizeof buffer);
        if (n <= 0)
            return answer;
        answer.append(buffer, static_cast<std::size_t>(n));
    }
}

// Everything a TLS connection answers until the server closes it or
// three seconds pass.
std::string ReadUntilClosed(SSL* tls, int fd)
{
    const timeval wait{3, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    std::string answer;
    char buffer[4096];
    for (int n; (n = SSL_read(tls, buffer, sizeof buffer)) > 0;)
        answer.append(buffer, static_cast<std::size_t>(n));
    return answer;
}

// Over TLS too, a refused body is not read as the next request, whether it
// comes later or in the same record as the headers.
TEST(HttpServer, ARefusedBodyEndsATlsConnection)
{
    TempDir dir;
    Recorder recorder;
    const auto server = StartedOverTls(dir, recorder);
    ASSERT_TRUE(server);
    const std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> context(SSL_CTX_new(TLS_client_method()), &SSL_CTX_free);
    const std::string smuggled = "GET /smuggled HTTP/1.1\r\nHost: x\r\n\r\n";
    for (const std::string& framing :
        {std::string("Content-Length: 100000"), std::string("Transfer-Encoding: chunked")}) {
        for (const bool apart : {true, false}) {
            LoopbackSocket socket(server->Port());
            const std::unique_ptr<SSL, decltype(&SSL_free)> tls(SSL_new(context.get()), &SSL_free);
            SSL_set_fd(tls.get(), socket.Fd());
            ASSERT_EQ(SSL_connect(tls.get()), 1);
            std::string request = "POST /a HTTP/1.1\r\nHost: x\r\n" + framing + "\r\n\r\n";
            if (!apart)
                request += smuggled;
            ASSERT_GT(SSL_write(tls.get(), request.data(), static_cast<int>(request.size())), 0);
            if (apart) {
                std::this_thread::sleep_for(100ms);
                SSL_write(tls.get(), smuggled.data(), static_cast<int>(smuggled.size()));
            }
            const std::string refused = ReadUntilClosed(tls.get(), socket.Fd());
            EXPECT_TRUE(StatusLine(refused).starts_with("HTTP/1.1 41")) << framing << apart << refused;
            EXPECT_EQ(refused.find("HTTP/1.1", 1), std::string::npos) << framing << apart << refused;
        }
    }
    EXPECT_EQ(recorder.Count(), 0u);
}

// A phone's page and the entries posted from it share one TLS connection,
// as a browser keeps it; a plain connection, served only behind a proxy
// that may pass it from client to client, is closed after its answer.
TEST(HttpServer, ATlsConnectionCarriesRequestsInTurnAPlainOneOnlyOne)
{
    TempDir dir;
    Recorder recorder;
    const auto server = StartedOverTls(dir, recorder);
    ASSERT_TRUE(server);
    LoopbackSocket socket(server->Port());
    const std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> context(SSL_CTX_new(TLS_client_method()), &SSL_CTX_free);
    const std::unique_ptr<SSL, decltype(&SSL_free)> tls(SSL_new(context.get()), &SSL_free);
    SSL_set_fd(tls.get(), socket.Fd());
    ASSERT_EQ(SSL_connect(tls.get()), 1);
    for (const std::string path : {"/", "/api/entries", "/api/diary"}) {
        const std::string request = "GET " + path + " HTTP/1.1\r\nHost: x\r\n\r\n";
        ASSERT_GT(SSL_write(tls.get(), request.data(), static_cast<int>(request.size())), 0) << path;
        const std::string answer = ReadAnswer(tls.get());
        EXPECT_EQ(StatusLine(answer), "HTTP/1.1 201 Created") << path;
        EXPECT_TRUE(answer.ends_with("{\"path\":\"" + path + "\"}")) << answer;
        EXPECT_EQ(answer.find("Connection: close"), std::string::npos) << answer;
    }
    EXPECT_EQ(recorder.Count(), 3u);

    const auto plain = Started({}, recorder.Handler());
    LoopbackSocket once(plain->Port());
    ASSERT_TRUE(once.Send("GET /first HTTP/1.1\r\nHost: x\r\n\r\nGET /second HTTP/1.1\r\nHost: x\r\n\r\n"));
    const std::string answered = once.ReceiveAll(3000);
    EXPECT_EQ(StatusLine(answered), "HTTP/1.1 201 Created");
    EXPECT_NE(answered.find("Connection: close\r\n"), std::string::npos) << answered;
    EXPECT_EQ(answered.find("/second"), std::string::npos) << answered;
    EXPECT_EQ(recorder.Count(), 4u);
}

} // namespace
