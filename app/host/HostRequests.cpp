#include "app/host/HostRequests.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>

#include "db/Database.h"
#include "print/DocumentLayout.h"
#include "print/DocumentPrintout.h"
#include "store/ReferenceData.h"

namespace keltro::app {

namespace {

// The document's number as a file name: characters a file system may refuse become "-".
QString fileNameOf(const print::DocumentPrintout& printout) {
    QString name = QString::fromStdString(printout.number.empty() ? printout.title : printout.number);
    for (QChar& c : name)
        if (!c.isLetterOrNumber() && c != QChar('-') && c != QChar('_') && c != QChar('.') && c != QChar(' '))
            c = QChar('-');
    if (name.isEmpty() || name.startsWith(QChar('.'))) name.prepend("printout");
    return name + ".pdf";
}

// The document's addresses, which the printout's query does not read.
void addAddresses(db::Database& db, print::DocumentPrintout& printout) {
    const auto row = db.queryOne(
        "SELECT bill_to_address, ship_to_address FROM AR_header_table WHERE docno = ? AND customer_no = ?",
        {printout.number, printout.customerNo});
    if (!row) return;
    printout.billTo = (*row)["bill_to_address"].textOr();
    printout.shipTo = (*row)["ship_to_address"].textOr();
}

// A document saved without a bill-to address (debit and credit notes keep none) is billed
// to the customer's address.
void addCustomerAddress(db::Database& db, print::DocumentPrintout& printout) {
    if (printout.customerNo.empty()) return;
    if (const auto customer = store::findCustomer(db, printout.customerNo)) printout.billTo = customer->address;
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
             a.showform_ARform_prepayment();
             a.ARform_prepayment_goto_docno(docno);
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

std::optional<print::DocumentPrintout> HostRequests::printoutOf(db::Database& db, const std::string& titleArgument,
                                                               const std::string& query,
                                                               const std::string& companyName) {
    const db::Rows rows = db.query(query);
    if (!print::holdsDocumentLines(rows)) return std::nullopt;
    print::DocumentPrintout printout =
        print::printoutFromRows(rows, print::parseReportTitle(titleArgument), companyName);
    if (!rows.front().has("bill_to_address")) addAddresses(db, printout);
    if (printout.billTo.find_first_not_of(" \t\r\n") == std::string::npos) addCustomerAddress(db, printout);
    return printout;
}

void HostRequests::printDocument(const std::string& titleArgument, const std::string& query) {
    const print::ReportTitle title = print::parseReportTitle(titleArgument);
    const std::string name = title.title + " " + title.number;
    db::Database* db = m_arclass.abcdb ? m_arclass.abcdb : m_arclass.cnx;
    try {
        const auto printout = db ? printoutOf(*db, titleArgument, query, m_arclass.KELTRO_COMPANY_NAME)
                                 : std::nullopt;
        if (!printout) {
            m_desktop.showStatus("Nothing to print for " + name);
            return;
        }
        const QString folder = QString::fromStdString(reportFolder(m_arclass.KELTRO_PATH));
        const QString path = QDir(folder).filePath(fileNameOf(*printout));
        if (!print::renderDocumentPdf(*printout, path)) {
            m_desktop.showStatus("Cannot write " + path.toStdString());
            return;
        }
        m_desktop.openFile(path.toStdString(), printout->title + " " + printout->number);
    } catch (const std::exception& e) {
        m_desktop.showStatus("Cannot print " + name + ": " + e.what());
    }
}

}  // namespace keltro::app
