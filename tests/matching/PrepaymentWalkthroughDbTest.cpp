// The example script of prepayments on the demo company: a cheque prepayment kept, a
// euro one voided as unused, the records walked back, no step refused.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "services/BooksAudit.h"
#include "support/Walkthrough.h"

namespace keltro::matching {
namespace {

using ::testing::ElementsAre;

TEST(PrepaymentWalkthrough, runsCleanOnTheDemoCompany) {
    test::TestDatabase database(test::Contents::DemoCompany);
    std::vector<std::string> messages, shownKeys;
    for (const auto& event :
         test::runExampleScript(database.db(), "prepayment-walkthrough.jsonl")) {
        if (event.text("event") == "message") messages.push_back(*event.text("text"));
        if (event.text("event") == "screen")
            shownKeys.push_back(*event.member("fields")->text("txtfkey"));
    }
    EXPECT_THAT(messages, ElementsAre("Add new Prepayment complete", "Add new Prepayment complete",
                                      "Prepayment PP-26-00002 is void."));
    EXPECT_THAT(shownKeys, ElementsAre("1rpp-1", "1rpp-1"));
    db::Database& db = database.db();
    const auto open = db.query(
        "SELECT docno, open_amount FROM AR_transaction_table WHERE void = FALSE AND paid = FALSE");
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0]["docno"].textOr(), "PP-26-00001");
    EXPECT_DOUBLE_EQ(open[0]["open_amount"].numberOr(), -500);
    EXPECT_THAT(services::AuditBooks(db), ::testing::IsEmpty());
}

}  // namespace
}  // namespace keltro::matching
