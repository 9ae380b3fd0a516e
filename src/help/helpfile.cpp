// Reading "GLYPHDROP.HLP" and making the help window's pages from it.
#include "helpfile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace gd {
namespace {

std::string TrimBlanks(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

std::string TrimRight(const std::string& s) {
    const auto last = s.find_last_not_of(" \t\r");
    return last == std::string::npos ? "" : s.substr(0, last + 1);
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool StartsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// A context number: one to nine digits, above zero; 0 when `text` is not one.
int ParseTopicNumber(const std::string& text) {
    if (text.empty() || text.size() > 9) return 0;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    return std::stoi(text);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line))
        lines.push_back(TrimRight(line));
    return lines;
}

struct Link {
    int topic;  // 0 when the text between the brackets is not a number
    std::string label;
    std::size_t end;  // just past the closing brackets
};

// The link that opens at `at` ("[[N]]" or "[[N|label]]"), if the brackets close.
bool ReadLink(const std::string& text, std::size_t at, Link& link) {
    if (text.compare(at, 2, "[[") != 0) return false;
    const auto close = text.find("]]", at + 2);
    if (close == std::string::npos) return false;
    const std::string inner = text.substr(at + 2, close - at - 2);
    const auto bar = inner.find('|');
    link.topic = ParseTopicNumber(TrimBlanks(inner.substr(0, bar)));
    link.label = bar == std::string::npos ? "" : TrimBlanks(inner.substr(bar + 1));
    link.end = close + 2;
    return true;
}

class Parser {
  public:
    explicit Parser(HelpFile& file) : file_(file) {}

    void Line(int number, const std::string& line) {
        lineNumber_ = number;
        if (StartsWith(line, "#")) return;
        if (StartsWith(line, "@")) return Directive(line);
        switch (mode_) {
            case Mode::Outside:
                if (!TrimBlanks(line).empty()) Problem("text outside a topic");
                break;
            case Mode::Contents:
                ContentsLine(line);
                break;
            case Mode::Topic:
                file_.topics.back().body.push_back(line);
                NoteLinks(line);
                break;
            case Mode::SkippedTopic:
                break;
        }
    }

    void Finish() {
        for (const auto& [line, topic] : links_)
            if (!file_.Find(topic))
                file_.problems.push_back("line " + std::to_string(line) + ": link to topic " +
                                         std::to_string(topic) + ", which is not in the file");
        auto& contents = file_.contents;
        for (auto it = contents.begin(); it != contents.end();) {
            const HelpTopic* topic = it->topic ? file_.Find(it->topic) : nullptr;
            if (it->topic && !topic) {
                file_.problems.push_back("contents: topic " + std::to_string(it->topic) +
                                         " is not in the file");
                it = contents.erase(it);
                continue;
            }
            if (topic) it->text = topic->title;
            ++it;
        }
        for (auto& topic : file_.topics)
            TrimBlankEdges(topic.body);
    }

  private:
    enum class Mode { Outside, Contents, Topic, SkippedTopic };

    void Directive(const std::string& line) {
        const auto space = line.find(' ');
        const std::string name = line.substr(0, space);
        const std::string rest = space == std::string::npos ? "" : TrimBlanks(line.substr(space));
        if (name == "@title") {
            if (!rest.empty()) file_.title = rest;
        } else if (name == "@contents") {
            mode_ = Mode::Contents;
        } else if (name == "@topic") {
            StartTopic(rest);
        } else if (name == "@keywords") {
            Keywords(rest);
        } else {
            Problem("unknown directive " + name);
        }
    }

    void StartTopic(const std::string& rest) {
        const auto space = rest.find(' ');
        const int number = ParseTopicNumber(rest.substr(0, space));
        const std::string title =
            space == std::string::npos ? "" : TrimBlanks(rest.substr(space + 1));
        mode_ = Mode::SkippedTopic;
        if (number == 0) return Problem("a topic needs a number above 0");
        if (title.empty()) return Problem("topic " + std::to_string(number) + " has no title");
        if (file_.Find(number)) return Problem("topic " + std::to_string(number) + " twice");
        file_.topics.push_back(HelpTopic{number, title, {}, {}});
        mode_ = Mode::Topic;
    }

    void Keywords(const std::string& rest) {
        if (mode_ != Mode::Topic) return Problem("keywords outside a topic");
        std::string word;
        for (char c : rest + ",") {
            if (c == ',' || c == ';') {
                word = TrimBlanks(word);
                if (!word.empty()) file_.topics.back().keywords.push_back(word);
                word.clear();
            } else {
                word += c;
            }
        }
    }

    void ContentsLine(const std::string& line) {
        const std::string text = TrimBlanks(line);
        if (text.empty()) return;
        const auto indent = line.find_first_not_of(' ');
        HelpContentsEntry entry;
        entry.level = static_cast<int>(indent / 2);
        entry.topic = ParseTopicNumber(text);
        if (entry.topic == 0) entry.text = text;
        file_.contents.push_back(entry);
    }

    void NoteLinks(const std::string& line) {
        for (auto at = line.find("[["); at != std::string::npos; at = line.find("[[", at + 2)) {
            Link link;
            if (!ReadLink(line, at, link)) break;
            if (link.topic == 0)
                Problem("a link needs a topic number");
            else
                links_.emplace_back(lineNumber_, link.topic);
        }
    }

    static void TrimBlankEdges(std::vector<std::string>& body) {
        while (!body.empty() && TrimBlanks(body.back()).empty())
            body.pop_back();
        const auto first = std::find_if(
            body.begin(), body.end(), [](const std::string& l) { return !TrimBlanks(l).empty(); });
        body.erase(body.begin(), first);
    }

    void Problem(const std::string& what) {
        file_.problems.push_back("line " + std::to_string(lineNumber_) + ": " + what);
    }

    HelpFile& file_;
    Mode mode_ = Mode::Outside;
    int lineNumber_ = 0;
    std::vector<std::pair<int, int>> links_;  // line, topic
};

std::string Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string TopicHref(int number) {
    return "topic:" + std::to_string(number);
}

std::string Anchor(int number, const std::string& label) {
    return "<a href=\"" + TopicHref(number) + "\">" + Escape(label) + "</a>";
}

// One paragraph's text with its links and **bold** parts.
std::string Inline(const HelpFile& file, const std::string& text) {
    std::string out;
    bool bold = false;
    for (std::size_t i = 0; i < text.size();) {
        Link link;
        if (ReadLink(text, i, link)) {
            const HelpTopic* topic = link.topic ? file.Find(link.topic) : nullptr;
            const std::string label = !link.label.empty() ? link.label
                                      : topic             ? topic->title
                                                          : std::to_string(link.topic);
            out += topic ? Anchor(link.topic, label) : Escape(label);
            i = link.end;
        } else if (text.compare(i, 2, "**") == 0) {
            out += bold ? "</b>" : "<b>";
            bold = !bold;
            i += 2;
        } else {
            out += Escape(std::string(1, text[i]));
            ++i;
        }
    }
    if (bold) out += "</b>";
    return out;
}

// Body lines to HTML: paragraphs split by blank lines, "== " subheadings, "- " list items
// (continued by indented lines).
std::string BodyHtml(const HelpFile& file, const std::vector<std::string>& body) {
    std::string html, paragraph, item;
    bool inList = false;
    auto flushParagraph = [&] {
        if (!paragraph.empty()) html += "<p>" + Inline(file, paragraph) + "</p>\n";
        paragraph.clear();
    };
    auto flushItem = [&] {
        if (!item.empty()) html += "<li>" + Inline(file, item) + "</li>\n";
        item.clear();
    };
    auto closeList = [&] {
        flushItem();
        if (inList) html += "</ul>\n";
        inList = false;
    };
    auto append = [](std::string& to, const std::string& text) {
        to += to.empty() ? text : " " + text;
    };
    for (const std::string& line : body) {
        const std::string text = TrimBlanks(line);
        if (text.empty()) {
            flushParagraph();
            closeList();
        } else if (StartsWith(text, "== ")) {
            flushParagraph();
            closeList();
            html += "<h3>" + Inline(file, TrimBlanks(text.substr(3))) + "</h3>\n";
        } else if (StartsWith(text, "- ")) {
            flushParagraph();
            flushItem();
            if (!inList) html += "<ul>\n";
            inList = true;
            item = TrimBlanks(text.substr(2));
        } else if (inList && StartsWith(line, " ")) {
            append(item, text);
        } else {
            closeList();
            append(paragraph, text);
        }
    }
    flushParagraph();
    closeList();
    return html;
}

const char* kPageStart = "<html><body>\n";
const char* kPageEnd = "</body></html>\n";

}  // namespace

const HelpTopic* HelpFile::Find(int number) const {
    for (const auto& topic : topics)
        if (topic.number == number) return &topic;
    return nullptr;
}

HelpFile ParseHelpText(const std::string& text) {
    HelpFile file;
    Parser parser(file);
    const auto lines = SplitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i)
        parser.Line(static_cast<int>(i) + 1, lines[i]);
    parser.Finish();
    return file;
}

LoadedHelp LoadHelpFile(const std::string& path) {
    namespace fs = std::filesystem;
    LoadedHelp loaded;
    std::error_code error;
    const auto status = fs::status(path, error);
    if (error || !fs::exists(status)) return loaded;
    loaded.status = HelpFileStatus::Unreadable;
    if (!fs::is_regular_file(status)) return loaded;
    const auto size = fs::file_size(path, error);
    if (error) return loaded;
    if (size > kMaxHelpFileSize) {
        loaded.status = HelpFileStatus::TooLarge;
        return loaded;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return loaded;
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return loaded;
    loaded.file = ParseHelpText(text);
    loaded.status = loaded.file.topics.empty() ? HelpFileStatus::NoTopics : HelpFileStatus::Loaded;
    return loaded;
}

std::string HelpStatusMessage(HelpFileStatus status, const std::string& path) {
    const std::string where = " (" + path + ")";
    switch (status) {
        case HelpFileStatus::Loaded:
            return "";
        case HelpFileStatus::Missing:
            return "The help file " + kHelpFileName + " was not found in the program's folder" +
                   where + ". Help is not available until the file is put back beside the program.";
        case HelpFileStatus::Unreadable:
            return "The help file " + kHelpFileName + where +
                   " could not be read. Check that it is a readable file.";
        case HelpFileStatus::TooLarge:
            return "The help file " + kHelpFileName + where +
                   " is too large to be a help file, so it was not opened.";
        case HelpFileStatus::NoTopics:
            return "The help file " + kHelpFileName + where + " holds no help topics.";
    }
    return "";
}

std::vector<HelpIndexEntry> BuildHelpIndex(const HelpFile& file) {
    std::map<std::string, HelpIndexEntry> byKey;
    auto add = [&byKey](const std::string& keyword, int topic) {
        auto& entry = byKey[Lower(keyword)];
        if (entry.keyword.empty()) entry.keyword = keyword;
        if (std::find(entry.topics.begin(), entry.topics.end(), topic) == entry.topics.end())
            entry.topics.push_back(topic);
    };
    for (const auto& topic : file.topics) {
        add(topic.title, topic.number);
        for (const auto& keyword : topic.keywords)
            add(keyword, topic.number);
    }
    std::vector<HelpIndexEntry> index;
    index.reserve(byKey.size());
    for (auto& [key, entry] : byKey)
        index.push_back(std::move(entry));
    return index;
}

int FindHelpIndexEntry(const std::vector<HelpIndexEntry>& index, const std::string& text) {
    const std::string wanted = Lower(TrimBlanks(text));
    if (wanted.empty()) return -1;
    for (std::size_t i = 0; i < index.size(); ++i)
        if (StartsWith(Lower(index[i].keyword), wanted)) return static_cast<int>(i);
    for (std::size_t i = 0; i < index.size(); ++i)
        if (Lower(index[i].keyword).find(wanted) != std::string::npos) return static_cast<int>(i);
    return -1;
}

std::string HelpTopicHtml(const HelpFile& file, const HelpTopic& topic) {
    return kPageStart + ("<h2>" + Escape(topic.title) + "</h2>\n") + BodyHtml(file, topic.body) +
           kPageEnd;
}

std::string HelpContentsHtml(const HelpFile& file) {
    std::string html = kPageStart + ("<h2>" + Escape(file.title) + "</h2>\n");
    std::vector<HelpContentsEntry> entries = file.contents;
    if (entries.empty())
        for (const auto& topic : file.topics)
            entries.push_back({0, topic.number, topic.title});
    int depth = 0;
    for (const auto& entry : entries) {
        for (; depth < entry.level + 1; ++depth)
            html += "<ul>\n";
        for (; depth > entry.level + 1; --depth)
            html += "</ul>\n";
        html +=
            "<li>" +
            (entry.topic ? Anchor(entry.topic, entry.text) : "<b>" + Escape(entry.text) + "</b>") +
            "</li>\n";
    }
    for (; depth > 0; --depth)
        html += "</ul>\n";
    return html + kPageEnd;
}

std::string HelpTopicsFoundHtml(const HelpFile& file, const HelpIndexEntry& entry) {
    std::string html =
        kPageStart + ("<h2>Topics Found: " + Escape(entry.keyword) + "</h2>\n<ul>\n");
    for (int number : entry.topics)
        if (const HelpTopic* topic = file.Find(number))
            html += "<li>" + Anchor(number, topic->title) + "</li>\n";
    return html + "</ul>\n" + kPageEnd;
}

std::string HelpMessageHtml(const std::string& title, const std::string& text) {
    return kPageStart + ("<h2>" + Escape(title) + "</h2>\n<p>" + Escape(text) + "</p>\n") +
           kPageEnd;
}

}  // namespace gd
