// The game server's side of the shared wire.
#include "server_replies.h"

namespace gd::server {

namespace {

std::vector<long> VersionNumbers(const std::string& version) {
    std::vector<long> numbers;
    std::size_t at = 0;
    while (at <= version.size()) {
        auto dot = version.find('.', at);
        if (dot == std::string::npos) dot = version.size();
        long n = 0;
        for (std::size_t i = at; i < dot && i < at + 9; ++i)
            n = version[i] >= '0' && version[i] <= '9' ? n * 10 + (version[i] - '0') : n;
        numbers.push_back(n);
        at = dot + 1;
    }
    while (!numbers.empty() && numbers.back() == 0)
        numbers.pop_back();
    return numbers;
}

}  // namespace

std::string WaitingListReply(const std::vector<WaitingEntry>& entries) {
    std::vector<wire::WaitingEntry> listed;
    for (const auto& e : entries)
        listed.push_back({e.game, e.name, e.location, e.played, e.won, e.isPrivate ? "YES" : "NO"});
    return wire::WriteWaitingList(listed);
}

bool IsCurrentVersion(const std::string& version, const std::string& latest) {
    return VersionNumbers(version) >= VersionNumbers(latest);
}

}  // namespace gd::server
