// The example script of an advance settled by matching: a prepayment recorded, an invoice
// issued, the prepayment matched against it, and a second, unused prepayment voided.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "services/BooksAudit.h"
#include "support/Walkthrough.h"

namespace keltro::matching {
namespace {

using ::testing::ElementsAre;

TEST(PrepaymentMatchingWalkthrough, anAdvanceSettlesPartOfAnInvoice) {
    test::TestDatabase database(test::Contents::DemoCompany);
    std::vector<std::string> messages;
    for (const auto& event :
         test::runExampleScript(database.db(), "prepayment-matching-walkthrough.jsonl"))
        if (event.text("event") == "message") messages.push_back(*event.text("text"));
    EXPECT_THAT(messages, ElementsAre("Add new Prepayment complete", "Add new Prepayment complete",
                                      "Add new Invoice complete", "Add new Matching complete",
                                      "Prepayment PP-26-00002 is void."));
    db::Database& db = database.db();
    const auto open = [&](const char* docno) {
        return db.queryOne("SELECT open_amount FROM AR_transaction_table WHERE docno = ?", {docno})
            ->at(0)
            .numberOr(-1);
    };
    EXPECT_DOUBLE_EQ(open("PP-26-00001"), 0);      // the advance is used up
    EXPECT_DOUBLE_EQ(open("INV-26-00001"), 560);   // 1,060.00 less the advance
    EXPECT_DOUBLE_EQ(open("PP-26-00002"), -200);   // voided as it stood
    EXPECT_THAT(services::AuditBooks(db), ::testing::IsEmpty());
}

}  // namespace
}  // namespace keltro::matching
