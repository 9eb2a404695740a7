// The ledger tests' common ground: the demo company (base currency USD, fiscal years
// 2025 to 2027 by calendar month, all balances zero, current earnings 3900, realized gain
// 7000 and loss 7010) on the engine of this run, today 6 December 2026, and readers of
// the balances a posting moves.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "db/Database.h"
#include "schema/DemoCompany.h"
#include "schema/Schema.h"
#include "services/Balances.h"
#include "services/Clock.h"
#include "services/JournalLines.h"
#include "services/JournalWriter.h"
#include "services/PeriodBalances.h"
#include "services/Ui.h"
#include "support/TestDatabase.h"

namespace keltro::test {

inline constexpr db::Date kToday{2026, 12, 6};

class LedgerTest : public ::testing::Test {
protected:
    void SetUp() override {
        db::Transaction tx(db());
        schema::createSchema(db());
        schema::addDemoCompany(db(), kToday);
        tx.commit();
    }

    db::Database& db() { return database.db(); }

    // `amount` and `base_amount` of a running balance.
    std::pair<double, double> running(const std::string& ledgertype, const std::string& accno,
                                      const std::string& currency = "USD") {
        const auto row = db().queryOne(
            "SELECT amount, base_amount FROM Balance_table WHERE company = 1 AND ledgertype = ? "
            "AND accno = ? AND currency = ?",
            {ledgertype, accno, currency});
        if (!row)
            ADD_FAILURE() << "no running row " << ledgertype << " " << accno << " " << currency;
        return row ? std::pair{(*row)["amount"].numberOr(0.0), (*row)["base_amount"].numberOr(0.0)}
                   : std::pair{0.0, 0.0};
    }

    services::PeriodBalances period(const std::string& fyear, const std::string& ledgertype,
                                    const std::string& accno, const std::string& currency = "USD") {
        const auto row = db().queryOne(
            "SELECT * FROM Balance_period_table WHERE fyear = ? AND company = 1 AND ledgertype = ? "
            "AND accno = ? AND currency = ?",
            {fyear, ledgertype, accno, currency});
        if (!row) ADD_FAILURE() << "no period row " << fyear << " " << ledgertype << " " << accno;
        return row ? services::ReadPeriodBalances(*row) : services::PeriodBalances{};
    }

    std::int64_t count(const std::string& sql, const db::Params& params = {}) {
        return db().queryOne(sql, params)->at(0).integerOr(-1);
    }

    // Posts in a transaction of its own, committed only when the posting succeeds.
    std::optional<std::string> post(const services::JournalHeader& header,
                                    const services::JournalEntries& entries,
                                    const services::JournalOptions& options = {}) {
        db::Transaction tx(db());
        auto key = services::PostJournal(context, header, entries, options);
        if (key) tx.commit();
        return key;
    }

    // A header of 2026, by default in USD and period 3.
    static services::JournalHeader header(std::string currency = "USD",
                                          std::optional<double> rate = std::nullopt,
                                          std::string period = "3") {
        return {.source = "AR-INVOICE", .sourceForm = "A/R Invoice Entry",
                .sourceDocno = "INV-26-00001", .date = {2026, 3, 10}, .period = std::move(period),
                .fyear = "2026", .currency = std::move(currency), .exchangeRate = rate,
                .remark = "Invoice no. INV-26-00001"};
    }

    TestDatabase database;
    services::RecordingUi ui;
    services::FixedClock clock{kToday};
    services::LedgerContext ledger{database.db(), ui};
    services::JournalContext context{ledger, clock, "admin", "USD"};
};

// Every row of the tables a posting writes, as sorted text: what a rolled-back save must
// leave as it found.
inline std::vector<std::vector<std::string>> postingSnapshot(db::Database& db) {
    std::vector<std::vector<std::string>> snapshot;
    for (const char* table : {"GL_header_table", "GL_transaction_table", "Balance_table",
                              "Balance_period_table", "Docno_master_table",
                              "Next_number_fkey_table", "Account_currency_table"}) {
        auto& rows = snapshot.emplace_back();
        for (const auto& row : db.query(std::string("SELECT * FROM ") + table)) {
            std::string text;
            for (const auto& value : row.values()) text += value.text().value_or("<null>") + "|";
            rows.push_back(text);
        }
        std::sort(rows.begin(), rows.end());
    }
    return snapshot;
}

}  // namespace keltro::test
