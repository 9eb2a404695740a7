#include "app/cli/ReportCommand.h"

#include <QGuiApplication>
#include <cstdlib>
#include <fstream>
#include <map>
#include <vector>

#include "db/Database.h"
#include "framework/HostContext.h"
#include "host/ScreenFactory.h"
#include "print/ReportPdf.h"
#include "reports/ReportScreen.h"
#include "services/Clock.h"
#include "services/DateFormat.h"

namespace keltro::app {

namespace {

// What each report takes from the command line.
struct ReportOptions {
    const char* name;
    const char* className;
    const char* runCaption;
    std::map<std::string, std::string> textOptions;  // option -> control
    const char* dateFrom;                            // the date range's control
    std::map<std::string, std::string> statusOptions;  // --status value -> option button
    std::map<std::string, std::string> typeOptions;    // --type value -> option button
};

const std::vector<ReportOptions>& reportOptionTable() {
    static const std::vector<ReportOptions> table = {
        {"aging", "ARreport_aging", "&Find",
         {{"customer", "cmbcustno"}, {"as-of", "txtasof"}, {"class-width", "txtclass_width"}}, nullptr, {}, {}},
        {"inquiry", "ARreport_inquiry", "&Run",
         {{"customer", "cmbcustno"}, {"docno", "txtdocno"}}, "cal1",
         {{"paid", "opt_paid"}, {"open", "opt_open"}, {"void", "opt_void"}, {"all", "opt_all"}},
         {{"invoice", "opt_invoice"}, {"creditnote", "opt_creditnote"}, {"debitnote", "opt_debitnote"}}},
        {"invoice-receipt-history", "ARreport_invoice_receipt_history", "&Run",
         {{"customer", "cmbcustno"}, {"docno", "txtdocno"}, {"docno2", "txtdocno2"}}, "cal1",
         {{"paid", "opt_paid"}, {"partial", "opt_partial"}, {"all", "opt_all"}}, {}},
        {"receipt-check-history", "ARreport_receipt_check_history", "&Run",
         {{"customer", "cmbcustno"}, {"check", "txtcheckno"}, {"receipt", "txtrcno"}}, "monthselect",
         {{"complete", "opt_complete"}, {"partial", "opt_partial"}}, {}},
    };
    return table;
}

const ReportOptions& reportNamed(const std::string& name) {
    for (const auto& chosen : reportOptionTable())
        if (name == chosen.name || name == chosen.className) return chosen;
    throw UsageError{"report needs one of: aging, inquiry, invoice-receipt-history, receipt-check-history"};
}

// Says on standard error what the screen would say in a box.
class StderrUi final : public services::Ui {
public:
    explicit StderrUi(std::ostream& err) : m_err(err) {}
    void message(const std::string& text) override { m_err << "keltro-ar: " << text << "\n"; }
    void warn(const std::string& text) override { message(text); }
    bool ask(const std::string& text) override {
        message(text + " (No)");
        return false;
    }
    void progress(long, long) override {}
    void pumpEvents() override {}

private:
    std::ostream& m_err;
};

// A date option (YYYY-MM-DD) as the user types it.
std::string typedDate(const std::string& option, const std::string& iso, const std::string& dateFormat) {
    const auto date = db::Date::fromIso(iso);
    if (!date) throw UsageError{"--" + option + " needs a date YYYY-MM-DD"};
    return services::FormatUserDate(*date, dateFormat);
}

void chooseOption(framework::Screen& screen, const std::map<std::string, std::string>& buttons,
                  const std::optional<std::string>& chosen, const char* option) {
    if (!chosen) return;
    const auto it = buttons.find(*chosen);
    if (it == buttons.end()) throw UsageError{std::string("--") + option + " \"" + *chosen + "\" is not offered"};
    for (const auto& [value, button] : buttons) screen.enter(button, "0");
    screen.enter(it->second, "1");
}

void fillFilters(framework::Screen& screen, const ReportOptions& chosen, const Arguments& args,
                 const std::string& dateFormat) {
    for (const auto& [option, control] : chosen.textOptions)
        if (const auto value = args.option(option))
            screen.enter(control, option == "as-of" ? typedDate(option, *value, dateFormat) : *value);
    if (chosen.dateFrom) {
        if (const auto from = args.option("from")) screen.enter(chosen.dateFrom, typedDate("from", *from, dateFormat));
        if (const auto to = args.option("to"))
            screen.enter(std::string(chosen.dateFrom) + "_to", typedDate("to", *to, dateFormat));
    }
    chooseOption(screen, chosen.statusOptions, args.option("status"), "status");
    chooseOption(screen, chosen.typeOptions, args.option("type"), "type");
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

void writeCsv(const framework::Grid& grid, std::ostream& out) {
    std::vector<std::string> captions;
    for (const auto& column : grid.columns)
        if (column.visible) captions.push_back(column.caption);
    if (captions.empty()) captions = grid.declaredCaptions;
    for (std::size_t c = 0; c < captions.size(); ++c) out << (c ? "," : "") << csvField(captions[c]);
    out << "\n";
    for (const auto& row : grid.rows) {
        for (std::size_t c = 0; c < captions.size(); ++c) {
            const auto it = row.find(captions[c]);
            out << (c ? "," : "") << csvField(it == row.end() ? "" : it->second);
        }
        out << "\n";
    }
}

// Prints the grid in the user's format to `path` (and its turned copy beside it when
// landscape).
int writePdf(const reports::ReportScreen& screen, const std::string& path, std::ostream& err) {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int argc = 1;
    char name[] = "keltro-ar";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);
    const auto report = reports::PrepareReport(screen.context(), screen.className(), screen.layoutForm(),
                                               screen.grid(reports::kReportGrid), screen.titles().title);
    if (!report) {
        err << "keltro-ar: " << screen.context().KELTRO_USER << " has no page format for "
            << screen.className() << "; nothing printed\n";
        return 1;
    }
    bool written = print::WriteReportPdf(*report, QString::fromStdString(path));
    if (written && report->landscape) {
        const std::string stem = path.size() > 4 && path.ends_with(".pdf") ? path.substr(0, path.size() - 4) : path;
        written = print::WriteReportPdf(*report, QString::fromStdString(stem + "_L.pdf"), true);
    }
    if (!written) err << "keltro-ar: cannot write " << path << "\n";
    return written ? 0 : 1;
}

std::string companyName(db::Database& db, const Arguments& args) {
    if (const auto company = args.option("company")) return *company;
    const auto row = db.queryOne("SELECT [Value] FROM [Recent_value_table] WHERE [control_name] = ?", {"company_name"});
    return row ? row->at(0).textOr() : "";
}

}  // namespace

int runReport(const Arguments& args, std::ostream& out, std::ostream& err) {
    if (args.positional().size() != 1) throw UsageError{"report needs the NAME of one report"};
    const ReportOptions& chosen = reportNamed(args.positional().front());
    const auto url = args.option("db");
    if (!url) throw UsageError{"report needs --db URL"};
    if (args.option("pdf") && args.option("csv")) throw UsageError{"report writes --pdf or --csv, not both"};
    const auto clock = services::makeClock(args.option("today"));
    auto db = db::openDatabase(*url);
    StderrUi ui(err);

    framework::HostContext context;
    context.cnx = context.dbe = context.abcdb = db.get();
    context.OPEN_DATABASE = *url;
    context.KELTRO_USER = args.optionOr("user", "admin");
    context.KELTRO_DATE_FORMAT = args.optionOr("date-format", "dd/mm/yyyy");
    context.KELTRO_COMPANY_NAME = companyName(*db, args);
    context.KELTRO_PATH = args.optionOr("path", ".");
    context.KELTRO_NO_PERIODS = "12";
    context.ui = &ui;
    context.clock = clock.get();

    host::HeadlessScreenFactory factory;
    const auto screen = std::dynamic_pointer_cast<reports::ReportScreen>(factory.create(chosen.className));
    if (!screen) throw UsageError{std::string(chosen.className) + " is not a report"};
    screen->setContext(context);
    screen->load();
    fillFilters(*screen, chosen, args, context.KELTRO_DATE_FORMAT);
    screen->run(chosen.runCaption);

    if (const auto pdf = args.option("pdf")) return writePdf(*screen, *pdf, err);
    if (const auto csv = args.option("csv")) {
        std::ofstream file(*csv);
        if (!file) {
            err << "keltro-ar: cannot write " << *csv << "\n";
            return 1;
        }
        writeCsv(screen->grid(reports::kReportGrid), file);
        return 0;
    }
    writeCsv(screen->grid(reports::kReportGrid), out);
    return 0;
}

}  // namespace keltro::app
