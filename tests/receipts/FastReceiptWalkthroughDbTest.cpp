// The example script of a morning's mail: an invoice, a fast receipt batch of the four
// kinds of line, its documents generated, the invoice's receipt completed with its early
// payment discount, and a miscellaneous receipt.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "services/BooksAudit.h"
#include "support/Walkthrough.h"

namespace keltro::receipts {
namespace {

using ::testing::ElementsAre;

TEST(FastReceiptWalkthrough, theBankHoldsTheMoneyReceivedOnce) {
    test::TestDatabase database(test::Contents::DemoCompany);
    std::vector<std::string> messages;
    for (const auto& event : test::runExampleScript(database.db(), "fast-receipt-walkthrough.jsonl"))
        if (event.text("event") == "message") messages.push_back(*event.text("text"));
    EXPECT_THAT(messages, ElementsAre("Add new Invoice complete", "Add new Fast Receipt complete",
                                      "Generate Receipts complete", "Add new Receipt complete",
                                      "Receipt complete"));
    db::Database& db = database.db();
    const auto scalar = [&](const char* sql) { return db.queryOne(sql)->at(0); };
    // 1,038.80 + 250.00 + 500.00 + 75.50 in the batch, 120.00 on its own.
    EXPECT_NEAR(
        scalar("SELECT SUM(base_amount) FROM GL_transaction_table WHERE accno = '1010'").numberOr(),
        1984.30, 0.001);
    EXPECT_DOUBLE_EQ(scalar("SELECT open_amount FROM AR_transaction_table WHERE docno = "
                            "'INV-26-00001'")
                         .numberOr(-1),
                     0);
    EXPECT_DOUBLE_EQ(scalar("SELECT open_amount FROM AR_transaction_table WHERE docno = "
                            "'UA-26-00001'")
                         .numberOr(),
                     -250);
    EXPECT_THAT(services::AuditBooks(db), ::testing::IsEmpty());
}

}  // namespace
}  // namespace keltro::receipts
