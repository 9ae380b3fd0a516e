// Downloading a picture into the program's folder.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "services.h"
#include "transfer.h"

namespace gd {

constexpr std::size_t kMaxDownloadBytes = 5 * 1024 * 1024;
inline const std::string kDownloadErrorText =
    "An error has occured in the internet file download.  Please check connection and try "
    "again later.";
inline const std::string kDownloadErrorTitle = "Preview Error";

// True when a download must not write `name` into `folder`: not a plain file name, or a file
// the program itself uses (its profile and word files, pictures, sounds, help, programs).
bool IsProtectedDownloadName(const std::string& folder, const std::string& name);

// Fetches `url` as bytes and writes them into `folder` under the part of the URL after its
// last "/" and returns the path written. A file already there is never replaced: the picture
// then goes under "name-1.ext", "name-2.ext" and so on. Nothing, doing nothing, while the
// control is busy; nothing after the "Preview Error" message when the request fails, the
// body is larger than 5 MB, the name is protected or the write fails.
std::optional<std::string> DownloadFile(HttpTransfer& inet, Prompter& prompt,
                                        const std::string& url, const std::string& folder);

}  // namespace gd
