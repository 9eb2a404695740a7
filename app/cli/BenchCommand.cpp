#include "app/cli/BenchCommand.h"
#include "app/cli/WorkstationsCommand.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/AgingBench.h"
#include "bench/InvoiceBench.h"
#include "bench/MatchingBench.h"
#include "bench/ReceiptBench.h"
#include "bench/RecurringBench.h"
#include "bench/RevalueBench.h"
#include "db/Database.h"
#include "print/ReportPdf.h"
#include "schema/Schema.h"
#include "services/Clock.h"

// After the bench headers: Qt's keywords ("slots") are macros.
#include <QGuiApplication>

namespace keltro::app {

namespace {

constexpr long kDefaultInvoiceCount = 500;
constexpr long kDefaultReceiptCount = 200;
constexpr long kDefaultRecurringCount = 1000;
constexpr long kDefaultAgingItems = 1000000;

long positiveNumber(const Arguments& args, const std::string& name, long fallback, long least) {
    const auto text = args.option(name);
    if (!text) return fallback;
    std::size_t used = 0;
    long value = -1;
    try {
        value = std::stol(*text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text->size() || value < least)
        throw UsageError{"--" + name + " needs a whole number of at least " + std::to_string(least)};
    return value;
}

std::vector<bench::CommitMode> modesOf(const std::string& text) {
    if (text == "durable") return {bench::CommitMode::Durable};
    if (text == "cpu") return {bench::CommitMode::Cpu};
    if (text == "both") return {bench::CommitMode::Durable, bench::CommitMode::Cpu};
    throw UsageError{"--mode is durable, cpu or both"};
}

// Invoices through the screen against the floor, in each mode; again after the preload.
int runInvoiceBench(db::Database& db, const services::Clock& clock,
                    const std::vector<bench::CommitMode>& modes, long count, long preload,
                    std::ostream& out, std::ostream& err) {
    bench::InvoiceBench invoiceBench(db, clock);
    for (const auto mode : modes) out << invoiceBench.measure(mode, count).json() << std::endl;
    if (preload == 0) return 0;

    // Top up to the preload: the measurements above left some invoices already.
    const long present = static_cast<long>(invoiceBench.invoices());
    const long toWrite = preload > present ? preload - present : 0;
    err << "keltro-ar: preloading " << toWrite << " invoices\n";
    invoiceBench.preload(toWrite, [&](long done) {
        if (done % 10000 == 0 || done == toWrite)
            err << "keltro-ar: " << done << " of " << toWrite << " invoices written\n";
    });
    for (const auto mode : modes) out << invoiceBench.measure(mode, count).json() << std::endl;
    return 0;
}

// Each customer's listing and receipts against the floor, in each mode.
int runReceiptBench(db::Database& db, const services::Clock& clock,
                    const std::vector<bench::CommitMode>& modes, long count, std::ostream& out,
                    std::ostream& err) {
    bench::ReceiptBench receiptBench(db, clock);
    err << "keltro-ar: giving the bench customers their open items\n";
    receiptBench.prepare();
    for (const auto mode : modes)
        for (const long openItems : bench::ReceiptBench::kOpenItemCounts)
            out << receiptBench.measure(mode, openItems, count).json() << std::endl;
    return 0;
}

// The due list among the definitions and one generation run per mode, against the floor.
int runRecurringBench(db::Database& db, const services::Clock& clock,
                      const std::vector<bench::CommitMode>& modes, long count, std::ostream& out,
                      std::ostream& err) {
    bench::RecurringBench recurringBench(db, clock);
    const long definitions = std::max(bench::RecurringBench::kDefinitions,
                                      count * static_cast<long>(modes.size()));
    err << "keltro-ar: writing " << definitions << " recurring definitions\n";
    recurringBench.prepare(definitions);
    for (const auto mode : modes) out << recurringBench.measure(mode, count).json() << std::endl;
    return 0;
}

// A revaluation of the open items, run and saved, in each mode.
int runRevalueBench(db::Database& db, const services::Clock& clock,
                    const std::vector<bench::CommitMode>& modes, long items, std::ostream& out,
                    std::ostream& err) {
    bench::RevalueBench revalueBench(db, clock);
    err << "keltro-ar: writing " << items << " open items\n";
    revalueBench.prepare(items);
    for (const auto mode : modes) out << revalueBench.measure(mode).json() << std::endl;
    return 0;
}

long defaultCount(const std::string& name) {
    if (name == "invoice") return kDefaultInvoiceCount;
    if (name == "receipt") return kDefaultReceiptCount;
    if (name == "aging") return kDefaultAgingItems;
    if (name == "revalue") return bench::RevalueBench::kDefaultItems;
    return kDefaultRecurringCount;
}

// The statement on a fresh book and again, then the PDF (beside the SQLite file, or in the
// temporary folder).
int runAgingBench(db::Database& db, const services::Clock& clock, long count, const std::string& pdfPath,
                  std::ostream& out, std::ostream& err) {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int argc = 1;
    char name[] = "keltro-ar";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);
    print::InstallReportPdfOutput();
    bench::AgingBench agingBench(db, clock);
    err << "keltro-ar: writing " << count << " open items\n";
    agingBench.prepare(count, [&](long done) { err << "keltro-ar: " << done << " of " << count << " written\n"; });
    out << agingBench.measureStatement("first") << std::endl;
    out << agingBench.measureStatement("again") << std::endl;
    out << agingBench.measureStatement("next_day", 1) << std::endl;
    out << agingBench.measureGridRows() << std::endl;
    out << agingBench.measurePdf(pdfPath) << std::endl;
    return 0;
}

// A customer of 10,000 open items listed and a matching of 1,000 lines saved, in each mode.
int runMatchingBench(db::Database& db, const services::Clock& clock,
                     const std::vector<bench::CommitMode>& modes, std::ostream& out) {
    bench::MatchingBench matchingBench(db, clock);
    for (const auto mode : modes) out << matchingBench.measure(mode).json() << std::endl;
    return 0;
}

}  // namespace

int runBench(const Arguments& args, std::ostream& out, std::ostream& err) {
    const std::string name = args.positional().size() == 1 ? args.positional().front() : "";
    if (name == "workstations") return runWorkstationsBench(args, out, err);
    const std::vector<std::string> names = {"invoice", "receipt", "recurring",
                                            "aging",   "revalue", "matching"};
    if (std::find(names.begin(), names.end(), name) == names.end())
        throw UsageError{"bench needs the name of a benchmark: invoice, receipt, recurring, aging, "
                         "revalue, matching or workstations"};
    const bool invoices = name == "invoice";
    const auto url = args.option("db");
    if (!url) throw UsageError{"bench needs --db URL"};
    const long count = positiveNumber(args, "count", defaultCount(name), 1);
    const long preload = positiveNumber(args, "preload", 0, 0);
    if (!invoices && args.option("preload")) throw UsageError{"--preload goes with bench invoice"};
    if (name == "matching" && args.option("count"))
        throw UsageError{"bench matching takes no --count"};
    const auto modes = modesOf(args.optionOr("mode", "both"));
    const auto clock = services::makeClock(args.option("today"));

    if (url->starts_with("sqlite:")) {
        const std::string path = url->substr(7);
        if (path.empty() || path == ":memory:" || std::filesystem::exists(path)) {
            err << "keltro-ar: the bench creates its own SQLite file, and " << path
                << " already exists (or is not a file name); name a new file.\n";
            return 1;
        }
    }
    auto db = db::openDatabase(*url);
    if (auto existing = schema::existingSuiteTables(*db); !existing.empty()) {
        err << "keltro-ar: the database " << *url << " already holds the suite's tables ("
            << existing.size() << " of them); the bench needs an empty database.\n";
        return 1;
    }
    bench::prepareBenchDatabase(*db, clock->today());
    if (name == "aging") {
        const std::string pdf = url->starts_with("sqlite:")
                                    ? url->substr(7) + ".aging.pdf"
                                    : (std::filesystem::temp_directory_path() / "keltro_aging_bench.pdf").string();
        return runAgingBench(*db, *clock, count, pdf, out, err);
    }
    if (invoices) return runInvoiceBench(*db, *clock, modes, count, preload, out, err);
    if (name == "receipt") return runReceiptBench(*db, *clock, modes, count, out, err);
    if (name == "matching") return runMatchingBench(*db, *clock, modes, out);
    if (name == "revalue") return runRevalueBench(*db, *clock, modes, count, out, err);
    return runRecurringBench(*db, *clock, modes, count, out, err);
}

}  // namespace keltro::app
