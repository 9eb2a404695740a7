#include "app/host/HostRequests.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>
#include <variant>

#include "db/Database.h"
#include "print/DocumentLayout.h"
#include "print/ReceiptLayout.h"
#include "services/DateFormat.h"
#include "store/ReferenceData.h"

namespace keltro::app {

namespace {

// The document's number as a file name: characters a file system may refuse become "-".
QString fileNameOf(const std::string& title, const std::string& number) {
    QString name = QString::fromStdString(number.empty() ? title : number);
    for (QChar& c : name)
        if (!c.isLetterOrNumber() && c != QChar('-') && c != QChar('_') && c != QChar('.') && c != QChar(' '))
            c = QChar('-');
    if (name.isEmpty() || name.startsWith(QChar('.'))) name.prepend("printout");
    return name + ".pdf";
}

bool isBlank(const std::string& text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }

std::string customerAddress(db::Database& db, const std::string& customerNo) {
    if (customerNo.empty()) return {};
    const auto customer = store::findCustomer(db, customerNo);
    return customer ? customer->address : std::string();
}

// An invoice or note, with the document's addresses when its query does not read them; a
// document saved without a bill-to address (debit and credit notes keep none) is billed to
// the customer's address.
print::DocumentPrintout documentPrintout(db::Database& db, const db::Rows& rows, const print::ReportTitle& title,
                                         const std::string& companyName) {
    print::DocumentPrintout printout = print::printoutFromRows(rows, title, companyName);
    if (!rows.front().has("bill_to_address")) {
        const auto row = db.queryOne(
            "SELECT bill_to_address, ship_to_address FROM AR_header_table WHERE docno = ? AND customer_no = ?",
            {printout.number, printout.customerNo});
        if (row) {
            printout.billTo = (*row)["bill_to_address"].textOr();
            printout.shipTo = (*row)["ship_to_address"].textOr();
        }
    }
    if (isBlank(printout.billTo)) printout.billTo = customerAddress(db, printout.customerNo);
    return printout;
}

// A receipt, with the paying customer's address.
print::ReceiptPrintout receiptPrintout(db::Database& db, const db::Rows& rows, const print::ReportTitle& title,
                                       const std::string& companyName) {
    print::ReceiptPrintout printout = print::receiptPrintoutFromRows(rows, title, companyName);
    printout.address = customerAddress(db, printout.customerNo);
    return printout;
}

}  // namespace

HostRequests::HostRequests(host::ARclass& arclass, Desktop desktop)
    : m_arclass(arclass), m_desktop(std::move(desktop)) {
    host::ARclass& a = m_arclass;
    const Answer openPdf = [this](const std::string& file, const std::string& title) {
        m_desktop.openFile(file, title);
    };
    m_answers = {
        {"G/L Ledger Review", [this](const std::string& key, const std::string&) { m_desktop.openJournal(key); }},
        {"pdf viewer", openPdf},
        {"pdf viewer landscape", openPdf},
        {"A/R Invoice Entry",
         [&a](const std::string& docno, const std::string&) {
             a.showform_ARform_invoice();
             a.ARform_invoice_goto_docno(docno);
         }},
        {"A/R Receipt Entry",
         [&a](const std::string& docno, const std::string&) {
             a.showform_ARform_receipt();
             a.ARform_receipt_goto_docno(docno);
         }},
        {"A/R Prepayment",
         [&a](const std::string& docno, const std::string&) {
             // The invoice screen sends the prepayment's key, the others its number.
             a.showform_ARform_prepayment();
             if (docno.rfind("1rpp-", 0) == 0) return a.ARform_prepayment_goto_fkey(docno);
             a.ARform_prepayment_goto_docno(docno);
         }},
        {"A/R Matching",
         [&a](const std::string& docno, const std::string&) {
             a.showform_ARform_matching();
             a.ARform_matching_goto_docno(docno);
         }},
        {"Miscellaneous Receipt",
         [&a](const std::string& docno, const std::string&) {
             a.showform_ARform_misc();
             a.ARform_misc_goto_docno(docno);
         }},
        {"A/R Invoice Recurring",
         [&a](const std::string& docno, const std::string&) {
             a.showform_ARform_invoice();
             a.ARform_invoice_recurring_goto_docno(docno);
         }},
        {"Receipt This Invoice",
         [&a](const std::string& invoice, const std::string& customer) {
             a.showform_ARform_receipt();
             a.ARform_receipt_this_invoice(invoice, customer);
         }},
        {"Recurring Invoice Inquiry",
         [&a](const std::string&, const std::string&) { a.showform_ARreport_recur_inquiry(); }},
        {"Invoice Receipt History",
         [&a](const std::string& docno, const std::string&) { a.showform_ARreport_invoice_receipt_history(docno); }},
        {"ActiveReport",
         [this](const std::string& title, const std::string& query) { printDocument(title, query); }},
    };
}

void HostRequests::answer(const std::string& formx, const std::string& docnox, const std::string& arg2) {
    if (auto it = m_answers.find(formx); it != m_answers.end()) {
        it->second(docnox, arg2);
        return;
    }
    std::string text = "Request to the host: " + formx;
    for (const auto* part : {&docnox, &arg2})
        if (!part->empty()) text += " — " + *part;
    m_desktop.showStatus(text);
}

std::string HostRequests::reportFolder(const std::string& installationFolder) {
    if (!installationFolder.empty()) {
        const QString folder = QDir(QString::fromStdString(installationFolder)).filePath("User report");
        if (QDir().mkpath(folder) && QFileInfo(folder).isWritable()) return folder.toStdString();
    }
    return QStandardPaths::writableLocation(QStandardPaths::TempLocation).toStdString();
}

std::optional<HostRequests::Printout> HostRequests::printoutOf(db::Database& db, const std::string& titleArgument,
                                                              const std::string& query,
                                                              const std::string& companyName,
                                                              const std::string& printedOn) {
    const db::Rows rows = db.query(query);
    const print::ReportTitle title = print::parseReportTitle(titleArgument);
    // The rows tell which document they are.
    if (print::holdsDocumentLines(rows)) return documentPrintout(db, rows, title, companyName);
    if (print::holdsReceiptLines(rows)) return receiptPrintout(db, rows, title, companyName);
    if (rows.empty()) return std::nullopt;
    return print::tablePrintoutFromRows(rows, title, companyName, printedOn);
}

void HostRequests::printDocument(const std::string& titleArgument, const std::string& query) {
    const print::ReportTitle title = print::parseReportTitle(titleArgument);
    const std::string name = title.title + " " + title.number;
    db::Database* db = m_arclass.abcdb ? m_arclass.abcdb : m_arclass.cnx;
    try {
        const std::string printedOn =
            m_arclass.clock ? services::FormatUserDate(m_arclass.clock->today(), m_arclass.KELTRO_DATE_FORMAT)
                            : std::string();
        const auto printout =
            db ? printoutOf(*db, titleArgument, query, m_arclass.KELTRO_COMPANY_NAME, printedOn) : std::nullopt;
        if (!printout) {
            m_desktop.showStatus("Nothing to print for " + name);
            return;
        }
        const print::PrintoutHeading& heading =
            std::visit([](const auto& p) -> const print::PrintoutHeading& { return p; }, *printout);
        const QString folder = QString::fromStdString(reportFolder(m_arclass.KELTRO_PATH));
        const QString path = QDir(folder).filePath(fileNameOf(heading.title, heading.number));
        if (!std::visit([&path](const auto& p) { return print::renderPdf(p, path); }, *printout)) {
            m_desktop.showStatus("Cannot write " + path.toStdString());
            return;
        }
        m_desktop.openFile(path.toStdString(), heading.title + " " + heading.number);
    } catch (const std::exception& e) {
        m_desktop.showStatus("Cannot print " + name + ": " + e.what());
    }
}

}  // namespace keltro::app
