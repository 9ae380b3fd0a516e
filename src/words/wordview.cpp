// The dictionary window's display lines, search and information texts.
#include "wordview.h"

#include <utility>

namespace gd {
namespace {

// `text` cut at its first blank at or after kDictBreakFrom: the part before the blank and the
// rest after it; nothing when there is no such blank.
std::optional<std::pair<std::string, std::string>> SplitAtBlank(const std::string& text) {
    if (text.size() < kDictBreakFrom) return std::nullopt;
    const auto blank = text.find(' ', kDictBreakFrom - 1);
    if (blank == std::string::npos) return std::nullopt;
    return std::make_pair(text.substr(0, blank), text.substr(blank + 1));
}

char FoldAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool StartsWithNoCase(const std::string& line, const std::string& text) {
    if (line.size() < text.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (FoldAscii(line[i]) != FoldAscii(text[i])) return false;
    return true;
}

}  // namespace

std::vector<std::string> DictDisplayLines(const DictRecord& record) {
    std::vector<std::string> lines;
    std::string rest = Trim(record.definition);
    // The whole definition is cut when it is 76 characters or longer, each rest after a cut
    // when it is longer than 76; a part with no blank from position 65 on stays whole.
    for (std::size_t limit = kDictWrapLength - 1; lines.size() < kDictMaxLines - 1;
         limit = kDictWrapLength) {
        if (rest.size() <= limit) break;
        auto cut = SplitAtBlank(rest);
        if (!cut) break;
        lines.push_back((lines.empty() ? record.word : kDictContinuation) + cut->first);
        rest = std::move(cut->second);
    }
    if (lines.empty())
        lines.push_back(record.word + rest);
    else if (!Trim(rest).empty())
        lines.push_back(kDictContinuation + rest);
    return lines;
}

std::optional<WordSearchHit> SearchDictLines(const std::vector<std::string>& lines,
                                             const std::string& text) {
    if (text.empty() || text.size() > 4) return std::nullopt;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (StartsWithNoCase(lines[i], text))
            return WordSearchHit{static_cast<int>(i), text.size() == 4};
    return std::nullopt;
}

std::string DictInfoWhileFilling() {
    return "This dictionary is derived from a public domain English word list dictionary, based "
           "on the public domain portion of 'The Project Gutenberg Etext of Webster's Unabridged "
           "Dictionary' which is in turn based on the 1913 US Webster's Unabridged Dictionary."
           "\n\n"
           "To save space, only one definition per word is displayed. Many words have multiple "
           "definitions.";
}

std::string DictInfoFilled(const std::string& count) {
    return "This dictionary is based on the public domain portion of 'The Project Gutenberg Etext "
           "of Webster's Unabridged Dictionary' which is in turn based on the 1913 US Webster's "
           "Unabridged Dictionary."
           "\n\n"
           "To save space, only one definition per word is displayed. This dictionary contains " +
           count + " four letter words.";
}

}  // namespace gd
