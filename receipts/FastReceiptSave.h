// Saving a fast receipt batch: the header's checks, then the batch, its lines and one
// journal per line in one transaction, or nothing.
//
// The header is checked first, each failure with its message and nothing written: the
// amount ("please specify receipt amount" …), the date, the bank ("Please specify Bank
// code"), the currency and its rate, the bank itself ("Bank code is invalid", "Bank code :
// linked account is empty", "This Bank code does not accept this currency (EUR)"), period
// and fiscal year. The lines are checked as they are written, in grid order; a line that
// fails stops the whole save:
//
//     a label other than the four types     "Transaction type is invalid"
//     a cheque without a readable date      "please specify check date" / "check date is invalid"
//     a receipt without its invoice         "please specify invoice no for Transaction-type Receipt"
//     a miscellaneous one without account   "please specify account for misc receipt"
//     types 1 to 3 without a customer       "please specify customer" / "customer_no invalid value"
//
// A row whose amount is empty or 0, or that is marked deleted, is not stored and posts
// nothing. A row posts in its own period and year when both cells are filled, else in
// the batch's.
//
// The journal of a line ("AR", "Fast Receipt Entry", remark "Fast receipt no. " + batch
// number, Description the customer's name + " Pay Cash" or " Pay Check no " + cheque):
// the bank's account debited with the amount, and credited the customer's receivable
// account (types 1 and 2), the customer's prepayment account (type 3) or the line's
// account (type 4). Its lines carry the base amount (the amount, or round(amount × rate,
// 2) in a foreign currency) so that balances and audits read real figures.
//
// Editing a stored batch reverses every line's journal inside that journal ("Reverse due
// to edit Fast receipt"), rewrites the header and the lines (a line marked deleted or
// emptied is removed, a new row added) and posts every line again. Voiding a batch that
// is not complete reverses its journals likewise and marks it void.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/Database.h"
#include "receipts/FastReceiptRecords.h"
#include "services/Balances.h"
#include "services/Clock.h"
#include "services/JournalWriter.h"
#include "services/Ui.h"

namespace keltro::receipts {

// A grid row as typed.
struct FastReceiptRow {
    std::string lineno;
    std::string type;  // a label
    std::string by;    // "Cash", "Check"
    std::string checkNo;
    std::string checkDate;
    std::string amount;
    std::string invoiceNo;
    std::string orderNo;
    std::string customerPo;
    std::string description;
    std::string accno;
    std::string customerNo;
    std::string payer;
    std::string period;
    std::string fyear;
    bool deleted = false;
};

struct FastReceiptDraft {
    std::string amountText;
    std::optional<db::Date> receiptDate;
    std::string bankCode;
    std::string currency;
    std::string rateText;
    std::optional<db::Date> rateDate;
    std::string remark;
    std::string periodText;
    std::string fyear;
    std::vector<FastReceiptRow> rows;
};

struct CheckedFastReceipt {
    double amount = 0;
    std::optional<double> rate;  // foreign currency only
    double baseAmount = 0;
    db::Date receiptDate;
    std::string bankCode;
    std::string bankAccno;
    int period = 0;
    std::string fyear;
};

std::optional<CheckedFastReceipt> checkFastReceipt(db::Database& db, services::Ui& ui,
                                                   const std::string& baseCurrency,
                                                   const FastReceiptDraft& draft);

struct FastReceiptSaveContext {
    db::Database& db;
    services::Ui& ui;
    const services::Clock& clock;
    services::LedgerContext& ledger;
    std::string user;
    std::string baseCurrency;
    std::string dateFormat;

    services::JournalContext journal() const { return {ledger, clock, user, baseCurrency}; }
};

// A new batch; its key, nothing after a message.
std::optional<std::string> saveNewFastReceipt(FastReceiptSaveContext& context,
                                              const FastReceiptDraft& draft,
                                              const CheckedFastReceipt& checked);

// The stored batch `stored` rewritten from the draft; false after a message.
bool updateStoredFastReceipt(FastReceiptSaveContext& context, const FastReceiptHeader& stored,
                             const FastReceiptDraft& draft, const CheckedFastReceipt& checked);

// The message that refuses editing, voiding or generating the batch: docno + " was void."
// or docno + " is complete."; empty when it may go ahead.
std::string fastReceiptRefusal(const FastReceiptHeader& batch);

// Reverses every line's journal and marks the batch void; false after a message.
bool voidFastReceipt(FastReceiptSaveContext& context, const FastReceiptHeader& batch);

}  // namespace keltro::receipts
