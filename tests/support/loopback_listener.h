#pragma once
// A listening TCP socket on a loopback address, for the peers the tests talk to.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <stdexcept>
#include <string>

// Listens on address:port (port 0: a free one, written back) and returns the socket.
inline int ListenOnLoopback(uint16_t& port, const char* address = "127.0.0.1", int backlog = 1) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    if (::inet_pton(AF_INET, address, &a.sin_addr) != 1 || ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        ::listen(fd, backlog) != 0) {
        ::close(fd);
        throw std::runtime_error(std::string("cannot listen on ") + address);
    }
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    return fd;
}

// A loopback port with nothing listening on it.
inline uint16_t ClosedLoopbackPort() {
    uint16_t port = 0;
    ::close(ListenOnLoopback(port));
    return port;
}
