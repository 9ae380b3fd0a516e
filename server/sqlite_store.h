// The game server's store in one SQLite file (WAL, synchronous=FULL), for one server process.
//
// One writer thread runs every operation. It takes all operations queued while the previous
// commit was reaching the disk and runs them in one transaction (group commit), each in a
// savepoint of its own; each caller gets its answer only after that commit. The HTTP layer hands
// it whole requests to answer (AnswerRunner), so no thread waits for a commit. The file is locked
// exclusively, so a second process cannot share it and the count of pending messages kept in
// memory for polls stays true.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "service.h"
#include "store.h"

struct sqlite3;

namespace gd::server {

class SqliteStore : public Store, public AnswerRunner {
  public:
    // Opens or creates the file; throws std::runtime_error with SQLite's message when it cannot.
    // `reserveBytes` of the disk are held back in a file beside it (see KeepRoom).
    explicit SqliteStore(const std::string& path, std::size_t reserveBytes = 4 << 20);
    // Finishes the queued operations, then closes the file.
    ~SqliteStore() override;

    EnterOutcome Enter(const WaitingEntry& entry, int roomSize, std::int64_t nowMs) override;
    std::vector<WaitingEntry> ListWaiting(std::int64_t nowMs) override;
    JoinOutcome Join(const std::string& game, const std::string& password,
                     const std::string& address, std::int64_t nowMs) override;
    bool Leave(const std::string& game, const std::string& address, bool bound) override;
    PostOutcome Post(const PostRequest& request) override;
    Batch Take(const TakeRequest& request) override;
    bool MayHaveMessages(const std::string& game, Side reader) override;
    int RemoveIdle(std::int64_t idleSinceMs) override;
    std::optional<long> CountGames() override;

    // Runs `answer` on the writer thread inside the next transaction, its store calls at once;
    // `deliver` follows the commit.
    void Run(std::function<void()> answer, std::function<void(bool durable)> deliver) override;

    // Commits made so far and operations they carried, for the load run's report.
    std::pair<long, long> CommitsAndOperations() const;

    class Transaction;

  private:
    struct Job {
        std::function<void(Transaction&)> work;
        std::promise<void> done;                    // for a caller that waits
        std::function<void(bool durable)> deliver;  // or for one that is called back
    };

    template <class F>
    auto Apply(F work) -> decltype(work(std::declval<Transaction&>()));
    void Enqueue(std::unique_ptr<Job> job);
    void WriterLoop();
    void CommitBatch(std::vector<std::unique_ptr<Job>>& batch);
    void LoadPendingCounts();
    void KeepRoom(bool diskFull);
    // Throws while the disk is too full to take more: what adds to the store waits.
    void CheckRoom() const;

    sqlite3* db_ = nullptr;
    std::unique_ptr<Transaction> tx_;

    std::mutex queueLock_;
    std::condition_variable queued_;
    std::deque<std::unique_ptr<Job>> queue_;
    bool stopping_ = false;

    mutable std::shared_mutex countLock_;
    std::unordered_map<std::string, int> pending_;  // mailbox -> messages waiting

    // The writer thread's own: the reserve, whether it is given up, the log's length.
    class Reserve;
    std::unique_ptr<Reserve> reserve_;
    bool short_ = false;
    int walFrames_ = 0;
    int walLimitFrames_ = 0;

    std::atomic<long> commits_{0}, operations_{0};
    std::thread writer_;
};

}  // namespace gd::server
