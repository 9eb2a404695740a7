// Moving between documents on the invoice screen, the kinds of the "&View" menu, the
// open-document list, and the requests the screen sends to the host.
#include "invoice/InvoiceScreenFixture.h"
#include "store/ArDocument.h"

namespace keltro::invoice::testing {
namespace {

using framework::Mode;
using ::testing::ElementsAre;

class InvoiceNavigationTest : public InvoiceScreenTest {
protected:
    // Three invoices with keys 1, 2 and 4 (key 3 went to a save rolled back elsewhere).
    ARform_invoice& threeInvoices() {
        auto& screen = open();
        for (const char* customer : {"1001", "1009"})
            enterAndSave(screen, customer, {{"Paper", "10"}});
        db().execute("UPDATE Next_number_fkey_table SET fkeyno = fkeyno + 1 WHERE doctype = 'ar'");
        enterAndSave(screen, "1001", {{"Toner", "20"}});
        return screen;
    }

    std::string shownKey(const ARform_invoice& screen) { return screen.field("txtfkey").value; }

    // "formx docnox" of each request the screen sent the host.
    std::vector<std::string> requests() {
        std::vector<std::string> sent;
        for (const auto& n : notifications) sent.push_back(n.formx + " " + n.docnox);
        return sent;
    }
};

// Records are walked by key and stop at both ends; the host and the number box jump to a
// document of any kind.
TEST_F(InvoiceNavigationTest, recordsAreWalkedByKeyAndJumpedToByNumberAndByKey) {
    auto& screen = threeInvoices();
    const std::pair<const char*, const char*> steps[] = {
        {"&Last record", "1ar-4"},     {"&Previous record", "1ar-2"}, {"&Previous record", "1ar-1"},
        {"&Previous record", "1ar-1"}, {"&Next record", "1ar-2"},     {"&Next record", "1ar-4"},
        {"&Next record", "1ar-4"}};
    for (const auto& [caption, key] : steps) {
        screen.run(caption);
        EXPECT_EQ(shownKey(screen), key) << caption;
    }
    screen.run("&New");
    screen.run("&Previous record");  // from an unsaved document: the last one
    EXPECT_EQ(shownKey(screen), "1ar-4");
    EXPECT_EQ(screen.mode(), Mode::Browse);

    auto& note = open(std::string("cn"));
    enterAndSave(note, "1001", {{"Return", "5"}});
    EXPECT_EQ(&note, arclass.referencedScreen("ARform_invoice").get());

    arclass.ARform_invoice_goto_docno("INV-26-00002");
    EXPECT_EQ(note.field("txtfkey").value, "1ar-2");
    EXPECT_EQ(note.field("cmbdoctype").value, "Invoice");
    arclass.ARform_invoice_goto_fkey("1cn-1");
    EXPECT_EQ(note.field("cmbdoctype").value, "Credit Note");
    EXPECT_EQ(note.field("txtdocno").value, "CN-26-00001");
    note.enter("txtdocno", "INV-26-00001");
    EXPECT_EQ(note.field("txtfkey").value, "1ar-1");
    note.enter("txtdocno", "INV-26-00099");
    EXPECT_EQ(lastSaid(), "Document no. INV-26-00099 not found");
    EXPECT_EQ(note.field("txtfkey").value, "1ar-1");
    expectCleanBooks();
}

// The kinds of the "&View" menu and the open-document list; then what the screen asks of
// the host for the invoice shown.
TEST_F(InvoiceNavigationTest, viewKindsTheOpenDocumentListAndRequestsToTheHost) {
    auto& screen = threeInvoices();
    store::setPaidState(db(), "1ar-2", store::PaidState::FullyPaid);
    screen.run("&Open Invoice Only");
    EXPECT_THAT(screen.field("cmbopendoc").items, ElementsAre("INV-26-00003", "INV-26-00001"));
    screen.pick("cmbopendoc", 1);
    EXPECT_EQ(screen.field("txtfkey").value, "1ar-1");

    ui.clear();
    screen.run("View &Debit Note");
    EXPECT_EQ(screen.field("cmbdoctype").value, "Debit Note");
    EXPECT_EQ(screen.field("txtdocno").value, "");
    EXPECT_THAT(ui.texts(), ElementsAre("There is no opening invoice."));
    screen.run("&View All");
    EXPECT_FALSE(screen.command("&Open Invoice Only").checked);
    EXPECT_TRUE(screen.field("cmbopendoc").items.empty());
    screen.run("View &Invoice");
    EXPECT_EQ(screen.field("txtfkey").value, "1ar-4");

    notifications.clear();
    // Entered here, the invoice has neither origin nor prepayment to show.
    for (const char* caption : {"&Receipt this invoice", "&G/L Record",
                                "Receipt &History (this invoice)", "Origin Document", "cmdprepay"})
        screen.run(caption);
    ASSERT_THAT(requests(),
                ElementsAre("Receipt This Invoice INV-26-00003", "G/L Ledger Review 1gl-3",
                            ::testing::StartsWith("Invoice Receipt History ")));
    EXPECT_EQ(notifications[0].arg2, "1001");

    notifications.clear();
    db().execute("UPDATE AR_header_table SET Source = 'SO-INVOICE', source_docno = 'SO-77', "
                 "prepayment = 5, ppfkey = '1rpp-3' WHERE fkey = '1ar-4'");
    for (const char* caption : {"&Refresh record", "Origin Document", "cmdprepay"})
        screen.run(caption);
    EXPECT_THAT(requests(), ElementsAre("Sales Invoice Entry SO-77", "A/R Prepayment 1rpp-3"));

    // A document of the sales module opens only its remark, dates and term for editing.
    screen.run("&Edit mode");
    EXPECT_FALSE(screen.field("txtremark").locked);
    EXPECT_TRUE(screen.field("cmbperiod").locked);
    EXPECT_TRUE(screen.grid("dbgrid1").locked);
}

TEST_F(InvoiceNavigationTest, receiptOfAPaidOrVoidInvoiceIsRefused) {
    auto& screen = threeInvoices();
    store::setPaidState(db(), "1ar-4", store::PaidState::FullyPaid);
    screen.run("&Refresh record");
    screen.run("&Receipt this invoice");
    EXPECT_EQ(lastSaid(), "Invoice was fully-paid");
    db().execute("UPDATE AR_header_table SET void = TRUE WHERE fkey = '1ar-4'");
    screen.run("&Refresh record");
    screen.run("&Receipt this invoice");
    EXPECT_EQ(lastSaid(), "INV-26-00003 was void.");
    screen.run("&Previous record");
    db().execute("UPDATE AR_transaction_table SET Status = 'paid' WHERE fkey = '1ar-2'");
    screen.run("&Refresh record");
    screen.run("&Receipt this invoice");
    EXPECT_EQ(lastSaid(), "Invoice was paid");
    EXPECT_TRUE(notifications.empty());
}

}  // namespace
}  // namespace keltro::invoice::testing
