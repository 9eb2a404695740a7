// The checks that guard a posting: may an account carry a currency, and does a journal
// balance.
//
// Journal amounts follow one sign convention: a positive amount increases its account on
// the account's normal side (`Account_master_table.debit`). A line therefore counts as a
// debit of its base amount on a debit account and as a credit on a credit account, and a
// journal balances when the base amounts, + on debit accounts and - on the others, sum to
// zero. The sum is rounded to cents after every line, so differences of half a cent that
// round away do not count:
//
//     receivable (debit account) +110, sales (credit) +100, tax (credit) +10   balances
//     the same with tax +10.01                                                  refused
//
// After the last line of a journal, `CheckDocumentBalance` refuses a line whose account is
// unknown (silently), an inactive account ("Account " accno " is inactive.") and a journal
// that does not balance ("Document is not balance (debit <> credit)"); the saving screen
// then rolls back everything it wrote.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/Database.h"
#include "services/Ui.h"

namespace keltro::services {

// Whether `Account_currency_table` pairs the account with the currency.
bool AccountCurrencyExists(db::Database& db, std::string_view accno, std::string_view currency);

// The running total of a journal after one more line: round(total ± base amount, 2), + on
// a debit account. A line without a base amount adds nothing.
double AddToJournalTotal(double total, bool debitAccount, std::optional<double> baseAmount);

// One journal line as the check reads it.
struct CheckedLine {
    std::string accno;
    bool accountExists = false;
    bool inactive = false;
    bool debit = false;
    std::optional<double> baseAmount;
};

// The check over lines already read, in line order. A journal without lines passes.
bool CheckDocumentBalance(Ui& ui, const std::vector<CheckedLine>& lines);

// The check over the lines of the journal with key `journalKey`.
bool CheckDocumentBalance(db::Database& db, Ui& ui, std::string_view journalKey);

}  // namespace keltro::services
