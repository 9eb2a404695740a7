// keltro-host's answers to the screens' requests: each A/R request opens the screen it
// names, the journal and PDF requests go to the desktop, and anything else is only told.
// A printed document ("ActiveReport") is the invoice or receipt screen's own query run on
// the company's database, written as a PDF file and handed to the desktop's viewer.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <variant>

#include "app/host/HostRequests.h"
#include "framework/Screen.h"
#include "support/HeadlessDesk.h"

namespace keltro {
namespace {

struct Request {
    const char* formx;
    const char* opens;     // the screen it opens; null for the desktop's requests
    const char* desktop;   // what the desktop was asked, "" when nothing
};

const Request kRequests[] = {
    {"A/R Invoice Entry", "ARform_invoice", ""},
    {"A/R Receipt Entry", "ARform_receipt", ""},
    {"A/R Prepayment", "ARform_prepayment", ""},
    {"Miscellaneous Receipt", "ARform_misc_receipt", ""},
    {"A/R Invoice Recurring", "ARform_invoice", ""},
    {"Receipt This Invoice", "ARform_receipt", ""},
    {"Invoice Receipt History", "ARreport_invoice_receipt_history", ""},
    {"G/L Ledger Review", nullptr, "journal 1gl-7"},
    {"pdf viewer", nullptr, "file 1gl-7 (1001)"},
    {"pdf viewer landscape", nullptr, "file 1gl-7 (1001)"},
    {"Next App", nullptr, "status Request to the host: Next App — 1gl-7 — 1001"},
};

TEST(HostRequests, eachRequestIsAnsweredByWhatItNames) {
    test::TestDatabase database{test::Contents::DemoCompany};
    for (const Request& request : kRequests) {
        SCOPED_TRACE(request.formx);
        test::HeadlessDesk desk(database.db());
        std::string desktop;
        app::HostRequests requests(
            desk.arclass, {[&](const std::string& key) { desktop = "journal " + key; },
                      [&](const std::string& file, const std::string& title) {
                          desktop = "file " + file + " (" + title + ")";
                      },
                      [&](const std::string& text) { desktop = "status " + text; }});

        requests.answer(request.formx, "1gl-7", "1001");

        std::vector<std::string> opened;
        for (const auto& screen : desk.factory.openScreens()) opened.push_back(screen->className());
        EXPECT_EQ(opened, request.opens ? std::vector<std::string>{request.opens} : std::vector<std::string>{});
        EXPECT_EQ(desktop, request.desktop);
    }
}

// The invoice screen on the demo company, a saved document's "&Preview" and the host's
// answer to it, with the desktop's viewer and status bar recorded.
class PrintedDocumentTest : public ::testing::Test {
public:
    struct Line {
        const char* description;
        const char* taxable;
        const char* taxCode;
    };

    static constexpr const char* kCompany = "Bluefield Office Supplies Inc.";

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
        if (desk.ui.texts() != std::vector<std::string>{"Add new Receipt complete"})
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
        app::HostRequests requests(desk.arclass,
                                   {[this](const std::string& key) { status = "journal " + key; },
                                    [this](const std::string& file, const std::string& title) {
                                        shownFile = file;
                                        shownTitle = title;
                                    },
                                    [this](const std::string& text) { status = text; }});
        requests.answer(request.formx, request.docnox, request.arg2);
    }

    // The host's printout of the request when it is a `Printout`, else nullopt.
    template <typename Printout>
    std::optional<Printout> printed(const std::string& title, const std::string& query) {
        const auto printout = app::HostRequests::printoutOf(database.db(), title, query, kCompany);
        if (!printout || !std::holds_alternative<Printout>(*printout)) return std::nullopt;
        return std::get<Printout>(*printout);
    }

    // The printout `request` asks for, checked to be O'Brien Hardware's `title` `number` of
    // today in dollars, from the company above.
    template <typename Printout>
    std::optional<Printout> printedDocument(const framework::Notification& request, const std::string& title,
                                            const std::string& number) {
        EXPECT_EQ(request.docnox, title + "," + number + ",0");
        auto printout = printed<Printout>(request.docnox, request.arg2);
        if (!printout) return printout;
        EXPECT_EQ(printout->companyName, kCompany);
        EXPECT_EQ(printout->title, title);
        EXPECT_EQ(printout->number, number);
        EXPECT_EQ(printout->customerNo, "1002");
        EXPECT_EQ(printout->customerName, "O'Brien Hardware");
        EXPECT_EQ(printout->date, "06/12/2026");
        EXPECT_EQ(printout->currency, "USD");
        return printout;
    }

    static QByteArray start(const std::string& file) {
        QFile pdf(QString::fromStdString(file));
        return pdf.open(QIODevice::ReadOnly) ? pdf.read(5) : QByteArray();
    }

    QTemporaryDir installation;
    test::TestDatabase database{test::Contents::DemoCompany};
    test::HeadlessDesk desk{database.db()};
    std::string shownFile, shownTitle, status;
};

// Each kind of printout, from its screen's "&Preview" to the PDF file the desktop shows, with
// the address its query does not read: the document's bill-to, the payer's own.
TEST_F(PrintedDocumentTest, invoicesAndReceiptsArePrintedIntoTheUserReportFolderAndShown) {
    const struct {
        framework::Notification request;
        const char* file;
        const char* title;
    } kinds[] = {
        {preview("", {{"Copier paper", "1250", "S1"}, {"Delivery", "380", "S2"}}), "INV-26-00001.pdf",
         "A/R Invoice INV-26-00001"},
        {previewReceipt(), "RC-26-00001.pdf", "A/R Receipt RC-26-00001"},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.file);
        ASSERT_EQ(kind.request.formx, "ActiveReport");
        answer(kind.request);
        EXPECT_EQ(status, "");
        EXPECT_EQ(shownFile, installation.filePath(QString("User report/") + kind.file).toStdString());
        EXPECT_EQ(shownTitle, kind.title);
        EXPECT_EQ(start(shownFile), "%PDF-");
        const auto printout = app::HostRequests::printoutOf(database.db(), kind.request.docnox, kind.request.arg2, "");
        ASSERT_TRUE(printout);
        const auto* document = std::get_if<print::DocumentPrintout>(&*printout);
        EXPECT_EQ(document ? document->billTo : std::get<print::ReceiptPrintout>(*printout).address,
                  "1210 Route 1\nFalmouth, ME 04105");
    }
}

TEST_F(PrintedDocumentTest, withoutAFolderToWriteInTheInstallationThePrintoutGoesToTheTemporaryFolder) {
    // An installation path that is a file: no "User report" folder can be made under it.
    const QString notAFolder = installation.filePath("keltro-host");
    QFile file(notAFolder);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    desk.arclass.KELTRO_PATH = notAFolder.toStdString();
    answer(preview("dn", {{"Late delivery charge", "35", "S1"}}));
    EXPECT_EQ(status, "");
    const QFileInfo shown(QString::fromStdString(shownFile));
    EXPECT_EQ(shown.absolutePath(),
              QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation)).absolutePath());
    EXPECT_EQ(shown.fileName(), "DN-26-00001.pdf");
    EXPECT_EQ(start(shownFile), "%PDF-");
    QFile::remove(shown.filePath());
}

// Stored negative, a credit note prints positive; the customer's name keeps its quote; a
// note keeps no address of its own, so it is billed to the customer's.
TEST_F(PrintedDocumentTest, aCreditNotesPrintoutHasItsAmountsPositiveAndTheDocumentsAddresses) {
    const auto printout = printedDocument<print::DocumentPrintout>(
        preview("cn", {{"Returned chairs", "100", "S1"}, {"Returned desk lamp", "40.50", "LX"}}), "A/R Credit Note",
        "CN-26-00001");
    ASSERT_TRUE(printout);
    EXPECT_EQ(printout->billTo, "1210 Route 1\nFalmouth, ME 04105");
    ASSERT_EQ(printout->lines.size(), 2u);
    EXPECT_EQ(printout->lines[0].description, "Returned chairs");
    EXPECT_EQ(printout->lines[0].taxableAmount, 100);
    EXPECT_EQ(printout->lines[0].taxAmount, 6);
    EXPECT_EQ(printout->lines[0].grossAmount, 106);
    // The luxury tax's minimum of 5.00 over 10 % of 40.50.
    EXPECT_EQ(printout->lines[1].taxCode, "LX");
    EXPECT_EQ(printout->lines[1].taxAmount, 5);
    EXPECT_EQ(printout->taxableTotal(), 140.5);
    EXPECT_EQ(printout->taxTotal(), 11);
    EXPECT_EQ(printout->total(), 151.5);
    EXPECT_TRUE(printout->taxes.empty());
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
    ASSERT_TRUE(printout);
    EXPECT_EQ(printout->customerNo, "1001");
    EXPECT_EQ(printout->billTo, "x");
    ASSERT_EQ(printout->lines.size(), 2u);
    ASSERT_EQ(printout->taxes.size(), 2u);
    EXPECT_EQ(printout->taxes[0].authority, "STATE");
    EXPECT_EQ(printout->taxes[0].amount, 9);
    EXPECT_EQ(printout->taxes[1].authority, "CITY");
    EXPECT_EQ(printout->taxes[1].amount, 1.5);
    EXPECT_EQ(printout->total(), 160.5);
}

// The receipt's rows: the applied documents signed as the receipt keeps them (the credit
// note negative), each named by its type, document by document although the query reads
// them by pay item, and the receipt's own amounts from its header.
TEST_F(PrintedDocumentTest, aReceiptsPrintoutHasItsAppliedDocumentsAndAmounts) {
    const auto printout = printedDocument<print::ReceiptPrintout>(previewReceipt(), "A/R Receipt", "RC-26-00001");
    ASSERT_TRUE(printout);
    EXPECT_EQ(printout->payBy, "Cash");
    EXPECT_EQ(printout->cashAccount, "1000");
    EXPECT_EQ(printout->exchangeRate, "");
    EXPECT_FALSE(printout->isVoid);

    struct Expected {
        const char* documentNo;
        const char* type;
        const char* payItem;
        double open, applied, discount;
    };
    const Expected expected[] = {{"CN-26-00001", "Credit Note", "1", -106, -106, 0},
                                 {"INV-26-00001", "Invoice", "1", 1325, 1300, 25},
                                 {"INV-26-00001", "Invoice", "2", 84.8, 84.8, 0}};
    ASSERT_EQ(printout->lines.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(std::to_string(i));
        const print::AppliedDocument& line = printout->lines[i];
        EXPECT_EQ(line.documentNo, expected[i].documentNo);
        EXPECT_EQ(line.documentType, expected[i].type);
        EXPECT_EQ(line.payItem, expected[i].payItem);
        EXPECT_DOUBLE_EQ(line.openAmount, expected[i].open);
        EXPECT_DOUBLE_EQ(line.applied, expected[i].applied);
        EXPECT_DOUBLE_EQ(line.discount, expected[i].discount);
        EXPECT_EQ(line.writeoff, 0);
        EXPECT_EQ(line.balance, 0);
    }
    EXPECT_EQ(printout->appliedTotal(), 1278.8);
    EXPECT_EQ(printout->discountTotal(), 25);
    EXPECT_EQ(printout->receiptAmount, 1300);
    EXPECT_DOUBLE_EQ(printout->unapplied, 21.2);
    EXPECT_EQ(printout->unappliedDocno, "UA-26-00001");
}

TEST_F(PrintedDocumentTest, aQueryThatFailsOrReadsNoDocumentIsToldAndNothingShown) {
    answer({"ActiveReport", "A/R Invoice,INV-26-00009,0", "SELECT docno FROM No_such_table"});
    EXPECT_EQ(status.rfind("Cannot print A/R Invoice INV-26-00009: ", 0), 0u) << status;
    answer({"ActiveReport", "A/R Receipt,RC-26-00009,0", "SELECT 'RC-26-00009' AS docno"});
    EXPECT_EQ(status, "Nothing to print for A/R Receipt RC-26-00009");
    EXPECT_EQ(shownFile, "");
}

}  // namespace
}  // namespace keltro
