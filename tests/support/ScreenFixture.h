// What the invoice and receipt screen tests share: the demo company, the host's headless
// side, queries for one value, the last thing said and the books audit.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/Database.h"
#include "services/BooksAudit.h"
#include "support/HeadlessDesk.h"
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

    std::string lastSaid() const { return ui.said().empty() ? "" : ui.said().back().text; }
    void expectCleanBooks() { EXPECT_THAT(services::AuditBooks(db()), ::testing::IsEmpty()); }

    TestDatabase database{Contents::DemoCompany};
    HeadlessDesk desk{database.db()};
    services::RecordingUi& ui = desk.ui;
    services::FixedClock& clock = desk.clock;
    host::ARclass& arclass = desk.arclass;
    std::vector<framework::Notification>& notifications = desk.notifications;
};

}  // namespace keltro::test
