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
#include "services/Numbering.h"
#include "support/TestDatabase.h"

namespace keltro::services {
namespace {

constexpr std::int64_t kFirstDocno = 1000;
constexpr std::int64_t kFirstKey = 500;
constexpr int kSavesPerWorker = 200;
constexpr int kRollbackEvery = 7;
constexpr std::chrono::milliseconds kPauseAfterRollback{60};

// The numbers of the saves one workstation committed.
using Committed = std::vector<DocumentNumbers>;

// One workstation: saves documents until it has numbered kSavesPerWorker of them, rolling
// every seventh back. A refused lock (the counter or the database stayed locked) is a
// failed save, tried again.
Committed runWorker(db::Database& db) {
    Committed committed;
    RecordingUi ui;
    for (int numbered = 0; numbered < kSavesPerWorker;) {
        try {
            db::Transaction tx(db);
            const auto numbers = NumberNewDocument(db, ui, 1, "inv", "2009");
            if (!numbers) continue;
            db.execute("INSERT INTO AR_header_table (company, doctype, docno, fkey) "
                       "VALUES (1, ?, ?, ?)", {"inv", numbers->docno, numbers->fkey});
            if (++numbered % kRollbackEvery == 0) {
                tx.rollback();
                // A pause before the next save lets the waiting workstations in, so that
                // the workers take turns rather than run one after the other.
                std::this_thread::sleep_for(kPauseAfterRollback);
                continue;
            }
            tx.commit();
            committed.push_back(numbers->numbers);
        } catch (const db::LockTimeout&) {
        }
    }
    if (!ui.said().empty()) throw std::runtime_error("unexpected message: " + ui.texts().front());
    return committed;
}

class NumberingContentionTest : public ::testing::Test {
protected:
    void SetUp() override {
        db::Transaction tx(db());
        db().execute("INSERT INTO Docno_master_table (company, doctype, fiscalyear, nextdocno) "
                     "VALUES (1, ?, ?, ?)", {"inv", "2009", kFirstDocno});
        db().execute("INSERT INTO Next_number_fkey_table (company, doctype, fkeyno) "
                     "VALUES (1, ?, ?)", {"inv", kFirstKey});
        db().execute("INSERT INTO Next_number_config_table (structure, fyear_digit, seperator1, "
                     "seperator2) VALUES (?, 2, TRUE, TRUE)", {"1"});
        db().execute("INSERT INTO Next_number_format_table (doctype, prefix, running_no_digit) "
                     "VALUES (?, ?, 5)", {"inv", "INV"});
        tx.commit();
    }
    db::Database& db() { return database.db(); }

    // SQLite: one process per workstation, each with its own connection to the file; a
    // child writes its committed numbers to its own file and exits 0.
    std::vector<Committed> runProcesses(int count) {
        const auto folder = std::filesystem::temp_directory_path() /
                            ("keltro_contention_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        std::vector<pid_t> children;
        for (int i = 0; i < count; ++i)
            if (const pid_t pid = children.emplace_back(fork()); pid == 0)
                _exit(childWorker(folder / std::to_string(i)));
        std::vector<Committed> results;
        for (int i = 0; i < count; ++i) {
            int status = 0;
            waitpid(children[static_cast<std::size_t>(i)], &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "worker " << i;
            std::ifstream in(folder / std::to_string(i));
            auto& committed = results.emplace_back();
            for (DocumentNumbers n; in >> n.running >> n.key;) committed.push_back(n);
        }
        std::filesystem::remove_all(folder);
        return results;
    }

    int childWorker(const std::filesystem::path& file) const {
        try {
            auto own = db::openDatabase(database.url());
            std::ofstream out(file);
            for (const auto& n : runWorker(*own)) out << n.running << ' ' << n.key << '\n';
            return out.good() ? 0 : 3;
        } catch (...) {
            return 2;
        }
    }

    // PostgreSQL: one connection per workstation, each used by its own thread.
    std::vector<Committed> runThreads(int count) {
        std::vector<std::unique_ptr<db::Database>> connections;
        for (int i = 0; i < count; ++i) connections.push_back(database.open());
        std::vector<Committed> results(connections.size());
        std::mutex failuresMutex;
        std::vector<std::string> failures;
        std::vector<std::thread> threads;
        for (std::size_t i = 0; i < connections.size(); ++i)
            threads.emplace_back([&, i] {
                try {
                    results[i] = runWorker(*connections[i]);
                } catch (const std::exception& e) {
                    std::lock_guard lock(failuresMutex);
                    failures.push_back(e.what());
                }
            });
        for (auto& t : threads) t.join();
        EXPECT_EQ(failures, std::vector<std::string>{});
        return results;
    }

    test::TestDatabase database{test::Contents::Tables};
};

// The numbers handed out, sorted, must be exactly first, first + 1, ... without gaps.
void expectConsecutive(std::vector<std::int64_t> numbers, std::int64_t first) {
    std::sort(numbers.begin(), numbers.end());
    std::vector<std::int64_t> expected(numbers.size());
    std::iota(expected.begin(), expected.end(), first);
    EXPECT_EQ(numbers, expected);
}

TEST_F(NumberingContentionTest, everyCommittedNumberIsHandedOutOnceAndNoneIsSkipped) {
    const auto results = database.engine() == db::Engine::Sqlite ? runProcesses(4) : runThreads(8);
    std::vector<std::int64_t> docnos, keys;
    for (const auto& committed : results)
        for (const auto& n : committed) {
            docnos.push_back(n.running);
            keys.push_back(n.key);
        }
    const auto committed = static_cast<std::int64_t>(docnos.size());
    expectConsecutive(docnos, kFirstDocno);
    expectConsecutive(keys, kFirstKey);
    const auto scalar = [&](const char* sql) { return db().queryOne(sql)->at(0).integer(); };
    EXPECT_EQ(scalar("SELECT nextdocno FROM Docno_master_table"), kFirstDocno + committed);
    EXPECT_EQ(scalar("SELECT fkeyno FROM Next_number_fkey_table"), kFirstKey + committed);
    EXPECT_EQ(scalar("SELECT COUNT(DISTINCT docno) FROM AR_header_table"), committed);
}

}  // namespace
}  // namespace keltro::services
