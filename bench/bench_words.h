// The word list the benchmarks run against: the committed dictionary filled up to 4000 words.
#pragma once

#include <random>
#include <string>

#include "wordlist.h"

namespace gd::bench {

// The committed dictionary filled up to the full 4000 words with one-letter variants of its
// words, so the list has the size and the letter patterns of a real one. Without the
// dictionary, 4000 made-up words of consonants and vowels.
inline const WordList& BenchWords() {
    static const WordList list = [] {
        WordList l;
        LoadWordList(l, GLYPHDROP_WORDLIST);
        std::mt19937 generator(4000);
        auto below = [&generator](int n) {
            return std::uniform_int_distribution<int>(0, n - 1)(generator);
        };
        const std::string consonants = "bcdfghklmnprstwy", vowels = "aeiou";
        const int real = l.WordCount;
        while (l.WordCount < kMaxWords) {
            std::string word;
            if (real > 0) {
                word = LowerAscii(l.Words[below(real)]);
                word[below(4)] = static_cast<char>('a' + below(26));
            } else {
                for (int k = 0; k < 4; ++k) {
                    const std::string& from = (k % 2 == 0) != (below(4) == 0) ? consonants : vowels;
                    word += from[below(static_cast<int>(from.size()))];
                }
            }
            if (!IsWord(l, word)) l.Add(word);
        }
        return l;
    }();
    return list;
}

}  // namespace gd::bench
