// Reading "wordlist.dic" and looking words up in it.
#include "wordlist.h"

#include <fstream>

namespace gd {

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    const auto last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}

std::string UpperAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string LowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

void WordList::Clear() {
    Words.clear();
    Index.clear();
    WordCount = 0;
}

void WordList::Add(const std::string& trimmedWord) {
    Words.push_back(trimmedWord);
    ++Index[UpperAscii(trimmedWord)];
    WordCount = static_cast<int>(Words.size());
}

int WordList::Matches(const std::string& word) const {
    const auto it = Index.find(UpperAscii(word));
    return it == Index.end() ? 0 : it->second;
}

bool ForEachDictRecord(const std::string& path,
                       const std::function<bool(const DictRecord&)>& visit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    char buffer[kDictRecordSize];
    DictRecord record;
    while (in.read(buffer, kDictRecordSize)) {
        record.word.assign(buffer, kDictWordWidth);
        record.definition.assign(buffer + kDictWordWidth, kDictDefinitionWidth);
        if (!visit(record)) break;
    }
    return true;
}

bool LoadWordList(WordList& list, const std::string& path) {
    list.Clear();
    return ForEachDictRecord(path, [&list](const DictRecord& record) {
        if (list.WordCount >= kMaxWords) return false;
        list.Add(Trim(record.word));
        return true;
    });
}

bool IsWord(const WordList& list, const std::string& word) {
    return list.Matches(word) > 0;
}

std::optional<Definition> LookUpDefinition(const std::string& path, const std::string& word) {
    const std::string wanted = UpperAscii(Trim(word));
    std::optional<Definition> found;
    ForEachDictRecord(path, [&](const DictRecord& record) {
        const std::string stored = Trim(record.word);
        if (UpperAscii(stored) != wanted) return true;
        found = Definition{stored, Trim(record.definition)};
        return false;
    });
    return found;
}

}  // namespace gd
