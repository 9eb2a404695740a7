// Rows handed over one at a time (`Database::forEachRow`): in the statement's order with
// its values bound, each row's values its own although one row object is refilled, and a
// connection that stays usable whatever ends the read.
#include <gtest/gtest.h>

#include <stdexcept>

#include "db/Database.h"
#include "support/TestDatabase.h"

namespace keltro {
namespace {

using db::Value;

class RowStream : public ::testing::Test {
protected:
    db::Database& db() { return database.db(); }

    void addCustomer(const std::string& no, const Value& name, const Value& limit) {
        db().execute("INSERT INTO Customer_table (customer_no, customer_name, credit_limit) VALUES (?, ?, ?)",
                     {no, name, limit});
    }

    // Each row as "no|name|limit", "-" for Null.
    std::vector<std::string> streamed(const std::string& sql, const db::Params& params) {
        std::vector<std::string> seen;
        db().forEachRow(sql, params, [&](const db::Row& row) {
            std::string line;
            for (std::size_t i = 0; i < row.size(); ++i) {
                const auto text = row.at(i).isNull() ? std::string("-") : row.at(i).textOr();
                line += (i ? "|" : "") + text;
            }
            seen.push_back(line);
        });
        return seen;
    }

    // The connection answers an ordinary query afterwards.
    void expectUsable() {
        EXPECT_EQ(db().queryOne("SELECT COUNT(*) FROM Customer_table")->at(0).integerOr(-1), customers);
    }

    test::TestDatabase database{test::Contents::Tables};
    std::int64_t customers = 0;
};

TEST_F(RowStream, givesTheRowsInOrderWithBoundValuesAndEachRowsOwnValues) {
    // A long name before a short one and a Null after text: a refilled row must not keep
    // anything of the row before.
    const std::vector<std::tuple<std::string, Value, Value>> rows = {
        {"C1", "Very long customer name, Incorporated", 500.0},
        {"C2", "O'Brien", Value()},
        {"C3", Value(), 2500.0},
        {"C4", "Skipped", 10.0},
        {"C5", "Zoë", 1000.0},
    };
    for (const auto& [no, name, limit] : rows) addCustomer(no, name, limit);
    customers = 5;

    EXPECT_EQ(streamed("SELECT customer_no, customer_name, credit_limit FROM Customer_table "
                       "WHERE customer_no <> ? ORDER BY customer_no DESC",
                       {"C4"}),
              (std::vector<std::string>{"C5|Zoë|1000", "C3|-|2500", "C2|O'Brien|-",
                                        "C1|Very long customer name, Incorporated|500"}));
    EXPECT_EQ(streamed("SELECT customer_name FROM Customer_table WHERE customer_name = ?", {"O'Brien"}),
              std::vector<std::string>{"O'Brien"});
    // The columns are found by name as in any row.
    std::vector<std::string> names;
    db().forEachRow("SELECT customer_no, credit_limit AS Credit_Limit FROM Customer_table WHERE credit_limit > ? "
                    "ORDER BY customer_no",
                    {900.0}, [&](const db::Row& row) { names.push_back(row["credit_limit"].textOr() + row["CUSTOMER_NO"].textOr()); });
    EXPECT_EQ(names, (std::vector<std::string>{"2500C3", "1000C5"}));
}

TEST_F(RowStream, anEmptyResultCallsNothing) {
    int calls = 0;
    db().forEachRow("SELECT * FROM Customer_table WHERE customer_no = ?", {"nobody"},
                    [&](const db::Row&) { ++calls; });
    EXPECT_EQ(calls, 0);
    expectUsable();
}

TEST_F(RowStream, aThrowingCallbackEndsTheReadAndLeavesTheConnectionUsable) {
    for (int i = 1; i <= 50; ++i) addCustomer("C" + std::to_string(100 + i), "n", 1.0 * i);
    customers = 50;
    const std::string sql = "SELECT customer_no FROM Customer_table ORDER BY customer_no";
    int calls = 0;
    EXPECT_THROW(db().forEachRow(sql, {}, [&](const db::Row&) {
        if (++calls == 3) throw std::runtime_error("stop");
    }),
                 std::runtime_error);
    EXPECT_EQ(calls, 3);
    expectUsable();
    // The same statement streams again from its first row, and a transaction still works.
    EXPECT_EQ(streamed(sql, {}).size(), 50u);
    db::Transaction tx(db());
    addCustomer("C999", "after", 1.0);
    tx.commit();
    ++customers;
    expectUsable();
}

TEST_F(RowStream, aStatementFailingAfterSomeRowsThrowsAndLeavesTheConnectionUsable) {
    // The third row's value makes abs() overflow on both engines, once the first two are out.
    for (const std::int64_t range : {std::int64_t{1}, std::int64_t{2}, std::int64_t{-2147483648}, std::int64_t{4}})
        db().execute("INSERT INTO AR_transaction_table (company, fkey, age_range) VALUES (1, 'k', ?)", {range});
    std::vector<std::int64_t> seen;
    EXPECT_THROW(db().forEachRow("SELECT abs(age_range * 4294967296) FROM AR_transaction_table", {},
                                 [&](const db::Row& row) { seen.push_back(row.at(0).integerOr(0)); }),
                 db::DbError);
    EXPECT_EQ(seen, (std::vector<std::int64_t>{4294967296, 8589934592}));
    expectUsable();
}

}  // namespace
}  // namespace keltro
