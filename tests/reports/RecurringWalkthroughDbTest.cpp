// The example script of recurring invoices on the demo company: a monthly and a quarterly
// definition entered on the invoice screen, the due list, one generation run, and the due
// list again, which then offers nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "services/BooksAudit.h"
#include "support/Walkthrough.h"

namespace keltro::reports {
namespace {

using ::testing::ElementsAre;

TEST(RecurringWalkthrough, definesListsGeneratesAndListsNothingAgain) {
    test::TestDatabase database(test::Contents::DemoCompany);
    std::vector<std::string> messages;
    std::vector<std::size_t> dueRows;
    for (const auto& event : test::runExampleScript(database.db(), "recurring-walkthrough.jsonl")) {
        if (event.text("event") == "message") messages.push_back(*event.text("text"));
        if (event.text("event") == "screen" &&
            event.text("screen") == "ARreport_recur_inquiry")
            dueRows.push_back(event.member("grids")->member("dbgrid1")->array()->size());
    }
    EXPECT_THAT(messages, ElementsAre("Add new Recurring invoice complete",
                                      "Add new Recurring invoice complete",
                                      "Generate invoices complete"));
    EXPECT_THAT(dueRows, ElementsAre(2u, 0u));
    db::Database& db = database.db();
    const auto generated = db.query(
        "SELECT customer_no, invoice_date, recur_no, Source, [month], [year] FROM AR_header_table "
        "ORDER BY customer_no");
    ASSERT_EQ(generated.size(), 2u);
    EXPECT_EQ(generated[0]["customer_no"].textOr(), "1001");
    EXPECT_EQ(generated[0]["invoice_date"].date(), (db::Date{2026, 12, 15}));
    EXPECT_EQ(generated[1]["invoice_date"].date(), (db::Date{2026, 12, 31}));
    for (const auto& row : generated) {
        EXPECT_EQ(row["Source"].textOr(), "AR-RECUR");
        EXPECT_EQ(row["month"].textOr(), "12");
        EXPECT_EQ(row["year"].textOr(), "2026");
    }
    // 250 + 80 at 6% and 1,200 at 6%, owed once each.
    const auto owed = db.queryOne("SELECT SUM(open_amount) FROM AR_transaction_table");
    EXPECT_NEAR(owed->at(0).numberOr(0), 349.80 + 1272.00, 1e-9);
    EXPECT_THAT(services::AuditBooks(db), ::testing::IsEmpty());
}

}  // namespace
}  // namespace keltro::reports
