// Applying a receipt: the grid `dbgrid1` of the receipt screen, one row per open pay item
// of the customer, and the rules its cells follow.
//
// Amounts keep the sign they are stored with: an invoice or debit-note line is positive,
// a credit note or an unapplied-cash document negative, and whatever is applied to a
// line carries the line's sign. After every edit the row's net balance (open amount less
// discount taken, write-off and applied amount) may not cross zero; the applied amount is
// cut back so that it does not:
//
//     open 530.00, discount taken 10.60            applied 519.40, net balance 0.00
//     open 530.00, applied 600                     applied cut back to 530.00
//     open 530.00, applied 300, discount 10.60     applied 519.40 (the discount re-applies)
//     credit note, open -100.00, applied 50        refused: "applied amount is invalid."
//
// A row in a foreign currency is received at its own rate ("receipt exch rate"); its
// base-currency amount is round(applied × that rate, 2). Clicking into "applied amount"
// of an untouched row applies the whole open amount less the discount still available
// ("quick apply"). Values show as "#,##0.00"; a rate as typed.
#pragma once

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "db/Value.h"
#include "framework/ScreenParts.h"

namespace keltro::receipts {

// The captions of `dbgrid1`.
namespace column {
inline constexpr const char* kDocumentType = "document type";
inline constexpr const char* kPayItem = "pay item";
inline constexpr const char* kInvoiceNo = "invoice no";
inline constexpr const char* kInvoiceDate = "invoice date";
inline constexpr const char* kGross = "gross amount";
inline constexpr const char* kOpen = "open amount";
inline constexpr const char* kDiscountAvailable = "discount available";
inline constexpr const char* kCurrency = "currency";
inline constexpr const char* kInvoiceRate = "invoice exch rate";
inline constexpr const char* kReceiptRate = "receipt exch rate";
inline constexpr const char* kApplied = "applied amount";
inline constexpr const char* kDiscountTaken = "discount taken";
inline constexpr const char* kWriteOff = "write-off";
inline constexpr const char* kDiscountAccount = "discount account";
inline constexpr const char* kWriteOffAccount = "write-off account";
inline constexpr const char* kBaseAmount = "base-currency amount";
inline constexpr const char* kNetBalance = "net balance";
inline constexpr const char* kDeposit = "deposit";
inline constexpr const char* kSalesInvoice = "sales invoice";
inline constexpr const char* kRemark = "remark";
inline constexpr const char* kComputerId = "computer id";
}  // namespace column

// The source form of documents made by the sales module's invoicing; receipts keep its
// headers' paid flags too.
inline constexpr const char* kSalesInvoiceForm = "Sales Invoice Entry";

// ----- text ---------------------------------------------------------------------------

// A number as a person types it, with or without thousands separators ("1,234.50");
// nothing for empty or other text.
std::optional<double> numberOf(const std::string& text);
// A rate as the shortest text that reads back as the same number ("1.1012"); "" for none.
std::string rateText(const std::optional<double>& rate);
std::string cellOf(const framework::GridRow& row, const std::string& caption);
// The account number of an account cell: the cell shows "accno;accname" or what was typed.
std::string accountOfCell(const framework::GridRow& row, const std::string& caption);

// ----- offering the open items ----------------------------------------------------------

// One open line of `AR_transaction_table`, amounts as stored (signed).
struct OpenItem {
    std::string doctype;
    std::string docno;
    std::string payItem;
    std::optional<db::Date> invoiceDate;
    double grossAmount = 0;
    double openAmount = 0;
    std::optional<double> earlyDiscount;  // percent
    std::optional<db::Date> discountDate;
    std::string currency;
    std::optional<double> exchangeRate;
    std::string sourceForm;
    std::string checkNo;  // the cheque that paid unapplied cash or a prepayment
};

// "Invoice" ('ar', 'inv'), "Unapplied cash" ('ua'), "Credit Note", "Debit Note",
// "Prepayment" ('rpp'); another doctype shows as it is.
std::string documentTypeLabel(const std::string& doctype);

// The early-payment discount a line still offers today: round(gross × percent / 100, 2)
// while today is on or before its discount date, else 0. The receipt date plays no part.
double discountAvailable(const OpenItem& item, const db::Date& today);

struct OfferContext {
    std::string baseCurrency;
    std::string dateFormat;
    db::Date today;
    std::string computerId;
};

// The grid row offering the line; the cells a person fills stay empty.
framework::GridRow offeredRow(const OpenItem& item, const OfferContext& context);

// The lines of document `docno` first, the others after them, each in their order.
std::vector<OpenItem> withDocumentFirst(std::vector<OpenItem> items, const std::string& docno);

// The currency every line is in; nothing when they differ or there are none.
std::optional<std::string> commonCurrency(const std::vector<OpenItem>& items);

// ----- editing a row --------------------------------------------------------------------

enum class CellVerdict {
    Accept,
    NotNumeric,  // "please input numeric data"
    WrongSign,   // "applied amount is invalid."; the cell is emptied
};

// Whether the row's cell may take `text`.
CellVerdict checkCell(const framework::GridRow& row, const std::string& caption,
                      const std::string& text);
std::string refusalMessage(CellVerdict verdict);

// What follows once the cell `caption` took its new text: the applied amount from a
// discount or write-off, the net balance and its cut-back, the base-currency amount.
void cellEdited(framework::GridRow& row, const std::string& caption,
                const std::string& baseCurrency);

// Recomputes the net balance (cutting the applied amount back where it crosses zero) and
// the base-currency amount.
void settleRow(framework::GridRow& row, const std::string& baseCurrency);

struct QuickApplyContext {
    std::string baseCurrency;
    std::string receiptCurrency;
    std::string receiptRate;  // `cmbexrate` as shown
};

// The click into "applied amount": false when the row already has an applied amount or
// no open amount.
bool quickApply(framework::GridRow& row, const QuickApplyContext& context);

// The row's base-currency amount: the applied amount in base currency; in another
// currency round(applied × receipt exch rate, 2), empty while either is missing.
std::string baseAmountText(const framework::GridRow& row, const std::string& baseCurrency);

// ----- totals ---------------------------------------------------------------------------

struct ApplicationTotals {
    double applied = 0;    // `txttotal`: applied amounts of the rows with an invoice no
    double base = 0;       // `txttotal_base`
    std::string currency;  // `label_total_currency`: the currency of the first applied row
};

ApplicationTotals totalsOf(const std::vector<framework::GridRow>& rows);
// The same totals read from the rows `indexes` (ascending) only, the others holding no
// amounts (see RowsWithAmounts).
ApplicationTotals totalsOf(const std::vector<framework::GridRow>& rows,
                           const std::vector<std::size_t>& indexes);

// The rows of the grid that may hold amounts. An offered row comes with its amount cells
// empty, so of offered rows only those a person has typed or clicked into since may;
// every row shown from a stored receipt may. The totals and the save read these rows
// only: a customer with a thousand open items costs no more to apply and save than one
// with ten.
class RowsWithAmounts {
public:
    // The grid was filled anew with offered rows (or emptied to be offered rows).
    void offered() { reset(false); }
    // The grid was filled anew with a stored receipt's rows (or emptied of them).
    void stored() { reset(true); }
    // A cell of the row was typed or clicked into.
    void edited(std::size_t row) {
        if (!m_everyRow) m_rows.insert(row);
    }
    // Their indexes among `rows`, ascending.
    std::vector<std::size_t> of(const std::vector<framework::GridRow>& rows) const;

private:
    void reset(bool everyRow) {
        m_everyRow = everyRow;
        m_rows.clear();
    }

    bool m_everyRow = true;
    std::set<std::size_t> m_rows;
};

// ----- what a save reads ------------------------------------------------------------------

// A row of the grid as the save writes it; empty amounts count as 0.
struct ApplicationLine {
    std::string invoiceNo;
    std::string payItem;
    std::string invoiceDateText;  // as shown, in the user's date format
    double grossAmount = 0;
    double openAmount = 0;  // as offered
    double discountAvailable = 0;
    double applied = 0;
    double discountTaken = 0;
    double writeoff = 0;
    std::string currency;
    std::optional<double> invoiceRate;
    std::optional<double> receiptRate;
    std::optional<double> baseAmount;
    std::string discountAccno;
    std::string writeoffAccno;
    bool salesInvoice = false;
    std::string remark;
    std::string computerId;

    // Applied amount, discount and write-off are all zero: the row is passed over.
    bool isUntouched() const;
    // What the row takes off the open amount: applied + discount + write-off.
    double settled() const;
};

// The rows from the first until one without an invoice no.
std::vector<ApplicationLine> applicationLines(const std::vector<framework::GridRow>& rows);
// The same lines of the rows `indexes` (ascending) only, the others being untouched
// lines, which a save passes over.
std::vector<ApplicationLine> applicationLines(const std::vector<framework::GridRow>& rows,
                                              const std::vector<std::size_t>& indexes);

}  // namespace keltro::receipts
