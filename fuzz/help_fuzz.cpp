// Fuzz target: any text read as "GLYPHDROP.HLP" gives a help file whose pages, contents and
// keyword index can all be built and searched, and whose every index entry leads to a topic.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "helpfile.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const gd::HelpFile help = gd::ParseHelpText(text);
    for (const auto& topic : help.topics) {
        Require(help.Find(topic.number) != nullptr);
        gd::HelpTopicHtml(help, topic);
    }
    gd::HelpContentsHtml(help);
    const auto index = gd::BuildHelpIndex(help);
    for (const auto& entry : index) {
        Require(!entry.topics.empty());
        for (int number : entry.topics)
            Require(help.Find(number) != nullptr);
        gd::HelpTopicsFoundHtml(help, entry);
    }
    // Search the index with a piece of the file, as a reader would type it.
    const std::string typed = text.substr(0, text.find('\n')).substr(0, 8);
    const int found = gd::FindHelpIndexEntry(index, typed);
    Require(found >= -1 && found < static_cast<int>(index.size()));
    return 0;
}
