#include "matching/MatchingRecords.h"

#include "services/SqlLiteral.h"
#include "store/ColumnValues.h"
#include "store/DocumentWalk.h"

namespace keltro::matching {

namespace {

constexpr int kCompany = 1;
constexpr const char* kHeaderTable = "AR_matching_header_table";

MatchingHeader readHeader(const db::Row& row) {
    MatchingHeader h;
    h.id = row["id"].integerOr(0);
    h.docno = row["docno"].textOr();
    h.fkey = row["fkey"].textOr();
    h.date = row["Date"].date();
    h.rateDate = row["rate_date"].date();
    h.customerNo = row["customer_no"].textOr();
    h.remark = row["remark"].textOr();
    h.unappliedAmount = row["Unapplied_amount"].numberOr(0);
    h.invoiceBaseAmount = row["invoice_base_amount"].numberOr(0);
    h.invoiceAmount = row["invoice_amount"].number();
    h.invoiceCurrency = row["invoice_currency"].textOr();
    h.period = static_cast<int>(row["period"].integerOr(0));
    h.fyear = row["fyear"].textOr();
    h.userCreated = row["user_created"].textOr();
    h.dateCreated = row["date_created"].date();
    h.glFkey = row["GLFKEY"].textOr();
    h.printed = row["printed"].booleanOr(false);
    h.isVoid = row["void"].booleanOr(false);
    return h;
}

std::optional<MatchingHeader> headerOf(const std::optional<db::Row>& row) {
    if (!row) return std::nullopt;
    return readHeader(*row);
}

}  // namespace

void insertMatchingHeader(db::Database& db, const MatchingHeader& h) {
    store::ColumnValues row;
    row.add("company", kCompany)
        .addText("docno", h.docno)
        .add("Date", h.date)
        .add("rate_date", h.rateDate)
        .add("doctype", kMatchingDoctype)
        .addText("customer_no", h.customerNo)
        .addText("fkey", h.fkey)
        .addText("remark", h.remark)
        .add("Unapplied_amount", h.unappliedAmount)
        .add("invoice_base_amount", h.invoiceBaseAmount)
        .add("invoice_amount", h.invoiceAmount)
        .addText("invoice_currency", h.invoiceCurrency)
        .add("period", h.period)
        .addText("fyear", h.fyear)
        .addText("user_created", h.userCreated)
        .add("date_created", h.dateCreated)
        .add("printed", false)
        .add("void", false);
    db.execute(row.insertSql("AR_matching_header_table"), row.params());
}

void setMatchingJournalKey(db::Database& db, std::string_view fkey, std::string_view glFkey) {
    db.execute("UPDATE AR_matching_header_table SET GLFKEY = ? WHERE fkey = ?", {glFkey, fkey});
}

std::optional<MatchingHeader> findMatching(db::Database& db, std::string_view fkey) {
    return headerOf(db.queryOne("SELECT * FROM AR_matching_header_table WHERE fkey = ?", {fkey}));
}

std::optional<MatchingHeader> findMatchingByDocno(db::Database& db, std::string_view docno) {
    return headerOf(db.queryOne(
        "SELECT * FROM AR_matching_header_table WHERE company = 1 AND docno = ? AND doctype = ?",
        {docno, kMatchingDoctype}));
}

std::optional<std::string> lastMatchingKey(db::Database& db) {
    return store::lastDocumentKey(db, kHeaderTable, kMatchingDoctype);
}

std::optional<std::string> neighbourMatchingKey(db::Database& db, std::int64_t id, int step) {
    return store::neighbourDocumentKey(db, kHeaderTable, kMatchingDoctype, id, step);
}

db::Rows matchingLineRows(db::Database& db, std::string_view fkey, LineOrder order) {
    return db.query(order == LineOrder::Stepping
                        ? "SELECT * FROM AR_matching_transaction_table WHERE fkey = ? "
                          "ORDER BY void DESC, invoice_no, pay_item"
                        : "SELECT * FROM AR_matching_transaction_table WHERE fkey = ? "
                          "ORDER BY pay_item",
                    {fkey});
}

std::vector<std::string> parameterAccountItems(db::Database& db, std::string_view parameterName) {
    std::vector<std::string> items;
    for (const auto& row : db.query(
             "SELECT p.accno, a.accname FROM Account_Parameters_table p "
             "INNER JOIN Account_master_table a ON a.accno = p.accno "
             "WHERE p.module = 'AR' AND p.parameter_name = ? ORDER BY p.accno",
             {parameterName}))
        items.push_back(row["accno"].textOr() + ";" + row["accname"].textOr());
    return items;
}

std::string matchingPreviewQuery(std::string_view fkey) {
    return "SELECT AR_matching_header_table.docno, AR_matching_header_table.Date,"
           " AR_matching_header_table.rate_date, AR_matching_header_table.customer_no,"
           " AR_matching_header_table.remark, AR_matching_header_table.Unapplied_amount,"
           " AR_matching_header_table.invoice_base_amount,"
           " AR_matching_header_table.invoice_amount, AR_matching_header_table.invoice_currency,"
           " AR_matching_transaction_table.lineno, AR_matching_transaction_table.invoice_no,"
           " AR_matching_transaction_table.pay_item, AR_matching_transaction_table.check_no,"
           " AR_matching_transaction_table.invoice_date,"
           " AR_matching_transaction_table.matching_doctype,"
           " AR_matching_transaction_table.applied_amount,"
           " AR_matching_transaction_table.open_amount,"
           " AR_matching_transaction_table.discount_taken, AR_matching_transaction_table.writeoff,"
           " AR_matching_transaction_table.invoice_balance,"
           " AR_matching_transaction_table.Currency"
           " FROM AR_matching_header_table LEFT JOIN AR_matching_transaction_table"
           " ON AR_matching_header_table.fkey = AR_matching_transaction_table.fkey"
           " WHERE AR_matching_header_table.fkey = " +
           services::sqlLiteral(fkey) + " ORDER BY AR_matching_transaction_table.lineno";
}

}  // namespace keltro::matching
