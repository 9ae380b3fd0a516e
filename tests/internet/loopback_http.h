// A small HTTP server on 127.0.0.1, also a forwarding proxy, for the transfer tests.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace gd::test {

// A TCP socket on 127.0.0.1: connected to `port`, or when it is 0 bound to a port the system
// picks, which `port` is set to. -1 when the connection is refused.
inline int LoopbackSocket(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    if (port == 0) {
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        socklen_t len = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
    } else if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// A loopback port on which nothing listens.
inline int ClosedLoopbackPort() {
    int port = 0;
    ::close(LoopbackSocket(port));
    return port;
}

inline void SendAll(int fd, const std::string& data) {
    for (std::size_t at = 0; at < data.size();) {
        const ssize_t n = ::send(fd, data.data() + at, data.size() - at, MSG_NOSIGNAL);
        if (n <= 0) return;
        at += static_cast<std::size_t>(n);
    }
}

// An HTTP server on 127.0.0.1 that answers GET requests from a table of paths (404 for any
// other) and, as a forwarding proxy, relays "GET http://127.0.0.1:port/path" from that loopback
// port; no other host is reached, so nothing leaves the machine. It records every request line
// and serves one connection at a time on its own thread.
class LoopbackHttpServer {
  public:
    struct Route {
        std::string body;
        bool noLength = false;  // no Content-Length: the body ends when the connection does
        bool stall = false;     // never answers; waits until the client gives up
        std::function<void()> onRequest = nullptr;  // runs while the client waits
    };
    LoopbackHttpServer() {
        fd_ = LoopbackSocket(port_);
        ::listen(fd_, 8);
        thread_ = std::thread([this] {
            for (int client; (client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
                Answer(client, ReadRequestLine(client));
                ::close(client);
            }
        });
    }
    // Shutting the listening socket down ends the accept loop.
    ~LoopbackHttpServer() {
        ::shutdown(fd_, SHUT_RDWR);
        thread_.join();
        ::close(fd_);
    }
    void Add(const std::string& path, Route route) {
        std::lock_guard<std::mutex> lock(mutex_);
        routes_[path] = std::move(route);
    }
    int port() const { return port_; }
    std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }
    std::vector<std::string> Requests() {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }

  private:
    std::string ReadRequestLine(int client) {
        std::string head;
        char c;
        while (head.find("\r\n\r\n") == std::string::npos && ::recv(client, &c, 1, 0) == 1)
            head += c;
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_.emplace_back(head.substr(0, head.find("\r\n")));
    }
    void Answer(int client, const std::string& line) {  // "GET <path or URL> HTTP/1.1"
        if (line.rfind("GET ", 0) != 0) return;
        const std::string target = line.substr(4, line.rfind(' ') - 4),
                          proxied = "http://127.0.0.1:";
        if (target.rfind(proxied, 0) == 0) return Forward(client, target.substr(proxied.size()));
        std::unique_lock<std::mutex> lock(mutex_);
        const bool found = routes_.count(target) > 0;
        const Route route = found ? routes_[target] : Route{"not here"};
        lock.unlock();
        if (route.onRequest) route.onRequest();
        char c;
        while (route.stall && ::recv(client, &c, 1, 0) > 0) {
        }
        std::string head = found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n";
        if (!route.noLength)
            head += "Content-Length: " + std::to_string(route.body.size()) + "\r\n";
        SendAll(client, head + "Connection: close\r\n\r\n" + route.body);
    }
    // Relays "port/path" from that loopback port.
    static void Forward(int client, const std::string& portAndPath) {
        int port = std::stoi(portAndPath);
        const int upstream = LoopbackSocket(port);
        if (upstream < 0) return;
        SendAll(upstream, "GET " + portAndPath.substr(portAndPath.find('/')) + " HTTP/1.0\r\n\r\n");
        char buffer[4096];
        for (ssize_t n; (n = ::recv(upstream, buffer, sizeof buffer, 0)) > 0;)
            SendAll(client, std::string(buffer, static_cast<std::size_t>(n)));
        ::close(upstream);
    }
    int fd_ = -1, port_ = 0;
    std::mutex mutex_;
    std::vector<std::string> requests_;
    std::map<std::string, Route> routes_;
    std::thread thread_;
};

}  // namespace gd::test
