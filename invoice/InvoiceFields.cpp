#include "invoice/InvoiceFields.h"

#include <utility>

#include "invoice/InvoiceKind.h"

namespace keltro::invoice {

using framework::Field;
using framework::FieldKind;
using framework::Grid;

std::vector<Field> invoiceHeaderFields() {
    std::vector<Field> fields;
    fields.push_back(Field{.name = "cmbdoctype", .kind = FieldKind::Combo, .caption = "Document type",
                           .value = "Invoice", .items = kindNames()});
    fields.push_back(Field{.name = "txtdoctype", .caption = "Document type code", .value = "ar",
                           .visible = false});
    fields.push_back(Field{.name = "cmbcompany", .kind = FieldKind::Combo, .caption = "Company", .value = "1",
                           .items = {"1"}});
    fields.push_back(Field{.name = "txtdocno", .caption = "Document no"});
    fields.push_back(Field{.name = "txtfkey", .caption = "Key", .locked = true});
    fields.push_back(Field{.name = "txtglfkey", .caption = "G/L key", .locked = true});
    fields.push_back(Field{.name = "txtid", .caption = "Id", .locked = true});
    fields.push_back(Field{.name = "cmbcustno", .kind = FieldKind::Combo, .caption = "Customer no",
                           .columnSpec = "0;1500;^;Customer no|1;3000;<;Name"});
    fields.push_back(Field{.name = "cmbcustname", .kind = FieldKind::Combo, .caption = "Customer name",
                           .columnSpec = "0;3000;<;Customer name|1;1500;^;No"});
    fields.push_back(Field{.name = "txtinvdate", .kind = FieldKind::Date, .caption = "Invoice Date"});
    fields.push_back(Field{.name = "cmbterm", .kind = FieldKind::Combo, .caption = "Payment term",
                           .columnSpec = "0;1700;<;Term|1;700;^;Code"});
    fields.push_back(Field{.name = "txtduedate", .kind = FieldKind::Date, .caption = "Due date"});
    fields.push_back(Field{.name = "txtdiscdate", .kind = FieldKind::Date, .caption = "Discount date"});
    fields.push_back(Field{.name = "cmbcurrency", .kind = FieldKind::Combo, .caption = "Currency"});
    fields.push_back(Field{.name = "cmbexrate", .kind = FieldKind::Combo, .caption = "Exchange rate",
                           .columnSpec = "0;1500;<;Rate|1;1500;^;Rate Date"});
    fields.push_back(Field{.name = "txtratedate", .kind = FieldKind::Date, .caption = "Rate date"});
    fields.push_back(Field{.name = "cmbperiod", .kind = FieldKind::Combo, .caption = "Period"});
    fields.push_back(Field{.name = "cmbfyear", .kind = FieldKind::Combo, .caption = "Fiscal year"});
    fields.push_back(Field{.name = "txtcustomer_po", .caption = "Customer PO"});
    fields.push_back(Field{.name = "txtorder_no", .caption = "Order no"});
    fields.push_back(Field{.name = "txtapplydoc", .caption = "Apply to document", .locked = true});
    fields.push_back(Field{.name = "txtremark", .caption = "Remark"});
    fields.push_back(Field{.name = "txtbill_address", .kind = FieldKind::MultiLine,
                           .caption = "Bill-to address"});
    fields.push_back(Field{.name = "txtship_address", .kind = FieldKind::MultiLine,
                           .caption = "Ship-to address"});
    fields.push_back(Field{.name = "txtsource", .caption = "Source", .locked = true});
    fields.push_back(Field{.name = "txtsource_docno", .caption = "Source document", .locked = true});
    fields.push_back(Field{.name = "txtprepayment", .caption = "Prepayment", .locked = true});
    fields.push_back(Field{.name = "txtppfkey", .caption = "Prepayment key", .locked = true});
    fields.push_back(Field{.name = "chkpaid", .kind = FieldKind::Check, .caption = "Paid", .value = "0",
                           .locked = true, .triState = true});
    fields.push_back(Field{.name = "chkvoid", .kind = FieldKind::Check, .caption = "Void", .value = "0",
                           .locked = true});
    fields.push_back(Field{.name = "chkprint", .kind = FieldKind::Check, .caption = "Printed", .value = "0",
                           .locked = true});
    fields.push_back(Field{.name = "cmbopendoc", .kind = FieldKind::Combo, .caption = "Open Doc."});
    return fields;
}

std::vector<Field> recurringFields() {
    std::vector<Field> fields;
    fields.push_back(
        Field{.name = "chkrecur", .kind = FieldKind::Check, .caption = "Recurring", .value = "0"});
    fields.push_back(Field{.name = "txtrecurname", .caption = "Recur name", .visible = false});
    // A day of the month (0 to 31), not a date.
    fields.push_back(Field{.name = "txtrecurdate", .caption = "Recurring date"});
    fields.push_back(
        Field{.name = "txteffectdate", .kind = FieldKind::Date, .caption = "Effective date"});
    fields.push_back(
        Field{.name = "txtexpiredate", .kind = FieldKind::Date, .caption = "Expiration date"});
    fields.push_back(Field{.name = "txtnoinvoice", .caption = "No of invoice"});
    fields.push_back(Field{.name = "cmbfreq", .kind = FieldKind::Combo, .caption = "Frequency",
                           .items = {"monthly", "quarterly"}});
    return fields;
}

std::vector<Field> invoiceTotalFields() {
    std::vector<Field> fields;
    for (const auto& [name, caption] : {std::pair{"txtgross", "Taxable amount"},
                                        std::pair{"txttax", "Tax"}, std::pair{"txttotal", "Total"}})
        fields.push_back(Field{.name = name, .caption = caption, .value = "0.00", .locked = true,
                               .footer = true});
    return fields;
}

std::vector<Grid> invoiceGrids() {
    std::vector<Grid> grids;
    grids.push_back(Grid{.name = kLineGrid,
             .declaredCaptions = {"pay item", "description", "gross amount", "open amount",
                                  "taxable amount", "tax amount", "tax code", "currency", "paid",
                                  "discount taken", "write-off", "source form", "user created",
                                  "sales account", "account name", "created date",
                                  "created time", "computer id"},
             .lookupColumns = {{"tax code", "0;1500;<;Tax code|1;3000;<;Description"},
                               {"sales account", "0;1500;<;account|1;3000;<;name"}}});
    grids.push_back(Grid{.name = kTaxDetailGrid,
             .layoutForm = "SOform_invoice",
             .layoutIsBorrowed = true,
             .declaredCaptions = {"no", "tax authority", "taxable amount", "rate", "tax amount",
                                  "taxable", "tax code"},
             .page = kTaxDetailsWindow});
    grids.push_back(Grid{.name = kTaxSummaryGrid,
             .layoutForm = "SOform_invoice",
             .layoutIsBorrowed = true,
             .declaredCaptions = {"tax authority", "taxable amount", "rate", "tax amount"},
             .locked = true,
             .page = kTaxSummaryWindow});
    return grids;
}

}  // namespace keltro::invoice
