#include "receipts/ReceiptFields.h"

#include "framework/LookupList.h"

namespace keltro::receipts {

using framework::Field;
using framework::FieldKind;

std::vector<Field> documentFields(const std::string& doctype) {
    return {{.name = "cmbcompany", .kind = FieldKind::Combo, .caption = "Company", .value = "1",
             .items = {"1"}},
            {.name = "txtdocno", .caption = "Document no"},
            {.name = "txtfkey", .caption = "Key", .locked = true},
            {.name = "txtdoctype", .caption = "Document type", .value = doctype, .visible = false},
            {.name = "txtid", .caption = "Id", .locked = true}};
}

Field journalKeyField() { return {.name = "txtglfkey", .caption = "G/L key", .locked = true}; }

std::vector<Field> receiptDateFields() {
    return {{.name = "txtrcdate", .kind = FieldKind::Date, .caption = "Receipt date"},
            {.name = "cmbperiod", .kind = FieldKind::Combo, .caption = "Period"},
            {.name = "cmbfyear", .kind = FieldKind::Combo, .caption = "Fiscal year"}};
}

std::vector<Field> customerFields() {
    return {{.name = "cmbcustno", .kind = FieldKind::Combo, .caption = "Customer no",
             .columnSpec = kCustomerNoList},
            {.name = "cmbcustname", .kind = FieldKind::Combo, .caption = "Customer name",
             .columnSpec = kCustomerNameList}};
}

// The credit cards in use join "Cash" and "Check" when the screen loads.
std::vector<Field> paymentFields() {
    return {{.name = "txtrcno", .caption = "Receipt no"},
            {.name = "txtpayer", .caption = "Payer"},
            {.name = "cmbpayby", .kind = FieldKind::Combo, .caption = "Pay by",
             .items = {"Cash", "Check"}},
            {.name = "cmbcash", .kind = FieldKind::Combo, .caption = "Cash account",
             .columnSpec = kAccountList},
            bankField(),
            {.name = "txtcheck", .caption = "Check no"},
            {.name = "txtcheckdate", .kind = FieldKind::Date, .caption = "Check date"}};
}

Field bankField() {
    return {.name = "cmbbank", .kind = FieldKind::Combo, .caption = "Bank",
            .columnSpec = "0;2000;<;Bank code|1;1500;<;Name|2;1500;<;Branch|3;1000;<;Type"};
}

std::vector<Field> currencyFields() {
    return {{.name = "cmbcurrency", .kind = FieldKind::Combo, .caption = "Currency"},
            {.name = "cmbexrate", .kind = FieldKind::Combo, .caption = "Exchange rate",
             .columnSpec = "0;1500;<;Rate|1;1500;^;Rate Date"},
            {.name = "txtratedate", .kind = FieldKind::Date, .caption = "Rate date"}};
}

std::vector<Field> flagFields() {
    return {{.name = "chkprint", .kind = FieldKind::Check, .caption = "Printed", .value = "0",
             .locked = true},
            {.name = "chkvoid", .kind = FieldKind::Check, .caption = "Void", .value = "0",
             .locked = true}};
}

std::vector<std::pair<std::string, std::vector<std::string>>> receivedMoneyLists(
    db::Database& db, const std::string& periodCount) {
    std::vector<std::string> payby = {"Cash", "Check"};
    for (const auto& row :
         db.query("SELECT card_name FROM Credit_card_master_table WHERE used = TRUE"))
        payby.push_back(row["card_name"].textOr());
    namespace lists = framework::lists;
    return {{"cmbpayby", std::move(payby)},
            {"cmbcash", lists::cashAccounts(db)},
            {"cmbbank", lists::banks(db)},
            {"cmbcustno", lists::customersByNumber(db)},
            {"cmbcustname", lists::customersByName(db)},
            {"cmbcurrency", lists::currencies(db)},
            {"cmbfyear", lists::fiscalYears(db)},
            {"cmbperiod", lists::periodNumbers(periodCount)}};
}

}  // namespace keltro::receipts
