#include "reports/ARreport_inquiry.h"

#include <map>

#include "framework/FieldText.h"
#include "reports/ReportCommands.h"
#include "reports/ReportFields.h"
#include "services/DateFormat.h"

namespace keltro::reports {

namespace {

using Status = InquiryFilter::Status;
using Kind = InquiryFilter::Kind;

std::map<std::string, std::string> namesBy(db::Database& db, const char* sql, const char* key,
                                           const char* name) {
    std::map<std::string, std::string> names;
    for (const auto& row : db.query(sql)) names.emplace(row[key].textOr(), row[name].textOr());
    return names;
}

std::string lookUp(const std::map<std::string, std::string>& names, const std::string& key) {
    const auto it = names.find(key);
    return it == names.end() ? std::string() : it->second;
}

std::string flagText(const db::Value& flag) { return flag.booleanOr(false) ? "TRUE" : "FALSE"; }

}  // namespace

ARreport_inquiry::ARreport_inquiry()
    : ReportScreen("ARreport_inquiry", "A/R Inquiry",
                   {"CUSTOMER INVOICES", "customer_invoices", "Preview Customer Invoices"}) {
    // A document number, when given, outweighs every other filter.
    addField({.name = "txtdocno", .caption = "Document no"});
    for (auto& f : customerFields()) addField(std::move(f));
    for (auto& f : optionFields({{"opt_paid", "Paid"}, {"opt_open", "Open"}, {"opt_void", "Void"},
                                 {"opt_all", "All"}},
                                "opt_all"))
        addField(std::move(f));
    for (auto& f : dateRangeFields("cal1", "Invoice date")) addField(std::move(f));
    for (auto& f : optionFields({{"opt_invoice", "Invoice"}, {"opt_creditnote", "Credit note"},
                                 {"opt_debitnote", "Debit note"}},
                                "opt_invoice"))
        addField(std::move(f));

    addGrid({.name = kReportGrid,
             .declaredCaptions = {"customer no", "customer name", "invoice no", "invoice date",
                                  "due date", "pay item", "gross amount", "open amount", "paid",
                                  "void", "payment term"},
             .locked = true});

    for (auto& c : reportCommands("")) addCommand(std::move(c));
    addExitCommand("&File", "");
    for (auto& c : queryCommands()) addCommand(std::move(c));
    addCommand({.menu = "&Link", .caption = "&Receipt", .action = [this] { receiptForChosenRow(); }});
    mutableCommand("&Run").action = [this] { run(); };
    mutableCommand("&Find").action = [this] { run(); };
    mutableCommand("&Clear").action = [this] { clear(); };
    attachReportActions();
}

void ARreport_inquiry::onReportLoad() { fillCustomerLists(false); }

InquiryFilter ARreport_inquiry::filter() const {
    InquiryFilter f;
    f.docno = framework::trimmedText(value("txtdocno"));
    f.customer = chosenCustomer();
    f.status = value("opt_paid") == "1"   ? Status::Paid
               : value("opt_open") == "1" ? Status::Open
               : value("opt_void") == "1" ? Status::Void
                                          : Status::All;
    f.invoiceDates = {dateField("cal1"), dateField("cal1_to")};
    f.kind = value("opt_invoice") == "1"      ? Kind::Invoice
             : value("opt_creditnote") == "1" ? Kind::CreditNote
                                              : Kind::DebitNote;
    return f;
}

void ARreport_inquiry::run() {
    using services::FormatAmount;
    db::Database& db = database();
    const BoundQuery query = InquiryQuery(filter());
    const db::Rows lines = db.query(query.sql, query.params);
    const auto customers = namesBy(db, "SELECT customer_no,customer_name FROM Customer_table",
                                   "customer_no", "customer_name");
    const auto terms = namesBy(db, "SELECT * FROM Payment_term_table", "payment_term", "Description");
    std::vector<framework::GridRow> rows;
    const long total = static_cast<long>(lines.size());
    for (long n = 0; n < total; ++n) {
        const db::Row& line = lines[static_cast<std::size_t>(n)];
        const std::string customerNo = line["customer_no"].textOr();
        rows.push_back({{"customer no", customerNo},
                        {"customer name", lookUp(customers, customerNo)},
                        {"invoice no", line["docno"].textOr()},
                        {"invoice date", shownDate(line["invoice_date"].date())},
                        {"due date", shownDate(line["due_date"].date())},
                        {"pay item", line["pay_item"].textOr()},
                        {"gross amount", FormatAmount(line["gross_amount"].numberOr())},
                        {"open amount", FormatAmount(line["open_amount"].numberOr())},
                        {"paid", flagText(line["paid"])},
                        {"void", flagText(line["void"])},
                        {"payment term", lookUp(terms, line["payment_term"].textOr())}});
        reportProgress(n + 1, total);
    }
    m_chosenRow.reset();
    showRows(std::move(rows));
}

void ARreport_inquiry::clear() {
    for (const char* name : {"txtdocno", "cmbcustno", "cmbcustname", "cal1", "cal1_to"}) setValue(name, "");
    m_chosenRow.reset();
    showRows({});
}

void ARreport_inquiry::onCellClicked(const std::string& gridName, std::size_t row, const std::string&) {
    if (gridName != kReportGrid) return;
    m_chosenRow = row;
    const std::string docno = grid(kReportGrid).rows[row].at("invoice no");
    if (!framework::trimmedText(docno).empty()) raiseNotification("A/R Invoice Entry", docno, "");
}

void ARreport_inquiry::receiptForChosenRow() {
    if (!m_chosenRow || *m_chosenRow >= grid(kReportGrid).rows.size()) return;
    const auto& row = grid(kReportGrid).rows[*m_chosenRow];
    if (row.at("paid") == "TRUE") {
        ui().message("Invoice was paid");
        return;
    }
    raiseNotification("Receipt This Invoice", row.at("invoice no"), row.at("customer no"));
}

}  // namespace keltro::reports
