// Reversing a journal: undoing a posted document in the general ledger.
//
// A posted journal is never changed or deleted. Editing or voiding its document reverses
// it instead: every line is copied with `amount` and `base_amount` negated, each copy
// moves the balances back, and the reversing lines must pass the document check. The
// copies keep the account, segments, currency, ledger, rate and customer of the line they
// undo; they are stamped with today's user, date and time.
//
// Two places can take the copies:
//
//   * a new journal ("gl", its own number and key) dated today, in today's fiscal year
//     and period, whatever the period of the journal it reverses. Its header says
//     `Description` "void invoice " + document no. (invoices, prepayments) or "void
//     receipt " + receipt no., and `remark` "Reverse GL " + the reversed journal's number;
//     the reversed header gets `Reverse` TRUE and `remark` "Reversed by " + the new
//     journal's number (invoices and prepayments also change its `Description`: "Edit
//     invoice " / "Void invoice " + document no.);
//   * the reversed journal itself: the copies are appended after its last line, and its
//     header gets the given `Description` and `Reverse` TRUE. A receipt voided in the
//     fiscal year and period of its journal is reversed so, and a fast-receipt line
//     whose batch is edited, always.
//
// Each function runs inside the caller's transaction and gives nullopt after a message
// (no fiscal year for today, numbering, an account gone, balances, the document check),
// when the caller rolls back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "db/Value.h"
#include "services/JournalLines.h"

namespace keltro::services {

// Where a reversal went.
struct Reversal {
    std::string journalKey;  // the journal holding the reversing lines; "" when the
                             // reversed journal had no lines (nothing was done)
    std::string journalNo;
    bool appended = false;  // the lines went into the reversed journal itself
};

// A reversal into a new journal, with every text and mark spelled out.
struct NewJournalReversal {
    std::string journalKey;  // the journal to reverse
    db::Date date;           // `gldate` of the new journal
    std::string period;
    std::string fyear;
    std::string source;
    std::string description;
    // `remark` of the new journal; "Reverse GL " + the reversed journal's number when empty.
    std::optional<std::string> remark;
    // New `Description` of the reversed header (unchanged when empty).
    std::optional<std::string> reversedDescription;
    // Marks the reversed header: `Reverse` TRUE and "Reversed by " + new number.
    bool markReversed = true;
};

std::optional<Reversal> ReverseIntoNewJournal(JournalContext& context,
                                              const NewJournalReversal& reversal);

// Appends the reversing lines to the journal itself; its header takes `description` and
// `Reverse` TRUE.
std::optional<Reversal> AppendJournalReversal(JournalContext& context, std::string_view journalKey,
                                              std::string_view description);

// ----- the screens' reversals -----------------------------------------------------------

enum class InvoiceChange { Edit, Void };

// An invoice, debit or credit note edited or voided: a new journal today ("AR-INVOICE").
std::optional<Reversal> ReverseInvoiceJournal(JournalContext& context, std::string_view glKey,
                                              std::string_view documentNo, InvoiceChange change);

// A prepayment voided: a new journal today ("AR-PREPAY"), texts as for a voided invoice.
std::optional<Reversal> ReversePrepaymentJournal(JournalContext& context, std::string_view glKey,
                                                 std::string_view prepaymentNo);

// A receipt voided: appended to its journal ("Void receipt " + receipt no.) when today
// lies in the journal's fiscal year and period, else a new journal of `source`
// ("AR-RECEIPT"; a miscellaneous receipt's is "AR-MISC").
std::optional<Reversal> ReverseReceiptJournal(JournalContext& context, std::string_view glKey,
                                              std::string_view receiptNo,
                                              std::string_view source = "AR-RECEIPT");

}  // namespace keltro::services
