// Reading "wordlist.dic" and looking words up in it.
#include "wordlist.h"

#include <cassert>
#include <fstream>

namespace gd {

namespace {

constexpr int kLetters = 26;

std::size_t PatternKey(int position, int a, int b, int c) {
    return static_cast<std::size_t>(((position * kLetters + a) * kLetters + b) * kLetters + c);
}

// Only words of four ASCII letters can equal a word read off the board.
bool IsFourLetters(const std::string& upper) {
    if (upper.size() != 4) return false;
    for (char ch : upper)
        if (ch < 'A' || ch > 'Z') return false;
    return true;
}

}  // namespace

void WordList::Clear() {
    Words.clear();
    Index.clear();
    LetterPatterns.clear();
    WordCount = 0;
}

void WordList::Add(const std::string& trimmedWord) {
    Words.push_back(trimmedWord);
    const std::string upper = UpperAscii(trimmedWord);
    ++Index[upper];
    WordCount = static_cast<int>(Words.size());
    if (!IsFourLetters(upper)) return;
    if (LetterPatterns.empty()) LetterPatterns.assign(PatternKey(4, 0, 0, 0), 0);
    int n[4];
    for (int i = 0; i < 4; ++i)
        n[i] = upper[i] - 'A';
    for (int p = 0; p < 4; ++p) {
        int others[3], k = 0;
        for (int i = 0; i < 4; ++i)
            if (i != p) others[k++] = n[i];
        LetterPatterns[PatternKey(p, others[0], others[1], others[2])] |= 1u << n[p];
    }
}

std::uint32_t WordList::CompletingLetters(int position, int a, int b, int c) const {
    assert(position >= 0 && position < 4);
    assert(a >= 0 && a < kLetters && b >= 0 && b < kLetters && c >= 0 && c < kLetters);
    if (LetterPatterns.empty()) return 0;
    return LetterPatterns[PatternKey(position, a, b, c)];
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
