#include "receipts/ReceiptFields.h"

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

}  // namespace keltro::receipts
