// Where received money goes, by how it was paid: the account a receipt debits.
//
//     "Cash"       the cash account chosen, else the bank's account (one of the two is needed)
//     "Pay Later"  the same: the money is recorded where it will arrive
//     "Check"      the bank's account; bank, cheque number and cheque date are needed
//     a card name  the card's asset account (receipts) or payable account (miscellaneous
//                  receipts), from Credit_card_master_table
//
// A bank, once used, must exist ("Bank code " + code + " is invalid."), have a linked
// account ("Bank code : linked account is empty") and accept the currency ("This Bank code
// does not accept this currency (" + currency + ")"). Each failing check says so in one
// message and gives nothing.
#pragma once

#include <optional>
#include <string>

#include "db/Database.h"
#include "services/Ui.h"

namespace keltro::receipts {

// How the money came, as typed.
struct PayBy {
    std::string payby;
    std::string cashAccno;
    std::string bankCode;
    std::string checkNo;
    std::optional<db::Date> checkDate;
    std::string currency;
};

// Which account of a credit card takes the money.
enum class CardAccount { Asset, Payable };

struct MoneyAccount {
    std::string debitAccno;  // the account debited
    std::string cashAccno;   // as the header stores them: the cash account, or
    std::string bankCode;    // the bank
};

// "please specify pay by" when empty, then the rules above.
std::optional<MoneyAccount> checkedMoneyAccount(db::Database& db, services::Ui& ui,
                                                const PayBy& paid, CardAccount card);

}  // namespace keltro::receipts
