#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

// A bare TCP client on 127.0.0.1, so that the tests send exactly the bytes
// they mean (odd header cases, raw paths, idle connections) rather than
// what a client library would make of them.
class LoopbackSocket {
public:
    explicit LoopbackSocket(int port)
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~LoopbackSocket()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    LoopbackSocket(const LoopbackSocket&) = delete;
    LoopbackSocket& operator=(const LoopbackSocket&) = delete;

    bool Connected() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }

    bool Send(const std::string& bytes) const
    {
        return ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
    }

    // Everything until the server closes the connection or `waitMs` passes
    // without a byte.
    std::string ReceiveAll(int waitMs = 10000) const
    {
        std::string received;
        char buffer[4096];
        pollfd readable{m_fd, POLLIN, 0};
        while (::poll(&readable, 1, waitMs) == 1) {
            const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            received.append(buffer, static_cast<std::size_t>(n));
        }
        return received;
    }

    // True once the server has closed the connection, having sent nothing.
    bool ClosedWithin(int waitMs) const
    {
        pollfd readable{m_fd, POLLIN, 0};
        char byte;
        return ::poll(&readable, 1, waitMs) == 1 && ::recv(m_fd, &byte, 1, 0) == 0;
    }

private:
    int m_fd = -1;
};

// One request on its own connection, closed after the answer.
inline std::string Exchange(int port, const std::string& request)
{
    LoopbackSocket socket(port);
    if (!socket.Connected() || !socket.Send(request))
        return {};
    return socket.ReceiveAll();
}
