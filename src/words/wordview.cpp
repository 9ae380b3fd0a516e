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

void AddContinuation(std::vector<std::string>& lines, const std::string& part) {
    lines.push_back(kDictContinuation + part);
}

void AddLastContinuation(std::vector<std::string>& lines, const std::string& rest) {
    if (!Trim(rest).empty()) AddContinuation(lines, rest);
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
    const std::string definition = Trim(record.definition);
    std::vector<std::string> lines;
    if (definition.size() < kDictWrapLength) {
        lines.push_back(record.word + definition);
        return lines;
    }
    // The end of the definition counts as a blank, so without one it stays whole.
    std::string rest;
    if (auto split = SplitAtBlank(definition)) {
        lines.push_back(record.word + split->first);
        rest = std::move(split->second);
    } else {
        lines.push_back(record.word + definition);
    }
    if (rest.size() <= kDictWrapLength) {
        AddLastContinuation(lines, rest);
        return lines;
    }
    auto second = SplitAtBlank(rest);
    if (!second) {
        AddContinuation(lines, rest);
        return lines;
    }
    AddContinuation(lines, second->first);
    const std::string& rest2 = second->second;
    if (rest2.size() <= kDictWrapLength) {
        AddLastContinuation(lines, rest2);
        return lines;
    }
    auto third = SplitAtBlank(rest2);
    if (!third) {
        AddContinuation(lines, rest2);
        return lines;
    }
    AddContinuation(lines, third->first);
    AddLastContinuation(lines, third->second);
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
