// Printing a receipt: the query the host's report engine runs for "&Preview".
//
// The screen asks the host for "ActiveReport" with the title, the receipt number and a
// flag ("A/R Receipt,RC-26-00001,0") and the query below: the receipt's header with each
// of its lines (a receipt that applied nothing prints its header alone), by pay item.
// Besides the stored columns each line carries `document_type`, the doctype of the
// document it applied ('ar', 'cn', 'ua' …), read by a sub-select so that the rows stay one
// per line. The values the screen shows — customer name and dates in the user's format —
// and the receipt's key go into the text as quoted literals (services::sqlLiteral) with
// every quote doubled, so that the query runs as it stands on SQLite and on PostgreSQL:
// O'Brien Hardware becomes 'O''Brien Hardware'.
#pragma once

#include <string>

namespace keltro::receipts {

// What the printout shows as the screen shows it.
struct PrintedReceipt {
    std::string fkey;
    std::string docno;
    std::string customerName;
    std::string receiptDate;  // in the user's date format
    std::string checkDate;
    std::string rateDate;
};

// The report's title argument: "A/R Receipt," + docno + ",0".
std::string previewTitle(const PrintedReceipt& receipt);

std::string previewQuery(const PrintedReceipt& receipt);

// A miscellaneous receipt with each line and its account's name, by line number; printed
// under "A/R Miscellaneous Receipt".
std::string miscReceiptPreviewQuery(const std::string& fkey);

// A fast receipt batch with each line and its customer, by line number; printed under
// "A/R Fast Receipt".
std::string fastReceiptPreviewQuery(const std::string& fkey);

}  // namespace keltro::receipts
