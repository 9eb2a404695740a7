// Completing a receipt the fast receipt screen stored: shown in white on red to be applied,
// checked its own way, and posted without counting again the money the batch posted.
// The stored rows are written here as the fast receipt screen writes them.
#include "receipts/ReceiptScreenFixture.h"

namespace keltro::receipts::testing {
namespace {

using framework::Mode;
using framework::ScreenError;
using ::testing::ElementsAre;

class ReceiptFastTest : public ReceiptScreenTest {
protected:
    // The stored receipt on the screen; with a receipt number it is paid by cash under that
    // number and its first row applied.
    ARform_receipt& show(const std::string& docno, const std::string& receiptNo = "") {
        auto& screen = open();
        arclass.ARform_receipt_goto_docno(docno);
        if (receiptNo.empty()) return screen;
        screen.enter("cmbpayby", "Cash");
        screen.enter("txtrcno", receiptNo);
        screen.clickCell("dbgrid1", 0, "applied amount");
        return screen;
    }

    // Saves and gives what the screen said.
    std::vector<std::string> save(ARform_receipt& screen) {
        ui.clear();
        screen.run("&Save");
        return ui.texts();
    }

    const DocumentToPay kDiscounted{.earlyDiscount = 2.0, .discountDate = db::Date{2026, 12, 16}};
};

TEST_F(ReceiptFastTest, aStoredFastReceiptIsAppliedAndPostsOnlyWhatTheBatchDidNot) {
    const std::string other = addDocument({});
    const std::string invoice = addDocument(kDiscounted);
    const std::string receipt = storedFastReceipt(invoice);
    const std::string batchJournal = text("SELECT GLFKEY FROM Receipt_header_table");
    auto& screen = show(receipt);
    EXPECT_EQ(screen.mode(), Mode::New);
    EXPECT_EQ(screen.field("txtdocno").value, receipt);
    EXPECT_EQ(screen.field("txtdocno").foreColor, 0xFFFFFF);
    EXPECT_EQ(screen.field("txtdocno").backColor, 0x0000FF);
    EXPECT_EQ(screen.field("txtfast_docno").value, "FR-26-00001");
    ASSERT_EQ(screen.grid("dbgrid1").rows.size(), 2u);
    EXPECT_EQ(cell(screen, 0, "invoice no"), invoice);
    EXPECT_EQ(cell(screen, 1, "invoice no"), other);
    EXPECT_THROW(screen.enter("txtrcamount", "500"), ScreenError);
    EXPECT_THROW(screen.enter("cmbcustno", "1001"), ScreenError);

    screen.clickCell("dbgrid1", 0, "applied amount");
    EXPECT_THAT(save(screen), ElementsAre("please specify pay by"));
    screen.enter("cmbpayby", "Cash");
    EXPECT_THAT(save(screen), ElementsAre("please specify check number or receipt number"));
    screen.enter("txtcheck", "5521");
    EXPECT_THAT(save(screen), ElementsAre("please specify check date"));
    screen.enter("txtcheckdate", "05/12/2026");
    EXPECT_THAT(save(screen), ElementsAre("Add new Receipt complete"));

    EXPECT_EQ(screen.mode(), Mode::Browse);
    EXPECT_EQ(screen.field("txtdocno").backColor, std::nullopt);
    const auto header = db().queryOne("SELECT * FROM Receipt_header_table");
    EXPECT_FALSE((*header)["new_from_fast"].booleanOr(true));
    for (const auto& [column, value] :
         {std::pair{"docno", receipt}, {"check_no", "5521"}, {"payby", "Cash"}})
        EXPECT_EQ((*header)[column].textOr(), value) << column;
    EXPECT_DOUBLE_EQ((*header)["total_base_amount"].numberOr(), 98);
    EXPECT_EQ(paidState(invoice), (DocumentState{0, true, true, true}));
    const std::string journal = (*header)["GLFKEY"].textOr();
    EXPECT_NE(journal, batchJournal);
    EXPECT_THAT(journalLines(journal),
                ElementsAre("6100 USD 2.00 2.00 A ", "1100 USD -2.00 -2.00 A "));
    expectCleanBooks();
}

TEST_F(ReceiptFastTest, aCompletionChecksBankInvoiceDateAndRowAccounts) {
    const std::string invoice = addDocument(kDiscounted);
    EXPECT_THAT(save(show(storedFastReceipt(invoice, ""), "R-1")),
                ElementsAre("Please specify Bank account"));

    const std::string receipt = storedFastReceipt(invoice);
    auto& fast = show(receipt, "R-2");
    apply(fast, 0, "discount account", "1100");
    EXPECT_THAT(save(fast), ElementsAre("Discount account is invalid", "Add new receipt failed"));

    db().execute("UPDATE AR_transaction_table SET invoice_date = NULL WHERE docno = ?", {invoice});
    auto& undated = show(receipt, "R-2");
    EXPECT_THAT(save(undated), ElementsAre("invoice date is invalid", "Add new receipt failed"));
    EXPECT_EQ(undated.field("txtdocno").value, receipt) << "a completion keeps its number";

    EXPECT_EQ(count("SELECT COUNT(*) FROM Receipt_header_table WHERE new_from_fast = TRUE"), 2);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Receipt_transaction_table"), 0);
    EXPECT_EQ(paidState(invoice), (DocumentState{100, false, false, false}));
    expectCleanBooks();
}

}  // namespace
}  // namespace keltro::receipts::testing
