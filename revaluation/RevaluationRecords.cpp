#include "revaluation/RevaluationRecords.h"

#include <algorithm>
#include <charconv>

#include "services/Balances.h"
#include "store/ColumnValues.h"

namespace keltro::revaluation {

namespace {

constexpr const char* kHeaderTable = "AR_Revalue_header_table";
// Result rows between two progress reports.
constexpr long kProgressStep = 500;

// The two identifying columns every revaluation row starts with.
store::ColumnValues identity(const RevaluationHeader& header) {
    store::ColumnValues row;
    row.add("docno", header.docno).add("fkey", header.fkey);
    return row;
}

RevaluationHeader headerOf(const db::Row& row) {
    RevaluationHeader h;
    h.docno = row["docno"].textOr();
    h.fkey = row["fkey"].textOr();
    h.cutoff = row["last_transaction_date"].date();
    h.date = row["Date"].date();
    h.description = row["Description"].textOr();
    h.period = store::optionalInt(row["period"]);
    h.fyear = row["fyear"].textOr();
    h.glFkey = row["GLFKEY"].textOr();
    h.printed = row["printed"].booleanOr(false);
    return h;
}

std::optional<RevaluationHeader> headerOf(const std::optional<db::Row>& row) {
    if (!row) return std::nullopt;
    return headerOf(*row);
}

std::vector<Criterion> readCriteria(db::Database& db, const std::string& fkey) {
    std::vector<Criterion> criteria;
    for (const auto& row : db.query("SELECT * FROM AR_Revalue_transaction_table WHERE fkey = ?", {fkey}))
        criteria.push_back({.currency = row["currency"].textOr(),
                            .rate = row["rate"].number(),
                            .everyCustomer = row["every_customer"].booleanOr(false),
                            .customerGroup = row["customer_group"].textOr(),
                            .customerNo = row["customer_no"].textOr()});
    return criteria;
}

// In the order they were written.
std::vector<RevaluedItem> readResults(db::Database& db, const std::string& fkey) {
    std::vector<RevaluedItem> items;
    for (const auto& row :
         db.query("SELECT r.*, c.customer_name FROM AR_Revalue_Result_table r LEFT JOIN "
                  "Customer_table c ON c.customer_no = r.customer_no WHERE r.fkey = ?",
                  {fkey}))
        items.push_back({.customerNo = row["customer_no"].textOr(),
                         .customerName = row["customer_name"].textOr(),
                         .documentNo = row["document_no"].textOr(),
                         .documentDate = row["document_date"].date(),
                         .payItem = row["pay_item"].textOr(),
                         .currency = row["Currency"].textOr(),
                         .originalRate = row["original_rate"].numberOr(0),
                         .invoiceAmount = row["invoice_amount"].numberOr(0),
                         .originalBase = row["original_base_amount"].numberOr(0),
                         .unrealized = row["unrealized_gain_loss"].numberOr(0),
                         .newBase = row["new_base_amount"].numberOr(0)});
    return items;
}

std::vector<AccountLine> readSummary(db::Database& db, const std::string& fkey) {
    std::vector<AccountLine> lines;
    for (const auto& row :
         db.query("SELECT s.accno, s.Currency, s.amount, a.accname, a.debit FROM "
                  "AR_Revalue_GL_summary_table s LEFT JOIN Account_master_table a ON "
                  "a.accno = s.accno WHERE s.fkey = ?",
                  {fkey})) {
        const double amount = row["amount"].numberOr(0);
        lines.push_back({.accno = row["accno"].textOr(),
                         .accname = row["accname"].textOr(),
                         .currency = row["Currency"].textOr(),
                         .debit = amount >= 0 ? amount : 0,
                         .credit = amount < 0 ? -amount : 0,
                         .debitAccount = row["debit"].booleanOr(false)});
    }
    return lines;
}

// The counter part of a key: "1arre-12" gives 12.
std::optional<long long> keyNumber(const std::string& fkey) {
    const auto dash = fkey.rfind('-');
    if (dash == std::string::npos) return std::nullopt;
    long long number = 0;
    const char* end = fkey.data() + fkey.size();
    const auto [at, error] = std::from_chars(fkey.data() + dash + 1, end, number);
    if (error != std::errc() || at != end) return std::nullopt;
    return number;
}

// Every stored key with its number, lowest first.
std::vector<std::pair<long long, std::string>> numberedKeys(db::Database& db) {
    std::vector<std::pair<long long, std::string>> keys;
    for (const auto& row : db.query("SELECT fkey FROM AR_Revalue_header_table WHERE company = 1"))
        if (const auto number = keyNumber(row["fkey"].textOr()))
            keys.emplace_back(*number, row["fkey"].textOr());
    std::sort(keys.begin(), keys.end());
    return keys;
}

}  // namespace

void insertHeader(db::Database& db, const RevaluationHeader& header) {
    store::ColumnValues row;
    row.add("company", services::kLedgerCompany).append(identity(header));
    row.add("last_transaction_date", header.cutoff)
        .add("Date", header.date)
        .addText("Description", header.description)
        .add("period", header.period)
        .add("fyear", header.fyear)
        .addText("GLFKEY", header.glFkey)
        .add("printed", header.printed);
    db.execute(row.insertSql(kHeaderTable), row.params());
}

void storeJournalKey(db::Database& db, const std::string& fkey, const std::string& glFkey) {
    db.execute("UPDATE AR_Revalue_header_table SET GLFKEY = ? WHERE fkey = ?", {glFkey, fkey});
}

void insertCriteria(db::Database& db, const RevaluationHeader& header,
                    const std::vector<Criterion>& criteria) {
    for (const auto& criterion : criteria) {
        auto row = identity(header);
        row.addText("currency", criterion.currency)
            .add("rate", criterion.rate)
            .add("every_customer", criterion.everyCustomer)
            .addText("customer_group", criterion.customerGroup)
            .addText("customer_no", criterion.customerNo);
        db.execute(row.insertSql("AR_Revalue_transaction_table"), row.params());
    }
}

void insertResults(db::Database& db, services::Ui& ui, const RevaluationHeader& header,
                   const std::vector<RevaluedItem>& items) {
    const long total = static_cast<long>(items.size());
    long done = 0;
    for (const auto& item : items) {
        auto row = identity(header);
        row.addText("document_no", item.documentNo)
            .addText("customer_no", item.customerNo)
            .add("document_date", item.documentDate)
            .addText("Currency", item.currency)
            .addText("pay_item", item.payItem)
            .add("invoice_amount", item.invoiceAmount)
            .add("original_rate", item.originalRate)
            .add("original_base_amount", item.originalBase)
            .add("unrealized_gain_loss", item.unrealized)
            .add("new_base_amount", item.newBase);
        db.execute(row.insertSql("AR_Revalue_Result_table"), row.params());
        if (++done % kProgressStep == 0 || done == total) {
            ui.progress(done, total);
            ui.pumpEvents();
        }
    }
}

void insertSummary(db::Database& db, const RevaluationHeader& header,
                   const std::vector<AccountLine>& accounts) {
    for (const auto& line : accounts) {
        auto row = identity(header);
        row.addText("accno", line.accno)
            .addText("Currency", line.currency)
            .add("amount", line.signedAmount());
        db.execute(row.insertSql("AR_Revalue_GL_summary_table"), row.params());
    }
}

std::optional<RevaluationHeader> findHeader(db::Database& db, const std::string& fkey) {
    return headerOf(db.queryOne("SELECT * FROM AR_Revalue_header_table WHERE fkey = ?", {fkey}));
}

std::optional<RevaluationHeader> findHeaderByDocno(db::Database& db, const std::string& docno) {
    return headerOf(db.queryOne(
        "SELECT * FROM AR_Revalue_header_table WHERE company = 1 AND docno = ?", {docno}));
}

Revaluation readRevaluation(db::Database& db, const RevaluationHeader& header) {
    Revaluation r;
    r.cutoff = header.cutoff.value_or(db::Date{});
    r.criteria = readCriteria(db, header.fkey);
    r.items = readResults(db, header.fkey);
    r.accounts = readSummary(db, header.fkey);
    return r;
}

std::optional<std::string> lastRevaluationKey(db::Database& db) {
    const auto keys = numberedKeys(db);
    if (keys.empty()) return std::nullopt;
    return keys.back().second;
}

std::optional<std::string> neighbourRevaluationKey(db::Database& db, const std::string& fkey,
                                                   int step) {
    const auto number = keyNumber(fkey);
    if (!number) return std::nullopt;
    const auto keys = numberedKeys(db);
    const auto above = std::upper_bound(keys.begin(), keys.end(), std::make_pair(*number, fkey));
    if (step > 0) {
        if (above == keys.end()) return std::nullopt;
        return above->second;
    }
    const auto below = std::lower_bound(keys.begin(), keys.end(), std::make_pair(*number, fkey));
    if (below == keys.begin()) return std::nullopt;
    return std::prev(below)->second;
}

}  // namespace keltro::revaluation
