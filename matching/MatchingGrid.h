// The matching grid `dbgrid1`: one row per open item of the customer, every currency
// together, and the rules its cells follow.
//
// Amounts keep the sign they are stored with: debit items (invoices, debit notes)
// positive, credit items (credit notes, prepayments, unapplied cash) negative, and what is
// applied to an item carries the item's sign. A row with a positive applied amount stands
// on the debit side, one with a zero or negative applied amount on the credit side; the
// two sides must come to the same amount in base currency:
//
//     invoice       100.00 USD   applied  100.00              debit side   100.00
//     credit note   -60.00 EUR   applied  -60.00 at 1.10      credit side   66.00
//     unapplied     -34.00 USD   applied  -34.00              credit side   34.00
//
// Each foreign item is taken at its currency's receipt rate (the newest rate on or before
// the rate date); its base-currency amount is round(applied × that rate, 2). Clicking into
// "applied amount" of a row without one applies its open amount less the discount still
// available and takes that discount ("quick fill").
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "db/Database.h"
#include "framework/ScreenParts.h"
#include "receipts/ReceiptApplication.h"

namespace keltro::matching {

// The captions of `dbgrid1`: the receipt grid's, and two of the matching's own.
namespace column {
using namespace receipts::column;
inline constexpr const char* kBalance = "balance";
inline constexpr const char* kCheckNo = "check no";
}  // namespace column

// The receipt rate of each currency, read once per currency: the newest rate on or before
// the rate date (the newest of all without one); the base currency has none.
class ReceiptRates {
public:
    ReceiptRates(db::Database& db, std::string baseCurrency, std::optional<db::Date> rateDate);
    std::optional<double> of(const std::string& currency);

private:
    db::Database& m_db;
    std::string m_base;
    std::optional<db::Date> m_rateDate;
    std::map<std::string, std::optional<double>> m_rates;
};

// The row offering the item, with its receipt rate; the cells a person fills stay empty.
framework::GridRow offeredRow(const receipts::OpenItem& item,
                              const receipts::OfferContext& context,
                              const std::optional<double>& receiptRate);

// The click into "applied amount": false when the row already has an applied amount.
bool quickFill(framework::GridRow& row);

// A cell took its new text: amounts show as "#,##0.00" (other text stays, for the line
// checks to name), then the balance and the base-currency amount follow.
void cellEdited(framework::GridRow& row, const std::string& caption);

// ----- totals -----------------------------------------------------------------------------

struct MatchingTotals {
    double creditBase = 0;  // the credit side in base currency, as signed (0 or below)
    double debitBase = 0;   // `txtinvoice_base`
    double debit = 0;       // `txttotal`, in the debit side's currency
    // The debit side's currency; empty when its rows carry more than one (or none).
    std::string debitCurrency;
    bool mixedDebitCurrencies = false;
};

// Over the rows `indexes` with an invoice no and an applied amount. A credit row counts
// its applied amount in the base currency, its base-currency amount in another.
MatchingTotals totalsOf(const std::vector<framework::GridRow>& rows,
                        const std::vector<std::size_t>& indexes, const std::string& baseCurrency);

// ----- what a save reads --------------------------------------------------------------------

// The first line check the row fails, after its invoice no ("INV-26-00001: write off is
// invalid"); nothing when it passes or has no invoice no.
std::optional<std::string> lineRefusal(const framework::GridRow& row);

struct MatchingLine {
    receipts::ApplicationLine amounts;  // identity, amounts, rates and accounts
    std::string documentType;           // as shown: "Invoice", "Credit Note" …
    std::string checkNo;

    // What stays open: open − applied − discount taken − write-off.
    double balance() const;
};

// The lines of the rows `indexes` (ascending), until a row without an invoice no.
std::vector<MatchingLine> matchingLines(const std::vector<framework::GridRow>& rows,
                                        const std::vector<std::size_t>& indexes);

// "Invoice" "inv", "Credit Note" "cn", "Debit Note" "dn", "Unapplied cash" "ua",
// "Prepayment" "rpp"; anything else as it is.
std::string matchingDoctype(const std::string& documentType);

// Whether the line's document is an invoice, debit note or credit note, whose matching
// line records the cheques used.
bool recordsCheques(const MatchingLine& line);

// The cheque numbers of the lines with an applied amount and a cheque, joined with ",".
std::string chequesUsed(const std::vector<MatchingLine>& lines);

// A stored matching line as the grid shows it (read-only).
framework::GridRow storedRow(const db::Row& line, const std::string& dateFormat);

}  // namespace keltro::matching
