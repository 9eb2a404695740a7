#include "invoice/ARform_invoice.h"

#include "framework/FontBar.h"
#include "framework/LookupList.h"
#include "framework/StandardCommands.h"
#include "services/DateFormat.h"
#include "services/FiscalPeriod.h"

namespace keltro::invoice {

using framework::FieldKind;

namespace {

struct Kind {
    const char* name;     // as `cmbdoctype` lists it
    const char* doctype;  // the code of its documents
};

constexpr Kind kKinds[] = {
    {"Invoice", "ar"}, {"Sale Invoice", "inv"}, {"Debit Note", "dn"}, {"Credit Note", "cn"}};

std::vector<std::string> kindNames() {
    std::vector<std::string> names;
    for (const auto& kind : kKinds) names.emplace_back(kind.name);
    return names;
}

std::string doctypeOf(const std::string& kindName) {
    for (const auto& kind : kKinds)
        if (kindName == kind.name) return kind.doctype;
    return "ar";
}

// The kind the host asks for: "cn" and "dn" name the notes, anything else the invoice.
std::string requestedKind(const std::string& doctypex) {
    if (doctypex == "cn") return "Credit Note";
    if (doctypex == "dn") return "Debit Note";
    return "Invoice";
}

}  // namespace

ARform_invoice::ARform_invoice() : Screen("ARform_invoice", "A/R Invoice Entry") {
    declareHeader();
    declareRecurringFields();
    declareTotals();
    declareGrids();
    declareCommands();
}

void ARform_invoice::declareHeader() {
    addField({.name = "cmbdoctype", .kind = FieldKind::Combo, .caption = "Document type",
              .value = "Invoice", .items = kindNames()});
    addField({.name = "txtdoctype", .caption = "Document type code", .value = "ar",
              .visible = false});
    addField({.name = "cmbcompany", .kind = FieldKind::Combo, .caption = "Company", .value = "1",
              .items = {"1"}});
    addField({.name = "txtdocno", .caption = "Document no"});
    addField({.name = "txtfkey", .caption = "Key", .locked = true});
    addField({.name = "txtglfkey", .caption = "G/L key", .locked = true});
    addField({.name = "txtid", .caption = "Id", .locked = true});
    addField({.name = "cmbcustno", .kind = FieldKind::Combo, .caption = "Customer no",
              .columnSpec = "0;1500;^;Customer no|1;3000;<;Name"});
    addField({.name = "cmbcustname", .kind = FieldKind::Combo, .caption = "Customer name",
              .columnSpec = "0;3000;<;Customer name|1;1500;^;No"});
    addField({.name = "txtinvdate", .kind = FieldKind::Date, .caption = "Invoice Date"});
    addField({.name = "cmbterm", .kind = FieldKind::Combo, .caption = "Payment term",
              .columnSpec = "0;1700;<;Term|1;700;^;Code"});
    addField({.name = "txtduedate", .kind = FieldKind::Date, .caption = "Due date"});
    addField({.name = "txtdiscdate", .kind = FieldKind::Date, .caption = "Discount date"});
    addField({.name = "cmbcurrency", .kind = FieldKind::Combo, .caption = "Currency"});
    addField({.name = "cmbexrate", .kind = FieldKind::Combo, .caption = "Exchange rate",
              .columnSpec = "0;1500;<;Rate|1;1500;^;Rate Date"});
    addField({.name = "txtratedate", .kind = FieldKind::Date, .caption = "Rate date"});
    addField({.name = "cmbperiod", .kind = FieldKind::Combo, .caption = "Period"});
    addField({.name = "cmbfyear", .kind = FieldKind::Combo, .caption = "Fiscal year"});
    addField({.name = "txtcustomer_po", .caption = "Customer PO"});
    addField({.name = "txtorder_no", .caption = "Order no"});
    addField({.name = "txtapplydoc", .caption = "Apply to document", .locked = true});
    addField({.name = "txtremark", .caption = "Remark"});
    addField({.name = "txtbill_address", .kind = FieldKind::MultiLine,
              .caption = "Bill-to address"});
    addField({.name = "txtship_address", .kind = FieldKind::MultiLine,
              .caption = "Ship-to address"});
    addField({.name = "txtsource", .caption = "Source", .locked = true});
    addField({.name = "txtsource_docno", .caption = "Source document", .locked = true});
    addField({.name = "txtprepayment", .caption = "Prepayment", .locked = true});
    addField({.name = "txtppfkey", .caption = "Prepayment key", .locked = true});
    // The button beside the prepayment, run by its control name: it opens the prepayment.
    addCommand({.caption = "cmdprepay"});
    addField({.name = "chkpaid", .kind = FieldKind::Check, .caption = "Paid", .value = "0",
              .locked = true, .triState = true});
    addField({.name = "chkvoid", .kind = FieldKind::Check, .caption = "Void", .value = "0",
              .locked = true});
    addField({.name = "chkprint", .kind = FieldKind::Check, .caption = "Printed", .value = "0",
              .locked = true});
    addField({.name = "cmbopendoc", .kind = FieldKind::Combo, .caption = "Open Doc."});
}

// A recurring definition's own fields; its name takes the place of the invoice date.
void ARform_invoice::declareRecurringFields() {
    addField({.name = "chkrecur", .kind = FieldKind::Check, .caption = "Recurring", .value = "0"});
    addField({.name = "txtrecurname", .caption = "Recur name", .visible = false});
    // A day of the month (0 to 31), not a date.
    addField({.name = "txtrecurdate", .caption = "Recurring date"});
    addField({.name = "txteffectdate", .kind = FieldKind::Date, .caption = "Effective date"});
    addField({.name = "txtexpiredate", .kind = FieldKind::Date, .caption = "Expiration date"});
    addField({.name = "txtnoinvoice", .caption = "No of invoice"});
    addField({.name = "cmbfreq", .kind = FieldKind::Combo, .caption = "Frequency",
              .items = {"monthly", "quarterly"}});
}

void ARform_invoice::declareTotals() {
    addField({.name = "txtgross", .caption = "Taxable amount", .locked = true});
    addField({.name = "txttax", .caption = "Tax", .locked = true});
    addField({.name = "txttotal", .caption = "Total", .locked = true});
}

void ARform_invoice::declareGrids() {
    addGrid({.name = "dbgrid1",
             .declaredCaptions = {"pay item", "description", "gross amount", "open amount",
                                  "taxable amount", "tax amount", "tax code", "currency", "paid",
                                  "discount taken", "write-off", "source form", "user created",
                                  "sales account", "account name", "created date",
                                  "created time", "computer id"},
             .lookupColumns = {{"tax code", "0;1500;<;Tax code|1;3000;<;Description"},
                               {"sales account", "0;1500;<;account|1;3000;<;name"}}});
    addGrid({.name = "grid_tax",
             .layoutForm = "SOform_invoice",
             .layoutIsBorrowed = true,
             .declaredCaptions = {"no", "tax authority", "taxable amount", "rate", "tax amount",
                                  "taxable", "tax code"}});
    addGrid({.name = "grid_tax_summary",
             .layoutForm = "SOform_invoice",
             .layoutIsBorrowed = true,
             .declaredCaptions = {"tax authority", "taxable amount", "rate", "tax amount"},
             .locked = true});
    // The font bar works on the grids above.
    for (auto& f : framework::fontBarFields()) addField(std::move(f));
}

void ARform_invoice::declareCommands() {
    addCommand(framework::saveCommand());
    addCommand(framework::previewCommand(""));
    addExitCommand("&File");
    for (auto& c : framework::modeCommands("")) addCommand(std::move(c));
    for (auto& c : framework::lineCommands()) addCommand(std::move(c));
    addCommand({.menu = "&Edit", .caption = "&Bill-To/Ship-To Address", .toolbar = "Address"});
    declareViewCommands();
    addCommand({.menu = "&Tax", .caption = "Tax &Details"});
    addCommand({.menu = "&Tax", .caption = "Tax &Summary"});
    addCommand({.menu = "&Invoice", .caption = "&Void Invoice"});
    addCommand({.menu = "&Invoice", .caption = "&Recurring Configuration"});
    addCommand({.menu = "&Receipt", .caption = "&Receipt this invoice"});
    addCommand({.menu = "&Receipt", .caption = "Receipt &History (this invoice)"});
    for (auto& c : framework::recordCommands("")) addCommand(std::move(c));
    addCommand({.menu = "&Link", .caption = "&G/L Record"});
    addCommand({.menu = "&Link", .caption = "Origin Document", .toolbar = "Origin"});
    addCommand(framework::showTextBelowIconCommand());
    addHelpCommand("A/R Invoice Entry Help", "AR Invoice Entry Help.pdf");
    addHelpCommand("Account Receivable Help", "Account Receivable Help.pdf");
    for (auto& c : framework::fontBarCommands()) addCommand(std::move(c));
}

void ARform_invoice::declareViewCommands() {
    for (const char* caption : {"View &Invoice", "View Invoice from &Sales", "View &Credit Note",
                                "View &Debit Note", "View &Recurring", "&View All"})
        addCommand({.menu = "&View", .caption = caption});
    addCommand({.menu = "&View", .caption = "&Open Invoice Only", .checkable = true});
}

// --- What the host asks ----------------------------------------------------------------

void ARform_invoice::openAs(const std::string& doctypex) {
    const std::string kind = requestedKind(doctypex);
    setKind(kind);
    if (kind != "Invoice") startNewDocument();
}

void ARform_invoice::switchTo(const std::string& doctypex) {
    const std::string kind = requestedKind(doctypex);
    if (value("cmbdoctype") == kind) return;
    setKind(kind);
    startNewDocument();
}

void ARform_invoice::gotoFkey(const std::string& fkeyx) { setValue("txtfkey", fkeyx); }

void ARform_invoice::gotoDocno(const std::string& docnox) { setValue("txtdocno", docnox); }

void ARform_invoice::gotoRecurringNo(const std::string& docnox) {
    setValue("chkrecur", "1");
    setValue("txtdocno", docnox);
}

// --- Helpers ------------------------------------------------------------------------------

void ARform_invoice::setKind(const std::string& kind) {
    setValue("cmbdoctype", kind);
    setValue("txtdoctype", doctypeOf(kind));
}

// The document on screen gives way to an unsaved one, as if "&New" had been pressed.
void ARform_invoice::startNewDocument() {
    setValue("txtdocno", framework::kNewDocumentNo);
    mutableCommand("&New").checked = true;
    setMode(framework::Mode::New);
}

void ARform_invoice::onLoad() { fillLists(); }

void ARform_invoice::fillLists() {
    db::Database& db = database();
    mutableField("cmbcustno").items = framework::lists::customersByNumber(db);
    mutableField("cmbcustname").items = framework::lists::customersByName(db);
    mutableField("cmbterm").items = framework::lists::paymentTerms(db);
    mutableField("cmbcurrency").items = framework::lists::currencies(db);
    auto& years = mutableField("cmbfyear").items;
    years.clear();
    for (const auto& row : db.query("SELECT fyear FROM Fiscalyear_table ORDER BY fyear"))
        years.push_back(row["fyear"].textOr());
    auto& periods = mutableField("cmbperiod").items;
    periods.clear();
    const int count = std::max(1, std::atoi(context().KELTRO_NO_PERIODS.c_str()));
    for (int p = 1; p <= count; ++p) periods.push_back(std::to_string(p));
}

void ARform_invoice::onFieldChanged(const std::string& control) {
    if (control == "txtinvdate") invoiceDateChanged();
}

void ARform_invoice::invoiceDateChanged() {
    const std::string typed = value("txtinvdate");
    if (typed.empty()) return;
    const auto date = services::ParseUserDate(ui(), typed, context().KELTRO_DATE_FORMAT);
    if (!date) return;
    const auto period = services::FiscalPeriodOfDate(database(), ui(), *date);
    if (!period) return;
    setValue("cmbfyear", period->fyear);
    setValue("cmbperiod", std::to_string(period->period));
}

}  // namespace keltro::invoice
