// The invoice screen on the demo company, opened by ARclass as the host opens it, with a
// person who answers from a queue and a clock stopped on 6 December 2026.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/Database.h"
#include "host/ARclass.h"
#include "host/ScreenFactory.h"
#include "invoice/ARform_invoice.h"
#include "services/BooksAudit.h"
#include "services/Clock.h"
#include "services/Ui.h"
#include "support/HeadlessDesk.h"
#include "support/TestDatabase.h"

namespace keltro::invoice::testing {

inline constexpr db::Date kToday = test::kDemoToday;

// A line as a person types it: description, then the amount (taxable, or gross when
// `gross`), the tax code and the sales account.
struct TypedLine {
    std::string description;
    std::string amount;
    std::string taxCode = "S1";
    std::string salesAccount = "4000";
    bool gross = false;
};

class InvoiceScreenTest : public ::testing::Test {
protected:
    void useDatabase(db::Database& db) { desk.useDatabase(db); }

    db::Database& db() { return database.db(); }

    // Opens the screen as the host does ("cn", "dn" or nothing).
    ARform_invoice& open(const std::optional<std::string>& doctypex = std::nullopt) {
        arclass.showform_ARform_invoice(doctypex);
        return dynamic_cast<ARform_invoice&>(*arclass.referencedScreen("ARform_invoice"));
    }

    // "&New" on the screen, then the customer.
    static void startDocument(ARform_invoice& screen, const std::string& customer) {
        if (screen.mode() != framework::Mode::New) screen.run("&New");
        screen.enter("cmbcustno", customer);
    }

    static void typeLine(ARform_invoice& screen, std::size_t row, const TypedLine& line) {
        screen.enterCell("dbgrid1", row, "description", line.description);
        screen.enterCell("dbgrid1", row, "tax code", line.taxCode);
        screen.enterCell("dbgrid1", row, line.gross ? "gross amount" : "taxable amount",
                         line.amount);
        screen.enterCell("dbgrid1", row, "sales account", line.salesAccount);
    }

    // A new document of the screen's kind for `customer` with `lines`, saved.
    void enterAndSave(ARform_invoice& screen, const std::string& customer,
                      const std::vector<TypedLine>& lines) {
        startDocument(screen, customer);
        for (std::size_t row = 0; row < lines.size(); ++row) typeLine(screen, row, lines[row]);
        screen.run("&Save");
    }

    std::string cell(const ARform_invoice& screen, std::size_t row, const std::string& caption) {
        return screen.grid("dbgrid1").rows.at(row).at(caption);
    }

    std::int64_t count(const std::string& sql, const db::Params& params = {}) {
        return db().queryOne(sql, params)->at(0).integerOr(-1);
    }

    double number(const std::string& sql, const db::Params& params = {}) {
        return db().queryOne(sql, params)->at(0).numberOr(0);
    }

    std::string text(const std::string& sql, const db::Params& params = {}) {
        return db().queryOne(sql, params)->at(0).textOr();
    }

    std::string lastSaid() const { return ui.said().empty() ? "" : ui.said().back().text; }

    void expectCleanBooks() { EXPECT_THAT(services::AuditBooks(db()), ::testing::IsEmpty()); }

    test::TestDatabase database{test::Contents::DemoCompany};
    test::HeadlessDesk desk{database.db()};
    services::RecordingUi& ui = desk.ui;
    services::FixedClock& clock = desk.clock;
    host::ARclass& arclass = desk.arclass;
    std::vector<framework::Notification>& notifications = desk.notifications;
};

}  // namespace keltro::invoice::testing
