#include "store/RecurringDefinition.h"

namespace keltro::store {

namespace {

constexpr std::string_view kHeaderTable = "AR_recur_header_table";
constexpr std::string_view kLineTable = "AR_recur_transaction_table";

// Every column but `company`, `doctype` and `fkey`, which identify the row.
ColumnValues recurHeaderValues(const RecurHeader& h) {
    ColumnValues row;
    row.addText("recurno", h.recurno)
        .addText("recur_name", h.recurName)
        .addText("customer_no", h.customerNo)
        .addText("Currency", h.currency);
    addTermColumns(row, h.term);
    row.addText("remark", h.remark)
        .add("recur_date", h.recurDate)
        .add("begin_date", h.beginDate)
        .add("end_date", h.endDate)
        .add("no_invoice", h.noInvoice)
        .add("no_issue", h.noIssue)
        .addText("Frequency", h.frequency)
        .add("inactive", h.inactive);
    addCreationColumns(row, h.created);
    addChangeColumns(row, h.modified);
    return row;
}

// A template line repeats the definition's identity and term; it has no dates of its own.
HeaderCopies copiesOf(const RecurHeader& h) {
    HeaderCopies copies;
    copies.fkey = h.fkey;
    copies.docno = h.recurno;
    copies.doctype = std::string(doctype::kRecurring);
    copies.customerNo = h.customerNo;
    copies.currency = h.currency;
    copies.term = h.term;
    return copies;
}

std::optional<RecurringDefinition> withLines(db::Database& db, std::optional<RecurHeader> header) {
    if (!header) return std::nullopt;
    RecurringDefinition definition{std::move(*header), {}};
    definition.lines = loadRecurLines(db, definition.header.fkey);
    return definition;
}

}  // namespace

RecurHeader readRecurHeader(const db::Row& row) {
    RecurHeader h;
    h.fkey = row["fkey"].textOr();
    h.recurno = row["recurno"].textOr();
    h.recurName = row["recur_name"].textOr();
    h.customerNo = row["customer_no"].textOr();
    h.currency = row["Currency"].textOr();
    h.term = readTermCopies(row);
    h.remark = row["remark"].textOr();
    h.recurDate = static_cast<int>(row["recur_date"].integerOr());
    h.beginDate = row["begin_date"].date();
    h.endDate = row["end_date"].date();
    h.noInvoice = optionalInt(row["no_invoice"]);
    h.noIssue = optionalInt(row["no_issue"]);
    h.frequency = row["Frequency"].textOr();
    h.inactive = row["inactive"].booleanOr(false);
    h.created = readCreationStamp(row);
    h.modified = readChangeStamp(row);
    return h;
}

std::optional<RecurHeader> findRecurHeader(db::Database& db, std::string_view fkey) {
    auto row = db.queryOne("SELECT * FROM [AR_recur_header_table] WHERE fkey = ?", {fkey});
    if (!row) return std::nullopt;
    return readRecurHeader(*row);
}

std::optional<RecurHeader> findRecurHeaderByNumber(db::Database& db, std::string_view recurno) {
    auto row = db.queryOne(
        "SELECT * FROM [AR_recur_header_table] WHERE company = 1 AND recurno = ?", {recurno});
    if (!row) return std::nullopt;
    return readRecurHeader(*row);
}

std::vector<RecurLine> loadRecurLines(db::Database& db, std::string_view fkey) {
    std::vector<RecurLine> lines;
    for (const auto& row : queryLines(db, kLineTable, fkey)) {
        RecurLine line;
        readPayItemLine(row, line);
        lines.push_back(std::move(line));
    }
    return lines;
}

std::optional<RecurringDefinition> loadRecurring(db::Database& db, std::string_view fkey) {
    return withLines(db, findRecurHeader(db, fkey));
}

std::optional<RecurringDefinition> loadRecurringByNumber(db::Database& db,
                                                         std::string_view recurno) {
    return withLines(db, findRecurHeaderByNumber(db, recurno));
}

void insertRecurHeader(db::Database& db, const RecurHeader& header) {
    ColumnValues row;
    row.add("company", kCompany)
        .add("doctype", doctype::kRecurring)
        .addText("fkey", header.fkey)
        .append(recurHeaderValues(header));
    db.execute(row.insertSql(kHeaderTable), row.params());
}

void updateRecurHeader(db::Database& db, const RecurHeader& header) {
    const ColumnValues row = recurHeaderValues(header);
    db.execute(row.updateSql(kHeaderTable, "fkey = ?"), row.paramsWith({header.fkey}));
}

void insertRecurLines(db::Database& db, const RecurHeader& header,
                      const std::vector<RecurLine>& lines) {
    const HeaderCopies copies = copiesOf(header);
    for (const auto& line : lines) {
        ColumnValues row;
        addPayItemColumns(row, copies, line);
        db.execute(row.insertSql(kLineTable), row.params());
    }
}

void replaceRecurLines(db::Database& db, const RecurHeader& header,
                       const std::vector<RecurLine>& lines) {
    deleteLinesInTransaction(db, kLineTable, header.fkey);
    insertRecurLines(db, header, lines);
}

}  // namespace keltro::store
