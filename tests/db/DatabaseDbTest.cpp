// The data-access layer on the engine of this run: binding, Null, names, autonumbers,
// errors and the bounded-retry row lock. Transactions, and values of every type, are
// checked where the stores save and read them back (a save that fails half way leaves
// the lines it replaced; dates, amounts, flags and counts come back as written).
#include <gtest/gtest.h>

#include "db/Database.h"
#include "support/TestDatabase.h"

namespace keltro {
namespace {

using db::Value;

class DatabaseTest : public ::testing::Test {
protected:
    db::Database& db() { return database.db(); }

    std::int64_t count(const std::string& sql, const db::Params& params = {}) {
        return db().queryOne(sql, params)->at(0).integerOr(-1);
    }

    test::TestDatabase database{test::Contents::Tables};
};

TEST_F(DatabaseTest, boundTextKeepsQuotesUnicodeAndSqlLookalikes) {
    int n = 0;
    for (const std::string name : {"O'Brien & Sons", "Zoë Ångström — 東京", "x'; DROP TABLE Customer_table; --",
                                   "\"quoted\" [bracketed] ?", ""}) {
        const std::string no = "C" + std::to_string(++n);
        db().execute("INSERT INTO Customer_table (customer_no, customer_name) VALUES (?, ?)", {no, name});
        auto row = db().queryOne("SELECT customer_name FROM Customer_table WHERE customer_no = ?", {no});
        ASSERT_TRUE(row) << name;
        EXPECT_EQ((*row)["customer_name"].text(), name);
        EXPECT_EQ(count("SELECT COUNT(*) FROM Customer_table WHERE customer_name = ?", {name}), 1);
    }
}

TEST_F(DatabaseTest, nullStaysDistinctFromZeroAndEmptyText) {
    const std::string insert = "INSERT INTO Customer_table (customer_no, customer_name, credit_limit) VALUES (?, ?, ?)";
    db().execute(insert, {"N", Value(), Value()});
    db().execute(insert, {"Z", "", 0.0});
    auto n = *db().queryOne("SELECT * FROM Customer_table WHERE customer_no = ?", {"N"});
    auto z = *db().queryOne("SELECT * FROM Customer_table WHERE customer_no = ?", {"Z"});
    EXPECT_TRUE(n["customer_name"].isNull());
    EXPECT_FALSE(n["credit_limit"].number().has_value());
    EXPECT_EQ(z["customer_name"].text(), "");
    EXPECT_EQ(z["credit_limit"].number(), 0.0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Customer_table WHERE credit_limit IS NULL"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Customer_table WHERE customer_name = ?", {""}), 1);

}

TEST_F(DatabaseTest, columnsAreFoundWithoutRegardToCase) {
    db().execute("INSERT INTO Working_Currency_table (Currency) VALUES (?)", {"EUR"});
    auto row = *db().queryOne("SELECT * FROM Working_Currency_table");
    for (const char* name : {"Currency", "currency", "CURRENCY", "Working_Currency_table.Currency"})
        EXPECT_EQ(row[name].text(), "EUR") << name;
    EXPECT_THROW(row["no_such_column"], db::DbError);
}

TEST_F(DatabaseTest, insertGivesIncreasingAutonumbers) {
    const std::string insert = "INSERT INTO AR_header_table (company, fkey) VALUES (?, ?)";
    const auto first = db().insert(insert, {1, "1ar-1"}, "Id");
    const auto second = db().insert(insert, {1, "1ar-2"}, "Id");
    EXPECT_GT(second, first);
    EXPECT_EQ(db().queryOne("SELECT fkey FROM AR_header_table WHERE Id = ?", {second})->at(0).text(), "1ar-2");
}

TEST_F(DatabaseTest, errorsCarryTheStatementAndTheEngineMessage) {
    const std::string bad = "SELECT no_such_column FROM Customer_table";
    try {
        db().query(bad);
        FAIL() << "the query should fail";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.sql(), bad);
        EXPECT_NE(e.engineMessage().find("no_such_column"), std::string::npos) << e.engineMessage();
        EXPECT_NE(std::string(e.what()).find(bad), std::string::npos);
    }
    EXPECT_THROW(db().execute("INSERT INTO Customer_table (customer_no) VALUES (?)", {}), db::DbError);
}

// The row lock between two workstations. The first holds the counter row in an open
// transaction; the second asks for it under a retry policy. The sleeper stands in for the
// 0.432 s wait: it counts the waits and may let the first workstation finish.
class RowLockTest : public DatabaseTest {
protected:
    void SetUp() override {
        db().execute("INSERT INTO Next_number_fkey_table (company, doctype, fkeyno) VALUES (1, ?, 7)", {"ar"});
        first = database.open();
        second = database.open();
        // The first workstation takes the counter and bumps it, leaving its transaction open.
        first->begin(db::kCounterLock);
        first->lockRows(kCounter, {"ar"}, db::kCounterLock);
        first->execute("UPDATE Next_number_fkey_table SET fkeyno = 8 WHERE doctype = ?", {"ar"});
    }

    static constexpr const char* kCounter = "SELECT * FROM Next_number_fkey_table WHERE company = 1 AND doctype = ?";

    // The second workstation's attempt: a transaction, the lock, the counter's value.
    std::int64_t takeCounter(const db::RetryPolicy& policy) {
        db::Transaction tx(*second, policy);
        const auto value = second->lockRows(kCounter, {"ar"}, policy).at(0)["fkeyno"].integerOr(-1);
        second->execute("UPDATE Next_number_fkey_table SET fkeyno = ? WHERE doctype = ?", {value + 1, "ar"});
        tx.commit();
        return value;
    }

    std::int64_t storedCounter() { return (*db().queryOne(kCounter, {"ar"}))["fkeyno"].integerOr(-1); }

    std::unique_ptr<db::Database> first, second;
};

TEST_F(RowLockTest, givesUpAfterThePolicysTries) {
    for (const auto& policy : {db::kCounterLock, db::kBalanceLock}) {
        SCOPED_TRACE(policy.tries);
        int waits = 0;
        second->setSleeper([&](std::chrono::milliseconds wait) {
            EXPECT_EQ(wait.count(), 432);
            ++waits;
        });
        try {
            takeCounter(policy);
            ADD_FAILURE() << "the lock should have been refused";
        } catch (const db::LockTimeout& e) {
            EXPECT_EQ(e.tries(), policy.tries);
        }
        EXPECT_EQ(waits, policy.tries - 1);
        EXPECT_FALSE(second->inTransaction());
    }
    first->rollback();
    EXPECT_EQ(storedCounter(), 7);
}

TEST_F(RowLockTest, succeedsWhenTheHolderFinishesInTime) {
    int waits = 0;
    second->setSleeper([&](std::chrono::milliseconds) {
        if (++waits == 3) first->commit();
    });
    EXPECT_EQ(takeCounter(db::kCounterLock), 8);  // the number the first one left
    EXPECT_EQ(waits, 3);
    EXPECT_EQ(storedCounter(), 9);
}

TEST_F(RowLockTest, refusedLockLeavesTheTransactionUsable) {
    if (database.engine() == db::Engine::Sqlite)
        GTEST_SKIP() << "SQLite takes its lock when the transaction begins";
    second->setSleeper([](std::chrono::milliseconds) {});
    db::Transaction tx(*second);
    second->execute("INSERT INTO Customer_table (customer_no) VALUES (?)", {"before"});
    EXPECT_THROW(second->lockRows(kCounter, {"ar"}, db::kBalanceLock), db::LockTimeout);
    second->execute("INSERT INTO Customer_table (customer_no) VALUES (?)", {"after"});
    tx.commit();
    first->rollback();
    EXPECT_EQ(count("SELECT COUNT(*) FROM Customer_table"), 2);
}

}  // namespace
}  // namespace keltro
