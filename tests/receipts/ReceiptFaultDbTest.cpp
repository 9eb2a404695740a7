// All or nothing: the database fails at the first, second, third … write of a receipt's
// save or void, and each time nothing of it survives — no receipt, line, document change,
// unapplied cash, journal, balance or number — and the screen says it failed.
#include "receipts/ReceiptScreenFixture.h"

#include <algorithm>
#include <functional>

#include "support/FailingDatabase.h"

namespace keltro::receipts::testing {
namespace {

using test::FailingDatabase;

class ReceiptFaultTest : public ReceiptScreenTest {
protected:
    // Every row of every table a save or a void may change, as text, in a stable order.
    std::vector<std::string> books() {
        const char* tables[] = {
            "Receipt_header_table",   "Receipt_transaction_table", "AR_header_table",
            "AR_transaction_table",   "GL_header_table",           "GL_transaction_table",
            "Balance_table",          "Balance_period_table",      "Account_currency_table",
            "Next_number_fkey_table", "Docno_master_table"};
        std::vector<std::string> rows;
        for (const char* table : tables)
            for (const auto& row : db().query(std::string("SELECT * FROM ") + table)) {
                std::string text = table;
                for (std::size_t i = 0; i < row.size(); ++i)
                    text += "|" + row.at(i).textOr("null");
                rows.push_back(std::move(text));
            }
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    // Runs `step` over a database failing at write 1, 2, 3 … until it says `succeeded`;
    // every failure must say `failed` and leave the books as they were. Gives the number
    // of failures.
    int expectAllOrNothing(const std::function<void()>& step, const std::string& failed,
                           const std::string& succeeded) {
        const auto before = books();
        for (int failAt = 1; failAt < 200; ++failAt) {
            FailingDatabase failing(db(), failAt);
            useDatabase(failing);
            ui.clear();
            step();
            useDatabase(db());
            const auto said = ui.texts();
            if (std::find(said.begin(), said.end(), succeeded) != said.end()) return failAt - 1;
            EXPECT_THAT(said, ::testing::Contains(failed)) << "write " << failAt;
            EXPECT_EQ(books(), before) << "write " << failAt;
        }
        ADD_FAILURE() << "never got through";
        return 0;
    }

    // A receipt with a discount, a credit note and unapplied cash: every kind of write.
    void enterReceipt(ARform_receipt& screen) {
        screen.clickCell("dbgrid1", 0, "applied amount");
        apply(screen, 1, "applied amount", "-20");
        cash(screen, "100");
    }
};

TEST_F(ReceiptFaultTest, aSaveThatFailsAnywhereLeavesNothing) {
    const std::string invoice =
        addDocument({.earlyDiscount = 2.0, .discountDate = db::Date{2026, 12, 16}});
    addDocument({.doctype = "cn", .lines = {20}});
    const int failures = expectAllOrNothing(
        [&] {
            auto& screen = receiptFor(invoice);
            enterReceipt(screen);
            screen.run("&Save");
            if (lastSaid() == "Add new receipt failed") {
                EXPECT_EQ(screen.field("txtdocno").value, "** New **");
            }
        },
        "Add new receipt failed", "Add new Receipt complete");
    EXPECT_GT(failures, 10);
    const auto header = db().queryOne("SELECT * FROM Receipt_header_table");
    EXPECT_DOUBLE_EQ((*header)["Unapplied_amount"].numberOr(), 22);
    // The journal key is written after the commit, by the last write: when that one fails
    // the receipt stands, saved, without it.
    EXPECT_TRUE((*header)["GLFKEY"].isNull());
    EXPECT_THAT(ui.texts().back(), ::testing::HasSubstr("injected failure"));
    expectCleanBooks();
}

TEST_F(ReceiptFaultTest, aVoidThatFailsAnywhereLeavesNothing) {
    const std::string invoice =
        addDocument({.earlyDiscount = 2.0, .discountDate = db::Date{2026, 12, 16}});
    addDocument({.doctype = "cn", .lines = {20}});
    auto& screen = receiptFor(invoice);
    enterReceipt(screen);
    screen.run("&Save");
    ASSERT_EQ(lastSaid(), "Add new Receipt complete");
    const std::string receipt = screen.field("txtdocno").value;
    const int failures = expectAllOrNothing(
        [&] {
            auto& shown = open();
            arclass.ARform_receipt_goto_docno(receipt);
            ui.queueAnswer(true);
            shown.run("&Void Receipt");
        },
        "Void Receipt failed", "Receipt " + receipt + " is void.");
    EXPECT_GT(failures, 8);
    EXPECT_EQ(paidState(invoice), (DocumentState{100, false, false, false}));
    expectCleanBooks();
}

}  // namespace
}  // namespace keltro::receipts::testing
