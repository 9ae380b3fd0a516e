// Opens the store a --db value names.
#pragma once

#include <memory>
#include <string>

#include "store.h"

namespace gd::server {

bool NamesPostgres(const std::string& db);

// The --db value as the server shows it: a PostgreSQL address without its password.
std::string StoreForDisplay(const std::string& db);

// Throws std::runtime_error with the reason when the store cannot be opened.
std::unique_ptr<Store> OpenStore(const std::string& db);

}  // namespace gd::server
