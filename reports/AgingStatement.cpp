#include "reports/AgingStatement.h"

#include <algorithm>
#include <cstdint>
#include <future>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <variant>

#include "reports/AgingItems.h"
#include "services/Money.h"

namespace keltro::reports {

namespace {

using services::roundMoney;

// The item's class on a bound day with a bound width; both engines divide whole numbers
// toward zero. `table` is the alias the item's columns go by ("t." or nothing).
std::string ageClassSql(db::Engine engine, const std::string& table) {
    const std::string dueDay =
        "COALESCE(" + table + "due_datedb, " + table + "due_date, " + table + "invoice_date)";
    const std::string days = engine == db::Engine::Postgres
                                 ? "(CAST(? AS DATE) - " + dueDay + ")"
                                 : "CAST(julianday(?) - julianday(" + dueDay + ") AS INTEGER)";
    return "(" + days + " / ? + 1)";
}

// What receipts and matchings dated after a bound day settled on each pay item.
constexpr const char* kSettledLater =
    "SELECT invoice_no, pay_item, SUM(settled) AS settled FROM ("
    " SELECT invoice_no, pay_item, COALESCE(applied_amount, 0) + COALESCE(discount_taken, 0)"
    " + COALESCE(writeoff, 0) AS settled FROM Receipt_transaction_table"
    " WHERE receipt_date > ? AND (void IS NULL OR void = FALSE)"
    " UNION ALL"
    " SELECT invoice_no, pay_item, COALESCE(applied_amount, 0) + COALESCE(discount_taken, 0)"
    " + COALESCE(writeoff, 0) AS settled FROM AR_matching_transaction_table"
    " WHERE [Date] > ? AND (void IS NULL OR void = FALSE)"
    ") payments GROUP BY invoice_no, pay_item";

// The item columns by position, as `itemQuery` selects them.
enum ItemColumn : std::size_t { kCustomerNo, kDocno, kPayItem, kInvoiceDate, kGross, kAgeClass, kOpenThen };

constexpr const char* kItemColumns = "SELECT t.customer_no, t.docno, t.pay_item, t.invoice_date, t.gross_amount, ";

struct Statement {
    std::string sql;
    db::Params params;
};

Statement itemQuery(db::Engine engine, const AgingRun& run) {
    Statement q{kItemColumns + ageClassSql(engine, "t.") + " AS age_class, ", {run.agedOn(), run.classWidth}};
    if (!run.asOf) {
        q.sql += "t.open_amount AS open_then FROM AR_transaction_table t WHERE t.paid = FALSE";
    } else {
        q.sql += "t.open_amount + COALESCE(later.settled, 0) AS open_then FROM AR_transaction_table t";
        q.sql += std::string(" LEFT JOIN (") + kSettledLater +
                 ") later ON later.invoice_no = t.docno AND later.pay_item = t.pay_item";
        q.sql += " WHERE t.invoice_date <= ? AND (t.paid = FALSE OR later.settled IS NOT NULL)";
        q.params.insert(q.params.end(), {*run.asOf, *run.asOf, *run.asOf});
    }
    if (!run.everyCustomer()) {
        q.sql += " AND t.customer_no = ?";
        q.params.emplace_back(run.customer);
    }
    return q;
}

// A text column as stored; a number or date stored where text belongs is read as text
// (into `spare`).
std::string_view textAt(const db::Row& row, std::size_t column, std::string& spare) {
    if (const auto* text = std::get_if<std::string>(&row.at(column).storage())) return *text;
    spare = row.at(column).textOr();
    return spare;
}

struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

// The first line of a customer shows its name and credit limit.
struct CustomerFacts {
    std::string name;
    std::optional<double> creditLimit;
};
using CustomerDirectory = std::unordered_map<std::string, CustomerFacts, TextHash, std::equal_to<>>;

CustomerDirectory customerDirectory(db::Database& db, const AgingRun& run) {
    CustomerDirectory directory;
    std::string sql = "SELECT customer_no, customer_name, credit_limit FROM Customer_table";
    db::Params params;
    if (!run.everyCustomer()) {
        sql += " WHERE customer_no = ?";
        params.emplace_back(run.customer);
    }
    db.forEachRow(sql, params, [&](const db::Row& row) {
        directory.try_emplace(row.at(0).textOr(), CustomerFacts{row.at(1).textOr(), row.at(2).number()});
    });
    return directory;
}

// The items as they are read: each already a line of the statement, small (its texts in
// one buffer, its customer a number), so that a million of them take some 50 MB. Putting
// them in the statement's order sorts the customers once and each customer's few items on
// their own (a counting pass between), which costs far less than sorting a million rows as
// one list, in memory or in the engine's sorter.
class ItemBook {
public:
    void add(const db::Row& row) {
        AgingLine& item = m_items.add();
        item.customer = m_customers.positionOf(textAt(row, kCustomerNo, m_spare));
        item.text = static_cast<std::uint32_t>(m_texts.size());
        const std::string_view docno = textAt(row, kDocno, m_spare);
        m_texts.append(docno);
        item.docnoLength = static_cast<std::uint16_t>(docno.size());
        const std::string_view payItem = textAt(row, kPayItem, m_spare);
        m_texts.append(payItem);
        item.payItemLength = static_cast<std::uint16_t>(payItem.size());
        item.invoiceDate = row.at(kInvoiceDate).date();
        item.grossAmount = roundMoney(row.at(kGross).numberOr());
        item.openAmount = roundMoney(row.at(kOpenThen).numberOr());
        if (const auto ageClass = row.at(kAgeClass).integer())
            item.ageColumn = static_cast<std::int8_t>(ageColumnOf(static_cast<long>(*ageClass)));
    }

    // The statement: the lines by customer, document and pay item (compared as bytes on
    // both engines), each customer's items followed by its total; items of one document
    // and pay item stay in the order read.
    AgingStatement statement(const CustomerDirectory& directory, const std::function<void(long, long)>& progress) {
        AgingStatement out;
        const std::vector<std::uint32_t> order = statementOrder();
        out.lines.reserve(std::size_t{m_items.size()} + m_customers.size());
        const long total = static_cast<long>(m_items.size());
        double customerTotal = 0;
        for (std::size_t at = 0; at < order.size(); ++at) {
            const AgingLine& item = m_items[order[at]];
            AgingLine& line = out.lines.emplace_back(item);
            if (at == 0 || m_items[order[at - 1]].customer != item.customer) {
                line.firstOfCustomer = true;
                customerTotal = 0;
            }
            customerTotal = roundMoney(customerTotal + line.openAmount);
            if (at + 1 == order.size() || m_items[order[at + 1]].customer != item.customer)
                out.lines.push_back({.total = true, .customer = item.customer, .openAmount = customerTotal});
            const long done = static_cast<long>(at) + 1;
            if (progress && (done % 1024 == 0 || done == total)) progress(done, total);
        }
        out.customers.reserve(m_customers.size());
        for (auto& customerNo : m_customers.takeNumbers()) {
            const auto facts = directory.find(customerNo);
            out.customers.push_back({std::move(customerNo), facts == directory.end() ? "" : facts->second.name,
                                     facts == directory.end() ? std::nullopt : facts->second.creditLimit});
        }
        out.texts = std::move(m_texts);
        return out;
    }

private:
    std::string_view docnoOf(const AgingLine& item) const { return {m_texts.data() + item.text, item.docnoLength}; }
    std::string_view payItemOf(const AgingLine& item) const {
        return {m_texts.data() + item.text + item.docnoLength, item.payItemLength};
    }

    // The items' positions in the statement's order.
    std::vector<std::uint32_t> statementOrder() const {
        std::vector<std::uint32_t> customers(m_customers.size());
        for (std::uint32_t c = 0; c < customers.size(); ++c) customers[c] = c;
        std::sort(customers.begin(), customers.end(),
                  [&](std::uint32_t a, std::uint32_t b) { return m_customers.number(a) < m_customers.number(b); });
        // How many items each customer has, where its items start with the customers in
        // order, then the items placed there in the order read.
        std::vector<std::uint32_t> counts(m_customers.size(), 0);
        for (std::uint32_t i = 0; i < m_items.size(); ++i) ++counts[m_items[i].customer];
        std::vector<std::uint32_t> first(m_customers.size(), 0);
        std::uint32_t next = 0;
        for (std::uint32_t c : customers) {
            first[c] = next;
            next += counts[c];
        }
        std::vector<std::uint32_t> order(m_items.size());
        std::vector<std::uint32_t> placed = first;
        for (std::uint32_t i = 0; i < m_items.size(); ++i) order[placed[m_items[i].customer]++] = i;
        const auto byDocument = [&](std::uint32_t a, std::uint32_t b) {
            const AgingLine& x = m_items[a];
            const AgingLine& y = m_items[b];
            if (const int c = docnoOf(x).compare(docnoOf(y)); c != 0) return c < 0;
            if (const int c = payItemOf(x).compare(payItemOf(y)); c != 0) return c < 0;
            return a < b;
        };
        for (std::uint32_t c = 0; c < m_customers.size(); ++c)
            std::sort(order.begin() + first[c], order.begin() + first[c] + counts[c], byDocument);
        return order;
    }

    LineBlocks m_items;
    std::string m_texts;
    CustomerPositions m_customers;
    std::string m_spare;
};

void writeClasses(db::Database& db, const db::Date& day, int classWidth) {
    db::Transaction tx(db);
    AgeUnpaidItems(db, day, classWidth);
    tx.commit();
}

std::unique_ptr<db::Database> anotherConnection(db::Database& db) {
    // Inside an open transaction the run is refused at its own begin, at once, rather
    // than by another connection waiting for this one's write lock.
    if (db.inTransaction()) return nullptr;
    try {
        return db.openAnother();
    } catch (const db::DbError&) {
        return nullptr;  // the classes are then written on this connection first
    }
}

// Today's classes written beside the reading of the items, on a second connection when
// the database can open one: rewriting a million rows' classes takes SQLite about as long
// as reading and ordering them, so the two no longer wait for each other. The reading
// does not depend on the writing: it works out each item's class with the same formula.
class ClassWriting {
public:
    ClassWriting(db::Database& db, const db::Date& day, int classWidth) {
        auto other = anotherConnection(db);
        if (!other) {
            writeClasses(db, day, classWidth);
            return;
        }
        m_done = std::async(std::launch::async, [other = std::move(other), day, classWidth]() mutable {
            writeClasses(*other, day, classWidth);
            other.reset();
        });
    }

    // Waits for the writing and throws what stopped it. Left without it (the reading
    // failed), the destructor still waits.
    void finish() {
        if (m_done.valid()) m_done.get();
    }

private:
    std::future<void> m_done;
};

}  // namespace

int ageColumnOf(long ageClass) {
    if (ageClass <= 1) return 0;
    if (ageClass >= 4) return 3;
    return static_cast<int>(ageClass) - 1;
}

std::int64_t AgeUnpaidItems(db::Database& db, const db::Date& day, int classWidth) {
    const std::string ageClass = ageClassSql(db.engine(), "");
    // Only the rows whose class changed are written again.
    return db.execute("UPDATE AR_transaction_table SET age_range = " + ageClass +
                          " WHERE paid = FALSE AND (age_range IS NULL OR age_range <> " + ageClass + ")",
                      {day, classWidth, day, classWidth});
}

AgingStatement RunAging(db::Database& db, const AgingRun& run,
                                const std::function<void(long, long)>& progress) {
    std::optional<ClassWriting> writing;
    if (!run.asOf) writing.emplace(db, run.today, run.classWidth);
    const CustomerDirectory directory = customerDirectory(db, run);
    ItemBook book;
    const Statement items = itemQuery(db.engine(), run);
    db.forEachRow(items.sql, items.params, [&](const db::Row& row) { book.add(row); });
    AgingStatement statement = book.statement(directory, progress);
    if (writing) writing->finish();
    return statement;
}

}  // namespace keltro::reports
