// The game server's side of the shared wire: the names it uses from it, the waiting list as its
// reply, and the update check's comparison of versions.
#pragma once

#include <string>
#include <vector>

#include "game_wire.h"
#include "store.h"

namespace gd::server {

using wire::IsCounter;
using wire::KindOf;
using wire::ParseMailboxKey;
using wire::Script;
using wire::ScriptOf;
using wire::SplitFields;

// The reply to "readwait.mv" listing `entries`.
std::string WaitingListReply(const std::vector<WaitingEntry>& entries);

// Whether `version` is `latest` or newer, compared as dotted numbers ("1.10" > "1.9").
bool IsCurrentVersion(const std::string& version, const std::string& latest);

}  // namespace gd::server
