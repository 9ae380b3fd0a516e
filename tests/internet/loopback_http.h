// A small HTTP server and a forwarding HTTP proxy on 127.0.0.1 for the transfer tests. Both
// listen on a port the system picks and serve one connection at a time on their own thread.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
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

// Accepts on 127.0.0.1, records each request's first line and hands the connection to `serve`.
class LoopbackListener {
  public:
    using Serve = std::function<void(int client, const std::string& requestLine)>;
    explicit LoopbackListener(Serve serve) : serve_(std::move(serve)) {
        fd_ = LoopbackSocket(port_);
        ::listen(fd_, 8);
        thread_ = std::thread([this] {
            for (int client; (client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
                if (!stopping_) serve_(client, ReadRequestLine(client));
                ::close(client);
            }
        });
    }
    ~LoopbackListener() {
        stopping_ = true;
        ::shutdown(fd_, SHUT_RDWR);
        thread_.join();
        ::close(fd_);
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
    Serve serve_;
    int fd_ = -1, port_ = 0;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// Answers GET requests from a table of paths, 404 for any other.
class LoopbackHttpServer {
  public:
    struct Route {
        std::string body;
        bool noLength = false;  // no Content-Length: the body ends when the connection does
        bool stall = false;     // never answers; waits until the client gives up
        std::function<void()> onRequest = nullptr;  // runs while the client waits
    };
    void Add(const std::string& path, Route route) {
        std::lock_guard<std::mutex> lock(mutex_);
        routes_[path] = std::move(route);
    }
    std::string Base() const { return listener_.Base(); }
    std::vector<std::string> Requests() { return listener_.Requests(); }

  private:
    void Answer(int client, const std::string& line) {
        if (line.rfind("GET ", 0) != 0) return;
        const std::string path = line.substr(4, line.rfind(' ') - 4);  // "GET <path> HTTP/1.1"
        std::unique_lock<std::mutex> lock(mutex_);
        const bool found = routes_.count(path) > 0;
        const Route route = found ? routes_[path] : Route{"not here"};
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
    std::mutex mutex_;
    std::map<std::string, Route> routes_;
    LoopbackListener listener_{[this](int c, const std::string& line) { Answer(c, line); }};
};

// A forwarding proxy: takes "GET http://127.0.0.1:port/path", fetches it from that loopback
// port and relays the answer. Any other host is refused, so nothing leaves the machine.
class LoopbackProxy : public LoopbackListener {
  public:
    LoopbackProxy() : LoopbackListener(Forward) {}

  private:
    static void Forward(int client, const std::string& line) {
        const std::string prefix = "GET http://127.0.0.1:";
        int port = line.rfind(prefix, 0) == 0 ? std::stoi(line.substr(prefix.size())) : -1;
        const int upstream = port > 0 ? LoopbackSocket(port) : -1;
        if (upstream < 0)
            return SendAll(client, "HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\n\r\n");
        const std::size_t from = line.find('/', prefix.size());
        SendAll(upstream, "GET " + line.substr(from, line.rfind(' ') - from) + " HTTP/1.0\r\n\r\n");
        char buffer[4096];
        for (ssize_t n; (n = ::recv(upstream, buffer, sizeof buffer, 0)) > 0;)
            SendAll(client, std::string(buffer, static_cast<std::size_t>(n)));
        ::close(upstream);
    }
};

}  // namespace gd::test
