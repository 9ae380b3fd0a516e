// Building the statistics list.
#include "stats.h"

#include "wordlist.h"

namespace gd {
namespace {

std::string PadRight(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

std::string PadLeft(const std::string& text, std::size_t width) {
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

}  // namespace

std::string StatsLine(const PlayerProfile& p) {
    return PadRight(Trim(p.PlayerName), 26) + "|" + PadLeft(std::to_string(p.Won), 6) + "|" +
           PadLeft(std::to_string(p.Lost), 6) + "|" + PadLeft(std::to_string(p.Tied), 6) + "|";
}

std::vector<std::string> StatsLines(const ProfileFile& f) {
    if (!f.Exists()) return {kNoScoresFound};
    std::vector<std::string> lines;
    for (const auto& p : ReadProfiles(f)) {
        if (!lines.empty()) lines.push_back(kStatsSeparator);
        lines.push_back(StatsLine(p));
    }
    return lines;
}

}  // namespace gd
