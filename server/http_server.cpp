// The game server's HTTP layer on libmicrohttpd.
#include "http_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <microhttpd.h>
#include <netinet/in.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <strings.h>
#include <chrono>
#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "metrics.h"

namespace gd::server {

// One connection's socket and when the header of its next request is due.
struct HttpServer::Watch {
    MHD_socket fd;
    std::int64_t dueMs;
    bool inRequest = false;
};

// One request from its first line to its reply.
struct HttpServer::Exchange {
    std::string target;               // the raw request target, query undecoded
    const char* targetEnd = nullptr;  // where the library's copy of the target ends
    std::string method;
    std::string address;
    bool headersSeen = false;
    bool parked = false;
    std::optional<Reply> reply;
};

namespace {

void LogFromLibrary(void*, const char* format, va_list args) {
    char line[512];
    std::vsnprintf(line, sizeof line, format, args);
    const auto n = std::strlen(line);
    std::fprintf(stderr, "glyphdrop-server: http: %s%s", line,
                 n > 0 && line[n - 1] == '\n' ? "" : "\n");
}

void* OnUri(void* self, const char* uri, MHD_Connection*) {
    return HttpServer::BeginRequest(self, uri);
}

void OnCompleted(void* self, MHD_Connection* connection, void** context,
                 MHD_RequestTerminationCode) {
    HttpServer::EndRequest(self, connection, context);
}

void OnConnection(void* self, MHD_Connection* connection, void** socketContext,
                  MHD_ConnectionNotificationCode code) {
    if (code == MHD_CONNECTION_NOTIFY_STARTED)
        HttpServer::Opened(self, connection, socketContext);
    else
        HttpServer::Closed(self, socketContext);
}

MHD_Result OnAccess(void* self, MHD_Connection* connection, const char*, const char* method,
                    const char* version, const char*, std::size_t* uploadSize, void** context) {
    return static_cast<MHD_Result>(
        HttpServer::Access(self, connection, method, version, uploadSize, context));
}

// Calls `visit` with each header's name and value, in the order they came.
void VisitHeaders(MHD_Connection* connection,
                  const std::function<void(const char*, const char*)>& visit) {
    MHD_get_connection_values(
        connection, MHD_HEADER_KIND,
        [](void* cls, MHD_ValueKind, const char* key, const char* value) {
            (*static_cast<const std::function<void(const char*, const char*)>*>(cls))(
                key, value ? value : "");
            return MHD_YES;
        },
        const_cast<std::function<void(const char*, const char*)>*>(&visit));
}

}  // namespace

WorkerPool::WorkerPool(int threads) {
    for (int i = 0; i < threads; ++i)
        threads_.emplace_back([this] { Work(); });
}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
    }
    ready_.notify_all();
    for (auto& t : threads_)
        t.join();
}

void WorkerPool::Submit(std::function<void()> task) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        tasks_.push_back(std::move(task));
    }
    ready_.notify_one();
}

void WorkerPool::Work() {
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock<std::mutex> hold(lock_);
            ready_.wait(hold, [this] { return stopping_ || !tasks_.empty(); });
            if (tasks_.empty()) return;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
}

void WorkerPool::Run(std::function<void()> answer, std::function<void(bool durable)> deliver) {
    Submit([answer = std::move(answer), deliver = std::move(deliver)] {
        answer();
        deliver(true);  // the store made it durable before answering
    });
}

std::int64_t HttpServer::MonotonicMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

HttpServer::HttpServer(Service& service, HttpOptions options, AnswerRunner* runner)
    : service_(service),
      options_(std::move(options)),
      workers_(runner ? 0 : options_.workers),
      runner_(runner ? *runner : workers_) {
    lastRequestMs_ = MonotonicMs();
    sockaddr_in v4{};
    sockaddr_in6 v6{};
    const sockaddr* bindTo = nullptr;
    unsigned flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL | MHD_USE_TURBO |
                     MHD_ALLOW_SUSPEND_RESUME | MHD_USE_ERROR_LOG;
    if (inet_pton(AF_INET, options_.address.c_str(), &v4.sin_addr) == 1) {
        v4.sin_family = AF_INET;
        v4.sin_port = htons(static_cast<std::uint16_t>(options_.port));
        bindTo = reinterpret_cast<const sockaddr*>(&v4);
    } else if (inet_pton(AF_INET6, options_.address.c_str(), &v6.sin6_addr) == 1) {
        v6.sin6_family = AF_INET6;
        v6.sin6_port = htons(static_cast<std::uint16_t>(options_.port));
        bindTo = reinterpret_cast<const sockaddr*>(&v6);
        flags |= MHD_USE_IPv6;
    } else {
        throw std::runtime_error("not an IP address: " + options_.address);
    }
    daemon_ = MHD_start_daemon(
        flags, static_cast<std::uint16_t>(options_.port), nullptr, nullptr, &OnAccess, this,
        MHD_OPTION_EXTERNAL_LOGGER, &LogFromLibrary, nullptr, MHD_OPTION_SOCK_ADDR, bindTo,
        MHD_OPTION_THREAD_POOL_SIZE, static_cast<unsigned>(options_.eventThreads),
        MHD_OPTION_CONNECTION_LIMIT, 8000u, MHD_OPTION_PER_IP_CONNECTION_LIMIT,
        static_cast<unsigned>(options_.perAddress), MHD_OPTION_CONNECTION_TIMEOUT,
        static_cast<unsigned>(options_.idleSeconds), MHD_OPTION_NOTIFY_CONNECTION, &OnConnection,
        this, MHD_OPTION_CONNECTION_MEMORY_LIMIT, static_cast<std::size_t>(16384),
        MHD_OPTION_LISTEN_BACKLOG_SIZE, 1024u, MHD_OPTION_URI_LOG_CALLBACK, &OnUri, this,
        MHD_OPTION_NOTIFY_COMPLETED, &OnCompleted, this, MHD_OPTION_END);
    if (!daemon_)
        throw std::runtime_error("cannot listen on " + options_.address + ":" +
                                 std::to_string(options_.port));
    const auto* info = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_BIND_PORT);
    port_ = info ? info->port : options_.port;
    overdue_ = std::thread([this] { CloseOverdue(); });
}

HttpServer::~HttpServer() {
    Stop();
}

void HttpServer::Stop() {
    if (!daemon_) return;
    stopping_ = true;
    const MHD_socket listening = MHD_quiesce_daemon(daemon_);
    if (listening != MHD_INVALID_SOCKET) {
        fcntl(listening, F_SETFL, fcntl(listening, F_GETFL) | O_NONBLOCK);
        // Connections the kernel completed but nobody accepted yet carry requests too: they are
        // served. Closing the socket then refuses new ones at once.
        for (;;) {
            sockaddr_storage from{};
            socklen_t size = sizeof from;
            const int fd = accept4(listening, reinterpret_cast<sockaddr*>(&from), &size,
                                   SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd < 0) break;
            MHD_add_connection(daemon_, fd, reinterpret_cast<sockaddr*>(&from), size);
        }
        close(listening);
    }
    // The requests in flight finish, until all is quiet for a moment (a request may still be on
    // its way on an open connection). Parked ones are always waited for: the library must not
    // stop while one is parked.
    const std::int64_t giveUpAt = MonotonicMs() + 10000;
    auto quiet = [this] { return inFlight_.load() == 0 && MonotonicMs() - lastRequestMs_ >= 100; };
    while (parked_.load() > 0 || (!quiet() && MonotonicMs() < giveUpAt))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    {
        std::lock_guard<std::mutex> hold(watchLock_);
        watching_ = false;
    }
    watchWake_.notify_all();
    overdue_.join();
    MHD_stop_daemon(daemon_);
    daemon_ = nullptr;
}

int HttpServer::OpenConnections() const {
    const auto* info =
        daemon_ ? MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_CURRENT_CONNECTIONS) : nullptr;
    return info ? static_cast<int>(info->num_connections) : 0;
}

void* HttpServer::BeginRequest(void* self, const char* uri) {
    auto* server = static_cast<HttpServer*>(self);
    server->lastRequestMs_ = MonotonicMs();
    ++server->inFlight_;
    auto* exchange = new Exchange;
    exchange->target = uri ? uri : "";
    if (uri) exchange->targetEnd = uri + exchange->target.size();
    return exchange;
}

void HttpServer::EndRequest(void* self, MHD_Connection* connection, void** context) {
    auto* server = static_cast<HttpServer*>(self);
    delete static_cast<Exchange*>(*context);
    *context = nullptr;
    server->SetInRequest(connection, false, MonotonicMs() + 1000LL * server->options_.idleSeconds);
    --server->inFlight_;
}

void HttpServer::Opened(void* self, MHD_Connection* connection, void** socketContext) {
    auto* server = static_cast<HttpServer*>(self);
    const auto* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
    auto* watch = new Watch{info ? info->connect_fd : MHD_INVALID_SOCKET,
                            MonotonicMs() + 1000LL * server->options_.headerSeconds};
    *socketContext = watch;
    std::lock_guard<std::mutex> hold(server->watchLock_);
    server->watches_.insert(watch);
}

void HttpServer::Closed(void* self, void** socketContext) {
    auto* server = static_cast<HttpServer*>(self);
    auto* watch = static_cast<Watch*>(*socketContext);
    {
        std::lock_guard<std::mutex> hold(server->watchLock_);
        server->watches_.erase(watch);
    }
    delete watch;
    *socketContext = nullptr;
}

void HttpServer::SetInRequest(MHD_Connection* connection, bool inside, std::int64_t dueMs) {
    const auto* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
    auto* watch = info ? static_cast<Watch*>(info->socket_context) : nullptr;
    if (!watch) return;
    std::lock_guard<std::mutex> hold(watchLock_);
    watch->inRequest = inside;
    watch->dueMs = dueMs;
}

void HttpServer::CloseOverdue() {
    std::unique_lock<std::mutex> hold(watchLock_);
    while (watching_) {
        watchWake_.wait_for(hold, std::chrono::milliseconds(100));
        const std::int64_t now = MonotonicMs();
        for (Watch* watch : watches_) {
            if (watch->inRequest || now < watch->dueMs || watch->fd == MHD_INVALID_SOCKET) continue;
            // A byte now and then keeps the library's idle time-out from firing; a connection
            // that has not sent a whole header in time is cut. The library then closes it as
            // one the client ended.
            shutdown(watch->fd, SHUT_RDWR);
            watch->dueMs = INT64_MAX;
        }
    }
}

int HttpServer::Access(void* self, MHD_Connection* connection, const char* method,
                       const char* version, std::size_t* uploadSize, void** context) {
    auto* server = static_cast<HttpServer*>(self);
    auto& exchange = *static_cast<Exchange*>(*context);
    // The first call brings the headers only; answering then would close the connection.
    if (!exchange.headersSeen) {
        exchange.headersSeen = true;
        exchange.method = method;
        exchange.address = server->ClientAddress(connection);
        server->SetInRequest(connection, true, INT64_MAX);
        if (auto why = Ambiguity(connection, exchange, version)) exchange.reply = Reply{400, *why};
        return MHD_YES;
    }
    if (*uploadSize != 0) {  // a body is read and ignored
        *uploadSize = 0;
        return MHD_YES;
    }
    return server->Respond(connection, exchange);
}

// Requests that a proxy in front may read differently from this server are refused, so the two
// never act on different requests.
std::optional<std::string> HttpServer::Ambiguity(MHD_Connection* connection,
                                                 const Exchange& exchange, const char* version) {
    // The library keeps the request line in one buffer and hands out pointers into it: the
    // version follows the target's end directly, unless a NUL hid the rest of the target.
    if (version && exchange.targetEnd && version > exchange.targetEnd + 1 &&
        version - exchange.targetEnd < 65536)
        return "NUL byte in the request target\n";
    if (std::strcmp(version ? version : "", MHD_HTTP_VERSION_1_1) == 0 &&
        !MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_HOST))
        return "HTTP/1.1 without Host\n";
    std::optional<std::string> length;
    bool differ = false;
    VisitHeaders(connection, [&](const char* key, const char* value) {
        if (strcasecmp(key, MHD_HTTP_HEADER_CONTENT_LENGTH) != 0) return;
        differ = differ || (length && *length != value);
        length = value;
    });
    if (differ) return "Two different Content-Length headers\n";
    return std::nullopt;
}

int HttpServer::Respond(MHD_Connection* connection, Exchange& exchange) {
    if (!exchange.reply && !exchange.parked) {
        Request request;
        exchange.reply =
            service_.Screen(exchange.method, exchange.target, exchange.address, request);
        if (!exchange.reply) {
            exchange.parked = true;
            ++parked_;
            MHD_suspend_connection(connection);
            runner_.Run(
                [this, &exchange, request = std::move(request)] {
                    exchange.reply = service_.Answer(request, exchange.address);
                },
                [this, connection, &exchange](bool durable) {
                    if (!durable) exchange.reply = Reply{500, "The store failed to commit\n"};
                    MHD_resume_connection(connection);
                    --parked_;
                });
            return MHD_YES;
        }
    }
    if (!exchange.reply) return MHD_YES;  // woken before the worker finished
    const Reply& reply = *exchange.reply;
    if (reply.status >= 400) LogRefusal(exchange, reply);
    if (options_.metrics) options_.metrics->CountReply(exchange.target, reply.status, reply.body);
    MHD_Response* response = MHD_create_response_from_buffer(
        reply.body.size(), const_cast<char*>(reply.body.data()), MHD_RESPMEM_MUST_COPY);
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, "text/plain");
    // While stopping, kept-alive connections close after their reply, so their next request
    // goes to a new connection that is refused instead of keeping the server busy.
    if (stopping_) MHD_add_response_header(response, MHD_HTTP_HEADER_CONNECTION, "close");
    const int queued =
        MHD_queue_response(connection, static_cast<unsigned>(reply.status), response);
    MHD_destroy_response(response);
    return queued;
}

std::string HttpServer::ClientAddress(MHD_Connection* connection) const {
    if (options_.forwardedFor) {
        // The balancer in front appends the address it saw last, after any lines the client
        // sent, so only the last address of the last line is the balancer's word.
        std::string list;
        VisitHeaders(connection, [&](const char* key, const char* value) {
            if (strcasecmp(key, "X-Forwarded-For") == 0) list = value;
        });
        const auto comma = list.rfind(',');
        std::string last = comma == std::string::npos ? list : list.substr(comma + 1);
        while (!last.empty() && (last.front() == ' ' || last.front() == '\t'))
            last.erase(0, 1);
        while (!last.empty() && (last.back() == ' ' || last.back() == '\t'))
            last.pop_back();
        if (!last.empty()) return last;
    }
    const auto* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    if (!info || !info->client_addr) return "";
    char text[INET6_ADDRSTRLEN] = "";
    const sockaddr* a = info->client_addr;
    if (a->sa_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(a)->sin_addr, text, sizeof text);
    else if (a->sa_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(a)->sin6_addr, text,
                  sizeof text);
    return text;
}

void HttpServer::LogRefusal(const Exchange& exchange, const Reply& reply) const {
    if (options_.logLevel == LogLevel::Error && reply.status < 500) return;
    // A request's bytes go into the log as printable text only, so no line can forge another.
    auto printable = [](std::string text) {
        text = text.substr(0, 200);
        for (char& c : text)
            if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7f)
                c = '?';
        return text;
    };
    const std::string why = reply.body.substr(0, reply.body.find('\n'));
    std::fprintf(stderr, "glyphdrop-server: %d %s %s %s: %s\n", reply.status,
                 printable(exchange.address).c_str(), printable(exchange.method).c_str(),
                 printable(exchange.target).c_str(), why.c_str());
}

}  // namespace gd::server
