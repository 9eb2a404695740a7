// The example script of receipt entry on the demo company: an invoice saved and received
// from the invoice screen as the host does, part paid with the discount, the rest paid
// with an excess that becomes unapplied cash, that second receipt voided; the books audit
// (what `keltro-ar check` runs) finds nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "services/BooksAudit.h"
#include "support/Walkthrough.h"

namespace keltro::receipts {
namespace {

using ::testing::ElementsAre;

// A flag as either engine prints it: 0/1 or false/true.
bool flag(const host::Json& row, const char* column) {
    const host::Json* value = row.member(column);
    if (const bool* b = value->boolean()) return *b;
    return value->number() && *value->number() != 0;
}

// The invoice as each `sql` step shows it: "open amount paid fully_paid".
std::string invoiceState(const host::Json& rows) {
    for (const auto& row : *rows.member("rows")->array())
        if (row.text("docno") == "INV-26-00001")
            return *row.text("open_amount") + " " + std::to_string(flag(row, "paid")) + " " +
                   std::to_string(flag(row, "fully_paid"));
    return "";
}

TEST(ReceiptWalkthrough, runsCleanOnTheDemoCompany) {
    test::TestDatabase database(test::Contents::DemoCompany);
    std::vector<std::string> said, invoice, requests;
    for (const auto& event : test::runExampleScript(database.db(), "receipt-walkthrough.jsonl")) {
        const std::string kind = *event.text("event");
        if (kind == "message" || kind == "question") said.push_back(*event.text("text"));
        if (kind == "notify")
            requests.push_back(*event.text("formx") + " " + *event.text("docnox") + " " +
                               *event.text("arg2"));
        if (kind == "rows" && !invoiceState(event).empty()) invoice.push_back(invoiceState(event));
    }
    EXPECT_THAT(said,
                ElementsAre("Add new Invoice complete", "Add new Receipt complete",
                            "applied amount is invalid.", "Add new Receipt complete",
                            "Are you sure to void this receipt?", "Receipt RC-26-00002 is void."));
    EXPECT_THAT(requests, ElementsAre("Receipt This Invoice INV-26-00001 1002"));
    // Saved; part paid with its 2% discount; paid in full; the second receipt voided.
    EXPECT_THAT(invoice, ElementsAre("530 0 0", "219.4 1 0", "0 1 1", "219.4 1 0"));
    EXPECT_THAT(services::AuditBooks(database.db()), ::testing::IsEmpty());
}

}  // namespace
}  // namespace keltro::receipts
