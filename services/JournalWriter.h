// The journal writer: how every saved document reaches the general ledger.
//
// Each posting screen (invoices, receipts, prepayments, matching, miscellaneous and fast
// receipts, revaluation, recurring generation) gathers its amounts per account and
// currency in a `JournalEntries` table and hands it, with a `JournalHeader`, to
// `PostJournal`, inside the screen's own transaction:
//
//     JournalEntries entries;
//     entries.add("1100", "USD", 110.00, 110.00);   // receivable +110 (debit account)
//     entries.add("4000", "USD", 100.00, 100.00);   // sales +100 (credit account)
//     entries.add("2200", "USD", 10.00, 10.00);     // tax +10 (credit account)
//     JournalHeader header{.source = "AR-INVOICE", .sourceForm = "A/R Invoice Entry",
//                          .sourceDocno = docno, .date = invoiceDate, .period = "3",
//                          .fyear = "2026", .currency = "USD", .remark = "Invoice no. " + docno};
//     auto glKey = PostJournal(context, header, entries);  // "1gl-7", or nullopt
//
// Amounts follow the journal's sign convention (services/PostingChecks.h): positive
// increases the account on its normal side. `PostJournal` numbers the journal ("gl"),
// writes its header, then, entry by entry in table order (entries whose amount and base
// amount are both 0 are passed over; one whose amount alone is 0 is written, since its
// base amount still moves the books), its lines:
//
//   * an account with allocation rows (`Allocation_Account_table`) gives k + 2 lines: the
//     account with the amount, the account with the amount negated, and each target with
//     round(amount × percent / 100) — 100.00 on 4090 at 60/40 gives +100, -100, +60, +40;
//   * each line copies its account's segments ("No account " + accno when it has none),
//     takes its ledger ('A' base currency, 'F' foreign) by the screen's rule, makes sure
//     the account carries a foreign currency ("Account " + accno + " has not been set for
//     currency " + currency when that cannot be done), and moves the balances;
//   * in a foreign-currency journal whose base amounts are off by less than 1 after
//     rounding, one more line on the realized gain account (debits exceed credits) or
//     loss account (credits exceed debits) in base currency brings it to balance;
//
// and finally runs the document check. The result is the journal key, or nullopt after
// a message, when the caller rolls back its transaction: no line or balance survives.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/Value.h"
#include "services/Balances.h"
#include "services/JournalLines.h"
#include "services/Numbering.h"

namespace keltro::services {

// The journal's own row (`GL_header_table`), as the screen describes it.
struct JournalHeader {
    std::string source;       // `Source`, e.g. "AR-INVOICE"
    std::string sourceForm;   // e.g. "A/R Invoice Entry"
    std::string sourceDocno;  // the document's number
    db::Date date;            // `gldate`
    std::string period;       // "1" .. "13", "AD", "CL"
    std::string fyear;
    std::string currency;                // the document's currency
    std::optional<double> exchangeRate;  // stored only when the currency is foreign
    std::string remark;
    std::string description;
};

// The aggregation table: amounts per (account, currency), in order of first use, each sum
// rounded to cents. It holds at most 50 entries; a journal that needs more cannot be
// posted, and `PostJournal` says so before anything is written.
class JournalEntries {
public:
    static constexpr std::size_t kMaxEntries = 50;

    void add(std::string_view accno, std::string_view currency, double amount, double baseAmount);
    // Adds every entry of `other`, in its order (a screen that writes one kind of entry
    // before another keeps two tables and appends the second).
    void append(const JournalEntries& other);

    const std::vector<AccountCurrencyTotal>& entries() const { return m_entries; }
    // The first entry that found the table full.
    const std::optional<AccountCurrencyTotal>& refused() const { return m_refused; }

private:
    std::vector<AccountCurrencyTotal> m_entries;
    std::optional<AccountCurrencyTotal> m_refused;
};

// Which ledger a line goes to.
enum class LedgerRule {
    // Invoices, prepayments, recurring and fast receipts: every line follows the document
    // currency ('A' in base currency; 'F' in the document's currency otherwise).
    DocumentCurrency,
    // Receipts, miscellaneous receipts, matching: each line follows its entry's currency.
    EntryCurrency,
};

// The `exchange_rate` of an 'F' line.
enum class ForeignLineRate {
    Document,  // the header's rate
    Implied,   // base amount / amount, see ImpliedExchangeRate
    None,      // left empty
};

// The realized gain and loss accounts of the rounding line, and its customer.
struct RoundingLine {
    std::string gainAccno;
    std::string lossAccno;
    std::optional<std::string> customerNo;
};

struct JournalOptions {
    LedgerRule ledger = LedgerRule::DocumentCurrency;
    ForeignLineRate foreignRate = ForeignLineRate::Document;
    // False: lines carry `amount` only (their `base_amount` stays empty).
    bool baseAmountOnLines = true;
    // True: lines are stamped in `userid` rather than `user_created`.
    bool stampUserid = false;
    // `customer_no` of every line (the rounding line takes the rounding customer).
    std::optional<std::string> lineCustomerNo;
    // The foreign-currency rounding line; nothing is added without it.
    std::optional<RoundingLine> rounding;
};

// Writes the journal (header, lines, balances, checks) and gives its key; nullopt after a
// message. Messages of its own:
//     "Error : the journal needs more than 50 account and currency entries; account "
//         accno " in " currency " is one too many."
//     "No account " accno
//     "Account " accno " has not been set for currency " currency
// and those of numbering, balances and the document check.
std::optional<std::string> PostJournal(JournalContext& context, const JournalHeader& header,
                                       const JournalEntries& entries,
                                       const JournalOptions& options = {});

// Writes the `GL_header_table` row of a new journal numbered `numbers` (company 1,
// doctype "gl", `Reverse` FALSE), stamped with the context's user, today and now.
void InsertJournalHeader(JournalContext& context, const JournalHeader& header,
                         const NewDocumentNumbers& numbers);

// The rate of an 'F' line from its amounts: r = base / amount (1 when the amount is 0),
// kept to the fewest decimals d from 2 to 6 where rounding to d and to d + 1 agree, else
// to 7: 137.20 / 98 gives 1.4; 1 / 3 gives 0.3333333.
double ImpliedExchangeRate(double amount, double baseAmount);

}  // namespace keltro::services
