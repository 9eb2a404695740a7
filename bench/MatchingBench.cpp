#include "bench/MatchingBench.h"

#include <stdexcept>

#include "matching/MatchingGrid.h"

namespace keltro::bench {

namespace {

constexpr const char* kGrid = "dbgrid1";
constexpr const char* kCompleted = "Add new Matching complete";
constexpr double kEuroRate = 1.05;

// The customers of the demo company that the modes take, in dollars, without discount.
std::string customerOf(CommitMode mode) { return mode == CommitMode::Durable ? "1001" : "1005"; }

// One kind of open item: its doctype, currency, rate and signed amount.
struct ItemKind {
    const char* doctype;
    const char* currency;
    double rate;
    double amount;
};

// The four kinds a matching applies, a quarter of its lines each: 250 × 100.00 +
// 250 × 110.12 on either side at the euro's receipt rate of 1.1012.
constexpr ItemKind kMatchedKinds[] = {{"ar", "USD", 1, 100},
                                      {"ar", "EUR", kEuroRate, 100},
                                      {"cn", "USD", 1, -100},
                                      {"rpp", "EUR", kEuroRate, -100}};
constexpr ItemKind kUnappliedCash = {"ua", "USD", 1, -40};

double millis(std::chrono::duration<double> elapsed) {
    return std::chrono::duration<double, std::milli>(elapsed).count();
}

}  // namespace

std::string MatchingMeasurement::json() const {
    host::JsonObjectWriter line;
    line.text("bench", "matching")
        .text("engine", db::engineName(engine))
        .text("mode", modeName(mode))
        .raw("open_items", std::to_string(openItems))
        .raw("list_ms", fixedJson(listMs, 2))
        .raw("lines", std::to_string(lines))
        .raw("save_ms", fixedJson(saveMs, 2));
    return line.str();
}

MatchingBench::MatchingBench(db::Database& db, const services::Clock& clock)
    : m_db(db), m_clock(clock), m_settings(db) {}

MatchingBench::~MatchingBench() = default;

void MatchingBench::loadOpenItems(const std::string& customer) {
    const db::Date today = m_clock.today();
    const std::string fyear = std::to_string(today.year);
    db::Transaction transaction(m_db);
    for (long i = 0; i < kOpenItems; ++i) {
        const long perKind = kMatchedLines / 4;
        const ItemKind& kind = i < kMatchedLines ? kMatchedKinds[i / perKind]
                               : i % 5 == 4      ? kUnappliedCash
                                                 : kMatchedKinds[i % 4];
        const std::string number = std::to_string(++m_documents);
        const std::string fkey = std::string("1") + kind.doctype + "-b" + number;
        const std::string docno = std::string("BENCH-") + kind.doctype + "-" + number;
        const db::Value rate = kind.rate == 1 ? db::Value() : db::Value(kind.rate);
        m_db.execute(
            "INSERT INTO AR_header_table (company, doctype, fkey, docno, customer_no, "
            "invoice_date, Currency, exchange_rate, period, fyear, paid, fully_paid, void) "
            "VALUES (1, ?, ?, ?, ?, ?, ?, ?, ?, ?, FALSE, FALSE, FALSE)",
            {kind.doctype, fkey, docno, customer, today, kind.currency, rate, today.month, fyear});
        m_db.execute(
            "INSERT INTO AR_transaction_table (company, fkey, docno, doctype, customer_no, "
            "pay_item, gross_amount, open_amount, Currency, exchange_rate, invoice_date, period, "
            "fyear, check_no, paid, void) "
            "VALUES (1, ?, ?, ?, ?, '1', ?, ?, ?, ?, ?, ?, ?, ?, FALSE, FALSE)",
            {fkey, docno, kind.doctype, customer, kind.amount, kind.amount, kind.currency, rate,
             today, today.month, fyear, kind.amount < 0 ? db::Value("CHQ-" + number) : db::Value()});
    }
    transaction.commit();
}

MatchingMeasurement MatchingBench::measure(CommitMode mode) {
    m_settings.apply(mode);
    const std::string customer = customerOf(mode);
    loadOpenItems(customer);
    if (!m_desk) m_desk = std::make_unique<BenchDesk>(m_db, m_clock);
    m_desk->arclass().showform_ARform_matching();
    const auto screen = m_desk->screen("ARform_matching");
    screen->run("&New");

    MatchingMeasurement m{m_db.engine(), mode, kOpenItems, 0, kMatchedLines, 0};
    const auto start = BenchClock::now();
    screen->enter("cmbcustno", customer);
    m.listMs = millis(BenchClock::now() - start);
    const auto listed = static_cast<long>(screen->grid(kGrid).rows.size());
    if (listed != kOpenItems)
        throw std::runtime_error("The matching screen listed " + std::to_string(listed) +
                                 " open items of customer " + customer);

    m_desk->ui().await("");
    for (long row = 0; row < kMatchedLines; ++row)
        screen->clickCell(kGrid, static_cast<std::size_t>(row), matching::column::kApplied);
    m.saveMs = millis(
        m_desk->timedCommand(*screen, "&Save", kCompleted, "The matching was not saved"));
    return m;
}

}  // namespace keltro::bench
