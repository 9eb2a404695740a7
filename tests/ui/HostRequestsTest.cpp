// keltro-host's answers to the screens' requests: each A/R request opens the screen it
// names, the journal and PDF requests go to the desktop, and anything else is only told.
// A printed document ("ActiveReport") is the invoice or receipt screen's own query run on
// the company's database, written as a PDF file and handed to the desktop's viewer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <variant>

#include "app/host/HostRequests.h"
#include "framework/Screen.h"
#include "support/HeadlessDesk.h"

namespace keltro {
namespace {

using ::testing::_;
using ::testing::DoubleEq;
using ::testing::ElementsAre;
using ::testing::FieldsAre;
using Texts = std::vector<std::string>;

// A desktop that notes, in order, each thing it is asked to do.
app::HostRequests::Desktop recordedIn(Texts& asked) {
    return {[&asked](const std::string& key) { asked.push_back("journal " + key); },
            [&asked](const std::string& file, const std::string& title) {
                asked.push_back("file " + file + " (" + title + ")");
            },
            [&asked](const std::string& text) { asked.push_back("status " + text); }};
}

TEST(HostRequests, eachRequestIsAnsweredByWhatItNames) {
    const struct {
        const char* formx;
        Texts opens;    // the screens it opens
        Texts desktop;  // what the desktop was asked
    } requests[] = {
        {"A/R Invoice Entry", {"ARform_invoice"}, {}}, {"A/R Receipt Entry", {"ARform_receipt"}, {}},
        {"A/R Prepayment", {"ARform_prepayment"}, {}}, {"Miscellaneous Receipt", {"ARform_misc_receipt"}, {}},
        {"A/R Invoice Recurring", {"ARform_invoice"}, {}}, {"Receipt This Invoice", {"ARform_receipt"}, {}},
        {"Invoice Receipt History", {"ARreport_invoice_receipt_history"}, {}},
        {"G/L Ledger Review", {}, {"journal 1gl-7"}},
        {"pdf viewer", {}, {"file 1gl-7 (1001)"}}, {"pdf viewer landscape", {}, {"file 1gl-7 (1001)"}},
        {"Next App", {}, {"status Request to the host: Next App — 1gl-7 — 1001"}},
    };
    test::TestDatabase database{test::Contents::DemoCompany};
    for (const auto& request : requests) {
        SCOPED_TRACE(request.formx);
        test::HeadlessDesk desk(database.db());
        Texts asked, opened;
        app::HostRequests(desk.arclass, recordedIn(asked)).answer(request.formx, "1gl-7", "1001");
        for (const auto& screen : desk.factory.openScreens()) opened.push_back(screen->className());
        EXPECT_EQ(opened, request.opens);
        EXPECT_EQ(asked, request.desktop);
    }
}

// The invoice and receipt screens on the demo company, a saved document's "&Preview" and
// the host's answer to it, with what the desktop was asked recorded.
class PrintedDocumentTest : public ::testing::Test {
public:
    struct Line {
        const char *description, *taxable, *taxCode;
    };

    static constexpr const char* kCompany = "Bluefield Office Supplies Inc.";
    static constexpr const char* kAddress = "1210 Route 1\nFalmouth, ME 04105";

    PrintedDocumentTest() {
        desk.arclass.KELTRO_COMPANY_NAME = kCompany;
        desk.arclass.KELTRO_PATH = installation.path().toStdString();
    }

    // A new document of `kind` ("cn", "dn" or "") saved on the invoice screen; gives its
    // number.
    std::string saveDocument(const std::string& kind, const std::vector<Line>& lines) {
        desk.arclass.showform_ARform_invoice(kind.empty() ? std::nullopt : std::optional<std::string>(kind));
        framework::Screen& screen = *desk.arclass.referencedScreen("ARform_invoice");
        if (screen.mode() != framework::Mode::New) screen.run("&New");
        screen.enter("cmbcustno", "1002");
        for (std::size_t row = 0; row < lines.size(); ++row) {
            screen.enterCell("dbgrid1", row, "description", lines[row].description);
            screen.enterCell("dbgrid1", row, "tax code", lines[row].taxCode);
            screen.enterCell("dbgrid1", row, "taxable amount", lines[row].taxable);
            screen.enterCell("dbgrid1", row, "sales account", "4000");
        }
        screen.run("&Save");
        return screen.field("txtdocno").value;
    }

    // The request "&Preview" raises on the screen of `className`.
    framework::Notification previewOn(const std::string& className) {
        desk.notifications.clear();
        desk.arclass.referencedScreen(className)->run("&Preview");
        if (desk.notifications.size() != 1) throw std::runtime_error("no request from \"&Preview\"");
        return desk.notifications.front();
    }

    // The request "&Preview" raises for a new document of `kind`.
    framework::Notification preview(const std::string& kind, const std::vector<Line>& lines) {
        saveDocument(kind, lines);
        return previewOn("ARform_invoice");
    }

    // Cash from O'Brien Hardware for an invoice of 1,325.00 (less a discount of 25.00) and
    // 84.80, set off against a credit note of 106.00: 1,278.80 applied of 1,300.00 received.
    framework::Notification previewReceipt() {
        const std::string invoice = saveDocument("", {{"Copier paper", "1250", "S1"}, {"Delivery", "80", "S1"}});
        const std::string credit = saveDocument("cn", {{"Returned chairs", "100", "S1"}});
        desk.arclass.showform_ARform_receipt();
        desk.arclass.ARform_receipt_this_invoice(invoice, "1002");
        framework::Screen& screen = *desk.arclass.referencedScreen("ARform_receipt");
        screen.enter("cmbpayby", "Cash");
        screen.enter("cmbcash", "1000");
        screen.enter("txtrcamount", "1300");
        screen.enterCell("dbgrid1", rowOf(screen, invoice, "1"), "discount taken", "25");
        screen.enterCell("dbgrid1", rowOf(screen, invoice, "2"), "applied amount", "84.80");
        screen.enterCell("dbgrid1", rowOf(screen, credit, "1"), "applied amount", "-106");
        desk.ui.clear();
        screen.run("&Save");
        if (desk.ui.texts() != Texts{"Add new Receipt complete"})
            throw std::runtime_error("the receipt was not saved: " + ::testing::PrintToString(desk.ui.texts()));
        return previewOn("ARform_receipt");
    }

    static std::size_t rowOf(const framework::Screen& screen, const std::string& docno, const std::string& payItem) {
        const auto& rows = screen.grid("dbgrid1").rows;
        for (std::size_t row = 0; row < rows.size(); ++row)
            if (rows[row].at("invoice no") == docno && rows[row].at("pay item") == payItem) return row;
        throw std::runtime_error(docno + " / " + payItem + " is not offered");
    }

    void answer(const framework::Notification& request) {
        app::HostRequests(desk.arclass, recordedIn(asked)).answer(request.formx, request.docnox, request.arg2);
    }

    // The host's printout of the rows of `query`; throws when they make no `Printout`.
    template <typename Printout>
    Printout printed(const std::string& title, const std::string& query) {
        return std::get<Printout>(app::HostRequests::printoutOf(database.db(), title, query, kCompany).value());
    }

    // The printout `request` asks for, checked to be O'Brien Hardware's `title` `number` of
    // today in dollars, from the company above.
    template <typename Printout>
    Printout printedDocument(const framework::Notification& request, const std::string& title,
                             const std::string& number) {
        EXPECT_EQ(request.docnox, title + "," + number + ",0");
        const auto printout = printed<Printout>(request.docnox, request.arg2);
        EXPECT_THAT(static_cast<const print::PrintoutHeading&>(printout),
                    FieldsAre(kCompany, title, number, "1002", "O'Brien Hardware"));
        EXPECT_EQ(printout.date, "06/12/2026");
        EXPECT_EQ(printout.currency, "USD");
        return printout;
    }

    static QByteArray start(const std::string& file) {
        QFile pdf(QString::fromStdString(file));
        return pdf.open(QIODevice::ReadOnly) ? pdf.read(5) : QByteArray();
    }

    QTemporaryDir installation;
    test::TestDatabase database{test::Contents::DemoCompany};
    test::HeadlessDesk desk{database.db()};
    Texts asked;
};

// Each kind of printout, from its screen's "&Preview" to the PDF file the desktop shows, with
// the address its query does not read: the document's bill-to, the payer's own.
TEST_F(PrintedDocumentTest, invoicesAndReceiptsArePrintedIntoTheUserReportFolderAndShown) {
    const struct {
        framework::Notification request;
        const char *file, *title;
    } kinds[] = {
        {preview("", {{"Copier paper", "1250", "S1"}, {"Delivery", "380", "S2"}}), "INV-26-00001.pdf",
         "A/R Invoice INV-26-00001"},
        {previewReceipt(), "RC-26-00001.pdf", "A/R Receipt RC-26-00001"},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.file);
        ASSERT_EQ(kind.request.formx, "ActiveReport");
        asked.clear();
        answer(kind.request);
        const std::string file = installation.filePath(QString("User report/") + kind.file).toStdString();
        EXPECT_EQ(asked, Texts{"file " + file + " (" + kind.title + ")"});
        EXPECT_EQ(start(file), "%PDF-");
        const auto printout = app::HostRequests::printoutOf(database.db(), kind.request.docnox, kind.request.arg2, "");
        ASSERT_TRUE(printout);
        const auto* document = std::get_if<print::DocumentPrintout>(&*printout);
        EXPECT_EQ(document ? document->billTo : std::get<print::ReceiptPrintout>(*printout).address, kAddress);
    }
}

TEST_F(PrintedDocumentTest, withoutAFolderToWriteInTheInstallationThePrintoutGoesToTheTemporaryFolder) {
    // An installation path that is a file: no "User report" folder can be made under it.
    const QString notAFolder = installation.filePath("keltro-host");
    ASSERT_TRUE(QFile(notAFolder).open(QIODevice::WriteOnly));
    desk.arclass.KELTRO_PATH = notAFolder.toStdString();
    answer(preview("dn", {{"Late delivery charge", "35", "S1"}}));
    const std::string shown =
        QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation)).filePath("DN-26-00001.pdf").toStdString();
    EXPECT_EQ(asked, Texts{"file " + shown + " (A/R Debit Note DN-26-00001)"});
    EXPECT_EQ(start(shown), "%PDF-");
    QFile::remove(QString::fromStdString(shown));
}

// Stored negative, a credit note prints positive; the customer's name keeps its quote; a
// note keeps no address of its own, so it is billed to the customer's.
TEST_F(PrintedDocumentTest, aCreditNotesPrintoutHasItsAmountsPositiveAndTheDocumentsAddresses) {
    const auto printout = printedDocument<print::DocumentPrintout>(
        preview("cn", {{"Returned chairs", "100", "S1"}, {"Returned desk lamp", "40.50", "LX"}}), "A/R Credit Note",
        "CN-26-00001");
    EXPECT_EQ(printout.billTo, kAddress);
    // The luxury tax's minimum of 5.00 over 10 % of 40.50.
    EXPECT_THAT(printout.lines,
                ElementsAre(FieldsAre(_, "Returned chairs", _, 100.0, 6.0, 106.0), FieldsAre(_, _, "LX", _, 5.0, _)));
    EXPECT_EQ(printout.taxableTotal(), 140.5);
    EXPECT_EQ(printout.taxTotal(), 11);
    EXPECT_EQ(printout.total(), 151.5);
    EXPECT_TRUE(printout.taxes.empty());
}

// Rows of another shape: columns in any case, a header without lines, tax per authority.
TEST_F(PrintedDocumentTest, rowsCarryingTaxAuthoritiesPrintTheTaxOfEach) {
    const auto printout = printed<print::DocumentPrintout>(
        "A/R Invoice,INV-9,1",
        "SELECT 'INV-9' AS DOCNO, '1001' AS Customer_No, 'x' AS bill_to_address, '' AS ship_to_address, "
        "'1' AS PAY_ITEM, 'Paper' AS description, 100.0 AS taxable_amount, 7.5 AS tax_amount, "
        "107.5 AS gross_amount, 'STATE' AS tax_authority1, 6.0 AS tax_amount1, "
        "'CITY' AS tax_authority2, 1.5 AS tax_amount2 "
        "UNION ALL SELECT 'INV-9', '1001', 'x', '', '2', 'Toner', 50.0, 3.0, 53.0, 'STATE', 3.0, '', 0.0 "
        "UNION ALL SELECT 'INV-9', '1001', 'x', '', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL");
    EXPECT_EQ(printout.customerNo, "1001");
    EXPECT_EQ(printout.billTo, "x");
    EXPECT_EQ(printout.lines.size(), 2u);
    EXPECT_THAT(printout.taxes, ElementsAre(FieldsAre("STATE", 9.0), FieldsAre("CITY", 1.5)));
    EXPECT_EQ(printout.total(), 160.5);
}

// The receipt's rows: the applied documents signed as the receipt keeps them (the credit
// note negative), each named by its type, document by document although the query reads
// them by pay item, and the receipt's own amounts from its header.
TEST_F(PrintedDocumentTest, aReceiptsPrintoutHasItsAppliedDocumentsAndAmounts) {
    const auto printout = printedDocument<print::ReceiptPrintout>(previewReceipt(), "A/R Receipt", "RC-26-00001");
    EXPECT_EQ(printout.payBy, "Cash");
    EXPECT_EQ(printout.cashAccount, "1000");
    EXPECT_EQ(printout.exchangeRate, "");
    EXPECT_FALSE(printout.isVoid);
    // Each settled in full: nothing written off, nothing left open.
    const auto settled = [](const char* docno, const char* type, const char* payItem, double open, double applied,
                            double discount) {
        return FieldsAre(docno, type, payItem, DoubleEq(open), DoubleEq(applied), DoubleEq(discount), 0.0, 0.0);
    };
    EXPECT_THAT(printout.lines, ElementsAre(settled("CN-26-00001", "Credit Note", "1", -106, -106, 0),
                                            settled("INV-26-00001", "Invoice", "1", 1325, 1300, 25),
                                            settled("INV-26-00001", "Invoice", "2", 84.8, 84.8, 0)));
    EXPECT_EQ(printout.appliedTotal(), 1278.8);
    EXPECT_EQ(printout.discountTotal(), 25);
    EXPECT_EQ(printout.receiptAmount, 1300);
    EXPECT_DOUBLE_EQ(printout.unapplied, 21.2);
    EXPECT_EQ(printout.unappliedDocno, "UA-26-00001");
}

// A miscellaneous receipt is neither an invoice nor a receipt of documents: its rows print
// as a table, one line of the receipt a row.
TEST_F(PrintedDocumentTest, aMiscellaneousReceiptPrintsItsLinesAsATable) {
    desk.arclass.showform_ARform_misc();
    framework::Screen& screen = *desk.arclass.referencedScreen("ARform_misc_receipt");
    screen.run("&New");
    screen.enter("cmbpayby", "Cash");
    screen.enter("cmbcash", "1000");
    screen.enter("txtamount", "1038.80");
    screen.enterCell("dbgrid1", 0, "account no", "7100");
    screen.enterCell("dbgrid1", 0, "amount", "1000");
    screen.enterCell("dbgrid1", 1, "account no", "6000");
    screen.enterCell("dbgrid1", 1, "amount", "38.80");
    screen.enterCell("dbgrid1", 1, "description", "O'Brien's refund");
    screen.run("&Save");
    const auto request = previewOn("ARform_misc_receipt");
    ASSERT_EQ(request.docnox, "A/R Miscellaneous Receipt,MR-26-00001,0");
    asked.clear();
    answer(request);
    const std::string file = installation.filePath("User report/MR-26-00001.pdf").toStdString();
    EXPECT_EQ(asked, Texts{"file " + file + " (A/R Miscellaneous Receipt MR-26-00001)"});
    EXPECT_EQ(start(file), "%PDF-");

    const auto table = printed<print::TablePrintout>(request.docnox, request.arg2);
    const auto& report = table.report;
    EXPECT_TRUE(report.landscape);
    EXPECT_EQ(report.titleLines[1].centre, "A/R Miscellaneous Receipt MR-26-00001");
    std::vector<std::string> captions;
    for (const auto& column : report.columns) captions.push_back(column.caption);
    EXPECT_THAT(captions, ::testing::IsSupersetOf({"account no", "account name", "amount", "description"}));
    ASSERT_EQ(report.rows.size(), 2u);
    const auto at = [&](std::size_t row, const std::string& caption) {
        const auto column = std::find(captions.begin(), captions.end(), caption) - captions.begin();
        return report.rows[row][static_cast<std::size_t>(column)];
    };
    EXPECT_EQ(at(0, "account name"), "Interest Income");
    EXPECT_EQ(at(0, "amount"), "1,000.00");
    EXPECT_EQ(at(1, "description"), "O'Brien's refund");
}

TEST_F(PrintedDocumentTest, aQueryThatFailsOrReadsNoDocumentIsToldAndNothingShown) {
    answer({"ActiveReport", "A/R Invoice,INV-26-00009,0", "SELECT docno FROM No_such_table"});
    answer({"ActiveReport", "A/R Receipt,RC-26-00009,0",
            "SELECT docno FROM Receipt_header_table WHERE docno = 'RC-26-00009'"});
    EXPECT_THAT(asked, ElementsAre(::testing::StartsWith("status Cannot print A/R Invoice INV-26-00009: "),
                                   "status Nothing to print for A/R Receipt RC-26-00009"));
}

}  // namespace
}  // namespace keltro
