// What the desktop program does when an A/R screen asks it for work through ARclass's
// `NotifyClients` event (formx, docnox, arg2):
//
//     "G/L Ledger Review"                     the journal with G/L key docnox
//     "pdf viewer", "pdf viewer landscape"    the file docnox in the desktop's viewer
//     "A/R Invoice Entry"                     the invoice screen on document docnox
//     "A/R Receipt Entry"                     the receipt screen on docnox
//     "A/R Prepayment"                        the prepayment screen on docnox
//     "Miscellaneous Receipt"                 the miscellaneous receipt screen on docnox
//     "A/R Invoice Recurring"                 the invoice screen on recurring number docnox
//     "Receipt This Invoice"                  a receipt of invoice docnox for customer arg2
//     "Invoice Receipt History"               the invoice/receipt history of docnox
//     "ActiveReport"                          the printout of a document: docnox is its
//                                             title, number and a flag ("A/R Invoice,
//                                             INV-26-00001,0", "A/R Receipt,RC-26-00001,0"),
//                                             arg2 the query of its rows
//
// Anything else ("Next App", the sales screens) is told in the status bar. The A/R
// requests are answered with ARclass's own show and go-to methods; the others through
// what the desktop offers.
//
// A printout is written as "<number>.pdf" into "User report" in the installation folder
// (KELTRO_PATH) when that folder can be written, else into the system's temporary folder,
// and shown like a "pdf viewer" request. The query comes from the screen itself and runs
// as it stands; its rows tell what is printed: an invoice's or note's header and lines
// (print/DocumentPrintout.h) or a receipt's header and applied documents
// (print/ReceiptPrintout.h). The addresses, which the queries do not read, are taken from
// the document or the customer.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <variant>

#include "host/ARclass.h"
#include "print/DocumentPrintout.h"
#include "print/ReceiptPrintout.h"
#include "print/TablePrintout.h"

namespace keltro::app {

class HostRequests {
public:
    struct Desktop {
        std::function<void(const std::string& glKey)> openJournal;
        std::function<void(const std::string& file, const std::string& title)> openFile;
        std::function<void(const std::string& text)> showStatus;
    };

    HostRequests(host::ARclass& arclass, Desktop desktop);

    void answer(const std::string& formx, const std::string& docnox, const std::string& arg2);

    // The folder printouts are written to (made when missing).
    static std::string reportFolder(const std::string& installationFolder);

    using Printout = std::variant<print::DocumentPrintout, print::ReceiptPrintout, print::TablePrintout>;

    // The printout of an "ActiveReport" request: the rows of its query, with the
    // addresses the query does not read. Rows that are neither a document's header and
    // lines nor a receipt's print as a table (dated `printedOn`); nullopt when there are
    // no rows. Throws db::DbError when the query fails.
    static std::optional<Printout> printoutOf(db::Database& db, const std::string& titleArgument,
                                              const std::string& query, const std::string& companyName,
                                              const std::string& printedOn = "");

private:
    void printDocument(const std::string& titleArgument, const std::string& query);

    using Answer = std::function<void(const std::string& docnox, const std::string& arg2)>;

    host::ARclass& m_arclass;
    Desktop m_desktop;
    std::map<std::string, Answer> m_answers;
};

}  // namespace keltro::app
