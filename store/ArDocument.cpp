#include "store/ArDocument.h"

namespace keltro::store {

namespace {

constexpr std::string_view kHeaderTable = "AR_header_table";
constexpr std::string_view kLineTable = "AR_transaction_table";

ArHeader readHeader(const db::Row& row) {
    ArHeader h;
    h.id = row["Id"].integerOr();
    h.doctype = row["doctype"].textOr();
    h.fkey = row["fkey"].textOr();
    h.docno = row["docno"].textOr();
    h.customerNo = row["customer_no"].textOr();
    h.invoiceDate = row["invoice_date"].date();
    h.customerPo = row["customer_po"].textOr();
    h.orderNo = row["order_no"].textOr();
    h.applyToDocno = row["apply_to_docno"].textOr();
    h.dueDate = row["due_date"].date();
    h.discountDate = row["discount_date"].date();
    h.term = readTermCopies(row);
    h.remark = row["remark"].textOr();
    h.currency = row["Currency"].textOr();
    h.exchangeRate = row["exchange_rate"].number();
    h.rateDate = row["rate_date"].date();
    h.billToAddress = row["bill_to_address"].textOr();
    h.shipToAddress = row["ship_to_address"].textOr();
    h.period = optionalInt(row["period"]);
    h.fyear = row["fyear"].textOr();
    h.source = row["Source"].textOr();
    h.sourceDocno = row["source_docno"].textOr();
    h.sourceForm = row["source_form"].textOr();
    h.glFkey = row["GLFKEY"].textOr();
    h.paid = row["paid"].booleanOr(false);
    h.fullyPaid = row["fully_paid"].booleanOr(false);
    h.isVoid = row["void"].booleanOr(false);
    h.printed = row["printed"].booleanOr(false);
    h.prepayment = row["prepayment"].number();
    h.ppfkey = row["ppfkey"].textOr();
    h.recurNo = row["recur_no"].textOr();
    h.month = row["month"].textOr();
    h.year = row["year"].textOr();
    h.parentNo = row["parent_no"].textOr();
    h.created = readCreationStamp(row);
    h.modified = readChangeStamp(row);
    return h;
}

// "MM" and "YYYY" of the invoice date, searched by the recurring due list.
std::string monthOf(const std::optional<db::Date>& date) {
    return date ? monthText(date->month) : "";
}

std::string yearOf(const std::optional<db::Date>& date) {
    return date ? std::to_string(date->year) : "";
}

// Every column but `Id`, `company` and `fkey`, which identify the row.
ColumnValues headerValues(const ArHeader& h) {
    ColumnValues row;
    row.addText("doctype", h.doctype)
        .addText("docno", h.docno)
        .addText("customer_no", h.customerNo)
        .add("invoice_date", h.invoiceDate)
        .addText("customer_po", h.customerPo)
        .addText("order_no", h.orderNo)
        .addText("apply_to_docno", h.applyToDocno)
        .add("due_date", h.dueDate)
        .add("discount_date", h.discountDate);
    addTermColumns(row, h.term);
    row.addText("remark", h.remark)
        .addText("Currency", h.currency)
        .add("exchange_rate", h.exchangeRate)
        .add("rate_date", h.rateDate)
        .addText("bill_to_address", h.billToAddress)
        .addText("ship_to_address", h.shipToAddress)
        .add("period", h.period)
        .addText("fyear", h.fyear)
        .addText("Source", h.source)
        .addText("source_docno", h.sourceDocno)
        .addText("source_form", h.sourceForm)
        .addText("GLFKEY", h.glFkey)
        .add("paid", h.paid)
        .add("fully_paid", h.fullyPaid)
        .add("void", h.isVoid)
        .add("printed", h.printed)
        .add("prepayment", h.prepayment)
        .addText("ppfkey", h.ppfkey)
        .addText("recur_no", h.recurNo)
        .addText("month", h.month.empty() ? monthOf(h.invoiceDate) : h.month)
        .addText("year", h.year.empty() ? yearOf(h.invoiceDate) : h.year)
        .addText("parent_no", h.parentNo);
    addCreationColumns(row, h.created);
    addChangeColumns(row, h.modified);
    return row;
}

HeaderCopies copiesOf(const ArHeader& h) {
    return {h.fkey, h.docno, h.doctype, h.customerNo, h.currency, h.exchangeRate,
            h.invoiceDate, h.term, h.dueDate, h.discountDate, h.period, h.fyear};
}

// The settlement amounts that receipts, matching and prepayments keep on a line carry
// the document's sign like the others.
void negateLineAmounts(ArLine& line) {
    negateAmounts(line);
    line.paidAmount = negated(line.paidAmount);
    line.discountAvailable = negated(line.discountAvailable);
    line.discountTaken = negated(line.discountTaken);
    line.writeoff = negated(line.writeoff);
}

ArLine readLine(const db::Row& row) {
    ArLine line;
    readPayItemLine(row, line);
    line.id = row["id"].integerOr();
    line.source = row["Source"].textOr();
    line.sourceDocno = row["source_docno"].textOr();
    line.sourceForm = row["source_form"].textOr();
    line.paid = row["paid"].booleanOr(false);
    line.paidAmount = row["paid_amount"].number();
    line.discountAvailable = row["discount_available"].number();
    line.discountTaken = row["discount_taken"].number();
    line.writeoff = row["writeoff"].number();
    line.isVoid = row["void"].booleanOr(false);
    line.status = row["Status"].textOr();
    line.receiptNo = row["receipt_no"].textOr();
    line.checkNo = row["check_no"].textOr();
    line.dueDateDb = row["due_datedb"].date();
    line.ageRange = optionalInt(row["age_range"]);
    line.user = row["User"].textOr();
    if (isCreditNote(line.copies.doctype)) negateLineAmounts(line);
    return line;
}

void insertLine(db::Database& db, const HeaderCopies& copies, ArLine line) {
    if (isCreditNote(copies.doctype)) negateLineAmounts(line);
    ColumnValues row;
    addPayItemColumns(row, copies, line);
    row.addText("Source", line.source)
        .addText("source_docno", line.sourceDocno)
        .addText("source_form", line.sourceForm)
        .add("paid", line.paid)
        .add("paid_amount", line.paidAmount)
        .add("discount_available", line.discountAvailable)
        .add("discount_taken", line.discountTaken)
        .add("writeoff", line.writeoff)
        .add("void", line.isVoid)
        .addText("Status", line.status)
        .addText("receipt_no", line.receiptNo)
        .addText("check_no", line.checkNo)
        .add("due_datedb", line.dueDateDb)
        .add("age_range", line.ageRange)
        .addText("User", line.user);
    db.queue(row.insertSql(kLineTable), row.params());
}

// The receipt screens' three statements.
std::string_view paidStatement(PaidState state) {
    switch (state) {
        case PaidState::FullyPaid:
            return "UPDATE AR_header_table SET paid = TRUE, fully_paid = TRUE WHERE fkey = ?";
        case PaidState::PartlyPaid:
            return "UPDATE AR_header_table SET paid = TRUE, fully_paid = FALSE WHERE fkey = ?";
        case PaidState::Unpaid:
            break;
    }
    return "UPDATE AR_header_table SET paid = FALSE, fully_paid = FALSE WHERE fkey = ?";
}

ColumnValues newHeaderRow(const ArHeader& header) {
    ColumnValues row;
    row.add("company", kCompany).addText("fkey", header.fkey).append(headerValues(header));
    return row;
}

std::optional<ArDocument> withLines(db::Database& db, std::optional<ArHeader> header) {
    if (!header) return std::nullopt;
    ArDocument document{std::move(*header), {}};
    document.lines = loadLines(db, document.header.fkey);
    return document;
}

}  // namespace

std::string monthText(int month) { return (month < 10 ? "0" : "") + std::to_string(month); }

std::optional<ArHeader> findHeader(db::Database& db, std::string_view fkey) {
    auto row = db.queryOne("SELECT * FROM [AR_header_table] WHERE fkey = ?", {fkey});
    if (!row) return std::nullopt;
    return readHeader(*row);
}

std::optional<ArHeader> findHeaderByDocno(db::Database& db, std::string_view docno,
                                          std::optional<std::string_view> doctype) {
    auto row = doctype ? db.queryOne("SELECT * FROM [AR_header_table] WHERE company = 1 "
                                     "AND docno = ? AND doctype = ?",
                                     {docno, *doctype})
                       : db.queryOne("SELECT * FROM [AR_header_table] WHERE company = 1 "
                                     "AND docno = ?",
                                     {docno});
    if (!row) return std::nullopt;
    return readHeader(*row);
}

std::vector<ArLine> loadLines(db::Database& db, std::string_view fkey) {
    std::vector<ArLine> lines;
    for (const auto& row : queryLines(db, kLineTable, fkey)) lines.push_back(readLine(row));
    return lines;
}

std::optional<ArDocument> loadDocument(db::Database& db, std::string_view fkey) {
    return withLines(db, findHeader(db, fkey));
}

std::optional<ArDocument> loadDocumentByDocno(db::Database& db, std::string_view docno,
                                              std::optional<std::string_view> doctype) {
    return withLines(db, findHeaderByDocno(db, docno, doctype));
}

std::vector<std::string> openDocumentNumbers(db::Database& db, std::string_view doctype) {
    std::vector<std::string> numbers;
    for (const auto& row : db.query("SELECT docno FROM AR_header_table WHERE doctype = ? "
                                    "AND fully_paid = FALSE AND void = FALSE ORDER BY docno DESC",
                                    {doctype}))
        numbers.push_back(row["docno"].textOr());
    return numbers;
}

std::int64_t insertHeader(db::Database& db, const ArHeader& header) {
    const ColumnValues row = newHeaderRow(header);
    return db.insert(row.insertSql(kHeaderTable), row.params(), "Id");
}

void queueHeader(db::Database& db, const ArHeader& header) {
    const ColumnValues row = newHeaderRow(header);
    db.queue(row.insertSql(kHeaderTable), row.params());
}

void updateHeader(db::Database& db, const ArHeader& header) {
    const ColumnValues row = headerValues(header);
    db.queue(row.updateSql(kHeaderTable, "fkey = ?"), row.paramsWith({header.fkey}));
}

void setGlFkey(db::Database& db, std::string_view fkey, std::string_view glFkey) {
    db.queue("UPDATE AR_header_table SET GLFKEY = ? WHERE fkey = ?", {glFkey, fkey});
}

void insertLines(db::Database& db, const ArHeader& header, const std::vector<ArLine>& lines) {
    const HeaderCopies copies = copiesOf(header);
    for (const auto& line : lines) insertLine(db, copies, line);
}

void replaceLines(db::Database& db, const ArHeader& header, const std::vector<ArLine>& lines) {
    deleteLinesInTransaction(db, kLineTable, header.fkey);
    insertLines(db, header, lines);
}

void insertDocument(db::Database& db, ArDocument& document) {
    document.header.id = insertHeader(db, document.header);
    insertLines(db, document.header, document.lines);
}

PaidState paidState(const ArHeader& header) {
    if (header.fullyPaid) return PaidState::FullyPaid;
    return header.paid ? PaidState::PartlyPaid : PaidState::Unpaid;
}

void setPaidState(db::Database& db, std::string_view fkey, PaidState state) {
    db.queue(paidStatement(state), {fkey});
}

void markVoid(db::Database& db, std::string_view fkey, const ChangeStamp& stamp) {
    ColumnValues row;
    row.add("void", true);
    addChangeColumns(row, stamp);
    for (std::string_view table : {kHeaderTable, kLineTable})
        db.queue(row.updateSql(table, "fkey = ?"), row.paramsWith({fkey}));
}

}  // namespace keltro::store
