#include "reports/ARreport_invoice_receipt_history.h"

#include "framework/FieldText.h"
#include "reports/ReportCommands.h"
#include "reports/ReportFields.h"
#include "services/DateFormat.h"

namespace keltro::reports {

using framework::trimmedText;

namespace {

std::string rateText(const db::Value& rate) {
    return rate.isNull() ? std::string() : services::FormatNumber(rate.numberOr(), "0.000000");
}

}  // namespace

ARreport_invoice_receipt_history::ARreport_invoice_receipt_history()
    : ReportScreen("ARreport_invoice_receipt_history", "Invoice and Receipt History",
                   {"INVOICE AND ITS RECEIPT HISTORY", "invoice_n_receipt_history",
                    "Preview Invoice n its Receipt"}) {
    declareFilters();
    addGrid({.name = kReportGrid,
             .declaredCaptions = {"customer no", "customer name", "pay item", "invoice no",
                                  "invoice date", "gross amount", "open amount", "applied amount",
                                  "balance", "discount available", "write-off", "discount taken",
                                  "currency", "invoice exch rate", "receipt exch rate",
                                  "receipt no", "receipt document no", "receipt date", "check no",
                                  "check date", "matching"},
             .locked = true});
    declareCommands();
}

void ARreport_invoice_receipt_history::declareFilters() {
    for (auto& f : customerFields()) addField(std::move(f));
    // One invoice, or the range from `txtdocno` to `txtdocno2`; either outweighs the
    // customer, the dates and the options.
    addField({.name = "txtdocno", .caption = "Invoice no"});
    addField({.name = "txtdocno2", .caption = "To invoice no"});
    for (auto& f : dateRangeFields("cal1", "Invoice date")) addField(std::move(f));
    for (auto& f : optionFields({{"opt_paid", "Paid"}, {"opt_partial", "Partly paid"},
                                 {"opt_all", "All"}},
                                "opt_all"))
        addField(std::move(f));
}

void ARreport_invoice_receipt_history::declareCommands() {
    for (auto& c : reportCommands("")) addCommand(std::move(c));
    addExitCommand("&File", "");
    for (auto& c : queryCommands()) addCommand(std::move(c));
    addCommand({.menu = "&Link", .caption = "&Receipt/Matching Record", .action = [this] { openPayment(); }});
    addCommand({.menu = "&Link", .caption = "&A/R Record", .action = [this] { openInvoice(); }});
    mutableCommand("&Run").action = [this] { run(); };
    mutableCommand("&Find").action = [this] { run(); };
    mutableCommand("&Clear").action = [this] { clear(); };
    attachReportActions();
}

void ARreport_invoice_receipt_history::onReportLoad() {
    fillCustomerLists(false);
    recallCustomer();
}

void ARreport_invoice_receipt_history::showDocument(const std::string& docnox) {
    setValue("txtdocno", docnox);
    run();
    notifyChanged();
}

InvoiceHistoryFilter ARreport_invoice_receipt_history::filter() const {
    using Option = InvoiceHistoryFilter::Option;
    InvoiceHistoryFilter f;
    f.customer = chosenCustomer();
    f.docno = trimmedText(value("txtdocno"));
    f.docnoTo = trimmedText(value("txtdocno2"));
    f.invoiceDates = {dateField("cal1"), dateField("cal1_to")};
    f.option = value("opt_paid") == "1" ? Option::Paid : value("opt_partial") == "1" ? Option::Partial : Option::All;
    return f;
}

void ARreport_invoice_receipt_history::run() {
    const InvoiceHistoryFilter f = filter();
    if (f.customer.empty() && !f.byNumber()) {
        ui().message("please specify customer no or invoice no");
        return;
    }
    if (!f.customer.empty()) rememberCustomer();
    db::Database& db = database();
    const BoundQuery query = InvoiceHistoryQuery(f);
    const db::Rows lines = db.query(query.sql, query.params);
    std::vector<framework::GridRow> rows;
    const long total = static_cast<long>(lines.size());
    for (long n = 0; n < total; ++n) {
        const db::Row& line = lines[static_cast<std::size_t>(n)];
        framework::GridRow row = settledLineCells(line, "currencyx");
        const std::string customerNo = line["customer_no"].textOr();
        row["customer no"] = customerNo;
        row["customer name"] = customerName(customerNo);
        row["invoice exch rate"] = rateText(line["invoice_exchange_rate"]);
        row["receipt exch rate"] = rateText(line["receipt_exchange_rate"]);
        row["receipt no"] = line["receipt_no"].textOr();
        row["receipt document no"] = line["receipt_docno"].textOr();
        row["receipt date"] = shownDate(line["receipt_date"].date());
        row["check no"] = line["check_no"].textOr();
        row["check date"] = shownDate(line["check_date"].date());
        row["matching"] = std::string(1, line["matching"].booleanOr(false) ? '1' : '0');
        rows.push_back(std::move(row));
        reportProgress(n + 1, total);
    }
    m_chosenRow.reset();
    showRows(std::move(rows));
}

void ARreport_invoice_receipt_history::clear() {
    for (const char* name : {"cmbcustno", "cmbcustname", "txtdocno", "txtdocno2", "cal1", "cal1_to"})
        setValue(name, "");
    m_chosenRow.reset();
    showRows({});
}

void ARreport_invoice_receipt_history::onCellClicked(const std::string& gridName, std::size_t row,
                                                     const std::string&) {
    if (gridName == kReportGrid) m_chosenRow = row;
}

void ARreport_invoice_receipt_history::openPayment() {
    if (!m_chosenRow || *m_chosenRow >= grid(kReportGrid).rows.size()) return;
    const auto& row = grid(kReportGrid).rows[*m_chosenRow];
    raiseNotification(row.at("matching") == "1" ? "A/R Matching" : "A/R Receipt Entry",
                      row.at("receipt document no"), "");
}

void ARreport_invoice_receipt_history::openInvoice() {
    if (!m_chosenRow || *m_chosenRow >= grid(kReportGrid).rows.size()) return;
    raiseNotification("A/R Invoice Entry", grid(kReportGrid).rows[*m_chosenRow].at("invoice no"), "");
}

}  // namespace keltro::reports
