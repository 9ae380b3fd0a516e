// A small HTTP server and a forwarding HTTP proxy on 127.0.0.1 for the transfer tests. Both
// listen on a port the system picks and serve one connection at a time on their own thread.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
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

// A listening socket on 127.0.0.1 and the thread that accepts on it.
class LoopbackListener {
  public:
    LoopbackListener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(fd_, 8);
        socklen_t len = sizeof a;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
    }
    virtual ~LoopbackListener() { Stop(); }
    int port() const { return port_; }
    std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }
    // The request lines received so far.
    std::vector<std::string> Requests() {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }

  protected:
    void Start() {
        thread_ = std::thread([this] {
            for (;;) {
                const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
                if (client < 0 || stopping_) {
                    if (client >= 0) ::close(client);
                    return;
                }
                Serve(client);
                ::close(client);
            }
        });
    }
    void Stop() {
        if (!thread_.joinable()) return;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        ::shutdown(fd_, SHUT_RDWR);
        thread_.join();
        ::close(fd_);
    }
    virtual void Serve(int client) = 0;

    // Reads the request head up to its blank line and records its first line.
    std::string ReadRequestLine(int client) {
        std::string head;
        char c;
        while (head.find("\r\n\r\n") == std::string::npos && ::recv(client, &c, 1, 0) == 1)
            head += c;
        const std::string line = head.substr(0, head.find("\r\n"));
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(line);
        return line;
    }
    static void SendAll(int client, const std::string& data) {
        std::size_t at = 0;
        while (at < data.size()) {
            const ssize_t n = ::send(client, data.data() + at, data.size() - at, MSG_NOSIGNAL);
            if (n <= 0) return;
            at += static_cast<std::size_t>(n);
        }
    }

    std::mutex mutex_;
    bool stopping_ = false;
    std::vector<std::string> requests_;

  private:
    int fd_ = -1;
    int port_ = 0;
    std::thread thread_;
};

// Answers GET requests from a table of paths; records every request line it receives.
class LoopbackHttpServer : public LoopbackListener {
  public:
    struct Route {
        int status = 200;
        std::string body;
        bool stall = false;     // never answers (until the server stops)
        bool noLength = false;  // no Content-Length: the body ends when the connection does
        std::function<void()> onRequest;  // runs while the client waits for the answer
    };
    LoopbackHttpServer() { Start(); }
    ~LoopbackHttpServer() override { Stop(); }
    void Add(const std::string& path, Route route) {
        std::lock_guard<std::mutex> lock(mutex_);
        routes_[path] = std::move(route);
    }

  private:
    void Serve(int client) override {
        const std::string line = ReadRequestLine(client);
        const auto first = line.find(' ');
        const std::string path = line.substr(first + 1, line.rfind(' ') - first - 1);
        Route route{404, "not here", false, false, nullptr};
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (routes_.count(path)) route = routes_[path];
        }
        if (route.onRequest) route.onRequest();
        if (route.stall) {
            // Until the client gives up and closes, or the server stops.
            for (;;) {
                pollfd p{client, POLLIN, 0};
                char c;
                if (::poll(&p, 1, 20) > 0 && ::recv(client, &c, 1, 0) <= 0) return;
                std::lock_guard<std::mutex> lock(mutex_);
                if (stopping_) return;
            }
        }
        std::string answer = "HTTP/1.1 " + std::to_string(route.status) + " X\r\n";
        if (!route.noLength)
            answer += "Content-Length: " + std::to_string(route.body.size()) + "\r\n";
        answer += "Connection: close\r\n\r\n";
        SendAll(client, answer);
        SendAll(client, route.body);
    }
    std::map<std::string, Route> routes_;
};

// A forwarding proxy: takes "GET http://127.0.0.1:port/path", fetches it from that loopback
// port and relays the answer. Any other host is refused, so nothing leaves the machine.
class LoopbackProxy : public LoopbackListener {
  public:
    LoopbackProxy() { Start(); }
    ~LoopbackProxy() override { Stop(); }

  private:
    void Serve(int client) override {
        const std::string line = ReadRequestLine(client);
        const std::string prefix = "GET http://127.0.0.1:";
        if (line.rfind(prefix, 0) != 0) {
            SendAll(client, "HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\n\r\n");
            return;
        }
        const std::string rest = line.substr(prefix.size());
        const int port = std::stoi(rest);
        const std::string path = rest.substr(rest.find('/'), rest.rfind(' ') - rest.find('/'));
        const int upstream = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(static_cast<std::uint16_t>(port));
        if (::connect(upstream, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
            SendAll(upstream, "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
            char buffer[4096];
            ssize_t n;
            while ((n = ::recv(upstream, buffer, sizeof buffer, 0)) > 0)
                SendAll(client, std::string(buffer, static_cast<std::size_t>(n)));
        }
        ::close(upstream);
    }
};

// A loopback port on which nothing listens.
inline int ClosedLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(fd);
    return ntohs(a.sin_port);
}

}  // namespace gd::test
