// Fuzz target: any bytes read as "wordlist.dic" load into a word list in which every loaded word
// is found again, by the checker and by the definition lookup, and the computer's letter
// patterns agree with the checker.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "text.h"
#include "wordlist.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// The readers take a path, so each input is written to this process's own file first.
const std::string& InputPath() {
    static const std::string path = "/tmp/wordlist_fuzz." + std::to_string(getpid()) + ".dic";
    return path;
}

bool WriteInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(InputPath().c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

bool IsFourLetters(const std::string& w) {
    if (w.size() != 4) return false;
    for (char c : w)
        if (c < 'A' || c > 'Z') return false;
    return true;
}

// The patterns must offer each letter of a listed four-letter word in its place.
void CheckPatterns(const gd::WordList& list, const std::string& upper) {
    const int n[4] = {upper[0] - 'A', upper[1] - 'A', upper[2] - 'A', upper[3] - 'A'};
    for (int p = 0; p < 4; ++p) {
        int others[3], k = 0;
        for (int i = 0; i < 4; ++i)
            if (i != p) others[k++] = n[i];
        Require(list.CompletingLetters(p, others[0], others[1], others[2]) & (1u << n[p]));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!WriteInput(data, size)) return 0;
    gd::WordList list;
    Require(gd::LoadWordList(list, InputPath()));
    const std::size_t records = size / gd::kDictRecordSize;
    Require(list.Words.size() == std::min<std::size_t>(records, gd::kMaxWords));
    Require(list.WordCount == static_cast<int>(list.Words.size()));
    // A few words are enough: each lookup reads the file again.
    for (std::size_t i = 0; i < list.Words.size() && i < 4; ++i) {
        const std::string& word = list.Words[i];
        Require(gd::IsWord(list, word));
        const auto found = gd::LookUpDefinition(InputPath(), word);
        Require(found.has_value());
        Require(gd::UpperAscii(found->word) == gd::UpperAscii(word));
        if (IsFourLetters(gd::UpperAscii(word))) CheckPatterns(list, gd::UpperAscii(word));
    }
    return 0;
}
