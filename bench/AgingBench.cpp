#include "bench/AgingBench.h"

#include <chrono>
#include <ctime>

#include "bench/BenchCommon.h"
#include "host/Json.h"
#include "reports/ARreport_aging.h"
#include "reports/ReportPrint.h"

namespace keltro::bench {

namespace {

db::Date daysBefore(const db::Date& day, int days) {
    using namespace std::chrono;
    const sys_days d = year_month_day{year{day.year}, month{static_cast<unsigned>(day.month)},
                                      std::chrono::day{static_cast<unsigned>(day.day)}};
    const year_month_day moved{d - std::chrono::days{days}};
    return {static_cast<int>(moved.year()), static_cast<int>(static_cast<unsigned>(moved.month())),
            static_cast<int>(static_cast<unsigned>(moved.day()))};
}

std::string numbered(const char* prefix, long n, int width) {
    std::string digits = std::to_string(n);
    return prefix + std::string(static_cast<std::size_t>(std::max(0, width - static_cast<int>(digits.size()))), '0') +
           digits;
}

double msSince(BenchClock::time_point start) {
    return std::chrono::duration<double, std::milli>(BenchClock::now() - start).count();
}

// The process's processor time since `start`, in ms: what the run cost when other work
// shares the machine.
double cpuMsSince(std::clock_t start) { return 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC; }

}  // namespace

void AgingBench::prepare(long items, const std::function<void(long)>& progress) {
    const db::Date today = m_clock.today();
    db::Transaction tx(m_db);
    for (long c = 0; c < kCustomers; ++c)
        m_db.execute("INSERT INTO Customer_table (customer_no, customer_name, Currency, active, credit_limit) "
                     "VALUES (?, ?, 'USD', TRUE, ?)",
                     {numbered("B", c, 5), "Bench customer " + std::to_string(c), 1000.0 * static_cast<double>(c % 50)});
    // 200 due dates, from 40 days ahead to 159 days behind.
    std::vector<db::Date> dueDates;
    for (int d = -40; d < 160; ++d) dueDates.push_back(daysBefore(today, d));
    for (long i = 0; i < items; ++i) {
        const double amount = 100.0 + static_cast<double>(i % 997) * 0.25;
        const db::Date& due = dueDates[static_cast<std::size_t>(i % 200)];
        const std::string docno = numbered("AG", i, 7);
        m_db.execute("INSERT INTO AR_transaction_table (company, fkey, docno, doctype, customer_no, pay_item, "
                     "gross_amount, open_amount, invoice_date, due_date, paid, void) "
                     "VALUES (1, ?, ?, 'inv', ?, '1', ?, ?, ?, ?, FALSE, FALSE)",
                     {"1inv-" + docno, docno, numbered("B", i % kCustomers, 5), amount, amount,
                      daysBefore(due, 30), due});
        if (progress && (i + 1) % 100000 == 0) progress(i + 1);
    }
    tx.commit();
    m_items = items;
    // Measured as the CPU-bound mode of the other benches: the book written out of the log
    // first, commits not waiting for the disk.
    checkpointLog(m_db);
    CommitSettings(m_db).apply(CommitMode::Cpu);
}

std::string AgingBench::measureStatement(const std::string& label, int daysLater) {
    const reports::AgingRun run{.customer = "*", .today = daysBefore(m_clock.today(), -daysLater)};
    const auto start = BenchClock::now();
    const std::clock_t cpuStart = std::clock();
    const auto statement = reports::RunAging(m_db, run);
    const double ms = msSince(start);
    const double cpuMs = cpuMsSince(cpuStart);
    host::JsonObjectWriter line;
    line.text("bench", "aging").text("engine", db::engineName(m_db.engine())).text("mode", "cpu").text("run", label);
    line.raw("items", std::to_string(m_items)).raw("customers", std::to_string(kCustomers));
    line.raw("lines", std::to_string(statement.lines.size()));
    return line.raw("ms", fixedJson(ms, 1)).raw("cpu_ms", fixedJson(cpuMs, 1)).str();
}

std::string AgingBench::measureGridRows() {
    BenchDesk desk(m_db, m_clock);
    desk.arclass().showform_ARreport_aging();
    const auto& screen = dynamic_cast<reports::ARreport_aging&>(*desk.screen("ARreport_aging"));
    const auto statement = reports::RunAging(m_db, {.customer = "*", .today = m_clock.today()});
    const auto start = BenchClock::now();
    const std::clock_t cpuStart = std::clock();
    const auto rows = screen.gridRows(statement);
    const double ms = msSince(start);
    const double cpuMs = cpuMsSince(cpuStart);
    host::JsonObjectWriter line;
    line.text("bench", "aging_grid").text("engine", db::engineName(m_db.engine()));
    line.raw("rows", std::to_string(rows.size()));
    return line.raw("ms", fixedJson(ms, 1)).raw("cpu_ms", fixedJson(cpuMs, 1)).str();
}

std::string AgingBench::measurePdf(const std::string& pdfPath) {
    BenchDesk desk(m_db, m_clock);
    desk.arclass().showform_ARreport_aging();
    auto& screen = dynamic_cast<reports::ARreport_aging&>(*desk.screen("ARreport_aging"));
    auto statement = reports::RunAging(m_db, {.customer = "*", .today = m_clock.today()});
    statement.lines.resize(std::min<std::size_t>(statement.lines.size(), kPdfRows));
    framework::Grid grid = screen.grid(reports::kReportGrid);
    grid.rows = screen.gridRows(statement);

    const auto start = BenchClock::now();
    const std::clock_t cpuStart = std::clock();
    const auto report = reports::PrepareReport(screen.context(), screen.className(), screen.layoutForm(), grid,
                                               screen.titles().title);
    const auto& write = reports::InstalledReportPdfWriter();
    const bool written = report && write && write(*report, pdfPath, false, {});
    const double ms = msSince(start);
    const double cpuMs = cpuMsSince(cpuStart);
    host::JsonObjectWriter line;
    line.text("bench", "aging_pdf").text("engine", db::engineName(m_db.engine()));
    line.raw("rows", std::to_string(grid.rows.size()));
    line.raw("pages", std::to_string(report ? report->pageCount() : 0));
    line.raw("written", written ? "true" : "false");
    return line.raw("ms", fixedJson(ms, 1)).raw("cpu_ms", fixedJson(cpuMs, 1)).str();
}

}  // namespace keltro::bench
