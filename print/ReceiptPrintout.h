// A printed receipt as plain values.
//
// The receipt screen's "&Preview" asks the host for "ActiveReport" with a title argument
// ("A/R Receipt,RC-26-00001,0") and the text of a query that reads the receipt's header
// with each document line it applied, one row per line (receipts/ReceiptPrint.h). The
// host runs the query and hands the rows to `receiptPrintoutFromRows`, which reads the
// columns by name and keeps what the page shows:
//
//     if (holdsReceiptLines(rows))
//         ReceiptPrintout printout = receiptPrintoutFromRows(rows, parseReportTitle(title), company);
//
// The amounts are taken signed as the receipt stores and shows them: a credit note or an
// unapplied-cash document that the receipt set off carries negative amounts, so that the
// lines add up to what the customer paid for them. Dates come as the screen showed them,
// in the user's format; the exchange rate as stored.
#pragma once

#include <string>
#include <vector>

#include "db/Row.h"
#include "print/ReportRows.h"

namespace keltro::print {

// One document line the receipt applied.
struct AppliedDocument {
    std::string documentNo;
    std::string documentType;  // "Invoice", "Credit Note" …; "" when the rows do not tell
    std::string payItem;
    double openAmount = 0;  // before this receipt
    double applied = 0;
    double discount = 0;
    double writeoff = 0;
    double balance = 0;  // left open after it
};

struct ReceiptPrintout : PrintoutHeading {
    std::string reference;  // the receipt number the person typed
    std::string date;       // as the screen showed it, in the user's format
    std::string address;  // lines separated by "\n"; the rows carry none, the host adds it
    std::string payer;
    std::string payBy;  // "Cash", "Check", "Pay Later" or a card's name
    std::string checkNo;
    std::string checkDate;
    std::string bankCode;
    std::string cashAccount;
    std::string currency;
    std::string exchangeRate;  // empty in the base currency
    std::string rateDate;
    double baseAmount = 0;  // the receipt amount in the base currency
    std::string remark;
    bool isVoid = false;
    double receiptAmount = 0;
    double unapplied = 0;  // what no document took, kept as unapplied cash
    std::string unappliedDocno;
    std::vector<AppliedDocument> lines;

    // Sums of the lines, each rounded to the cent.
    double appliedTotal() const;
    double discountTotal() const;
    double writeoffTotal() const;
};

// Whether the rows are a receipt's header and applied lines.
bool holdsReceiptLines(const db::Rows& rows);

// The printout of the rows; the header values come from the first row, the number from
// the rows when they carry one, else from the title. The lines go by document number, each
// document's in the rows' order (by pay item); a receipt that applied nothing (its header
// joined to no line) has none.
ReceiptPrintout receiptPrintoutFromRows(const db::Rows& rows, const ReportTitle& title,
                                        const std::string& companyName);

}  // namespace keltro::print
