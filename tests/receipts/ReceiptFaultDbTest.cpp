// All or nothing: the database fails at the first, second, third … write of a receipt's
// save or void, and each time nothing of it survives — no receipt, line, document change,
// unapplied cash, journal, balance or number — and the screen says it failed.
#include "receipts/ReceiptScreenFixture.h"

#include <algorithm>
#include <functional>

#include "support/FailingDatabase.h"
#include "support/TableSnapshot.h"

namespace keltro::receipts::testing {
namespace {

class ReceiptFaultTest : public ReceiptScreenTest {
protected:
    // Every row of every table a save or a void may change, as text, in a stable order.
    std::vector<std::string> books() {
        return test::tableRows(
            db(), {"Receipt_header_table", "Receipt_transaction_table", "AR_header_table",
                   "AR_transaction_table", "GL_header_table", "GL_transaction_table",
                   "Balance_table", "Balance_period_table", "Account_currency_table",
                   "Next_number_fkey_table", "Docno_master_table"});
    }

    // Runs `step` over a database failing at write 1, 2, 3 … until it says `succeeded`;
    // every failure must say `failed` and leave the books as they were. Gives the number
    // of failures.
    int expectAllOrNothing(const std::function<void()>& step, const std::string& failed,
                           const std::string& succeeded) {
        const auto before = books();
        for (int failAt = 1; failAt < 200; ++failAt) {
            test::FailingDatabase failing(db(), failAt);
            useDatabase(failing);
            ui.clear();
            step();
            useDatabase(db());
            const auto said = ui.texts();
            if (std::ranges::find(said, succeeded) != said.end()) return failAt - 1;
            EXPECT_THAT(said, ::testing::Contains(failed)) << "write " << failAt;
            EXPECT_EQ(books(), before) << "write " << failAt;
        }
        ADD_FAILURE() << "never got through";
        return 0;
    }
};

// A receipt with a discount, a credit note and unapplied cash makes every kind of write.
// Saved once, it is voided through the failures; then the same documents are received
// again through the failures.
TEST_F(ReceiptFaultTest, aVoidOrASaveThatFailsAnywhereLeavesNothing) {
    const std::string invoice =
        addDocument({.earlyDiscount = 2.0, .discountDate = db::Date{2026, 12, 16}});
    addDocument({.doctype = "cn", .lines = {20}});
    const auto enterReceipt = [&]() -> ARform_receipt& {
        auto& screen = receiptFor(invoice);
        screen.clickCell("dbgrid1", 0, "applied amount");
        apply(screen, 1, "applied amount", "-20");
        cash(screen, "100");
        return screen;
    };
    auto& saved = enterReceipt();
    saved.run("&Save");
    ASSERT_EQ(lastSaid(), "Add new Receipt complete");
    const std::string receipt = saved.field("txtdocno").value;
    const int voidFailures = expectAllOrNothing(
        [&] {
            auto& shown = open();
            arclass.ARform_receipt_goto_docno(receipt);
            ui.queueAnswer(true);
            shown.run("&Void Receipt");
        },
        "Void Receipt failed", "Receipt " + receipt + " is void.");
    EXPECT_GT(voidFailures, 8);
    EXPECT_EQ(paidState(invoice), (DocumentState{100, false, false, false}));

    const int saveFailures = expectAllOrNothing(
        [&] {
            auto& screen = enterReceipt();
            screen.run("&Save");
            if (lastSaid() == "Add new receipt failed") {
                EXPECT_EQ(screen.field("txtdocno").value, "** New **");
            }
        },
        "Add new receipt failed", "Add new Receipt complete");
    EXPECT_GT(saveFailures, 10);
    const auto header =
        db().queryOne("SELECT * FROM Receipt_header_table WHERE docno <> ?", {receipt});
    EXPECT_DOUBLE_EQ((*header)["Unapplied_amount"].numberOr(), 22);
    // The journal key is written after the commit, by the last write: when that one fails
    // the receipt stands, saved, without it.
    EXPECT_TRUE((*header)["GLFKEY"].isNull());
    EXPECT_THAT(ui.texts().back(), ::testing::HasSubstr("injected failure"));
    expectCleanBooks();
}

}  // namespace
}  // namespace keltro::receipts::testing
