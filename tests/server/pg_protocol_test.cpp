// The PostgreSQL store in the protocol suite, each case on a fresh database of one private server.
#include "pg_store.h"
#include "protocol_suite.h"
#include "scratch_postgres.h"

namespace gd::server::test {
namespace {

// Starts the PostgreSQL server the whole program shares, or skips every case where there is none.
class PostgresEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        GD_SKIP_WITHOUT_POSTGRES();
        gd::test::SharedPostgres();
    }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new PostgresEnvironment);

}  // namespace

INSTANTIATE_TEST_SUITE_P(Postgres, ServerProtocol,
                         testing::Values(StoreMaker{
                             "postgres",
                             []() -> std::shared_ptr<Store> {
                                 return std::make_shared<PgStore>(
                                     gd::test::SharedPostgres().NewDatabase());
                             }}),
                         [](const auto& info) { return info.param.name; });

}  // namespace gd::server::test
