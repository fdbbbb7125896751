#include "platform/http_server.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <condition_variable>
#include <csignal>
#include <deque>
#include <mutex>
#include <sys/socket.h>
#include <thread>
#include <vector>

namespace {

// The library's thread pool keeps a fixed handful of workers, each held
// by one connection for as long as it stays open: a few idle connections
// would keep every new request waiting. These threads are made on demand,
// one per open connection, up to a limit; past it connections queue.
class ConnectionThreads final : public httplib::TaskQueue {
public:
    explicit ConnectionThreads(std::size_t limit)
        : m_limit(std::max<std::size_t>(limit, 1))
    {
    }

    void enqueue(std::function<void()> job) override
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
        if (m_jobs.size() > m_idle && m_threads.size() < m_limit)
            m_threads.emplace_back([this] { Work(); });
        else
            m_ready.notify_one();
    }

    void shutdown() override
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_ready.notify_all();
        for (std::thread& thread : m_threads)
            thread.join();
    }

private:
    void Work()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            ++m_idle;
            m_ready.wait(lock, [this] { return !m_jobs.empty() || m_stopping; });
            --m_idle;
            if (m_jobs.empty())
                return;
            std::function<void()> job = std::move(m_jobs.front());
            m_jobs.pop_front();
            lock.unlock();
            job();
            lock.lock();
        }
    }

    const std::size_t m_limit;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<std::function<void()>> m_jobs;
    std::vector<std::thread> m_threads;
    std::size_t m_idle = 0;
    bool m_stopping = false;
};

// The library listens with a backlog of 5, built into it; a burst of
// connections would be dropped by the kernel and retried a second later.
template <typename Base> class WideListen final : public Base {
public:
    using Base::Base;
    void WidenBacklog() { ::listen(this->svr_sock_, SOMAXCONN); }
};
using PlainServer = WideListen<httplib::Server>;
using TlsServer = WideListen<httplib::SSLServer>;

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool IsLibraryAddedHeader(const std::string& lowerName)
{
    return lowerName == "remote_addr" || lowerName == "remote_port" || lowerName == "local_addr"
        || lowerName == "local_port";
}

HttpRequest ToExchange(const httplib::Request& from)
{
    HttpRequest to;
    to.method = from.method;
    const std::size_t question = from.target.find('?');
    to.path = from.target.substr(0, question);
    if (question != std::string::npos)
        to.query = from.target.substr(question + 1);
    for (const auto& [name, value] : from.headers) {
        std::string lower = Lower(name);
        // The library files the peer's address among the headers, where a
        // client could send the same names: the address is remoteAddress.
        if (!IsLibraryAddedHeader(lower))
            to.headers.emplace_back(std::move(lower), value);
    }
    to.body = from.body;
    to.remoteAddress = from.remote_addr;
    return to;
}

void FromExchange(const HttpResponse& from, httplib::Response& to)
{
    to.status = from.status;
    for (const auto& [name, value] : from.headers)
        to.set_header(name, value);
    to.set_content(from.body, from.contentType);
}

std::string RefusalText(int status)
{
    switch (status) {
    case 400: return "Bad Request\n";
    case 404: return "Not Found\n";
    case 405: return "Method Not Allowed\n";
    case 411: return "Length Required: a request body needs a Content-Length\n";
    case 413: return "Payload Too Large\n";
    case 414: return "URI Too Long\n";
    case 416: return "Range Not Satisfiable\n";
    default: return "Error " + std::to_string(status) + "\n";
    }
}

// The library's own refusals (a body too large, a malformed request) come
// with no text; the handler's answers keep theirs.
httplib::Server::HandlerResponse DescribeRefusal(const httplib::Request&, httplib::Response& response)
{
    if (!response.body.empty())
        return httplib::Server::HandlerResponse::Unhandled;
    response.set_content(RefusalText(response.status), "text/plain; charset=utf-8");
    return httplib::Server::HandlerResponse::Handled;
}

// The TLS connection this thread serves. The library accepts, reads and
// answers a connection on one thread, from its handshake on, and tells of
// the handshake through the context's callback.
thread_local SSL* t_servedTls = nullptr;

void NoteServedTls(const SSL* tls, int /*where*/, int /*value*/)
{
    t_servedTls = const_cast<SSL*>(tls);
}

// The library still reads a connection it was asked to close. Marked as
// closed by the client, a TLS connection reads nothing more: whatever
// comes after the answer is thrown away, and the connection ends.
void EndReadingThisTlsConnection()
{
    if (t_servedTls)
        SSL_set_shutdown(t_servedTls, SSL_get_shutdown(t_servedTls) | SSL_RECEIVED_SHUTDOWN);
}

// Decided from the headers, before the library reads a body: it holds a
// body with a length to its limit, but reads a chunked one whole, however
// long (and a request of a method it has no handler for, too). No page or
// script of this server sends one.
httplib::Server::HandlerResponse RefuseUnboundedBodies(const httplib::Request& request, httplib::Response& response,
    std::size_t maxBodyBytes)
{
    if (request.has_header("Transfer-Encoding"))
        response.status = 411;
    else if (request.get_header_value<uint64_t>("Content-Length") > maxBodyBytes)
        response.status = 413;
    else
        return httplib::Server::HandlerResponse::Unhandled;
    // The body is left unread on the connection: it must not be taken for
    // the next request.
    response.set_header("Connection", "close");
    EndReadingThisTlsConnection();
    response.set_content(RefusalText(response.status), "text/plain; charset=utf-8");
    return httplib::Server::HandlerResponse::Handled;
}

// Only SO_REUSEADDR, for a quick restart: the library's default adds
// SO_REUSEPORT, with which a second server on the same port would quietly
// take half of the requests.
void ExclusivePort(socket_t socket)
{
    const int yes = 1;
    ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

constexpr std::size_t kRequestsPerTlsConnection = 100;

} // namespace

struct HttpServer::Binding {
    HttpServerOptions options;
    HttpHandler handler;
    std::unique_ptr<httplib::Server> server;
    std::thread listener;
    std::mutex stopping;
    std::atomic<bool> listened{false};
    int port = 0;

    std::optional<std::string> Make();
    void Route();
};

std::optional<std::string> HttpServer::Binding::Make()
{
    if (options.tlsIdentity.empty()) {
        server = std::make_unique<PlainServer>();
        return std::nullopt;
    }
    const char* pem = options.tlsIdentity.c_str();
    auto tls = std::make_unique<TlsServer>(pem, pem);
    if (!tls->is_valid())
        return "cannot use the TLS key and certificate in '" + options.tlsIdentity + "'";
    SSL_CTX_set_info_callback(tls->ssl_context(), NoteServedTls);
    server = std::move(tls);
    return std::nullopt;
}

void HttpServer::Binding::Route()
{
    const auto serve = [this](const httplib::Request& request, httplib::Response& response) {
        FromExchange(handler(ToExchange(request)), response);
    };
    // Every path and method goes to the one handler, which answers the
    // unknown ones itself; "[\s\S]" also matches a decoded line break.
    const std::string any = R"([\s\S]*)";
    server->Get(any, serve).Post(any, serve).Put(any, serve).Patch(any, serve).Delete(any, serve).Options(any, serve);
    const std::size_t maxBody = options.maxBodyBytes;
    server->set_pre_routing_handler([maxBody](const httplib::Request& request, httplib::Response& response) {
        return RefuseUnboundedBodies(request, response, maxBody);
    });
    server->set_error_handler(httplib::Server::HandlerWithResponse(DescribeRefusal));
    server->set_socket_options(ExclusivePort);
    server->set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
        response.status = 500;
        response.set_content("Internal Server Error\n", "text/plain; charset=utf-8");
    });
    server->set_payload_max_length(options.maxBodyBytes);
    // A refused body stays unread on the connection, and the library,
    // asked to close, still reads on: behind a proxy that reuses its
    // connections, a request hidden in that body would be answered to
    // whoever the proxy serves next. A plain connection therefore carries
    // one request; a TLS one, whose reading ends with a refusal, carries
    // many in turn, so that a phone pays the handshake once for the page
    // and the entries that follow it.
    server->set_keep_alive_max_count(options.tlsIdentity.empty() ? 1 : kRequestsPerTlsConnection);
    server->set_keep_alive_timeout(options.idleTimeout.count());
    server->set_read_timeout(options.readTimeout.count());
    server->set_write_timeout(options.writeTimeout.count());
    // A page is written as headers, then body: without this the second
    // write waits for the client's delayed acknowledgement.
    server->set_tcp_nodelay(true);
    const std::size_t limit = options.maxConnections;
    server->new_task_queue = [limit] { return new ConnectionThreads(limit); };
}

HttpServer::HttpServer(HttpServerOptions options, HttpHandler handler)
    : m_binding(std::make_unique<Binding>())
{
    m_binding->options = std::move(options);
    m_binding->handler = std::move(handler);
}

HttpServer::~HttpServer()
{
    Stop();
}

std::optional<std::string> HttpServer::Start()
{
    Binding& binding = *m_binding;
    if (binding.server)
        return "the server was already started";
    if (auto failure = binding.Make())
        return failure;
    binding.Route();
    // The library checks that the peer is still there before each write,
    // but a phone that goes away between the check and the write would
    // end the whole process with SIGPIPE.
    // A handler the program set itself stays.
    if (const auto previous = std::signal(SIGPIPE, SIG_IGN); previous != SIG_DFL && previous != SIG_ERR)
        std::signal(SIGPIPE, previous);
    const std::string& address = binding.options.address;
    if (binding.options.port == 0)
        binding.port = binding.server->bind_to_any_port(address);
    else if (binding.server->bind_to_port(address, binding.options.port))
        binding.port = binding.options.port;
    else
        binding.port = -1;
    if (binding.port <= 0)
        return "cannot listen on " + address + ":" + std::to_string(binding.options.port)
            + " (the address is not this machine's, or the port is taken)";
    if (binding.options.tlsIdentity.empty())
        static_cast<PlainServer&>(*binding.server).WidenBacklog();
    else
        static_cast<TlsServer&>(*binding.server).WidenBacklog();
    binding.listener = std::thread([&binding] {
        binding.server->listen_after_bind();
        binding.listened = true;
    });
    return std::nullopt;
}

int HttpServer::Port() const
{
    return m_binding->port;
}

void HttpServer::Stop()
{
    const std::lock_guard lock(m_binding->stopping);
    if (!m_binding->listener.joinable())
        return;
    // The library ignores a stop before its loop has begun.
    while (!m_binding->server->is_running() && !m_binding->listened)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    m_binding->server->stop();
    m_binding->listener.join();
}
