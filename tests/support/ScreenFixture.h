// What the invoice and receipt screen tests share: the demo company, the host's headless
// side, queries for one value, the last thing said and the books audit.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "db/Database.h"
#include "receipts/ReceiptApplication.h"
#include "services/DateFormat.h"
#include "services/BooksAudit.h"
#include "support/FailingDatabase.h"
#include "support/HeadlessDesk.h"
#include "support/TableSnapshot.h"
#include "support/TestDatabase.h"

namespace keltro::test {

class ScreenFixture : public ::testing::Test {
protected:
    void useDatabase(db::Database& db) { desk.useDatabase(db); }
    db::Database& db() { return database.db(); }

    // The value of the query's first column in its first row.
    db::Value scalar(const std::string& sql, const db::Params& params = {}) {
        const auto row = db().queryOne(sql, params);
        return row ? row->at(0) : db::Value();
    }
    std::int64_t count(const std::string& sql, const db::Params& params = {}) {
        return scalar(sql, params).integerOr(-1);
    }
    double number(const std::string& sql, const db::Params& params = {}) {
        return scalar(sql, params).numberOr(0);
    }
    std::string text(const std::string& sql, const db::Params& params = {}) {
        return scalar(sql, params).textOr();
    }

    // Everything a save, edit, void or generation may change, as numbers.
    std::vector<double> books() {
        std::vector<double> values;
        for (const char* sql :
             {"SELECT COUNT(*) FROM AR_header_table", "SELECT COUNT(*) FROM AR_transaction_table",
              "SELECT COALESCE(SUM(gross_amount), 0) FROM AR_transaction_table",
              "SELECT COUNT(*) FROM AR_header_table WHERE void = TRUE",
              "SELECT COUNT(*) FROM GL_header_table", "SELECT COUNT(*) FROM GL_transaction_table",
              "SELECT COUNT(*) FROM GL_header_table WHERE Reverse = TRUE",
              "SELECT COALESCE(SUM(ABS(amount)), 0) FROM Balance_table",
              "SELECT COALESCE(SUM(ABS(ytd_balance)) + SUM(ABS(e_ytd_balance)), 0) "
              "FROM Balance_period_table",
              "SELECT SUM(fkeyno) FROM Next_number_fkey_table",
              "SELECT SUM(nextdocno) FROM Docno_master_table",
              "SELECT COALESCE(SUM(ABS(owing_balance)), 0) FROM Customer_table"})
            values.push_back(number(sql));
        return values;
    }

    // "accno currency amount base ledger rate" of each line of the journal.
    std::vector<std::string> journalLines(const std::string& journal) {
        std::vector<std::string> lines;
        for (const auto& row : db().query(
                 "SELECT * FROM GL_transaction_table WHERE fkey = ? ORDER BY lineno", {journal}))
            lines.push_back(row["accno"].textOr() + " " + row["Currency"].textOr() + " " +
                            services::FormatAmount(row["amount"].numberOr()) + " " +
                            services::FormatAmount(row["base_amount"].numberOr()) + " " +
                            row["ledgertype"].textOr() + " " +
                            receipts::rateText(row["exchange_rate"].number()));
        return lines;
    }

    std::string lastSaid() const { return ui.said().empty() ? "" : ui.said().back().text; }
    void expectCleanBooks() { EXPECT_THAT(services::AuditBooks(db()), ::testing::IsEmpty()); }

    // Every row of `tables`, as text, in a stable order.
    std::vector<std::string> rowsOf(const std::vector<std::string>& tables) {
        return tableRows(db(), tables);
    }

    // Runs `step` over a database failing at write 1, 2, 3 … until it says `succeeded`;
    // every failure must say `failed` and leave the rows of `tables` as they were. Gives
    // the number of failures.
    int expectAllOrNothing(const std::vector<std::string>& tables, const std::function<void()>& step,
                           const std::string& failed, const std::string& succeeded) {
        const auto before = rowsOf(tables);
        for (int failAt = 1; failAt < 200; ++failAt) {
            FailingDatabase failing(db(), failAt);
            useDatabase(failing);
            ui.clear();
            step();
            useDatabase(db());
            const auto said = ui.texts();
            if (std::ranges::find(said, succeeded) != said.end()) return failAt - 1;
            EXPECT_THAT(said, ::testing::Contains(failed)) << "write " << failAt;
            EXPECT_EQ(rowsOf(tables), before) << "write " << failAt;
        }
        ADD_FAILURE() << "never got through";
        return 0;
    }

    TestDatabase database{Contents::DemoCompany};
    HeadlessDesk desk{database.db()};
    services::RecordingUi& ui = desk.ui;
    services::FixedClock& clock = desk.clock;
    host::ARclass& arclass = desk.arclass;
    std::vector<framework::Notification>& notifications = desk.notifications;
};

}  // namespace keltro::test
