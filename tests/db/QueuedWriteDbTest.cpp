// Writes queued inside a transaction (`Database::queue`): PostgreSQL sends them without
// waiting and reads their answers with the next statement that waits, SQLite runs them at
// once. Either way a read sees them, a rollback drops them, a refused lock keeps them, and
// a refused one fails its transaction under its own statement, leaving nothing behind.
// Rows locked together (`lockRowsOfEach`) are locked all or none.
#include <gtest/gtest.h>

#include <functional>

#include "db/Database.h"
#include "support/TestDatabase.h"

namespace keltro {
namespace {

constexpr const char* kAddCustomer = "INSERT INTO Customer_table (customer_no, customer_name) VALUES (?, ?)";
constexpr const char* kRename = "UPDATE Customer_table SET customer_name = ? WHERE customer_no = ?";
constexpr const char* kCustomers = "SELECT COUNT(*) FROM Customer_table";
// Working_Currency_table holds each currency once: a second EUR is refused by the engine.
constexpr const char* kAddCurrency = "INSERT INTO Working_Currency_table (Currency) VALUES (?)";

class QueuedWriteTest : public ::testing::Test {
protected:
    db::Database& db() { return database.db(); }

    std::int64_t count(const std::string& sql) { return db().queryOne(sql)->at(0).integerOr(-1); }

    std::string nameOf(db::Database& on, const std::string& customer) {
        return on.queryOne("SELECT customer_name FROM Customer_table WHERE customer_no = ?", {customer})
            ->at(0)
            .textOr();
    }

    test::TestDatabase database{test::Contents::Tables};
};

TEST_F(QueuedWriteTest, readsInTheTransactionSeeThemAndTheCommitKeepsThemInOrder) {
    db::Transaction tx(db());
    db().queue(kAddCustomer, {"1001", "O'Brien"});
    db().queue(kRename, {"Zoë", "1001"});
    EXPECT_EQ(nameOf(db(), "1001"), "Zoë");
    db().queue(kRename, {"last", "1001"});
    tx.commit();
    EXPECT_EQ(nameOf(*database.open(), "1001"), "last");
}

TEST_F(QueuedWriteTest, aRollbackDropsThemAndTheConnectionCarriesOn) {
    {
        db::Transaction tx(db());
        db().queue(kAddCustomer, {"1001", "dropped"});
        db().queue(kAddCustomer, {"1002", "dropped"});
    }
    EXPECT_FALSE(db().inTransaction());
    EXPECT_EQ(count(kCustomers), 0);
    db::Transaction tx(db());
    db().queue(kAddCustomer, {"1003", "kept"});
    tx.commit();
    EXPECT_EQ(count(kCustomers), 1);
}

// More writes than wait in the pipeline at once: each lands.
TEST_F(QueuedWriteTest, aLongRunOfThemAllLands) {
    constexpr int kWrites = 1200;
    db::Transaction tx(db());
    for (int i = 0; i < kWrites; ++i) db().queue(kAddCustomer, {"C" + std::to_string(i), "bulk"});
    tx.commit();
    EXPECT_EQ(count(kCustomers), kWrites);
}

// Whatever waits next reports the refused write (SQLite refuses it at once), under the
// write's own statement; nothing of the transaction stays, the write queued before it
// included, and the connection goes on working.
TEST_F(QueuedWriteTest, aRefusedOneFailsItsTransactionWhereverItIsReported) {
    db().execute(kAddCurrency, {"EUR"});
    const std::vector<std::pair<std::string, std::function<void(db::Database&)>>> nextSteps{
        {"a read", [](db::Database& d) { d.query(kCustomers); }},
        {"a counted write", [](db::Database& d) { d.execute(kRename, {"x", "1001"}); }},
        {"an insert with its number",
         [](db::Database& d) { d.insert("INSERT INTO AR_header_table (company, fkey) VALUES (?, ?)", {1, "1ar-1"}, "Id"); }},
        {"a row lock",
         [](db::Database& d) { d.lockRows("SELECT * FROM Customer_table WHERE customer_no = ?", {"1001"}, db::kBalanceLock); }},
        {"a streamed read", [](db::Database& d) { d.forEachRow(kCustomers, {}, [](const db::Row&) {}); }},
        {"another queued write and the commit",
         [](db::Database& d) {
             d.queue(kAddCustomer, {"1002", "after"});
             d.commit();
         }},
    };
    for (const auto& [name, next] : nextSteps) {
        SCOPED_TRACE(name);
        try {
            db::Transaction tx(db());
            db().queue(kAddCustomer, {"1001", "before"});
            db().queue(kAddCurrency, {"EUR"});
            next(db());
            tx.commit();
            ADD_FAILURE() << "the transaction should have failed";
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.sql(), kAddCurrency);
            EXPECT_EQ(std::string(e.what()).rfind("The statement failed", 0), 0u) << e.what();
        }
        EXPECT_FALSE(db().inTransaction());
        EXPECT_EQ(count(kCustomers), 0);
        EXPECT_EQ(count("SELECT COUNT(*) FROM AR_header_table"), 0);
        EXPECT_EQ(count("SELECT COUNT(*) FROM Working_Currency_table"), 1);
    }
}

// A lock another connection holds is refused without undoing what was queued before it.
TEST_F(QueuedWriteTest, aRefusedLockKeepsTheWritesQueuedBeforeIt) {
    if (database.engine() == db::Engine::Sqlite)
        GTEST_SKIP() << "SQLite takes its lock when the transaction begins";
    db().execute(kAddCustomer, {"1001", "held"});
    const auto holder = database.open();
    db::Transaction held(*holder);
    holder->lockRows("SELECT * FROM Customer_table WHERE customer_no = ?", {"1001"}, db::kBalanceLock);

    db().setSleeper([](std::chrono::milliseconds) {});
    db::Transaction tx(db());
    db().queue(kAddCustomer, {"1002", "before"});
    EXPECT_THROW(db().lockRows("SELECT * FROM Customer_table WHERE customer_no = ?", {"1001"}, db::kBalanceLock),
                 db::LockTimeout);
    db().queue(kAddCustomer, {"1003", "after"});
    tx.commit();
    held.rollback();
    EXPECT_EQ(count(kCustomers), 3);
}

// Rows locked together: each set of values gives its own rows, in order; while one of
// them is held elsewhere none is kept, so the rows that were free stay free for others.
TEST_F(QueuedWriteTest, rowsLockedTogetherAreAllOrNone) {
    for (const char* no : {"1001", "1002", "1003"}) db().execute(kAddCustomer, {no, std::string("name ") + no});
    const char* byNumber = "SELECT customer_name FROM Customer_table WHERE customer_no = ?";
    {
        db::Transaction tx(db());
        const auto rows = db().lockRowsOfEach(byNumber, {{"1003"}, {"none"}, {"1001"}}, db::kBalanceLock);
        ASSERT_EQ(rows.size(), 3u);
        EXPECT_EQ(rows[0].at(0)["customer_name"].textOr(), "name 1003");
        EXPECT_TRUE(rows[1].empty());
        EXPECT_EQ(rows[2].at(0)["customer_name"].textOr(), "name 1001");
    }
    if (database.engine() == db::Engine::Sqlite) return;  // SQLite locks when the transaction begins

    const auto holder = database.open();
    db::Transaction held(*holder);
    holder->lockRows(byNumber, {"1002"}, db::kBalanceLock);
    int waits = 0;
    db().setSleeper([&](std::chrono::milliseconds) { ++waits; });
    db::Transaction tx(db());
    db().queue(kRename, {"queued before", "1003"});
    EXPECT_THROW(db().lockRowsOfEach(byNumber, {{"1001"}, {"1002"}}, db::kBalanceLock), db::LockTimeout);
    EXPECT_EQ(waits, db::kBalanceLock.tries - 1);
    const auto other = database.open();
    other->setSleeper([](std::chrono::milliseconds) {});
    db::Transaction otherTx(*other);
    EXPECT_EQ(other->lockRows(byNumber, {"1001"}, db::kBalanceLock).size(), 1u) << "1001 was not kept";
    otherTx.rollback();
    tx.commit();
    held.rollback();
    EXPECT_EQ(nameOf(db(), "1003"), "queued before");
}

}  // namespace
}  // namespace keltro
