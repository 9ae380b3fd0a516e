// "wordlist.dic" files written by tests: 246-byte records of a six-byte word field and a
// 240-byte definition field, both padded with blanks.
#pragma once

#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace gd::test {

using DictEntries = std::vector<std::pair<std::string, std::string>>;

inline std::string DictRecordBytes(std::string word, std::string definition) {
    word.resize(6, ' ');
    definition.resize(240, ' ');
    return word + definition;
}

inline std::string DictBytes(const DictEntries& entries) {
    std::string bytes;
    for (const auto& [word, definition] : entries)
        bytes += DictRecordBytes(word, definition);
    return bytes;
}

// Writes the word list file `path` with these entries in this order.
inline void WriteWordList(const std::string& path, const DictEntries& entries) {
    std::ofstream(path, std::ios::binary) << DictBytes(entries);
}

}  // namespace gd::test
