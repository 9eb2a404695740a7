// The lines of the invoice screen: the grid `dbgrid1` as the person types it, and the
// `AR_transaction_table` rows it becomes.
//
// A grid row is text keyed by column caption ("pay item", "gross amount" …), amounts shown
// "#,##0.00". A row without a pay item is not a line: it is left out of the totals and is
// not saved. The document's totals are `txtgross` (the taxable amounts), `txttax` and
// `txttotal` (their sum).
//
// Writing the lines of a save turns each line into a store line, in grid order:
//
//     pay item (trimmed), description, gross; open = gross (an edited line keeps the part
//     already paid deducted, and may not fall below it: "pay item 2 : Cannot change gross
//     amount to be less than paid amount."); taxable, tax, tax code; the line's tax-table
//     rows as its authority groups ("cannot find tax element for pay item 2" when a line
//     with a gross amount above 0 has none); stamps; sales account ("please specify sales
//     account" when empty) and the document's receivable account.
//
// Invoice lines are stamped with the workstation, user, date and time of creation; debit-
// and credit-note lines only with the date and `User`, and carry `Source`, `source_docno`,
// `source_form` and the due date as entered (`due_datedb`). An edit save stamps
// `user_updated`, `date_lastmodified` and `time_lastmodified` too.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework/FieldText.h"
#include "db/Value.h"
#include "framework/ScreenParts.h"
#include "invoice/InvoiceTax.h"
#include "services/Ui.h"
#include "store/ArDocument.h"

namespace keltro::invoice {

// The captions of `dbgrid1`.
namespace column {
inline constexpr const char* kPayItem = "pay item";
inline constexpr const char* kDescription = "description";
inline constexpr const char* kGross = "gross amount";
inline constexpr const char* kOpen = "open amount";
inline constexpr const char* kTaxable = "taxable amount";
inline constexpr const char* kTax = "tax amount";
inline constexpr const char* kTaxCode = "tax code";
inline constexpr const char* kCurrency = "currency";
inline constexpr const char* kPaid = "paid";
inline constexpr const char* kDiscountTaken = "discount taken";
inline constexpr const char* kWriteOff = "write-off";
inline constexpr const char* kSourceFormColumn = "source form";
inline constexpr const char* kUserCreated = "user created";
inline constexpr const char* kSalesAccount = "sales account";
inline constexpr const char* kAccountName = "account name";
inline constexpr const char* kCreatedDate = "created date";
inline constexpr const char* kCreatedTime = "created time";
inline constexpr const char* kComputerId = "computer id";
}  // namespace column

inline constexpr const char* kSourceInvoice = "AR-INVOICE";
inline constexpr const char* kSourceForm = "A/R Invoice Entry";

using framework::trimmedText;

// Text a person may type into an amount cell: a number, with or without thousands
// separators ("1,234.50", "-5"). Empty text is not a number.
bool isNumericText(const std::string& text);
// An amount cell: nothing when empty.
std::optional<double> amountOfCell(const framework::GridRow& row, const std::string& caption);
std::string cellText(const framework::GridRow& row, const std::string& caption);

// One grid row with a pay item, as typed.
struct EntryLine {
    std::string payItem;  // trimmed
    std::string description;
    std::optional<double> grossAmount;
    std::optional<double> taxableAmount;
    std::optional<double> taxAmount;
    std::string taxCode;
    std::string salesAccno;
};

// The rows of the grid that are lines, in grid order.
std::vector<EntryLine> entryLines(const std::vector<framework::GridRow>& rows);

struct Totals {
    double taxable = 0;  // `txtgross`
    double tax = 0;      // `txttax`
    double total = 0;    // `txttotal`
};

Totals totalsOf(const std::vector<EntryLine>& lines);

// The pay item "&Insert Line" gives a new row: the next whole number above the highest
// numeric pay item of the grid ("1" for a grid without one).
std::string nextPayItem(const std::vector<framework::GridRow>& rows);

// A stored line as a grid row; dates in the user's format.
framework::GridRow gridRowOf(const store::ArLine& line, const std::string& accountName,
                             const std::string& dateFormat);

// Who writes the lines, and when.
struct LineStamp {
    std::string user;
    db::Date today;
    std::string time;  // "hh:mm:ss"
    std::string computer;
};

struct LineWriting {
    bool note = false;  // a debit or credit note
    bool edit = false;  // an edit save: stamped as updated, paid parts kept
    std::string receivableAccno;
    std::optional<db::Date> dueDate;  // `due_datedb` of note lines
    std::string sourceDocno;
    LineStamp stamp;
    // The document's lines as stored before the edit (settlement columns, creation stamps
    // and the part already paid are kept by pay item).
    std::vector<store::ArLine> stored;
};

// The store lines of a save, amounts positive; nothing after the message of the first
// line that cannot be written.
std::optional<std::vector<store::ArLine>> storeLines(services::Ui& ui,
                                                     const std::vector<EntryLine>& lines,
                                                     const TaxTable& taxes,
                                                     const LineWriting& writing);

}  // namespace keltro::invoice
