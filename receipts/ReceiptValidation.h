// The checks a receipt passes before anything of it is written.
//
// Each check that fails says so in one plain message box and stops the save. A new
// receipt is checked in this order: currency and rate, receipt amount, receipt base
// amount against the applied total, date, customer and pay by, the pay-by rules (which
// also name the account the money went into), the customer, period and fiscal year, and
// the working period. Completing a receipt the fast receipt screen stored checks the
// amount first, wants a bank, and a cheque or receipt number whatever the pay by.
//
// Pay by decides the account debited:
//
//     "Cash"       the cash account chosen, else the bank's account (a bank is needed)
//     "Check"      the bank's account; bank, cheque number and cheque date are needed
//     "Pay Later"  the cash account or the bank's account chosen
//     a card name  the card's asset account (Credit_card_master_table)
//
// and a bank, once used, must exist and accept the receipt currency.
//
// The working period of receipts is stricter than that of invoices: outside the working
// window a receipt passes only when history updates are allowed and the allowed window
// has both its start and its end period.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/Database.h"
#include "receipts/ReceiptApplication.h"
#include "services/Ui.h"
#include "store/ReferenceData.h"
#include "store/WorkingPeriod.h"

namespace keltro::receipts {

// The receipt as the screen holds it, texts as typed.
struct ReceiptDraft {
    std::string currency;
    std::string rateText;
    std::optional<db::Date> rateDate;
    std::string amountText;
    std::optional<db::Date> receiptDate;
    std::string customerNo;
    std::string receiptNo;
    std::string payer;
    std::string payby;
    std::string cashAccno;
    std::string bankCode;
    std::string checkNo;
    std::optional<db::Date> checkDate;
    std::string remark;
    std::string periodText;
    std::string fyear;
    std::vector<ApplicationLine> lines;
    ApplicationTotals totals;
};

// What the checks found out.
struct CheckedReceipt {
    double amount = 0;
    double rate = 1;  // 1 in the base currency
    bool foreign = false;
    double baseAmount = 0;
    db::Date receiptDate;
    store::Customer customer;
    std::string debitAccno;
    std::string cashAccno;  // as the header stores them
    std::string bankCode;
    int period = 0;
    std::string fyear;
};

struct CheckContext {
    db::Database& db;
    services::Ui& ui;
    std::string baseCurrency;
};

// A new receipt; nothing after the message of the first check that fails.
std::optional<CheckedReceipt> checkNewReceipt(const CheckContext& context,
                                              const ReceiptDraft& draft);

// The completion of a receipt stored by the fast receipt screen.
std::optional<CheckedReceipt> checkFastCompletion(const CheckContext& context,
                                                  const ReceiptDraft& draft);

// The receipts' working-period rule.
bool isWithinReceiptWorkingPeriod(const store::WorkingPeriodConfig& config,
                                  const std::string& fyear, int period);

// The checks the receipt and prepayment screens share, each saying what failed and
// giving nothing then.
//
// The amount typed, rounded: "please specify receipt amount" (empty or 0), "receipt
// amount is invalid", "receipt amount must be positive".
std::optional<double> checkedReceiptAmount(services::Ui& ui, const std::string& amountText);
// The rate of a foreign currency: currency + " is invalid" when it is not a working
// currency, "please specify exchange rate", "exchange rate is invalid".
std::optional<double> checkedForeignRate(db::Database& db, services::Ui& ui,
                                         const std::string& currency, const std::string& rateText);
// The period number and fiscal year: "please specify period", "please specify fiscal year".
struct PeriodAndYear {
    int period = 0;
    std::string fyear;
};
std::optional<PeriodAndYear> checkedPeriodAndYear(services::Ui& ui, const std::string& periodText,
                                                  const std::string& fyearText);

// The receipts' working-period rule, saying "Fiscal period/year is out of working period."
// when it fails.
bool checkReceiptWorkingPeriod(db::Database& db, services::Ui& ui, const std::string& fyear,
                               int period);

// The receipt amount in base currency: the amount, or round(amount × rate, 2).
double receiptBaseAmount(double amount, double rate, bool foreign);

}  // namespace keltro::receipts
