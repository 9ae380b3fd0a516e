// Runs the built glyphdrop-server on a free loopback port for a test, and a small libcurl client
// that talks to it from a chosen loopback address.
#pragma once

#include <arpa/inet.h>
#include <curl/curl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "game_wire.h"

namespace gd::server::test {

class ServerProcess {
  public:
    // Starts the server with the store `db` (empty: its default) and extra options; Port() is 0
    // when it did not start.
    ServerProcess(const std::string& db, std::vector<std::string> options = {}) {
        std::vector<std::string> args = {GLYPHDROP_SERVER_EXE, "--listen", "127.0.0.1:0"};
        if (!db.empty()) args.insert(args.end(), {"--db", db});
        args.insert(args.end(), options.begin(), options.end());
        int out[2];
        if (pipe(out) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], 1);
            close(out[0]);
            std::vector<char*> argv;
            for (auto& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(out[1]);
        // The first line names the port: "glyphdrop-server listening on http://127.0.0.1:PORT".
        FILE* in = fdopen(out[0], "r");
        char line[512] = "";
        if (fgets(line, sizeof line, in)) {
            const std::string text = firstLine_ = line;
            const auto colon = text.find(':', text.find("127.0.0.1"));
            if (colon != std::string::npos) port_ = std::stoi(text.substr(colon + 1));
        }
        fclose(in);
    }
    ~ServerProcess() { Signal(SIGKILL); }

    int Port() const { return port_; }
    // What the server printed first: where it listens, its store, its metrics page.
    const std::string& FirstLine() const { return firstLine_; }
    // The server's address, as the program's URL builders take it.
    std::string Address() const { return "http://127.0.0.1:" + std::to_string(port_); }
    std::string Base() const { return Address() + "/Glyphdrop/"; }

    // Sends the signal and waits for the process; returns its exit status (-signal if killed).
    int Signal(int sig) {
        if (pid_ <= 0) return -1;
        kill(pid_, sig);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    }

    // Waits up to `ms` for the process to end by itself; its exit status, or -1000 when it runs on.
    int WaitForExit(int ms) {
        for (int waited = 0; pid_ > 0 && waited < ms; waited += 20) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
            }
            usleep(20000);
        }
        return -1000;
    }

  private:
    pid_t pid_ = -1;
    int port_ = 0;
    std::string firstLine_;
};

struct HttpAnswer {
    long status = 0;  // 0 when the request failed
    std::string body;
    CURLcode error = CURLE_OK;
};

// GETs from one loopback address, over one kept-alive connection while the server keeps it.
class HttpClient {
  public:
    explicit HttpClient(const std::string& from = "127.0.0.1") : curl_(curl_easy_init()) {
        curl_easy_setopt(curl_, CURLOPT_INTERFACE, from.c_str());
        curl_easy_setopt(curl_, CURLOPT_TIMEOUT, 20L);
        curl_easy_setopt(curl_, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(
            curl_, CURLOPT_WRITEFUNCTION, +[](char* data, size_t size, size_t n, void* body) {
                static_cast<std::string*>(body)->append(data, size * n);
                return size * n;
            });
    }
    ~HttpClient() { curl_easy_cleanup(curl_); }
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // With `headers` ("Name: value") added to the request.
    HttpAnswer Get(const std::string& url, const std::vector<std::string>& headers = {}) {
        HttpAnswer answer;
        curl_slist* list = nullptr;
        for (const auto& h : headers)
            list = curl_slist_append(list, h.c_str());
        curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, list);
        curl_easy_setopt(curl_, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl_, CURLOPT_WRITEDATA, &answer.body);
        answer.error = curl_easy_perform(curl_);
        if (answer.error == CURLE_OK)
            curl_easy_getinfo(curl_, CURLINFO_RESPONSE_CODE, &answer.status);
        else
            answer.body.clear();
        curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, nullptr);
        curl_slist_free_all(list);
        return answer;
    }

  private:
    CURL* curl_;
};

inline bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The game number of a waiting-room entry's reply; "" when none.
inline std::string GameNumber(const std::string& reply) {
    return wire::ReadEnterWaitReply(reply).gameNumber;
}

// A GET of `url` from the loopback address `from`, on a connection of its own.
inline HttpAnswer HttpGet(const std::string& url, const std::string& from = "127.0.0.1",
                          const std::vector<std::string>& headers = {}) {
    return HttpClient(from).Get(url, headers);
}

// A TCP connection from a loopback address to the server's port, or -1.
inline int RawConnect(int port, const std::string& from = "127.0.0.1") {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    inet_pton(AF_INET, from.c_str(), &a.sin_addr);
    const timeval wait{5, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
        inet_pton(AF_INET, "127.0.0.1", &a.sin_addr);
        a.sin_port = htons(static_cast<std::uint16_t>(port));
        if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return fd;
    }
    close(fd);
    return -1;
}

// Sends `bytes` as they are on a connection of their own; the reply's status, 0 when none came.
inline int RawStatus(int port, const std::string& bytes) {
    const int fd = RawConnect(port);
    char head[13] = "";
    if (fd >= 0 && send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == ssize_t(bytes.size()))
        recv(fd, head, 12, MSG_WAITALL);
    if (fd >= 0) close(fd);
    return std::string(head, 9) == "HTTP/1.1 " ? std::atoi(head + 9) : 0;
}

// The number of a chat line "m<n>"; -1 for any other.
inline int ChatNumber(const std::string& chat) {
    return chat.size() > 1 && chat[0] == 'm' ? std::atoi(chat.c_str() + 1) : -1;
}

// Four readers race for one mailbox with `read(reader)` while `post(i)` sends chat line "m<i>"
// for i below `messages` (again while the mailbox is full); fails unless every line is read
// once and each reader sees its lines in order. Readers stop once the mailbox is empty after the
// last post, or after a minute.
inline void ExpectEachMessageReadOnce(int messages, const std::function<std::string(int)>& read,
                                      const std::function<bool(int)>& post) {
    std::atomic<bool> posted{false};
    std::vector<std::vector<int>> seen(4);
    std::vector<std::thread> readers;
    for (int r = 0; r < 4; ++r)
        readers.emplace_back([&, r] {
            const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
            for (bool last = false; !last && std::chrono::steady_clock::now() < until;) {
                last = posted.load();
                const wire::MailboxReply reply = wire::ReadMailboxReply(read(r));
                if (reply.chat) seen[r].push_back(ChatNumber(*reply.chat));
                if (!reply.empty) last = false;
            }
        });
    for (int i = 0; i < messages; ++i) {
        int attempts = 1;
        for (; !post(i) && attempts < 500; ++attempts)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_LT(attempts, 500) << "message m" << i << " never stored";
    }
    posted = true;
    for (auto& t : readers)
        t.join();
    std::vector<int> count(messages, 0);
    for (const auto& mine : seen) {
        for (std::size_t i = 1; i < mine.size(); ++i)
            EXPECT_LT(mine[i - 1], mine[i]);
        for (int m : mine)
            ++count.at(m);
    }
    for (int i = 0; i < messages; ++i)
        EXPECT_EQ(count[i], 1) << "message m" << i;
}

}  // namespace gd::server::test
