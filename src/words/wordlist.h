// The dictionary file "wordlist.dic" and the in-memory word list the game checks words against.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "text.h"

namespace gd {

constexpr std::size_t kDictRecordSize = 246;
constexpr std::size_t kDictWordWidth = 6;
constexpr std::size_t kDictDefinitionWidth = 240;
constexpr int kMaxWords = 4000;

// One record of the file: the raw 6-byte word field (with its blanks) and the raw definition.
struct DictRecord {
    std::string word;
    std::string definition;
};

// The words of the file in file order, with an index so that a lookup is a hash probe.
// The index maps the upper-case word to the number of entries of `Words` that equal it,
// which is what the scan over the list would count.
struct WordList {
    std::vector<std::string> Words;  // trimmed word fields, at most kMaxWords
    int WordCount = 0;
    std::unordered_map<std::string, int> Index;
    // For each place 0..3 in a four-letter word and the three letters around it: the letters
    // (bit n for letter n) that make a listed word there. The computer weighs all 26 candidates
    // for a hole in one probe. Empty until a four-letter word is added.
    std::vector<std::uint32_t> LetterPatterns;

    void Clear();
    void Add(const std::string& trimmedWord);
    // Number of entries equal to `word` without regard to case.
    int Matches(const std::string& word) const;
    // The letters n (bit n) that complete a listed word with letter numbers a, b, c (0..25) in
    // the other three places, in reading order, and the candidate at `position`.
    std::uint32_t CompletingLetters(int position, int a, int b, int c) const;
};

// Calls `visit` with each whole record of a dictionary file in file order, until it returns
// false; a trailing partial record is ignored. Returns false when the file cannot be opened.
// Records are streamed, so a huge file costs no memory.
bool ForEachDictRecord(const std::string& path,
                       const std::function<bool(const DictRecord&)>& visit);

// Loads the word fields of `path` into `list` (at most kMaxWords; further records are ignored).
// Returns false, leaving the list empty, when the file cannot be read.
bool LoadWordList(WordList& list, const std::string& path);

// True when `word` is in the list, letter case ignored.
bool IsWord(const WordList& list, const std::string& word);

struct Definition {
    std::string word;
    std::string definition;
};

// The first record of the file whose word matches `word` (case ignored), both fields trimmed.
std::optional<Definition> LookUpDefinition(const std::string& path, const std::string& word);

}  // namespace gd
