#include "bench/RevalueBench.h"

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <stdexcept>

#include "host/Json.h"
#include "services/DateFormat.h"
#include "services/Money.h"

namespace keltro::bench {

namespace {

constexpr const char* kCurrency = "EUR";
constexpr const char* kNewRate = "1.2345";
constexpr const char* kCompleted = "Add new revaluation complete";
// Half the customers on the receivable account with gain and loss accounts of its own,
// half on the module's.
constexpr const char* kReceivables[] = {"1110", "1100"};

std::string customerNo(long index) {
    char text[24];
    std::snprintf(text, sizeof text, "R%05ld", index + 1);
    return text;
}

// The i-th item: an amount between 100.00 and 999.99 at a rate between 1.05 and 1.15; every
// tenth a credit note.
struct ItemValues {
    const char* doctype;
    double open;
    double rate;
};

ItemValues itemValues(long i) {
    const bool credit = i % 10 == 9;
    const double amount = services::roundMoney(100.0 + static_cast<double>(i % 900) +
                                               static_cast<double>(i % 100) / 100.0);
    const double rate = 1.05 + static_cast<double>(i % 11) / 100.0;
    return {credit ? "cn" : "ar", credit ? -amount : amount, rate};
}

double milliseconds(std::chrono::duration<double> elapsed) { return elapsed.count() * 1000; }

// The processor time of this program since `since`.
std::chrono::duration<double> cpuSince(std::clock_t since) {
    return std::chrono::duration<double>(static_cast<double>(std::clock() - since) / CLOCKS_PER_SEC);
}

}  // namespace

std::string RevalueMeasurement::json() const {
    host::JsonObjectWriter line;
    return line.text("bench", "revalue")
        .text("engine", db::engineName(engine))
        .text("mode", modeName(mode))
        .raw("items", std::to_string(items))
        .raw("customers", std::to_string(customers))
        .raw("find_ms", fixedJson(milliseconds(find), 1))
        .raw("save_ms", fixedJson(milliseconds(save), 1))
        .raw("find_cpu_ms", fixedJson(milliseconds(findCpu), 1))
        .raw("save_cpu_ms", fixedJson(milliseconds(saveCpu), 1))
        .str();
}

RevalueBench::RevalueBench(db::Database& db, const services::Clock& clock)
    : m_db(db), m_clock(clock), m_settings(db) {}

void RevalueBench::prepare(long items) {
    m_items = items;
    m_customers = std::min(items, kCustomers);
    const db::Date dated = m_clock.today();
    db::Transaction transaction(m_db);
    for (long c = 0; c < m_customers; ++c)
        m_db.execute("INSERT INTO Customer_table (customer_no, customer_name, Currency, "
                     "payment_term, active, ar_accno) VALUES (?, ?, ?, '30', TRUE, ?)",
                     {customerNo(c), "Bench customer " + customerNo(c), kCurrency,
                      kReceivables[c % 2]});
    long keys[2] = {0, 0};  // "ar", "cn"
    for (long i = 0; i < items; ++i) {
        const ItemValues values = itemValues(i);
        const bool credit = values.open < 0;
        const std::string fkey = std::string("1") + values.doctype + "-" + std::to_string(++keys[credit]);
        const std::string docno = (credit ? "BCN-" : "BINV-") + std::to_string(keys[credit]);
        const std::string customer = customerNo(i % m_customers);
        m_db.execute("INSERT INTO AR_header_table (company, doctype, fkey, docno, customer_no, "
                     "invoice_date, Currency, exchange_rate, period, fyear, Source, paid, "
                     "fully_paid, void) VALUES (1, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'AR-INVOICE', "
                     "FALSE, FALSE, FALSE)",
                     {values.doctype, fkey, docno, customer, dated, kCurrency, values.rate,
                      dated.month, std::to_string(dated.year)});
        m_db.execute("INSERT INTO AR_transaction_table (company, fkey, docno, doctype, "
                     "customer_no, pay_item, gross_amount, open_amount, Currency, exchange_rate, "
                     "invoice_date, paid, void) VALUES (1, ?, ?, ?, ?, '1', ?, ?, ?, ?, ?, "
                     "FALSE, FALSE)",
                     {fkey, docno, values.doctype, customer, values.open, values.open, kCurrency,
                      values.rate, dated});
    }
    // The key counters lie above the keys the documents took.
    for (const char* doctype : {"ar", "cn"})
        m_db.execute("UPDATE Next_number_fkey_table SET fkeyno = ? WHERE company = 1 AND doctype = ?",
                     {keys[std::string_view(doctype) == "cn"] + 1, doctype});
    transaction.commit();
}

RevalueMeasurement RevalueBench::measure(CommitMode mode) {
    m_settings.apply(mode);
    BenchDesk desk(m_db, m_clock);
    desk.arclass().showform_ARform_revalue();
    auto screen = desk.screen("ARform_revalue");
    desk.ui().await("");
    screen->run("&New");
    screen->enter("txtlastdate", desk.todayText());
    screen->enterCell("dbgridcmd", 0, "currency", kCurrency);
    screen->enterCell("dbgridcmd", 0, "rate", kNewRate);
    screen->enterCell("dbgridcmd", 0, "every customer", "1");

    RevalueMeasurement m{m_db.engine(), mode, m_items, m_customers};
    const std::clock_t findCpu = std::clock();
    const auto start = BenchClock::now();
    screen->run("Find result");
    m.find = BenchClock::now() - start;
    m.findCpu = cpuSince(findCpu);
    const auto& rows = screen->grid("dbgrid1").rows;
    const long listed = static_cast<long>(std::count_if(rows.begin(), rows.end(), [](const auto& row) {
        const auto document = row.find("document no");
        return document != row.end() && !document->second.empty();
    }));
    if (listed != m_items)
        throw std::runtime_error("The revaluation found " + std::to_string(listed) + " of " +
                                 std::to_string(m_items) + " open items; the screen said: " +
                                 desk.ui().said());
    const std::clock_t saveCpu = std::clock();
    m.save = desk.timedCommand(*screen, "&Save", kCompleted, "The revaluation was not saved");
    m.saveCpu = cpuSince(saveCpu);
    return m;
}

}  // namespace keltro::bench
