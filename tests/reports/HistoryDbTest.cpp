// The inquiry and the two histories run on their screens: which lines they list, in which
// order, what their options keep out, and the requests their links send to the host.
#include "reports/ReportFixture.h"

namespace keltro::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class Histories : public ReportFixture {
protected:
    void SetUp() override {
        // INV-1 paid in part by a receipt and then by a matching; INV-2 fully paid; CN-1 a
        // credit note with a receipt line; INV-3 of another customer, unpaid.
        addHeader("INV-1", "inv", "1001", true, false);
        addHeader("INV-2", "inv", "1001", true, true);
        addHeader("CN-1", "cn", "1001", true, true);
        addHeader("INV-3", "inv", "1002", false, false);
        addPayment({"Receipt_transaction_table", "RC-1", "INV-1", "1", 100, 400, 20, "CHQ-9"});
        addPayment({"AR_matching_transaction_table", "MC-1", "INV-1", "1", 150, 250, 10, "CHQ-9,CHQ-10"});
        addPayment({"Receipt_transaction_table", "RC-2", "INV-2", "1", 500, 0, 15, "CHQ-7"});
        addPayment({"Receipt_transaction_table", "RC-3", "CN-1", "1", -20, 0, 15, ""});
    }
    void addHeader(const std::string& docno, const std::string& doctype, const std::string& customer,
                   bool paid, bool fullyPaid) {
        db().execute("INSERT INTO AR_header_table (company, doctype, fkey, docno, customer_no, invoice_date, "
                     "Currency, paid, fully_paid, void) VALUES (1, ?, ?, ?, ?, ?, 'USD', ?, ?, FALSE)",
                     {doctype, "1" + doctype + "-" + docno, docno, customer, daysAfter(kDemoToday, -60),
                      paid, fullyPaid});
    }
    framework::Screen& history(const std::vector<std::pair<std::string, std::string>>& typed) {
        auto& screen = open("ARreport_invoice_receipt_history");
        for (const auto& [control, text] : typed) screen.enter(control, text);
        screen.run("&Run");
        return screen;
    }
};

TEST_F(Histories, InvoicePaymentsComeFromTheHighestBalanceDown) {
    auto& screen = history({{"cmbcustno", "1001"}, {"opt_all", "1"}, {"opt_paid", "0"}, {"opt_partial", "0"}});
    EXPECT_THAT(rowsOf(screen, {"invoice no", "receipt document no", "open amount", "applied amount",
                                "balance", "check no", "matching", "customer name"}),
                ElementsAre("INV-1|RC-1|500.00|100.00|400.00|CHQ-9|0|Brightwater Dental Clinic",
                            "INV-1|MC-1|400.00|150.00|250.00|CHQ-9,CHQ-10|1|Brightwater Dental Clinic",
                            "INV-2|RC-2|500.00|500.00|0.00|CHQ-7|0|Brightwater Dental Clinic"));
    EXPECT_EQ(text("SELECT [Value] FROM Recent_value_table WHERE form_name = ? AND control_name = 'customer'",
                   {"ARreport_invoice_receipt_history"}),
              "1001");

    // The links of the chosen row: the matching screen, then the invoice.
    screen.clickCell("dbgrid1", 1, "invoice no");
    screen.run("&Receipt/Matching Record");
    screen.run("&A/R Record");
    screen.clickCell("dbgrid1", 0, "invoice no");
    screen.run("&Receipt/Matching Record");
    ASSERT_EQ(notifications.size(), 3u);
    EXPECT_EQ(notifications[0].formx + " " + notifications[0].docnox, "A/R Matching MC-1");
    EXPECT_EQ(notifications[1].formx + " " + notifications[1].docnox, "A/R Invoice Entry INV-1");
    EXPECT_EQ(notifications[2].formx + " " + notifications[2].docnox, "A/R Receipt Entry RC-1");
}

TEST_F(Histories, OptionsFilterACustomerSearchOnly) {
    struct Case {
        std::vector<std::pair<std::string, std::string>> typed;
        std::vector<std::string> invoices;
    };
    const std::vector<Case> cases = {
        {{{"cmbcustno", "1001"}, {"opt_all", "0"}, {"opt_paid", "1"}}, {"INV-2"}},
        // Partly paid also lists the fully paid: paid is TRUE for both.
        {{{"cmbcustno", "1001"}, {"opt_all", "0"}, {"opt_partial", "1"}}, {"INV-1", "INV-1", "INV-2"}},
        // By number: the options and the customer do not filter; notes are found too.
        {{{"cmbcustno", "1002"}, {"txtdocno", "INV-1"}, {"opt_all", "0"}, {"opt_paid", "1"}}, {"INV-1", "INV-1"}},
        {{{"txtdocno", "CN-1"}}, {"CN-1"}},
        {{{"txtdocno", "CN-1"}, {"txtdocno2", "INV-1"}}, {"CN-1", "INV-1", "INV-1"}},
    };
    for (const auto& c : cases) {
        auto& screen = history(c.typed);
        std::vector<std::string> invoices;
        for (const auto& row : screen.grid("dbgrid1").rows) invoices.push_back(row.at("invoice no"));
        EXPECT_EQ(invoices, c.invoices);
    }
    history({{"cmbcustno", ""}});
    EXPECT_EQ(lastSaid(), "please specify customer no or invoice no");
}

TEST_F(Histories, InquiryListsTheChosenLinesAndOffersTheirDocuments) {
    addItem({.customer = "1002", .docno = "INV-3", .payItem = "1", .open = 80, .daysOverdue = 5});
    addItem({.customer = "1002", .docno = "INV-4", .payItem = "1", .open = 60, .daysOverdue = 5, .paid = true});
    addItem({.customer = "1002", .docno = "CN-4", .payItem = "1", .open = -60, .daysOverdue = 5, .doctype = "cn"});
    addItem({.customer = "1001", .docno = "INV-5", .payItem = "1", .open = 70, .daysOverdue = 5});
    auto& screen = open("ARreport_inquiry");
    screen.enter("cmbcustname", "O'Brien Hardware");
    EXPECT_EQ(screen.field("cmbcustno").value, "1002");
    screen.run("&Run");
    EXPECT_THAT(rowsOf(screen, {"customer name", "invoice no", "open amount", "paid", "payment term"}),
                ElementsAre("O'Brien Hardware|INV-3|80.00|FALSE|", "O'Brien Hardware|INV-4|0.00|TRUE|"));

    screen.clickCell("dbgrid1", 1, "invoice no");
    screen.run("&Receipt");
    EXPECT_EQ(lastSaid(), "Invoice was paid");
    screen.clickCell("dbgrid1", 0, "invoice no");
    screen.run("&Receipt");
    ASSERT_EQ(notifications.size(), 3u);
    EXPECT_EQ(notifications[0].formx + " " + notifications[0].docnox, "A/R Invoice Entry INV-4");
    EXPECT_EQ(notifications[2].formx + " " + notifications[2].docnox + " " + notifications[2].arg2,
              "Receipt This Invoice INV-3 1002");

    // Open credit notes of every customer in the invoice-date range.
    screen.run("&Clear");
    EXPECT_THAT(screen.grid("dbgrid1").rows, IsEmpty());
    for (const auto& [control, text] : std::vector<std::pair<std::string, std::string>>{
             {"opt_all", "0"}, {"opt_open", "1"}, {"opt_invoice", "0"}, {"opt_creditnote", "1"},
             {"cal1", "01/10/2026"}, {"cal1_to", "31/10/2026"}})
        screen.enter(control, text);
    screen.run("&Run");
    EXPECT_THAT(rowsOf(screen, {"invoice no", "open amount"}), ElementsAre("CN-4|-60.00"));
    screen.enter("txtdocno", "INV-5");
    screen.run("&Run");
    EXPECT_THAT(rowsOf(screen, {"customer name", "invoice no"}), ElementsAre("Brightwater Dental Clinic|INV-5"));
}

class ChequeHistory : public Histories {
protected:
    void addReceipt(const std::string& docno, const std::string& checkNo, const std::string& unapplied,
                    bool completelyMatched) {
        db().execute("INSERT INTO Receipt_header_table (company, docno, doctype, fkey, receipt_no, receipt_date, "
                     "customer_no, check_no, receipt_amount, receipt_base_amount, Unapplied_DOCNO, "
                     "Unapplied_amount, completely_match, void) "
                     "VALUES (1, ?, 'rc', ?, ?, ?, '1001', ?, 600, 600, ?, ?, ?, FALSE)",
                     {docno, "1x-" + docno, "R" + docno, daysAfter(kDemoToday, -20), checkNo,
                      unapplied.empty() ? db::Value() : db::Value(unapplied),
                      unapplied.empty() ? db::Value() : db::Value(50.0), completelyMatched});
    }
    std::vector<std::string> listed(const std::vector<std::pair<std::string, std::string>>& typed) {
        auto& screen = open("ARreport_receipt_check_history");
        for (const auto& [control, text] : typed) screen.enter(control, text);
        screen.run("&Run");
        return rowsOf(screen, {"receipt document no", "check/receipt no", "unapplied document", "match no",
                               "invoice no", "applied amount"});
    }
};

TEST_F(ChequeHistory, FindsByChequeThenReceiptThenCustomer) {
    addReceipt("RC-1", "CHQ-9", "UA-1", false);
    addReceipt("RC-2", "", "UA-2", false);
    addReceipt("RC-3", "CHQ-3", "", false);
    // The matching that used RC-1's unapplied cash.
    addPayment({"AR_matching_transaction_table", "MC-5", "UA-1", "1", -50, 0, 5, ""});
    addPayment({"AR_matching_transaction_table", "MC-5", "INV-3", "1", 50, 30, 5, ""});

    EXPECT_THAT(listed({{"txtcheckno", "CHQ-9"}, {"txtrcno", "RC-2"}, {"cmbcustno", "1001"}}),
                ElementsAre("RC-1|CHQ-9|UA-1|||", "||||INV-1|100.00", "|||MC-5|INV-3|50.00",
                            "|||MC-5|UA-1|-50.00"));
    // Unapplied cash never matched: the receipt and its own lines only; no cheque: the
    // receipt number.
    EXPECT_THAT(listed({{"txtrcno", "RC-2"}, {"cmbcustno", "1001"}}),
                ElementsAre("RC-2|RRC-2|UA-2|||", "||||INV-2|500.00"));
    EXPECT_THAT(listed({{"cmbcustno", "1001"}, {"opt_complete", "1"}}), ElementsAre("RC-3|CHQ-3||||", "||||CN-1|-20.00"));
    EXPECT_EQ(listed({{"cmbcustno", "1001"}, {"opt_partial", "1"}}).size(), 6u);
    // The last customer comes back with the screen; without one nothing runs.
    EXPECT_EQ(open("ARreport_receipt_check_history").field("cmbcustno").value, "1001");
    EXPECT_THAT(listed({{"cmbcustno", ""}}), IsEmpty());
    EXPECT_EQ(lastSaid(), "please specify customer no or receipt/check no");
}

}  // namespace
}  // namespace keltro::test
