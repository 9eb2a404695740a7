// A workstation killed (SIGKILL) at random moments while it saves documents in a loop on
// a SQLite file, a hundred times (KELTRO_CRASH_KILLS for more): after each kill the file opens and passes SQLite's
// own check, every stored document is whole, and the books audit clean; at the end
// `keltro-ar check` agrees and every number handed out names one stored document.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/WorkstationBench.h"
#include "services/BooksAudit.h"
#include "support/CommandRun.h"
#include "support/TestDatabase.h"

extern char** environ;

namespace keltro::reliability {
namespace {

using ::testing::IsEmpty;

// KELTRO_CRASH_KILLS sets another count for a longer run.
int killCount() {
    const char* text = std::getenv("KELTRO_CRASH_KILLS");
    return text && std::atoi(text) > 0 ? std::atoi(text) : 100;
}
constexpr int kAuditEvery = 20;

// keltro-ar with `arguments`, its output thrown away; its process id.
pid_t startKeltroAr(const std::vector<std::string>& arguments) {
    std::vector<std::string> words = {KELTRO_AR_BINARY};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, KELTRO_AR_BINARY, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

std::int64_t storedDocuments(db::Database& db) {
    return db.queryOne("SELECT (SELECT COUNT(*) FROM AR_header_table) + "
                       "(SELECT COUNT(*) FROM Receipt_header_table)")->at(0).integerOr(-1);
}

TEST(Crash, aWorkstationKilledAtRandomMomentsLeavesWholeDocumentsAndCleanBooks) {
    if (test::testEngine() != db::Engine::Sqlite)
        GTEST_SKIP() << "the crash is of a process writing its own SQLite file";
    const auto file = test::ownTempFile("crash.sqlite");
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(file.string() + suffix);
    const std::string url = "sqlite:" + file.string();
    ASSERT_EQ(test::runKeltroAr("init --db '" + url + "' --demo --today 2026-12-06").status, 0);
    const auto watcher = db::openDatabase(url);
    const auto before = bench::readCounters(*watcher);

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> moment(0, 40);
    const int kills = killCount();
    for (int kill = 1; kill <= kills && !HasFailure(); ++kill) {
        const pid_t pid = startKeltroAr({"bench", "workstations", "--db", url, "--reuse", "--workers", "1",
                                         "--count", "1000000", "--today", "2026-12-06"});
        ASSERT_GT(pid, 0);
        // The kill falls while documents are being saved: after the workstation's first
        // save, at a random moment of the next ones.
        const auto started = storedDocuments(*watcher);
        for (int wait = 0; wait < 1000 && storedDocuments(*watcher) == started; ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        std::this_thread::sleep_for(std::chrono::milliseconds(moment(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status)) << "kill " << kill << ": the workstation stopped by itself";

        const std::string where = "after kill " + std::to_string(kill);
        auto db = db::openDatabase(url);
        EXPECT_EQ(db->queryOne("PRAGMA integrity_check")->at(0).textOr(), "ok") << where;
        EXPECT_THAT(bench::incompleteDocuments(*db), IsEmpty()) << where;
        if (kill % kAuditEvery == 0) {
            EXPECT_THAT(services::AuditBooks(*db), IsEmpty()) << where;
        }
    }

    auto db = db::openDatabase(url);
    EXPECT_GT(storedDocuments(*db), kills) << "the kills fell while documents were being saved";
    EXPECT_THAT(bench::auditSeries(*db, before), IsEmpty());
    const auto check = test::runKeltroAr("check --db '" + url + "'");
    EXPECT_EQ(check.status, 0) << check.out;
    db.reset();
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(file.string() + suffix);
}

}  // namespace
}  // namespace keltro::reliability
