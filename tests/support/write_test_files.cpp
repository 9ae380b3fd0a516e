// Writes the files the whole-program checks put beside the program, with the unit tests' own
// record writers, and reads back what the program counted: "profiles FILE NAME..." appends new
// players, "wordlist FILE WORD..." writes a word list, "counters FOLDER NAME" prints a player's
// played, won, lost and tied games.
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
    } else if (what == "counters" && argc == 4) {
        gd::PlayerProfile p;
        if (gd::FindProfile(gd::ProfileFile{argv[2]}, argv[3], p) == 0) return 1;
        std::cout << p.Played << ' ' << p.Won << ' ' << p.Lost << ' ' << p.Tied << '\n';
    } else {
        std::cerr << "usage: " << argv[0]
                  << " profiles|wordlist FILE NAME... | counters FOLDER NAME\n";
        return 2;
    }
    return 0;
}
