// The help file "GLYPHDROP.HLP": its topics, contents and keyword index, read from our own
// plain-text format and turned into the pages the help window shows.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace gd {

inline const std::string kHelpFileName = "GLYPHDROP.HLP";
// A help file larger than this is refused rather than read into memory.
constexpr std::size_t kMaxHelpFileSize = 4 * 1024 * 1024;

struct HelpTopic {
    int number = 0;  // the context number the program asks for
    std::string title;
    std::vector<std::string> keywords;
    std::vector<std::string> body;  // the body lines as written, links and all
};

// One line of the contents page: a topic (by number) or a heading without a topic.
struct HelpContentsEntry {
    int level = 0;
    int topic = 0;  // 0 for a heading
    std::string text;
};

struct HelpFile {
    std::string title = "Glyphdrop Help";
    std::vector<HelpContentsEntry> contents;
    std::vector<HelpTopic> topics;  // in file order
    // Lines that were skipped or links that lead nowhere, as "line N: what".
    std::vector<std::string> problems;

    const HelpTopic* Find(int number) const;
};

// A keyword of the index with the topics it leads to, in file order.
struct HelpIndexEntry {
    std::string keyword;
    std::vector<int> topics;
};

// Reads the text of a help file. Nothing in it can make this fail: what cannot be understood is
// skipped and noted in `problems`.
HelpFile ParseHelpText(const std::string& text);

enum class HelpFileStatus { Loaded, Missing, Unreadable, TooLarge, NoTopics };

struct LoadedHelp {
    HelpFileStatus status = HelpFileStatus::Missing;
    HelpFile file;
};

LoadedHelp LoadHelpFile(const std::string& path);
// What the help window says when the file could not be used.
std::string HelpStatusMessage(HelpFileStatus status, const std::string& path);

// The keyword index: every keyword and every topic title, sorted without regard to case; the
// same keyword in several topics is one entry.
std::vector<HelpIndexEntry> BuildHelpIndex(const HelpFile& file);
// The entry the index search box lands on: the first keyword that starts with `text`, else the
// first that contains it, case ignored; -1 for none or an empty text.
int FindHelpIndexEntry(const std::vector<HelpIndexEntry>& index, const std::string& text);

// Pages for the help window's browser (HTML in UTF-8). Links to topics are "topic:N".
std::string HelpTopicHtml(const HelpFile& file, const HelpTopic& topic);
std::string HelpContentsHtml(const HelpFile& file);
std::string HelpTopicsFoundHtml(const HelpFile& file, const HelpIndexEntry& entry);
std::string HelpMessageHtml(const std::string& title, const std::string& text);

}  // namespace gd
