// A document's paid flags as its lines are settled and given back one step at a time: on
// its header, and on the sales module's header of a sales invoice, the flags follow
// every line of the document, not only the one the step touched.
#include <gtest/gtest.h>

#include "receipts/ReceiptApplication.h"
#include "receipts/ReceiptScreenFixture.h"
#include "receipts/SettledDocuments.h"

namespace keltro::receipts::testing {
namespace {

class SettledDocumentsTest : public ReceiptScreenTest {
protected:
    // The document's header flags and its sales order's, "paid fully_paid" each.
    std::pair<std::string, std::string> flags() {
        const auto text = [&](const char* table) {
            const auto row = db().queryOne(std::string("SELECT paid, fully_paid FROM ") + table + " WHERE docno = ?",
                                           {docno});
            return std::to_string((*row)["paid"].booleanOr(false)) + " " +
                   std::to_string((*row)["fully_paid"].booleanOr(false));
        };
        return {text("AR_header_table"), text("SO_header_table")};
    }

    std::string docno;
};

TEST_F(SettledDocumentsTest, flagsFollowEveryLineOfTheDocument) {
    docno = addDocument({.lines = {60, 40}, .sourceForm = kSalesInvoiceForm});
    db().execute(
        "INSERT INTO SO_header_table (company, doctype, docno, fkey, customer_no, paid, fully_paid) "
        "SELECT company, doctype, docno, fkey, customer_no, FALSE, FALSE FROM AR_header_table WHERE docno = ?",
        {docno});
    struct Step {
        const char* what;
        bool settle;  // or give back
        Settlement settlement;
        const char* flags;  // "paid fully_paid", the same on both headers
    };
    const Step steps[] = {
        {"part of the first line", true, {docno, "1", 20}, "1 0"},
        {"the rest of it, a discount and a write-off", true, {docno, "1", 30, 5, 5}, "1 0"},
        {"the second line in full", true, {docno, "2", 40}, "1 1"},
        {"the second line given back", false, {docno, "2", 40}, "1 0"},
        {"the first line's rest given back", false, {docno, "1", 30, 5, 5}, "1 0"},
        {"the first line's part given back", false, {docno, "1", 20}, "0 0"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        db::Transaction tx(db());
        if (step.settle)
            ASSERT_TRUE(settleLine(db(), ui, step.settlement)) << ::testing::PrintToString(ui.texts());
        else
            restoreLine(db(), step.settlement);
        tx.commit();
        EXPECT_EQ(flags(), std::pair(std::string(step.flags), std::string(step.flags)));
    }
    EXPECT_EQ(paidState(docno, "1"), (DocumentState{60, false, false, false}));
    EXPECT_EQ(paidState(docno, "2"), (DocumentState{40, false, false, false}));
}

}  // namespace
}  // namespace keltro::receipts::testing
