#include "receipts/MiscReceiptRecords.h"

#include "store/ColumnValues.h"
#include "store/PayItemLine.h"

namespace keltro::receipts {

using store::ColumnValues;

namespace {

constexpr std::string_view kLineTable = "Receipt_misc_transaction_table";

MiscReceiptHeader readHeader(const db::Row& row) {
    MiscReceiptHeader h;
    h.id = row["Id"].integerOr();
    h.docno = row["docno"].textOr();
    h.fkey = row["fkey"].textOr();
    h.receiptNo = row["receipt_no"].textOr();
    h.receiptDate = row["receipt_date"].date();
    h.currency = row["Currency"].textOr();
    h.exchangeRate = row["exchange_rate"].number();
    h.rateDate = row["rate_date"].date();
    h.payer = row["payer"].textOr();
    h.payby = row["payby"].textOr();
    h.cashAccno = row["cash_accno"].textOr();
    h.bankCode = row["bank_code"].textOr();
    h.bankAccno = row["bank_accno"].textOr();
    h.checkNo = row["check_no"].textOr();
    h.checkDate = row["check_date"].date();
    h.remark = row["remark"].textOr();
    h.receiptAmount = row["receipt_amount"].numberOr();
    h.period = store::optionalInt(row["period"]);
    h.fyear = row["fyear"].textOr();
    h.glFkey = row["GLFKEY"].textOr();
    h.fastDocno = row["fast_docno"].textOr();
    h.isVoid = row["void"].booleanOr(false);
    h.printed = row["printed"].booleanOr(false);
    h.userCreated = row["user_created"].textOr();
    return h;
}

std::optional<MiscReceiptHeader> headerOf(const std::optional<db::Row>& row) {
    if (!row) return std::nullopt;
    return readHeader(*row);
}

}  // namespace

std::optional<MiscReceiptHeader> findMiscReceipt(db::Database& db, std::string_view fkey) {
    return headerOf(db.queryOne("SELECT * FROM Receipt_misc_header_table WHERE fkey = ?", {fkey}));
}

std::optional<MiscReceiptHeader> findMiscReceiptByDocno(db::Database& db, std::string_view docno) {
    return headerOf(db.queryOne(
        "SELECT * FROM Receipt_misc_header_table WHERE company = 1 AND docno = ?", {docno}));
}

std::vector<MiscReceiptLine> miscReceiptLines(db::Database& db, std::string_view fkey) {
    std::vector<MiscReceiptLine> lines;
    for (const auto& row : db.query(
             "SELECT * FROM Receipt_misc_transaction_table WHERE fkey = ? ORDER BY lineno", {fkey}))
        lines.push_back({static_cast<int>(row["lineno"].integerOr()), row["accno"].textOr(),
                         row["amount"].numberOr(), row["Description"].textOr(),
                         row["Reference"].textOr(), row["computer_id"].textOr()});
    return lines;
}

std::int64_t insertMiscReceipt(db::Database& db, const MiscReceiptHeader& h) {
    ColumnValues row;
    row.add("company", store::kCompany)
        .addText("docno", h.docno)
        .add("doctype", kMiscReceiptDoctype)
        .addText("fkey", h.fkey)
        .addText("receipt_no", h.receiptNo)
        .add("receipt_date", h.receiptDate)
        .addText("Currency", h.currency)
        .add("exchange_rate", h.exchangeRate)
        .add("rate_date", h.rateDate)
        .addText("payer", h.payer)
        .addText("payby", h.payby)
        .addText("cash_accno", h.cashAccno)
        .addText("bank_code", h.bankCode)
        .addText("bank_accno", h.bankAccno)
        .addText("check_no", h.checkNo)
        .add("check_date", h.checkDate)
        .addText("remark", h.remark)
        .add("receipt_amount", h.receiptAmount)
        .add("period", h.period)
        .addText("fyear", h.fyear)
        .addText("GLFKEY", h.glFkey)
        .addText("fast_docno", h.fastDocno)
        .add("void", false)
        .add("printed", false)
        .addText("user_created", h.userCreated);
    return db.insert(row.insertSql(kMiscReceiptTable), row.params(), "Id");
}

void insertMiscReceiptLine(db::Database& db, const MiscReceiptHeader& header,
                           const MiscReceiptLine& line) {
    ColumnValues row;
    row.add("lineno", line.lineno)
        .addText("accno", line.accno)
        .add("amount", line.amount)
        .addText("Description", line.description)
        .addText("Reference", line.reference)
        .addText("docno", header.docno)
        .add("company", store::kCompany)
        .addText("fkey", header.fkey)
        .addText("Currency", header.currency)
        .addText("computer_id", line.computerId);
    static const std::string sql = row.insertSql(kLineTable);
    db.execute(sql, row.params());
}

void setMiscReceiptJournalKey(db::Database& db, std::string_view fkey, std::string_view glFkey) {
    db.execute("UPDATE Receipt_misc_header_table SET GLFKEY = ? WHERE fkey = ?", {glFkey, fkey});
}

void updateEditedMiscReceipt(db::Database& db, const MiscReceiptHeader& h) {
    ColumnValues row;
    row.addText("receipt_no", h.receiptNo).addText("payer", h.payer).addText("payby", h.payby);
    if (h.payby == "Check") row.addText("check_no", h.checkNo).add("check_date", h.checkDate);
    row.addText("remark", h.remark);
    db.execute(row.updateSql(kMiscReceiptTable, "fkey = ?"), row.paramsWith({h.fkey}));
}

}  // namespace keltro::receipts
