// The SQLite store in the protocol suite.
#include "protocol_suite.h"
#include "sqlite_store.h"
#include "temp_folder.h"

namespace gd::server::test {

INSTANTIATE_TEST_SUITE_P(Sqlite, ServerProtocol,
                         testing::Values(StoreMaker{
                             "sqlite",
                             [] {
                                 auto folder = std::make_shared<gd::test::TempFolder>();
                                 auto store = std::make_shared<SqliteStore>(folder->File("s.db"));
                                 // The file goes after the store has closed it.
                                 return std::shared_ptr<Store>(store.get(),
                                                               [store, folder](Store*) mutable {
                                                                   store.reset();
                                                                   folder.reset();
                                                               });
                             }}),
                         [](const auto& info) { return info.param.name; });

}  // namespace gd::server::test
