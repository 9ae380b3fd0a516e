// What the dictionary window shows: the wrapped display lines of a record, the search by first
// letters, and the information texts.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "wordlist.h"

namespace gd {

// A definition shorter than this stays on the first line.
constexpr std::size_t kDictWrapLength = 76;
// Lines are broken at the first blank at or after this position (counted from 1).
constexpr std::size_t kDictBreakFrom = 65;
constexpr std::size_t kDictMaxLines = 4;
// Continuation lines start under the definition, past the 6-character word field.
inline const std::string kDictContinuation(kDictWordWidth, ' ');

// The one to four list lines of one record: the word field exactly as stored followed by the
// first part of the trimmed definition, then continuation lines of six blanks and a further part.
std::vector<std::string> DictDisplayLines(const DictRecord& record);

// The outcome of a search: the entry to scroll to the top, and whether to select it.
struct WordSearchHit {
    int top = -1;
    bool select = false;
};

// The first line whose first n characters equal `text` (n = its length, 1 to 4) without regard to
// case. Any other length, or no matching line, gives nothing: the list stays where it is.
std::optional<WordSearchHit> SearchDictLines(const std::vector<std::string>& lines,
                                             const std::string& text);

// The information text while the list is being filled, and afterwards with the word count
// (`count` is empty when the file was missing).
std::string DictInfoWhileFilling();
std::string DictInfoFilled(const std::string& count);

}  // namespace gd
