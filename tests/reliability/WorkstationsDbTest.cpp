// Workstations saving at once on one database, each a process of its own with its own
// connection: every number of every series is handed out once (no duplicate, no gap),
// no save fails except a lock refused through all its retries, and the books audit
// clean. `keltro-ar bench workstations` runs the full count; this runs a smaller one.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "bench/WorkstationBench.h"
#include "host/Json.h"
#include "services/BooksAudit.h"
#include "support/CommandRun.h"
#include "support/TestDatabase.h"

namespace keltro::reliability {
namespace {

using ::testing::IsEmpty;

constexpr int kWorkers = 8;
constexpr int kDocumentsEach = 24;

double member(const host::Json& line, const char* key) {
    const auto* value = line.member(key);
    return value && value->number() ? *value->number() : -1;
}

TEST(Workstations, eightSavingAtOnceShareEveryNumberOnceAndKeepTheBooksClean) {
    test::TestDatabase database(test::Contents::DemoCompany);
    const auto before = bench::readCounters(database.db());
    const auto documents = [&] {
        return database.db().queryOne("SELECT (SELECT COUNT(*) FROM AR_header_table) + "
                                      "(SELECT COUNT(*) FROM Receipt_header_table)")->at(0).integerOr(-1);
    };
    const auto present = documents();

    const auto run = test::runKeltroAr("bench workstations --db '" + database.url() + "' --reuse --workers " +
                                       std::to_string(kWorkers) + " --count " +
                                       std::to_string(kDocumentsEach) + " --today 2026-12-06");
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const auto line = host::parseJson(run.out);
    const double saved = member(line, "saved");
    EXPECT_EQ(member(line, "failed"), 0) << run.err;
    EXPECT_EQ(saved + member(line, "lock_refused"), kWorkers * kDocumentsEach);
    EXPECT_GT(saved, kWorkers * kDocumentsEach / 2) << "most saves get through their retries";
    EXPECT_EQ(member(line, "series_findings"), 0);
    EXPECT_EQ(member(line, "audit_findings"), 0);

    // What the bench says, seen from here.
    EXPECT_EQ(documents() - present, static_cast<std::int64_t>(saved));
    EXPECT_THAT(bench::auditSeries(database.db(), before), IsEmpty());
    EXPECT_THAT(bench::incompleteDocuments(database.db()), IsEmpty());
    EXPECT_THAT(services::AuditBooks(database.db()), IsEmpty());
}

}  // namespace
}  // namespace keltro::reliability
