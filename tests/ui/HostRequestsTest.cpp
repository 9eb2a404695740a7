// keltro-host's answers to the screens' requests: each A/R request opens the screen it
// names, the journal and PDF requests go to the desktop, and anything else is only told.
// A printed document ("ActiveReport") is the invoice screen's own query run on the
// company's database, written as a PDF file and handed to the desktop's viewer.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "app/host/HostRequests.h"
#include "framework/Screen.h"
#include "schema/DemoCompany.h"
#include "schema/Schema.h"
#include "services/Clock.h"
#include "support/HeadlessDesk.h"
#include "support/TestDatabase.h"

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
    test::TestDatabase database;
    {
        db::Transaction tx(database.db());
        schema::createSchema(database.db());
        schema::addDemoCompany(database.db(), {2026, 1, 15});
        tx.commit();
    }
    const services::FixedClock clock({2026, 1, 15});
    services::RecordingUi ui;
    for (const Request& request : kRequests) {
        SCOPED_TRACE(request.formx);
        host::HeadlessScreenFactory views;
        host::ARclass arclass(views);
        arclass.abcdb = arclass.dbe = arclass.cnx = &database.db();
        arclass.KELTRO_USER = "admin";
        arclass.KELTRO_DATE_FORMAT = "dd/mm/yyyy";
        arclass.ui = &ui;
        arclass.clock = &clock;
        std::string desktop;
        app::HostRequests requests(
            arclass, {[&](const std::string& key) { desktop = "journal " + key; },
                      [&](const std::string& file, const std::string& title) {
                          desktop = "file " + file + " (" + title + ")";
                      },
                      [&](const std::string& text) { desktop = "status " + text; }});

        requests.answer(request.formx, "1gl-7", "1001");

        std::vector<std::string> opened;
        for (const auto& screen : views.openScreens()) opened.push_back(screen->className());
        EXPECT_EQ(opened, request.opens ? std::vector<std::string>{request.opens} : std::vector<std::string>{});
        EXPECT_EQ(desktop, request.desktop);
    }
}

// The invoice screen on the demo company, a saved document's "&Preview" and the host's
// answer to it, with the desktop's viewer and status bar recorded.
class PrintedDocumentTest : public ::testing::Test {
protected:
    struct Line {
        const char* description;
        const char* taxable;
        const char* taxCode;
    };

    PrintedDocumentTest() {
        desk.arclass.KELTRO_COMPANY_NAME = "Bluefield Office Supplies Inc.";
        desk.arclass.KELTRO_PATH = installation.path().toStdString();
    }

    // The request "&Preview" raises for a new document of `kind` ("cn", "dn" or "").
    framework::Notification preview(const std::string& kind, const std::vector<Line>& lines) {
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
        desk.notifications.clear();
        screen.run("&Preview");
        if (desk.notifications.size() != 1) throw std::runtime_error("no request from \"&Preview\"");
        return desk.notifications.front();
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

    static QByteArray start(const std::string& file) {
        QFile pdf(QString::fromStdString(file));
        return pdf.open(QIODevice::ReadOnly) ? pdf.read(5) : QByteArray();
    }

    QTemporaryDir installation;
    test::TestDatabase database{test::Contents::DemoCompany};
    test::HeadlessDesk desk{database.db()};
    std::string shownFile, shownTitle, status;
};

TEST_F(PrintedDocumentTest, anInvoiceIsPrintedIntoTheUserReportFolderAndShown) {
    const auto request = preview("", {{"Copier paper", "1250", "S1"}, {"Delivery", "380", "S2"}});
    ASSERT_EQ(request.formx, "ActiveReport");
    answer(request);
    EXPECT_EQ(status, "");
    EXPECT_EQ(shownFile, installation.filePath("User report/INV-26-00001.pdf").toStdString());
    EXPECT_EQ(shownTitle, "A/R Invoice INV-26-00001");
    EXPECT_EQ(start(shownFile), "%PDF-");
    // The addresses the query does not read come from the document.
    const auto printout = app::HostRequests::printoutOf(database.db(), request.docnox, request.arg2, "");
    ASSERT_TRUE(printout);
    EXPECT_EQ(printout->billTo, "1210 Route 1\nFalmouth, ME 04105");
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
    const auto request = preview("cn", {{"Returned chairs", "100", "S1"}, {"Returned desk lamp", "40.50", "LX"}});
    EXPECT_EQ(request.docnox, "A/R Credit Note,CN-26-00001,0");
    const auto printout = app::HostRequests::printoutOf(database.db(), request.docnox, request.arg2,
                                                        "Bluefield Office Supplies Inc.");
    ASSERT_TRUE(printout);
    EXPECT_EQ(printout->title, "A/R Credit Note");
    EXPECT_EQ(printout->number, "CN-26-00001");
    EXPECT_EQ(printout->companyName, "Bluefield Office Supplies Inc.");
    EXPECT_EQ(printout->customerNo, "1002");
    EXPECT_EQ(printout->customerName, "O'Brien Hardware");
    EXPECT_EQ(printout->date, "06/12/2026");
    EXPECT_EQ(printout->currency, "USD");
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
    const auto printout = app::HostRequests::printoutOf(
        database.db(), "A/R Invoice,INV-9,1",
        "SELECT 'INV-9' AS DOCNO, '1001' AS Customer_No, 'x' AS bill_to_address, '' AS ship_to_address, "
        "'1' AS PAY_ITEM, 'Paper' AS description, 100.0 AS taxable_amount, 7.5 AS tax_amount, "
        "107.5 AS gross_amount, 'STATE' AS tax_authority1, 6.0 AS tax_amount1, "
        "'CITY' AS tax_authority2, 1.5 AS tax_amount2 "
        "UNION ALL SELECT 'INV-9', '1001', 'x', '', '2', 'Toner', 50.0, 3.0, 53.0, 'STATE', 3.0, '', 0.0 "
        "UNION ALL SELECT 'INV-9', '1001', 'x', '', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL",
        "");
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

TEST_F(PrintedDocumentTest, aQueryThatFailsOrReadsNoDocumentIsToldAndNothingShown) {
    answer({"ActiveReport", "A/R Invoice,INV-26-00009,0", "SELECT docno FROM No_such_table"});
    EXPECT_EQ(status.rfind("Cannot print A/R Invoice INV-26-00009: ", 0), 0u) << status;
    answer({"ActiveReport", "A/R Receipt,RC-26-00001,0", "SELECT 'RC-26-00001' AS docno"});
    EXPECT_EQ(status, "Nothing to print for A/R Receipt RC-26-00001");
    EXPECT_EQ(shownFile, "");
}

}  // namespace
}  // namespace keltro
