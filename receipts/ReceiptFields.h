// The header fields the receipt screens share: the receipt, fast receipt, miscellaneous
// receipt and prepayment screens record money received in the same fields.
//
// Each function gives a block of fields in the order the screens show them;
// a screen adds the blocks it has between its own fields:
//
//     for (auto& f : documentFields("rc")) addField(std::move(f));
//     for (auto& f : paymentFields()) addField(std::move(f));
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "db/Database.h"

#include "framework/ScreenParts.h"

namespace keltro::receipts {

// The look-up lists of the receipt side (customers by number and by name, G/L accounts).
inline constexpr const char* kCustomerNoList = "0;1500;<;Customer no|1;3000;<;Name";
inline constexpr const char* kCustomerNameList = "0;3000;<;Customer name|1;1500;<;No";
inline constexpr const char* kAccountList = "0;2500;<;Account no|1;3000;<;Name";

// Company, document number, key, the hidden doctype (`doctype`), Id.
std::vector<framework::Field> documentFields(const std::string& doctype);

// The key of the receipt's G/L journal.
framework::Field journalKeyField();

// The receipt date and the fiscal period and year it falls in.
std::vector<framework::Field> receiptDateFields();

// The customer, chosen by number or by name.
std::vector<framework::Field> customerFields();

// How the money came: reference number, payer, pay by, cash account or bank, cheque.
std::vector<framework::Field> paymentFields();

// The bank that received the money.
framework::Field bankField();

// The receipt currency, its exchange rate and the rate's date.
std::vector<framework::Field> currencyFields();

// The printed and void flags.
std::vector<framework::Field> flagFields();

// The look-up lists of the money-received header, by control: pay by ("Cash", "Check" and
// the credit cards in use), cash accounts, banks, customers by number and by name,
// currencies, fiscal years and the periods "1" .. `periodCount`.
std::vector<std::pair<std::string, std::vector<std::string>>> receivedMoneyLists(
    db::Database& db, const std::string& periodCount);

}  // namespace keltro::receipts
