#include "reports/ARreport_receipt_check_history.h"

#include "framework/FieldText.h"
#include "reports/ReportCommands.h"
#include "reports/ReportFields.h"
#include "services/DateFormat.h"

namespace keltro::reports {

using framework::trimmedText;
using services::FormatAmount;

ARreport_receipt_check_history::ARreport_receipt_check_history()
    : ReportScreen("ARreport_receipt_check_history", "Receipt Cheque History",
                   {"RECEIPT AND ITS MATCHING HISTORY", "receipt_n_matching_history",
                    "Preview Receipt n its Matching"}) {
    // A cheque number outweighs a receipt number, and either outweighs customer and dates.
    addField({.name = "txtcheckno", .caption = "Check no"});
    addField({.name = "txtrcno", .caption = "Receipt document no"});
    for (auto& f : customerFields()) addField(std::move(f));
    for (auto& f : dateRangeFields("monthselect", "Receipt date")) addField(std::move(f));
    // Neither set: receipts of every status.
    for (auto& f : optionFields({{"opt_complete", "Completely matched"},
                                 {"opt_partial", "Unapplied cash left"}},
                                ""))
        addField(std::move(f));

    // Its stored layout goes by the name of the report it prints, the receipt matching history.
    addGrid({.name = kReportGrid,
             .layoutForm = "ARreport_receipt_matching_history",
             .declaredCaptions = {"receipt document no", "receipt date", "check/receipt no",
                                  "check date", "receipt amount", "base-currency amount",
                                  "match no", "match date", "unapplied document",
                                  "unapplied amount", "customer no", "customer name", "pay item",
                                  "invoice no", "invoice date", "gross amount", "open amount",
                                  "applied amount", "balance", "discount available", "write-off",
                                  "discount taken", "currency"},
             .locked = true});

    for (auto& c : reportCommands("")) addCommand(std::move(c));
    addExitCommand("&File", "");
    for (auto& c : queryCommands()) addCommand(std::move(c));
    mutableCommand("&Run").action = [this] { run(); };
    mutableCommand("&Find").action = [this] { run(); };
    mutableCommand("&Clear").action = [this] { clear(); };
    attachReportActions();
}

void ARreport_receipt_check_history::onReportLoad() {
    fillCustomerLists(false);
    recallCustomer();
}

ReceiptHistoryFilter ARreport_receipt_check_history::filter() const {
    using Option = ReceiptHistoryFilter::Option;
    ReceiptHistoryFilter f;
    f.checkNo = trimmedText(value("txtcheckno"));
    f.receiptNo = trimmedText(value("txtrcno"));
    f.customer = chosenCustomer();
    f.receiptDates = {dateField("monthselect"), dateField("monthselect_to")};
    f.option = value("opt_complete") == "1"  ? Option::Complete
               : value("opt_partial") == "1" ? Option::Partial
                                             : Option::None;
    return f;
}

void ARreport_receipt_check_history::run() {
    const ReceiptHistoryFilter f = filter();
    const auto query = ReceiptHistoryQuery(f);
    if (!query) {
        ui().message("please specify customer no or receipt/check no");
        return;
    }
    if (!f.customer.empty()) rememberCustomer();
    const db::Rows receipts = database().query(query->sql, query->params);
    std::vector<framework::GridRow> rows;
    const long total = static_cast<long>(receipts.size());
    for (long n = 0; n < total; ++n) {
        addReceipt(receipts[static_cast<std::size_t>(n)], rows);
        reportProgress(n + 1, total);
    }
    showRows(std::move(rows));
}

void ARreport_receipt_check_history::addReceipt(const db::Row& receipt, std::vector<framework::GridRow>& rows) {
    db::Database& db = database();
    const std::string customerNo = receipt["customer_no"].textOr();
    const std::string checkNo = trimmedText(receipt["check_no"].textOr());
    const std::string unapplied = trimmedText(receipt["Unapplied_DOCNO"].textOr());
    rows.push_back({{"receipt document no", receipt["docno"].textOr()},
                    {"receipt date", shownDate(receipt["receipt_date"].date())},
                    {"check/receipt no", checkNo.empty() ? receipt["receipt_no"].textOr() : checkNo},
                    {"check date", shownDate(receipt["check_date"].date())},
                    {"receipt amount", FormatAmount(receipt["receipt_amount"].numberOr())},
                    {"base-currency amount", FormatAmount(receipt["receipt_base_amount"].numberOr())},
                    {"unapplied document", unapplied},
                    {"unapplied amount", unapplied.empty() ? "" : FormatAmount(receipt["Unapplied_amount"].numberOr())},
                    {"customer no", customerNo},
                    {"customer name", customerName(customerNo)}});
    for (const auto& line : db.query("SELECT * FROM Receipt_transaction_table WHERE fkey = ?", {receipt["fkey"]}))
        rows.push_back(settledLineCells(line, "Currency"));
    if (unapplied.empty()) return;
    for (const auto& match : db.query("SELECT DISTINCT docno FROM AR_matching_transaction_table WHERE invoice_no = ? "
                                      "ORDER BY docno",
                                      {unapplied}))
        for (const auto& line : db.query("SELECT * FROM AR_matching_transaction_table WHERE company = 1 AND docno = ? "
                                         "ORDER BY lineno, invoice_no, pay_item",
                                         {match["docno"]})) {
            auto row = settledLineCells(line, "Currency");
            row["match no"] = line["docno"].textOr();
            row["match date"] = shownDate(line["Date"].date());
            rows.push_back(std::move(row));
        }
}

void ARreport_receipt_check_history::clear() {
    for (const char* name : {"txtcheckno", "txtrcno", "cmbcustno", "cmbcustname", "monthselect", "monthselect_to"})
        setValue(name, "");
    showRows({});
}

}  // namespace keltro::reports
