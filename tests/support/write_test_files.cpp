// Writes the files the whole-program checks put beside the program, with the unit tests' own
// record writers: "profiles FILE NAME..." appends new players, "wordlist FILE WORD..." writes
// a word list.
#include <iostream>

#include "dictionary.h"
#include "profile_records.h"

int main(int argc, char** argv) {
    const std::string what = argc > 2 ? argv[1] : "";
    if (what == "profiles") {
        std::vector<gd::PlayerProfile> all;
        for (int i = 3; i < argc; ++i)
            all.push_back(gd::test::NewProfile(argv[i]));
        gd::test::WriteProfiles(argv[2], all);
    } else if (what == "wordlist") {
        gd::test::DictEntries words;
        for (int i = 3; i < argc; ++i)
            words.emplace_back(argv[i], "a word of the test list");
        gd::test::WriteWordList(argv[2], words);
    } else {
        std::cerr << "usage: " << argv[0] << " profiles|wordlist FILE NAME...\n";
        return 2;
    }
    return 0;
}
