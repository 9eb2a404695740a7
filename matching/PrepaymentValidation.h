// The checks a new prepayment passes before anything of it is written.
//
// The first check that fails says so in one plain message box and stops the save. The
// order: the amount ("0" is as good as no amount: "please specify receipt amount"), the
// receipt date, the customer, pay by, what the pay by needs, the account the money goes
// into, the currency and its rate, period and fiscal year, the working period.
//
// Pay by decides the cash side of the journal:
//
//     "Cash"       the cash account chosen, else the bank's account (one of the two is needed)
//     "Check"      the bank's account; bank, cheque number and cheque date are needed
//     a card name  the card's payable account (Credit_card_master_table)
//
// "Pay Later" is no way to pay in advance and is refused like an empty pay by.
#pragma once

#include <optional>
#include <string>

#include "db/Database.h"
#include "services/Ui.h"
#include "store/ReferenceData.h"

namespace keltro::matching {

// The prepayment as the screen holds it, texts as typed.
struct PrepaymentDraft {
    std::string amountText;
    std::optional<db::Date> receiptDate;
    std::string customerNo;
    std::string payby;
    std::string cashAccno;
    std::string bankCode;
    std::string checkNo;
    std::optional<db::Date> checkDate;
    std::string currency;
    std::string rateText;
    std::optional<db::Date> rateDate;
    std::string periodText;
    std::string fyear;
    // Kept as typed.
    std::string receiptNo;
    std::string payer;
    std::string remark;
    std::string orderNo;
    std::string customerPo;
};

// What the checks found out.
struct CheckedPrepayment {
    double amount = 0;  // document currency
    bool foreign = false;
    std::optional<double> rate;  // foreign currency only
    double baseAmount = 0;
    db::Date receiptDate;
    store::Customer customer;
    std::string cashSideAccno;  // the account debited
    int period = 0;
    std::string fyear;
};

struct PrepaymentCheckContext {
    db::Database& db;
    services::Ui& ui;
    std::string baseCurrency;
};

// Nothing after the message of the first check that fails.
std::optional<CheckedPrepayment> checkNewPrepayment(const PrepaymentCheckContext& context,
                                                    const PrepaymentDraft& draft);

}  // namespace keltro::matching
