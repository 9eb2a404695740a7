#include "receipts/ReceiptRecords.h"

#include "store/ColumnValues.h"

namespace keltro::receipts {

using store::ColumnValues;

namespace {

constexpr std::string_view kHeaderTable = "Receipt_header_table";
constexpr std::string_view kLineTable = "Receipt_transaction_table";

ReceiptHeader readHeader(const db::Row& row) {
    ReceiptHeader h;
    h.id = row["id"].integerOr();
    h.doctype = row["doctype"].textOr();
    h.docno = row["docno"].textOr();
    h.fkey = row["fkey"].textOr();
    h.receiptNo = row["receipt_no"].textOr();
    h.receiptDate = row["receipt_date"].date();
    h.customerNo = row["customer_no"].textOr();
    h.payer = row["payer"].textOr();
    h.payby = row["payby"].textOr();
    h.cashAccno = row["cash_accno"].textOr();
    h.bankCode = row["bank_code"].textOr();
    h.checkNo = row["check_no"].textOr();
    h.checkDate = row["check_date"].date();
    h.remark = row["remark"].textOr();
    h.receiptAmount = row["receipt_amount"].numberOr();
    h.currency = row["Currency"].textOr();
    h.exchangeRate = row["exchange_rate"].number();
    h.rateDate = row["rate_date"].date();
    h.receiptBaseAmount = row["receipt_base_amount"].numberOr();
    h.totalAmount = row["total_amount"].numberOr();
    h.totalCurrency = row["total_currency"].textOr();
    h.totalBaseAmount = row["total_base_amount"].numberOr();
    h.period = store::optionalInt(row["period"]);
    h.fyear = row["fyear"].textOr();
    h.sourceForm = row["source_form"].textOr();
    h.created = store::readCreationStamp(row);
    h.glFkey = row["GLFKEY"].textOr();
    h.unappliedDocno = row["Unapplied_DOCNO"].textOr();
    h.unappliedAmount = row["Unapplied_amount"].number();
    h.isVoid = row["void"].booleanOr(false);
    h.voidDate = row["void_date"].date();
    h.newFromFast = row["new_from_fast"].booleanOr(false);
    h.fastApplyInvoiceNo = row["fast_apply_invoice_no"].textOr();
    h.fastDocno = row["fast_docno"].textOr();
    h.printed = row["printed"].booleanOr(false);
    h.orderNo = row["order_no"].textOr();
    h.customerPo = row["customer_po"].textOr();
    h.prepaymentLiabilityAccno = row["prepayment_liability_accno"].textOr();
    h.prepaymentInvoiceNo = row["prepayment_invoice_no"].textOr();
    h.bankAccno = row["bank_accno"].textOr();
    return h;
}

ReceiptLine readLine(const db::Row& row) {
    ReceiptLine l;
    l.invoiceNo = row["invoice_no"].textOr();
    l.payItem = row["pay_item"].textOr();
    l.invoiceDate = row["invoice_date"].date();
    l.grossAmount = row["gross_amount"].numberOr();
    l.openAmount = row["open_amount"].numberOr();
    l.discountAvailable = row["discount_available"].numberOr();
    l.applied = row["applied_amount"].numberOr();
    l.appliedBase = row["applied_base_amount"].numberOr();
    l.discountTaken = row["discount_taken"].numberOr();
    l.discountAccno = row["discount_accno"].textOr();
    l.writeoff = row["writeoff"].numberOr();
    l.writeoffAccno = row["writeoff_accno"].textOr();
    l.invoiceBalance = row["invoice_balance"].numberOr();
    l.currency = row["Currency"].textOr();
    l.invoiceRate = row["invoice_exchange_rate"].number();
    l.receiptRate = row["receipt_exchange_rate"].number();
    l.computerId = row["computer_id"].textOr();
    l.remark = row["remark"].textOr();
    l.isVoid = row["void"].booleanOr(false);
    l.receiptNo = row["receipt_no"].textOr();
    l.docno = row["docno"].textOr();
    return l;
}

// What an open item reads of its line; a customer may have a thousand of them.
constexpr const char* kOpenItemColumns =
    "doctype, docno, pay_item, invoice_date, gross_amount, open_amount, early_discount, "
    "discount_date, Currency, exchange_rate, source_form, check_no";

OpenItem readOpenItem(const db::Row& row) {
    return {row["doctype"].textOr(),        row["docno"].textOr(),
            row["pay_item"].textOr(),       row["invoice_date"].date(),
            row["gross_amount"].numberOr(), row["open_amount"].numberOr(),
            row["early_discount"].number(), row["discount_date"].date(),
            row["Currency"].textOr(),       row["exchange_rate"].number(),
            row["source_form"].textOr(),    row["check_no"].textOr()};
}

// The header values every line repeats.
ColumnValues headerCopies(const ReceiptHeader& h) {
    ColumnValues row;
    row.add("company", store::kCompany)
        .addText("fkey", h.fkey)
        .addText("docno", h.docno)
        .addText("receipt_no", h.receiptNo)
        .add("receipt_date", h.receiptDate)
        .addText("customer_no", h.customerNo)
        .addText("check_no", h.checkNo)
        .add("check_date", h.checkDate);
    return row;
}

// The amounts of the receipt that a save or a completion writes.
ColumnValues amountColumns(const ReceiptHeader& h) {
    ColumnValues row;
    row.add("exchange_rate", h.exchangeRate)
        .add("rate_date", h.rateDate)
        .add("receipt_base_amount", h.receiptBaseAmount)
        .add("total_amount", h.totalAmount)
        .addText("total_currency", h.totalCurrency)
        .add("total_base_amount", h.totalBaseAmount)
        .add("period", h.period)
        .addText("fyear", h.fyear);
    return row;
}

}  // namespace

std::optional<ReceiptHeader> findReceipt(db::Database& db, std::string_view fkey) {
    const auto row = db.queryOne("SELECT * FROM [Receipt_header_table] WHERE fkey = ?", {fkey});
    if (!row) return std::nullopt;
    return readHeader(*row);
}

std::optional<ReceiptHeader> findReceiptByDocno(db::Database& db, std::string_view docno,
                                                std::string_view doctype) {
    const auto row = db.queryOne(
        "SELECT * FROM [Receipt_header_table] WHERE company = 1 AND docno = ? AND doctype = ?",
        {docno, doctype});
    if (!row) return std::nullopt;
    return readHeader(*row);
}

std::vector<ReceiptLine> receiptLines(db::Database& db, std::string_view fkey) {
    std::vector<ReceiptLine> lines;
    for (const auto& row : db.query("SELECT * FROM Receipt_transaction_table WHERE fkey = ? "
                                    "ORDER BY invoice_no, pay_item",
                                    {fkey}))
        lines.push_back(readLine(row));
    return lines;
}

std::optional<ReceiptLine> lineApplying(db::Database& db, std::string_view docno) {
    const auto row = db.queryOne(
        "SELECT * FROM Receipt_transaction_table WHERE company = 1 AND invoice_no = ? "
        "AND (void IS NULL OR void = FALSE)",
        {docno});
    if (!row) return std::nullopt;
    return readLine(*row);
}

std::vector<OpenItem> openItems(db::Database& db, std::string_view customerNo,
                                const std::optional<std::string>& currency) {
    static const std::string unpaid = std::string("SELECT ") + kOpenItemColumns +
                                      " FROM [AR_transaction_table] WHERE [customer_no] = ? "
                                      "AND paid = FALSE AND void = FALSE";
    const db::Rows rows =
        currency ? db.query(unpaid + " AND Currency = ? ORDER BY id", {customerNo, *currency})
                 : db.query(unpaid + " ORDER BY id", {customerNo});
    std::vector<OpenItem> items;
    for (const auto& row : rows)
        items.push_back(readOpenItem(row));
    return items;
}

void insertReceiptHeader(db::Database& db, const ReceiptHeader& h) {
    ColumnValues row;
    row.add("company", store::kCompany)
        .addText("docno", h.docno)
        .addText("doctype", h.doctype)
        .addText("fkey", h.fkey)
        .addText("receipt_no", h.receiptNo)
        .add("receipt_date", h.receiptDate)
        .addText("customer_no", h.customerNo)
        .addText("payer", h.payer)
        .addText("payby", h.payby)
        .addText("cash_accno", h.cashAccno)
        .addText("bank_code", h.bankCode)
        .addText("check_no", h.checkNo)
        .add("check_date", h.checkDate)
        .addText("remark", h.remark)
        .add("receipt_amount", h.receiptAmount)
        .addText("Currency", h.currency)
        .append(amountColumns(h))
        .addText("source_form", h.sourceForm)
        .addText("order_no", h.orderNo)
        .addText("customer_po", h.customerPo)
        .addText("prepayment_liability_accno", h.prepaymentLiabilityAccno)
        .addText("bank_accno", h.bankAccno)
        .addText("GLFKEY", h.glFkey)
        .addText("fast_apply_invoice_no", h.fastApplyInvoiceNo)
        .addText("fast_docno", h.fastDocno);
    store::addCreationColumns(row, h.created);
    row.add("void", false).add("new_from_fast", h.newFromFast).add("printed", false);
    db.queue(row.insertSql(kHeaderTable), row.params());
}

void updateCompletedHeader(db::Database& db, const ReceiptHeader& h) {
    ColumnValues row;
    row.add("new_from_fast", false)
        .addText("receipt_no", h.receiptNo)
        .addText("payer", h.payer)
        .addText("payby", h.payby)
        .addText("remark", h.remark)
        .addText("check_no", h.checkNo)
        .add("check_date", h.checkDate)
        .append(amountColumns(h));
    db.queue(row.updateSql(kHeaderTable, "fkey = ?"), row.paramsWith({h.fkey}));
}

void updateEditedHeader(db::Database& db, const ReceiptHeader& h) {
    ColumnValues row;
    row.addText("receipt_no", h.receiptNo).addText("payer", h.payer).addText("payby", h.payby);
    if (h.payby == "Check") row.addText("check_no", h.checkNo).add("check_date", h.checkDate);
    row.addText("remark", h.remark);
    db.queue(row.updateSql(kHeaderTable, "fkey = ?"), row.paramsWith({h.fkey}));
}

void setReceiptJournalKey(db::Database& db, std::string_view fkey, std::string_view glFkey) {
    db.queue("UPDATE Receipt_header_table SET GLFKEY = ? WHERE fkey = ?", {glFkey, fkey});
}

void setUnappliedDocument(db::Database& db, std::string_view fkey, std::string_view docno,
                          double amount) {
    db.queue(
        "UPDATE Receipt_header_table SET Unapplied_DOCNO = ?, Unapplied_amount = ? "
        "WHERE fkey = ?",
        {docno, amount, fkey});
}

void insertReceiptLine(db::Database& db, const ReceiptHeader& header, const ReceiptLine& l) {
    ColumnValues row = headerCopies(header);
    row.addText("invoice_no", l.invoiceNo)
        .addText("pay_item", l.payItem)
        .add("invoice_date", l.invoiceDate)
        .add("gross_amount", l.grossAmount)
        .add("open_amount", l.openAmount)
        .add("discount_available", l.discountAvailable)
        .add("applied_amount", l.applied)
        .add("applied_base_amount", l.appliedBase)
        .add("discount_taken", l.discountTaken)
        .addText("discount_accno", l.discountAccno)
        .add("writeoff", l.writeoff)
        .addText("writeoff_accno", l.writeoffAccno)
        .add("invoice_balance", l.invoiceBalance)
        .addText("Currency", l.currency)
        .add("invoice_exchange_rate", l.invoiceRate)
        .add("receipt_exchange_rate", l.receiptRate)
        .addText("computer_id", l.computerId)
        .addText("remark", l.remark)
        .add("void", false);
    // Every line names the same columns: the statement is laid out once (a receipt
    // writes its lines one after the other).
    static const std::string sql = row.insertSql(kLineTable);
    db.queue(sql, row.params());
}

void markReceiptVoid(db::Database& db, std::string_view fkey, const db::Date& today) {
    db.queue("UPDATE Receipt_transaction_table SET void = TRUE WHERE fkey = ?", {fkey});
    db.queue("UPDATE Receipt_header_table SET void = TRUE, void_date = ? WHERE fkey = ?",
             {today, fkey});
}

}  // namespace keltro::receipts
