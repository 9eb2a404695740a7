// The example script of receipt entry on the demo company: an invoice saved and received
// from the invoice screen as the host does (the request it sends is InvoiceNavigationDbTest's),
// part paid with the discount, the rest paid with an excess that becomes unapplied cash,
// that second receipt voided; the books audit (what `keltro-ar check` runs) finds nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "services/BooksAudit.h"
#include "support/Walkthrough.h"

namespace keltro::receipts {
namespace {

using ::testing::ElementsAre;

// A flag as either engine prints it: 0/1 or false/true.
std::string flag(const host::Json& row, const char* column) {
    const host::Json* value = row.member(column);
    return value->boolean() ? std::to_string(*value->boolean())
                            : std::to_string(value->number() && *value->number() != 0);
}

TEST(ReceiptWalkthrough, runsCleanOnTheDemoCompany) {
    test::TestDatabase database(test::Contents::DemoCompany);
    std::vector<std::string> said, invoice;
    for (const auto& event : test::runExampleScript(database.db(), "receipt-walkthrough.jsonl")) {
        const std::string kind = *event.text("event");
        if (kind == "message" || kind == "question") said.push_back(*event.text("text"));
        if (kind != "rows") continue;
        // The invoice as each `sql` step shows it: "open amount paid fully_paid".
        for (const auto& row : *event.member("rows")->array())
            if (row.text("docno") == "INV-26-00001") {
                invoice.push_back(*row.text("open_amount") + " " + flag(row, "paid") + " " +
                                  flag(row, "fully_paid"));
                break;
            }
    }
    EXPECT_THAT(said,
                ElementsAre("Add new Invoice complete", "Add new Receipt complete",
                            "applied amount is invalid.", "Add new Receipt complete",
                            "Are you sure to void this receipt?", "Receipt RC-26-00002 is void."));
    // Saved; part paid with its 2% discount; paid in full; the second receipt voided.
    EXPECT_THAT(invoice, ElementsAre("530 0 0", "219.4 1 0", "0 1 1", "219.4 1 0"));
    EXPECT_THAT(services::AuditBooks(database.db()), ::testing::IsEmpty());
}

}  // namespace
}  // namespace keltro::receipts
