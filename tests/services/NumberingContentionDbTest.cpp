// Several workstations numbering documents of one type and year at the same time: every
// committed number is handed out once, none is skipped although some saves roll back, and
// the counters end right after the last committed number.
//
// On SQLite the workstations are separate processes on one database file; on PostgreSQL
// they are connections used from threads.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <numeric>
#include <thread>

#include "db/Database.h"
#include "schema/Schema.h"
#include "services/Numbering.h"
#include "support/TestDatabase.h"

namespace keltro::services {
namespace {

constexpr std::int64_t kFirstDocno = 1000;
constexpr std::int64_t kFirstKey = 500;
constexpr int kSavesPerWorker = 200;
constexpr int kRollbackEvery = 7;
constexpr std::chrono::milliseconds kPauseAfterRollback{60};

// What one workstation did.
struct WorkerResult {
    std::vector<DocumentNumbers> committed;
    int rolledBack = 0;
};

// One workstation: saves documents until it has numbered kSavesPerWorker of them, rolling
// every seventh back. A refused lock (the counter or the database stayed locked) is a
// failed save, tried again.
WorkerResult runWorker(db::Database& db) {
    WorkerResult result;
    RecordingUi ui;
    for (int numbered = 0; numbered < kSavesPerWorker;) {
        try {
            db::Transaction tx(db);
            const auto numbers = NumberNewDocument(db, ui, 1, "inv", "2009");
            if (!numbers) continue;
            db.execute("INSERT INTO AR_header_table (company, doctype, docno, fkey) "
                       "VALUES (1, ?, ?, ?)",
                       {"inv", numbers->docno, numbers->fkey});
            if (++numbered % kRollbackEvery == 0) {
                tx.rollback();
                ++result.rolledBack;
                // A pause before the next save lets the waiting workstations in, so that
                // the workers take turns rather than run one after the other.
                std::this_thread::sleep_for(kPauseAfterRollback);
                continue;
            }
            tx.commit();
            result.committed.push_back(numbers->numbers);
        } catch (const db::LockTimeout&) {
        }
    }
    if (!ui.said().empty()) throw std::runtime_error("unexpected message: " + ui.texts().front());
    return result;
}

class NumberingContentionTest : public ::testing::Test {
protected:
    void SetUp() override {
        db::Transaction tx(db());
        db().execute("INSERT INTO Docno_master_table (company, doctype, fiscalyear, nextdocno) "
                     "VALUES (1, ?, ?, ?)",
                     {"inv", "2009", kFirstDocno});
        db().execute("INSERT INTO Next_number_fkey_table (company, doctype, fkeyno) "
                     "VALUES (1, ?, ?)",
                     {"inv", kFirstKey});
        db().execute("INSERT INTO Next_number_config_table "
                     "(structure, fyear_digit, seperator1, seperator2) VALUES (?, 2, TRUE, TRUE)",
                     {"1"});
        db().execute("INSERT INTO Next_number_format_table (doctype, prefix, running_no_digit) "
                     "VALUES (?, ?, 5)",
                     {"inv", "INV"});
        tx.commit();
    }
    db::Database& db() { return database.db(); }

    // SQLite: one process per workstation, each with its own connection to the file; a
    // child writes its committed numbers to its own file and exits 0.
    std::vector<WorkerResult> runProcesses(int count) {
        const auto folder = std::filesystem::temp_directory_path() /
                            ("keltro_contention_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        std::vector<pid_t> children;
        for (int i = 0; i < count; ++i) {
            const pid_t pid = fork();
            if (pid == 0) _exit(childWorker(folder / std::to_string(i)));
            children.push_back(pid);
        }
        std::vector<WorkerResult> results;
        for (int i = 0; i < count; ++i) {
            int status = 0;
            waitpid(children[static_cast<std::size_t>(i)], &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "worker " << i;
            results.push_back(readResult(folder / std::to_string(i)));
        }
        std::filesystem::remove_all(folder);
        return results;
    }

    int childWorker(const std::filesystem::path& file) const {
        try {
            auto own = db::openDatabase(database.url());
            const WorkerResult result = runWorker(*own);
            std::ofstream out(file);
            out << result.rolledBack << '\n';
            for (const auto& n : result.committed) out << n.running << ' ' << n.key << '\n';
            return out.good() ? 0 : 3;
        } catch (...) {
            return 2;
        }
    }

    static WorkerResult readResult(const std::filesystem::path& file) {
        WorkerResult result;
        std::ifstream in(file);
        in >> result.rolledBack;
        for (DocumentNumbers n; in >> n.running >> n.key;) result.committed.push_back(n);
        return result;
    }

    // PostgreSQL: one connection per workstation, each used by its own thread.
    std::vector<WorkerResult> runThreads(int count) {
        std::vector<std::unique_ptr<db::Database>> connections;
        for (int i = 0; i < count; ++i) connections.push_back(database.open());
        std::vector<WorkerResult> results(static_cast<std::size_t>(count));
        std::mutex failuresMutex;
        std::vector<std::string> failures;
        std::vector<std::thread> threads;
        for (std::size_t i = 0; i < connections.size(); ++i) {
            threads.emplace_back([&, i] {
                try {
                    results[i] = runWorker(*connections[i]);
                } catch (const std::exception& e) {
                    std::lock_guard lock(failuresMutex);
                    failures.push_back(e.what());
                }
            });
        }
        for (auto& t : threads) t.join();
        EXPECT_EQ(failures, std::vector<std::string>{});
        return results;
    }

    // The numbers handed out, sorted, must be exactly first, first + 1, ... without gaps.
    static void expectConsecutive(std::vector<std::int64_t> numbers, std::int64_t first) {
        std::sort(numbers.begin(), numbers.end());
        std::vector<std::int64_t> expected(numbers.size());
        std::iota(expected.begin(), expected.end(), first);
        EXPECT_EQ(numbers, expected);
    }

    test::TestDatabase database{test::Contents::Tables};
};

TEST_F(NumberingContentionTest, everyCommittedNumberIsHandedOutOnceAndNoneIsSkipped) {
    const bool sqlite = database.engine() == db::Engine::Sqlite;
    const auto results = sqlite ? runProcesses(4) : runThreads(8);

    std::vector<std::int64_t> docnos;
    std::vector<std::int64_t> keys;
    for (const auto& r : results) {
        EXPECT_EQ(static_cast<int>(r.committed.size()) + r.rolledBack, kSavesPerWorker);
        for (const auto& n : r.committed) {
            docnos.push_back(n.running);
            keys.push_back(n.key);
        }
    }
    const auto committed = static_cast<std::int64_t>(docnos.size());
    expectConsecutive(docnos, kFirstDocno);
    expectConsecutive(keys, kFirstKey);
    EXPECT_EQ(db().queryOne("SELECT nextdocno FROM Docno_master_table")->at(0).integer(),
              kFirstDocno + committed);
    EXPECT_EQ(db().queryOne("SELECT fkeyno FROM Next_number_fkey_table")->at(0).integer(),
              kFirstKey + committed);
    EXPECT_EQ(db().queryOne("SELECT COUNT(DISTINCT docno) FROM AR_header_table")->at(0).integer(),
              committed);
}

}  // namespace
}  // namespace keltro::services
