// The data-access layer on the engine of this run: binding, Null, names, transactions,
// autonumbers, errors and the bounded-retry row lock.
#include <gtest/gtest.h>

#include "db/Database.h"
#include "schema/Schema.h"
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
    const std::vector<std::string> names = {"O'Brien & Sons", "Zoë Ångström — 東京", "x'; DROP TABLE Customer_table; --",
                                            "\"quoted\" [bracketed] ?", ""};
    int n = 0;
    for (const auto& name : names) {
        const std::string no = "C" + std::to_string(++n);
        db().execute("INSERT INTO Customer_table (customer_no, customer_name) VALUES (?, ?)",
                     {no, name});
        auto row = db().queryOne("SELECT customer_name FROM Customer_table WHERE customer_no = ?",
                                 {no});
        ASSERT_TRUE(row) << name;
        EXPECT_EQ((*row)["customer_name"].text(), name);
        EXPECT_EQ(count("SELECT COUNT(*) FROM Customer_table WHERE customer_name = ?", {name}), 1);
    }
}

TEST_F(DatabaseTest, nullStaysDistinctFromZeroAndEmptyText) {
    db().execute("INSERT INTO Customer_table (customer_no, customer_name, credit_limit) VALUES (?, ?, ?)",
                 {"N", Value(), Value()});
    db().execute("INSERT INTO Customer_table (customer_no, customer_name, credit_limit) VALUES (?, ?, ?)",
                 {"Z", "", 0.0});
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

TEST_F(DatabaseTest, typedValuesRoundTrip) {
    const db::Date due{2024, 2, 29};
    db().execute("INSERT INTO Payment_term_table (term_no, duedays, early_discount, [default]) "
                 "VALUES (?, ?, ?, ?)",
                 {"30", 30, 2.5, true});
    db().execute("INSERT INTO AR_header_table (company, fkey, due_date, paid) VALUES (?, ?, ?, ?)",
                 {1, "1ar-1", due, false});
    auto term = *db().queryOne("SELECT * FROM Payment_term_table WHERE [default] = TRUE");
    EXPECT_EQ(term["duedays"].integer(), 30);
    EXPECT_EQ(term["early_discount"].number(), 2.5);
    EXPECT_EQ(term["default"].boolean(), true);
    auto header = *db().queryOne("SELECT * FROM AR_header_table WHERE paid = FALSE AND due_date <= ?",
                                 {db::Date{2024, 3, 1}});
    EXPECT_EQ(header["due_date"].date(), due);
    EXPECT_EQ(header["paid"].boolean(), false);
    EXPECT_TRUE(header["invoice_date"].isNull());
}

TEST_F(DatabaseTest, insertGivesIncreasingAutonumbers) {
    const auto first = db().insert("INSERT INTO AR_header_table (company, fkey) VALUES (?, ?)",
                                   {1, "1ar-1"}, "Id");
    const auto second = db().insert("INSERT INTO AR_header_table (company, fkey) VALUES (?, ?)",
                                    {1, "1ar-2"}, "Id");
    EXPECT_GT(second, first);
    EXPECT_EQ(db().queryOne("SELECT fkey FROM AR_header_table WHERE Id = ?", {second})->at(0).text(),
              "1ar-2");
}

TEST_F(DatabaseTest, transactionRollsBackUnlessCommitted) {
    try {
        db::Transaction tx(db());
        db().execute("INSERT INTO Customer_table (customer_no) VALUES (?)", {"lost"});
        throw std::runtime_error("the save failed half way");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(db().inTransaction());
    EXPECT_EQ(count("SELECT COUNT(*) FROM Customer_table"), 0);
    {
        db::Transaction tx(db());
        db().execute("INSERT INTO Customer_table (customer_no) VALUES (?)", {"kept"});
        tx.commit();
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM Customer_table"), 1);
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
// transaction; the second asks for it under the counter policy. The sleeper stands in for
// the 0.432 s wait: it counts the waits and may let the first workstation finish.
class RowLockTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        db().execute("INSERT INTO Next_number_fkey_table (company, doctype, fkeyno) VALUES (1, ?, 7)",
                     {"ar"});
    }

    static constexpr const char* kCounter =
        "SELECT * FROM Next_number_fkey_table WHERE company = 1 AND doctype = ?";

    // The first workstation takes the counter and bumps it, leaving its transaction open.
    void holdCounter(db::Database& first) {
        first.begin(db::kCounterLock);
        first.lockRows(kCounter, {"ar"}, db::kCounterLock);
        first.execute("UPDATE Next_number_fkey_table SET fkeyno = 8 WHERE doctype = ?", {"ar"});
    }

    // The second workstation's attempt: a transaction, the lock, the counter's value.
    std::int64_t takeCounter(db::Database& second, const db::RetryPolicy& policy) {
        db::Transaction tx(second, policy);
        auto rows = second.lockRows(kCounter, {"ar"}, policy);
        const auto value = rows.at(0)["fkeyno"].integerOr(-1);
        second.execute("UPDATE Next_number_fkey_table SET fkeyno = ? WHERE doctype = ?",
                       {value + 1, "ar"});
        tx.commit();
        return value;
    }
};

TEST_F(RowLockTest, givesUpAfterThePolicysTries) {
    for (const auto& policy : {db::kCounterLock, db::kBalanceLock}) {
        auto first = database.open();
        auto second = database.open();
        holdCounter(*first);
        int waits = 0;
        second->setSleeper([&](std::chrono::milliseconds wait) {
            EXPECT_EQ(wait.count(), 432);
            ++waits;
        });
        try {
            takeCounter(*second, policy);
            ADD_FAILURE() << "the lock should have been refused";
        } catch (const db::LockTimeout& e) {
            EXPECT_EQ(e.tries(), policy.tries);
        }
        EXPECT_EQ(waits, policy.tries - 1);
        EXPECT_FALSE(second->inTransaction());
        first->rollback();
    }
    EXPECT_EQ(db().queryOne(kCounter, {"ar"})->operator[]("fkeyno").integer(), 7);
}

TEST_F(RowLockTest, succeedsWhenTheHolderFinishesInTime) {
    auto first = database.open();
    auto second = database.open();
    holdCounter(*first);
    int waits = 0;
    second->setSleeper([&](std::chrono::milliseconds) {
        if (++waits == 3) first->commit();
    });
    EXPECT_EQ(takeCounter(*second, db::kCounterLock), 8);  // the number the first one left
    EXPECT_EQ(waits, 3);
    EXPECT_EQ(db().queryOne(kCounter, {"ar"})->operator[]("fkeyno").integer(), 9);
}

TEST_F(RowLockTest, refusedLockLeavesTheTransactionUsable) {
    if (database.engine() == db::Engine::Sqlite)
        GTEST_SKIP() << "SQLite takes its lock when the transaction begins";
    auto first = database.open();
    auto second = database.open();
    holdCounter(*first);
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
