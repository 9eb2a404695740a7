// A printed A/R document — invoice, debit note or credit note — as plain values.
//
// The invoice screen's "&Preview" asks the host for "ActiveReport" with a title argument
// ("A/R Invoice,INV-26-00001,0": the report title, the document number, a flag) and the
// text of a query that reads the document's header with each of its lines, one row per
// pay item. The host runs the query and hands the rows to `printoutFromRows`, which reads
// the columns by name (without regard to case) and keeps what the page shows:
//
//     auto rows = db.query(queryText);
//     DocumentPrintout printout = printoutFromRows(rows, parseReportTitle(title), company);
//
// The amounts are taken as the rows give them: a credit note's query already turns its
// stored negative amounts positive. Columns the query did not select print blank
// (addresses, tax per authority; ReportRows.h).
#pragma once

#include <string>
#include <vector>

#include "db/Row.h"
#include "print/ReportRows.h"

namespace keltro::print {

struct PrintedLine {
    std::string payItem;
    std::string description;
    std::string taxCode;
    double taxableAmount = 0;
    double taxAmount = 0;
    double grossAmount = 0;
};

// The tax of one authority over the whole document.
struct AuthorityTax {
    std::string authority;
    double amount = 0;
};

struct DocumentPrintout : PrintoutHeading {
    std::string date;     // as the screen showed it, in the user's format
    std::string dueDate;  // likewise
    std::string billTo;  // lines separated by "\n"
    std::string shipTo;
    std::string currency;
    std::string paymentTerm;
    std::string customerPo;
    std::string orderNo;
    std::string applyTo;
    std::string remark;
    std::vector<PrintedLine> lines;
    std::vector<AuthorityTax> taxes;  // empty when the rows carry no authorities

    // Sums of the lines, each rounded to the cent.
    double taxableTotal() const;
    double taxTotal() const;
    double total() const;
};

// Whether the rows are a document's header and lines (a query of another layout, such
// as a receipt's, is not).
bool holdsDocumentLines(const db::Rows& rows);

// The printout of the rows; the header values come from the first row, the number from
// the rows when they carry one, else from the title.
DocumentPrintout printoutFromRows(const db::Rows& rows, const ReportTitle& title,
                                  const std::string& companyName);

}  // namespace keltro::print
