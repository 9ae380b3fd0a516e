// Opens the store a --db value names: a PostgreSQL address, or else a SQLite file.
#include "open_store.h"

#include "pg_store.h"
#include "sqlite_store.h"

namespace gd::server {

bool NamesPostgres(const std::string& db) {
    return db.rfind("postgresql://", 0) == 0 || db.rfind("postgres://", 0) == 0;
}

std::unique_ptr<Store> OpenStore(const std::string& db) {
    if (NamesPostgres(db)) return std::make_unique<PgStore>(db);
    return std::make_unique<SqliteStore>(db);
}

}  // namespace gd::server
