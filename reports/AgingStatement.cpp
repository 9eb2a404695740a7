#include "reports/AgingStatement.h"

#include <algorithm>
#include <variant>

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

constexpr const char* kItemColumns =
    "SELECT t.customer_no, t.docno, t.pay_item, t.invoice_date, t.gross_amount, "
    "c.customer_name, c.credit_limit, ";

constexpr const char* kCustomerJoin =
    " FROM AR_transaction_table t LEFT JOIN Customer_table c ON c.customer_no = t.customer_no";

const std::string kNoText;

const std::string& textAt(const db::Row& row, std::size_t column) {
    const auto* text = std::get_if<std::string>(&row.at(column).storage());
    return text ? *text : kNoText;
}

// The items in the statement's order: by customer, document and pay item, compared as
// bytes on both engines. The rows are read as stored, in one pass, and sorted here: a
// million of them sort faster in memory than in the engine's sorter.
std::vector<std::size_t> statementOrder(const db::Rows& rows) {
    std::vector<std::size_t> order(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        for (std::size_t column = 0; column < 3; ++column) {
            const int c = textAt(rows[a], column).compare(textAt(rows[b], column));
            if (c != 0) return c < 0;
        }
        return a < b;
    });
    return order;
}

db::Rows selectItems(db::Database& db, const AgingRun& run) {
    std::string sql = kItemColumns;
    db::Params params;
    if (!run.asOf) {
        // The classes just written.
        sql += "t.age_range AS age_class, t.open_amount AS open_then";
        sql += kCustomerJoin;
        sql += " WHERE t.paid = FALSE";
    } else {
        sql += ageClassSql(db.engine(), "t.") + " AS age_class, ";
        sql += "t.open_amount + COALESCE(later.settled, 0) AS open_then";
        sql += kCustomerJoin;
        sql += std::string(" LEFT JOIN (") + kSettledLater +
               ") later ON later.invoice_no = t.docno AND later.pay_item = t.pay_item";
        sql += " WHERE t.invoice_date <= ? AND (t.paid = FALSE OR later.settled IS NOT NULL)";
        params = {*run.asOf, run.classWidth, *run.asOf, *run.asOf, *run.asOf};
    }
    if (!run.everyCustomer()) {
        sql += " AND t.customer_no = ?";
        params.emplace_back(run.customer);
    }
    return db.query(sql, params);
}

// Adds the statement's lines one customer at a time.
class LineMaker {
public:
    explicit LineMaker(std::vector<AgingLine>& lines) : m_lines(lines) {}

    void item(const db::Row& row) {
        const std::string customerNo = row.at(0).textOr();
        const bool first = m_lines.empty() || customerNo != m_customerNo;
        if (first) {
            closeCustomer();
            m_customerNo = customerNo;
            m_total = 0;
            m_open = true;
        }
        AgingLine line;
        line.firstOfCustomer = first;
        line.customerNo = customerNo;
        if (first) {
            line.customerName = row.at(5).textOr();
            line.creditLimit = row.at(6).number();
        }
        line.docno = row.at(1).textOr();
        line.payItem = row.at(2).textOr();
        line.invoiceDate = row.at(3).date();
        line.grossAmount = roundMoney(row.at(4).numberOr());
        line.openAmount = roundMoney(row.at(8).numberOr());
        if (const auto ageClass = row.at(7).integer()) line.ageColumn = ageColumnOf(static_cast<long>(*ageClass));
        m_total = roundMoney(m_total + line.openAmount);
        m_lines.push_back(std::move(line));
    }

    void closeCustomer() {
        if (!m_open) return;
        AgingLine total;
        total.total = true;
        total.customerNo = m_customerNo;
        total.openAmount = m_total;
        m_lines.push_back(std::move(total));
        m_open = false;
    }

private:
    std::vector<AgingLine>& m_lines;
    std::string m_customerNo;
    double m_total = 0;
    bool m_open = false;
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

std::vector<AgingLine> RunAging(db::Database& db, const AgingRun& run,
                                const std::function<void(long, long)>& progress) {
    if (!run.asOf) {
        db::Transaction tx(db);
        AgeUnpaidItems(db, run.today, run.classWidth);
        tx.commit();
    }
    const db::Rows rows = selectItems(db, run);
    const std::vector<std::size_t> order = statementOrder(rows);
    std::vector<AgingLine> lines;
    lines.reserve(rows.size() + rows.size() / 8 + 1);
    LineMaker maker(lines);
    const long total = static_cast<long>(rows.size());
    for (long done = 0; done < total; ++done) {
        maker.item(rows[order[static_cast<std::size_t>(done)]]);
        if (progress && (done % 1024 == 0 || done + 1 == total)) progress(done + 1, total);
    }
    maker.closeCustomer();
    return lines;
}

}  // namespace keltro::reports
