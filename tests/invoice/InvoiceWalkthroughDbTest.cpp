// The example script of invoice entry on the demo company: two invoices, a debit note and
// a credit note saved, the first invoice voided, the records walked, no step refused.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "services/BooksAudit.h"
#include "support/Walkthrough.h"

namespace keltro::invoice {
namespace {

using ::testing::ElementsAre;

TEST(InvoiceWalkthrough, runsCleanOnTheDemoCompany) {
    test::TestDatabase database(test::Contents::DemoCompany);
    std::vector<std::string> messages, shownKeys;
    for (const auto& event : test::runExampleScript(database.db(), "invoice-walkthrough.jsonl")) {
        if (event.text("event") == "message") messages.push_back(*event.text("text"));
        if (event.text("event") == "screen")
            shownKeys.push_back(*event.member("fields")->text("txtfkey"));
    }
    EXPECT_THAT(messages, ElementsAre("Add new Invoice complete", "Add new Invoice complete",
                                      "Add new Debit Note complete",
                                      "Add new Credit Note complete", "Void invoice complete"));
    // After the void on the first invoice, previous stays, next goes to the second and
    // stops there; the credit note is the last screen shown.
    EXPECT_THAT(shownKeys, ElementsAre("1ar-1", "1ar-1", "1ar-2", "1cn-1"));
    EXPECT_THAT(services::AuditBooks(database.db()), ::testing::IsEmpty());
}

}  // namespace
}  // namespace keltro::invoice
