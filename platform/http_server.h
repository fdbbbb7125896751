#pragma once

#include "platform/http_exchange.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

// An HTTP or HTTPS server that hands every request to one HttpHandler, on
// threads of its own. The server library (cpp-httplib) is bound here and
// nowhere else.
//
// A TLS connection carries up to a hundred requests, one after another,
// and none after a body refused from its headers; a plain one carries one.
// A connection holds a thread while it is open, as the library works, so
// idle and slow connections are cut short by the timeouts below and the
// threads are many (a connection limit) rather than a handful: a phone's
// request is not kept waiting behind a few hundred connections that send
// nothing.
struct HttpServerOptions {
    std::string address = "127.0.0.1"; // "0.0.0.0" for every IPv4 address of the machine
    int port = 0;                      // 0: a free port, chosen by the system (see Port())
    std::string tlsIdentity;           // a PEM file with the key and certificate; empty for plain HTTP
    std::size_t maxBodyBytes = 8 * 1024;
    std::size_t maxConnections = 256;    // served at once; more wait their turn
    std::chrono::seconds idleTimeout{2}; // how long a connection may stay silent before a request
    std::chrono::seconds readTimeout{5};
    std::chrono::seconds writeTimeout{5};
};

class HttpServer {
public:
    HttpServer(HttpServerOptions options, HttpHandler handler);
    ~HttpServer(); // stops the server
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Binds the address and serves from another thread. English text of
    // what failed (the TLS identity, the address, the port) on failure.
    std::optional<std::string> Start();

    // The port bound by Start().
    int Port() const;

    // Stops accepting, lets the requests in flight finish, and returns once
    // they have. Safe to call from any thread but a handler's, and twice.
    void Stop();

private:
    struct Binding;
    std::unique_ptr<Binding> m_binding;
};
