#include "app/cli/WorkstationsCommand.h"

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "bench/BenchCommon.h"
#include "bench/WorkstationBench.h"
#include "db/Database.h"
#include "host/Json.h"
#include "schema/Schema.h"
#include "services/BooksAudit.h"

namespace keltro::app {

namespace {

constexpr long kDefaultDocuments = 1000;

std::vector<int> workerCounts(const std::string& text) {
    std::vector<int> counts;
    std::size_t at = 0;
    while (at <= text.size()) {
        const auto comma = text.find(',', at);
        const std::string word = text.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        int count = 0;
        try {
            count = std::stoi(word);
        } catch (const std::exception&) {
        }
        if (count < 1 || count > 64) throw UsageError{"--workers takes counts from 1 to 64, such as 1,4,8"};
        counts.push_back(count);
        if (comma == std::string::npos) break;
        at = comma + 1;
    }
    return counts;
}

long documentCount(const Arguments& args) {
    const auto text = args.option("count");
    if (!text) return kDefaultDocuments;
    try {
        std::size_t used = 0;
        const long count = std::stol(*text, &used);
        if (used == text->size() && count >= 1) return count;
    } catch (const std::exception&) {
    }
    throw UsageError{"--count needs a whole number of at least 1"};
}

// The workstation's loop in a child process of its own, its result written to `fd`.
[[noreturn]] void workstationChild(const std::string& url, const services::Clock& clock, int index,
                                   long documents, int fd) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);  // a killed bench takes its workstations with it
    bench::WorkstationResult result;
    try {
        auto db = db::openDatabase(url);
        result = bench::runWorkstation(*db, clock, bench::workstationCustomer(index), documents);
    } catch (const std::exception& e) {
        result.failed = documents - result.saved;
        result.firstFailure = e.what();
    }
    const std::string line = result.line() + "\n";
    [[maybe_unused]] const auto written = write(fd, line.data(), line.size());
    _exit(0);
}

// Runs the workstations at once, each in its own process; their results added up.
bench::WorkstationResult runForked(const std::string& url, const services::Clock& clock, int workers,
                                   long documents) {
    std::cout.flush();
    std::cerr.flush();
    std::vector<std::pair<pid_t, int>> children;
    for (int index = 0; index < workers; ++index) {
        int fds[2];
        if (pipe(fds) != 0) throw std::runtime_error("cannot make a pipe for a workstation");
        const pid_t pid = fork();
        if (pid < 0) throw std::runtime_error("cannot start a workstation process");
        if (pid == 0) {
            close(fds[0]);
            workstationChild(url, clock, index, documents, fds[1]);
        }
        close(fds[1]);
        children.emplace_back(pid, fds[0]);
    }
    bench::WorkstationResult total;
    for (const auto& [pid, fd] : children) {
        std::string line;
        char buffer[512];
        for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) line.append(buffer, static_cast<std::size_t>(n));
        close(fd);
        int status = 0;
        waitpid(pid, &status, 0);
        total += bench::WorkstationResult::fromLine(line);
    }
    return total;
}

std::string json(const std::string& engine, int workers, long documents, const bench::WorkstationResult& r,
                 std::size_t seriesFindings, std::size_t auditFindings) {
    const auto whole = [](long value) { return static_cast<double>(value); };
    host::JsonObjectWriter line;
    line.text("bench", "workstations").text("engine", engine).number("workers", workers)
        .number("documents_each", whole(documents)).number("saved", whole(r.saved))
        .number("lock_refused", whole(r.lockRefused)).number("failed", whole(r.failed))
        .raw("seconds", bench::fixedJson(r.seconds, 2))
        .raw("per_s", bench::fixedJson(r.seconds > 0 ? whole(r.saved) / r.seconds : 0, 1))
        .number("series_findings", static_cast<double>(seriesFindings))
        .number("audit_findings", static_cast<double>(auditFindings));
    return line.str();
}

// A new database as the other benches take it, given the demo company; or the books as
// they are with --reuse. An error text, or "".
std::string prepare(const Arguments& args, const std::string& url, const services::Clock& clock) {
    const bool isSqlite = url.starts_with("sqlite:");
    if (args.flag("reuse")) {
        if (isSqlite && !std::filesystem::exists(url.substr(7))) return "there is no database at " + url;
        return "";
    }
    if (isSqlite && std::filesystem::exists(url.substr(7)))
        return "the bench creates its own SQLite file, and " + url.substr(7) +
               " already exists; name a new file (or give --reuse)";
    auto db = db::openDatabase(url);
    if (!schema::existingSuiteTables(*db).empty())
        return "the database " + url + " already holds the suite's tables; give --reuse to save into them";
    bench::prepareBenchDatabase(*db, clock.today());
    return "";
}

}  // namespace

int runWorkstationsBench(const Arguments& args, std::ostream& out, std::ostream& err) {
    const auto url = args.option("db");
    if (!url) throw UsageError{"bench needs --db URL"};
    const auto counts = workerCounts(args.optionOr("workers", "8"));
    const long documents = documentCount(args);
    const auto clock = services::makeClock(args.option("today"));
    if (const auto problem = prepare(args, *url, *clock); !problem.empty()) {
        err << "keltro-ar: " << problem << "\n";
        return 1;
    }
    int status = 0;
    for (const int workers : counts) {
        auto db = db::openDatabase(*url);
        const auto before = bench::readCounters(*db);
        const std::string engine(db::engineName(db->engine()));
        bench::WorkstationResult result;
        if (workers == 1) {
            result = bench::runWorkstation(*db, *clock, bench::workstationCustomer(0), documents);
        } else {
            db.reset();  // a connection is never carried into a child process
            result = runForked(*url, *clock, workers, documents);
            db = db::openDatabase(*url);
        }
        const auto series = bench::auditSeries(*db, before);
        const auto audit = services::AuditBooks(*db);
        for (const auto& finding : series) err << "keltro-ar: " << finding << "\n";
        for (const auto& finding : audit) err << "keltro-ar: " << finding << "\n";
        if (!result.firstFailure.empty()) err << "keltro-ar: first failed save: " << result.firstFailure << "\n";
        out << json(engine, workers, documents, result, series.size(), audit.size()) << std::endl;
        if (result.failed > 0 || !series.empty() || !audit.empty()) status = 1;
    }
    return status;
}

}  // namespace keltro::app
