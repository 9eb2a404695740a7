#include "receipts/FastReceiptRecords.h"

#include <algorithm>

#include "store/ColumnValues.h"
#include "store/PayItemLine.h"

namespace keltro::receipts {

using store::ColumnValues;

namespace {

constexpr std::string_view kLineTable = "AR_Fast_Receipt_transaction_table";

template <typename Kind>
std::optional<Kind> kindOfLabel(const std::vector<std::string>& labels, const std::string& label) {
    const auto found = std::find(labels.begin(), labels.end(), label);
    if (found == labels.end()) return std::nullopt;
    return static_cast<Kind>(found - labels.begin() + 1);
}

FastReceiptHeader readHeader(const db::Row& row) {
    FastReceiptHeader h;
    h.id = row["Id"].integerOr();
    h.docno = row["docno"].textOr();
    h.fkey = row["fkey"].textOr();
    h.bankCode = row["bank_code"].textOr();
    h.receiptDate = row["receipt_date"].date();
    h.currency = row["Currency"].textOr();
    h.exchangeRate = row["exchange_rate"].number();
    h.rateDate = row["rate_date"].date();
    h.receiptAmount = row["receipt_amount"].numberOr();
    h.receiptBaseAmount = row["receipt_base_amount"].numberOr();
    h.remark = row["remark"].textOr();
    h.period = store::optionalInt(row["period"]);
    h.fyear = row["fyear"].textOr();
    h.complete = row["complete"].booleanOr(false);
    h.isVoid = row["void"].booleanOr(false);
    h.printed = row["printed"].booleanOr(false);
    return h;
}

FastReceiptLine readLine(const db::Row& row) {
    FastReceiptLine l;
    l.lineno = static_cast<int>(row["lineno"].integerOr());
    l.type = static_cast<FastLineType>(row["transaction_type"].integerOr(1));
    l.by = static_cast<ReceivedBy>(row["receipt_by"].integerOr(1));
    l.checkNo = row["check_no"].textOr();
    l.checkDate = row["check_date"].date();
    l.customerNo = row["customer_no"].textOr();
    l.payer = row["payer"].textOr();
    l.amount = row["amount"].numberOr();
    l.invoiceNo = row["invoice_no"].textOr();
    l.receiptNo = row["receipt_no"].textOr();
    l.orderNo = row["order_no"].textOr();
    l.customerPo = row["customer_po"].textOr();
    l.accno = row["accno"].textOr();
    l.description = row["Description"].textOr();
    l.period = store::optionalInt(row["period"]);
    l.fyear = row["fyear"].textOr();
    l.computerId = row["computer_id"].textOr();
    l.glFkey = row["GLFKEY"].textOr();
    l.realDocno = row["real_docno"].textOr();
    l.realDoctype = row["real_doctype"].textOr();
    return l;
}

std::optional<FastReceiptHeader> headerOf(const std::optional<db::Row>& row) {
    if (!row) return std::nullopt;
    return readHeader(*row);
}

// What editing rewrites of the header; a new batch writes it too.
ColumnValues headerValues(const FastReceiptHeader& h) {
    ColumnValues row;
    row.addText("bank_code", h.bankCode)
        .addText("remark", h.remark)
        .add("exchange_rate", h.exchangeRate)
        .add("rate_date", h.rateDate)
        .add("receipt_amount", h.receiptAmount)
        .add("receipt_base_amount", h.receiptBaseAmount)
        .add("period", h.period)
        .addText("fyear", h.fyear);
    return row;
}

// What a line's row holds besides its batch copies.
ColumnValues lineValues(const FastReceiptLine& l) {
    const bool cheque = l.by == ReceivedBy::Check;
    ColumnValues row;
    row.add("transaction_type", static_cast<int>(l.type))
        .add("receipt_by", static_cast<int>(l.by))
        .addText("check_no", cheque ? l.checkNo : std::string())
        .add("check_date", cheque ? l.checkDate : std::nullopt)
        .addText("customer_no", l.customerNo)
        .addText("payer", l.payer)
        .add("amount", l.amount)
        .addText("invoice_no", l.invoiceNo)
        .addText("receipt_no", l.receiptNo)
        .addText("order_no", l.orderNo)
        .addText("customer_po", l.customerPo)
        .addText("accno", l.accno)
        .addText("Description", l.description)
        .add("period", l.period)
        .addText("fyear", l.fyear)
        .addText("computer_id", l.computerId);
    return row;
}

}  // namespace

const std::vector<std::string>& fastLineTypeLabels() {
    static const std::vector<std::string> labels = {"Receipt", "Unapplied cash", "Prepayment",
                                                    "Miscellaneous receipt"};
    return labels;
}

const std::vector<std::string>& receivedByLabels() {
    static const std::vector<std::string> labels = {"Cash", "Check"};
    return labels;
}

std::optional<FastLineType> fastLineTypeOfLabel(const std::string& label) {
    return kindOfLabel<FastLineType>(fastLineTypeLabels(), label);
}

std::optional<ReceivedBy> receivedByOfLabel(const std::string& label) {
    return kindOfLabel<ReceivedBy>(receivedByLabels(), label);
}

std::string labelOf(FastLineType type) {
    return fastLineTypeLabels().at(static_cast<std::size_t>(type) - 1);
}

std::string labelOf(ReceivedBy by) { return receivedByLabels().at(static_cast<std::size_t>(by) - 1); }

std::optional<FastReceiptHeader> findFastReceipt(db::Database& db, std::string_view fkey) {
    return headerOf(
        db.queryOne("SELECT * FROM AR_Fast_Receipt_header_table WHERE fkey = ?", {fkey}));
}

std::optional<FastReceiptHeader> findFastReceiptByDocno(db::Database& db, std::string_view docno) {
    return headerOf(db.queryOne(
        "SELECT * FROM AR_Fast_Receipt_header_table WHERE company = 1 AND docno = ?", {docno}));
}

std::vector<FastReceiptLine> fastReceiptLines(db::Database& db, std::string_view fkey) {
    std::vector<FastReceiptLine> lines;
    for (const auto& row : db.query(
             "SELECT * FROM AR_Fast_Receipt_transaction_table WHERE fkey = ? ORDER BY lineno",
             {fkey}))
        lines.push_back(readLine(row));
    return lines;
}

std::int64_t insertFastReceipt(db::Database& db, const FastReceiptHeader& h) {
    ColumnValues row;
    row.add("company", store::kCompany)
        .addText("docno", h.docno)
        .add("doctype", kFastReceiptDoctype)
        .addText("fkey", h.fkey)
        .add("receipt_date", h.receiptDate)
        .addText("Currency", h.currency)
        .append(headerValues(h))
        .add("complete", false)
        .add("void", false)
        .add("printed", false)
        .add("completely_match", false);
    return db.insert(row.insertSql(kFastReceiptTable), row.params(), "Id");
}

void updateFastReceipt(db::Database& db, const FastReceiptHeader& h) {
    const ColumnValues row = headerValues(h);
    db.execute(row.updateSql(kFastReceiptTable, "fkey = ?"), row.paramsWith({h.fkey}));
}

void insertFastReceiptLine(db::Database& db, const FastReceiptHeader& header,
                           const FastReceiptLine& line) {
    ColumnValues row;
    row.addText("fkey", header.fkey).addText("docno", header.docno).add("lineno", line.lineno);
    row.append(lineValues(line));
    db.execute(row.insertSql(kLineTable), row.params());
}

void updateFastReceiptLine(db::Database& db, const FastReceiptHeader& header,
                           const FastReceiptLine& line) {
    const ColumnValues row = lineValues(line);
    db.execute(row.updateSql(kLineTable, "fkey = ? AND [lineno] = ?"),
               row.paramsWith({header.fkey, line.lineno}));
}

void deleteFastReceiptLine(db::Database& db, std::string_view fkey, int lineno) {
    db.execute("DELETE FROM AR_Fast_Receipt_transaction_table WHERE fkey = ? AND [lineno] = ?",
               {fkey, lineno});
}

void setFastLineJournalKey(db::Database& db, std::string_view fkey, int lineno,
                           std::string_view glFkey) {
    db.execute(
        "UPDATE AR_Fast_Receipt_transaction_table SET GLFKEY = ? WHERE fkey = ? AND [lineno] = ?",
        {glFkey, fkey, lineno});
}

void setFastLineDocument(db::Database& db, std::string_view fkey, int lineno,
                         std::string_view docno, std::string_view doctype) {
    db.execute(
        "UPDATE AR_Fast_Receipt_transaction_table SET real_docno = ?, real_doctype = ? "
        "WHERE fkey = ? AND [lineno] = ?",
        {docno, doctype, fkey, lineno});
}

void markFastReceiptComplete(db::Database& db, std::string_view fkey) {
    db.execute("UPDATE AR_Fast_Receipt_header_table SET complete = TRUE WHERE fkey = ?", {fkey});
}

void markFastReceiptVoid(db::Database& db, std::string_view fkey) {
    db.execute("UPDATE AR_Fast_Receipt_header_table SET void = TRUE WHERE fkey = ?", {fkey});
}

}  // namespace keltro::receipts
