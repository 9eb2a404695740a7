#include "host/Automation.h"

#include <algorithm>
#include <cctype>
#include <deque>
#include <functional>
#include <map>

#include "host/ARclass.h"
#include "host/Json.h"

namespace keltro::host {

namespace {

// Speaks to the script: every box becomes an event line.
class AutomationUi final : public services::Ui {
public:
    explicit AutomationUi(std::ostream& out) : m_out(out) {}

    void setScreen(std::string screen) { m_screen = std::move(screen); }
    void queueAnswer(bool yes) { m_answers.push_back(yes); }

    void message(const std::string& text) override { emit("message", text, ""); }
    void warn(const std::string& text) override { emit("message", text, "exclamation"); }
    bool ask(const std::string& text) override {
        bool yes = false;
        if (!m_answers.empty()) {
            yes = m_answers.front();
            m_answers.pop_front();
        }
        m_out << JsonObjectWriter()
                     .text("event", "question")
                     .text("screen", m_screen)
                     .text("text", text)
                     .text("answer", yes ? "Yes" : "No")
                     .str()
              << "\n";
        return yes;
    }
    void progress(long, long) override {}
    void pumpEvents() override {}

private:
    void emit(const char* event, const std::string& text, const char* icon) {
        JsonObjectWriter w;
        w.text("event", event).text("screen", m_screen).text("text", text);
        if (*icon) w.text("icon", icon);
        m_out << w.str() << "\n";
    }

    std::ostream& m_out;
    std::string m_screen;
    std::deque<bool> m_answers;
};

std::string jsonOfValue(const db::Value& v) {
    if (v.isNull()) return "null";
    if (const auto* i = std::get_if<std::int64_t>(&v.storage())) return std::to_string(*i);
    if (const auto* d = std::get_if<double>(&v.storage())) return jsonNumber(*d);
    if (const auto* b = std::get_if<bool>(&v.storage())) return *b ? "true" : "false";
    return jsonQuote(v.textOr());
}

std::string jsonArrayOfTexts(const std::vector<std::string>& texts) {
    std::string out = "[";
    for (std::size_t i = 0; i < texts.size(); ++i) out += (i ? "," : "") + jsonQuote(texts[i]);
    return out + "]";
}

// The captions of a grid's cells in the order they are shown: layout columns first, then
// the screen's own columns, then anything else a row holds.
std::vector<std::string> cellOrder(const framework::Grid& grid) {
    std::vector<std::string> order;
    auto add = [&](const std::string& caption) {
        if (std::find(order.begin(), order.end(), caption) == order.end()) order.push_back(caption);
    };
    for (const auto& c : grid.columns) add(c.caption);
    for (const auto& c : grid.declaredCaptions) add(c);
    for (const auto& row : grid.rows)
        for (const auto& [caption, text] : row) add(caption);
    return order;
}

std::string screenEvent(const framework::Screen& screen) {
    JsonObjectWriter fields, columns, grids;
    for (const auto& f : screen.fields()) fields.text(f.name, f.value);
    for (const auto& g : screen.grids()) {
        std::vector<std::string> captions;
        for (const auto& c : g.columns) captions.push_back(c.caption);
        columns.raw(g.name, jsonArrayOfTexts(captions));
        const auto order = cellOrder(g);
        std::string rows = "[";
        for (std::size_t r = 0; r < g.rows.size(); ++r) {
            JsonObjectWriter row;
            for (const auto& caption : order) {
                auto it = g.rows[r].find(caption);
                if (it != g.rows[r].end()) row.text(caption, it->second);
            }
            rows += (r ? "," : "") + row.str();
        }
        grids.raw(g.name, rows + "]");
    }
    std::vector<std::string> openWindows;
    for (const auto& w : screen.windows())
        if (w.open) openWindows.push_back(w.name);
    return JsonObjectWriter()
        .text("event", "screen")
        .text("screen", screen.className())
        .raw("fields", fields.str())
        .raw("columns", columns.str())
        .raw("grids", grids.str())
        .raw("windows", jsonArrayOfTexts(openWindows))
        .str();
}

bool isReadOnlyQuery(const std::string& sql) {
    std::string head;
    for (char c : sql) {
        if (std::isspace(static_cast<unsigned char>(c)) && head.empty()) continue;
        if (!std::isalpha(static_cast<unsigned char>(c))) break;
        head += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return (head == "SELECT" || head == "WITH") && sql.find(';') == std::string::npos;
}

// "ARform_invoice.cmbcustno" → ("ARform_invoice", "cmbcustno").
std::pair<std::string, std::string> splitTarget(const std::string& target) {
    const auto dot = target.find('.');
    if (dot == std::string::npos) return {target, ""};
    return {target.substr(0, dot), target.substr(dot + 1)};
}

class Driver {
public:
    Driver(db::Database& db, const services::Clock& clock, const AutomationOptions& options,
           std::ostream& out)
        : m_db(db), m_out(out), m_ui(out), m_arclass(m_factory) {
        m_arclass.cnx = m_arclass.dbe = m_arclass.abcdb = &db;
        m_arclass.OPEN_DATABASE = options.openDatabase;
        m_arclass.BASE_CURRENCY = options.baseCurrency.value_or(baseCurrencyOf(db));
        m_arclass.KELTRO_COMPANY_NAME = options.company;
        m_arclass.KELTRO_PATH = options.path;
        m_arclass.KELTRO_USER = options.user;
        m_arclass.KELTRO_DATE_FORMAT = options.dateFormat;
        m_arclass.KELTRO_NO_PERIODS = options.periods;
        m_arclass.KELTRO_FONT_NAME = "DejaVu Sans";
        m_arclass.KELTRO_FONT_SIZE = "9";
        m_arclass.ui = &m_ui;
        m_arclass.clock = &clock;
        m_arclass.NotifyClients = [this](const std::string& formx, const std::string& docnox,
                                         const std::string& arg2) {
            m_out << JsonObjectWriter()
                         .text("event", "notify")
                         .text("formx", formx)
                         .text("docnox", docnox)
                         .text("arg2", arg2)
                         .str()
                  << "\n";
        };
    }

    int run(std::istream& script) {
        std::string line;
        int step = 0;
        bool failed = false;
        while (std::getline(script, line)) {
            if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
            ++step;
            try {
                runStep(parseJson(line));
            } catch (const std::exception& e) {
                failed = true;
                m_out << JsonObjectWriter().text("event", "error").number("step", step).text("text", e.what()).str()
                      << "\n";
            }
            m_out.flush();
        }
        return failed ? 1 : 0;
    }

private:
    static std::string baseCurrencyOf(db::Database& db) {
        try {
            if (auto row = db.queryOne("SELECT Currency FROM COA_config_table")) return row->at(0).textOr();
        } catch (const db::DbError&) {
        }
        return {};
    }

    // The screen ARclass references for the class or, for a dialog another screen opened
    // (a report's "Form_report_format"), the newest open one of the class.
    framework::Screen& screenNamed(const std::string& className) {
        auto screen = m_arclass.referencedScreen(className);
        if (!screen) {
            const auto open = m_factory.openScreens();
            const auto newest = std::find_if(open.rbegin(), open.rend(),
                                             [&](const auto& s) { return s->className() == className; });
            if (newest != open.rend()) screen = *newest;
        }
        if (!screen) throw framework::ScreenError("No " + className + " screen is open");
        if (screen->isClosed()) throw framework::ScreenError(className + " was closed");
        m_ui.setScreen(className);
        return *screen;
    }

    static std::string required(const Json& step, const char* key) {
        auto text = step.text(key);
        if (!text) throw framework::ScreenError(std::string("The step needs \"") + key + "\"");
        return *text;
    }

    static std::size_t index(const Json& step, const char* key) {
        const Json* m = step.member(key);
        if (!m || !m->number() || *m->number() < 0)
            throw framework::ScreenError(std::string("The step needs a number \"") + key + "\"");
        return static_cast<std::size_t>(*m->number());
    }

    void runStep(const Json& step) {
        if (!step.isObject()) throw framework::ScreenError("A step is a JSON object");
        if (step.member("call")) return call(step);
        if (step.member("set")) return set(step);
        if (step.member("cell")) return cell(step);
        if (step.member("click")) return click(step);
        if (step.member("pick")) return pick(step);
        if (step.member("command")) return command(step);
        if (step.member("answer")) return answer(step);
        if (step.member("get")) return get(step);
        if (step.member("sql")) return sql(step);
        throw framework::ScreenError("Unknown step kind");
    }

    void call(const Json& step) {
        const std::string method = required(step, "call");
        std::vector<std::string> args;
        if (const Json* a = step.member("args"); a && a->array())
            for (const auto& item : *a->array())
                args.push_back(item.string() ? *item.string() : item.number() ? jsonNumber(*item.number()) : "");
        m_ui.setScreen(m_arclass.screenOfMethod(method));
        if (!m_arclass.call(method, args)) throw framework::ScreenError("ARclass has no method \"" + method + "\"");
    }

    void set(const Json& step) {
        auto [screen, control] = splitTarget(required(step, "set"));
        screenNamed(screen).enter(control, required(step, "value"));
    }

    void cell(const Json& step) {
        auto [screen, grid] = splitTarget(required(step, "cell"));
        screenNamed(screen).enterCell(grid, index(step, "row"), required(step, "col"), required(step, "value"));
    }

    // "clicks": 2 is a double click.
    void click(const Json& step) {
        auto [screen, grid] = splitTarget(required(step, "click"));
        const Json* clicks = step.member("clicks");
        if (clicks && clicks->number() && *clicks->number() == 2)
            return screenNamed(screen).doubleClickCell(grid, index(step, "row"), required(step, "col"));
        screenNamed(screen).clickCell(grid, index(step, "row"), required(step, "col"));
    }

    void pick(const Json& step) {
        auto [screen, control] = splitTarget(required(step, "pick"));
        screenNamed(screen).pick(control, index(step, "index"));
    }

    void command(const Json& step) {
        screenNamed(required(step, "command")).run(required(step, "caption"));
    }

    void answer(const Json& step) {
        const std::string text = required(step, "answer");
        if (text != "Yes" && text != "No") throw framework::ScreenError("An answer is \"Yes\" or \"No\"");
        m_ui.queueAnswer(text == "Yes");
    }

    void get(const Json& step) { m_out << screenEvent(screenNamed(required(step, "get"))) << "\n"; }

    void sql(const Json& step) {
        const std::string text = required(step, "sql");
        if (!isReadOnlyQuery(text)) throw framework::ScreenError("Only one read-only query (SELECT) may run");
        std::string rows = "[";
        bool first = true;
        for (const auto& row : m_db.query(text)) {
            JsonObjectWriter w;
            for (std::size_t i = 0; i < row.size(); ++i) w.raw(row.columnNames()[i], jsonOfValue(row.at(i)));
            rows += (first ? "" : ",") + w.str();
            first = false;
        }
        m_out << JsonObjectWriter().text("event", "rows").raw("rows", rows + "]").str() << "\n";
    }

    db::Database& m_db;
    std::ostream& m_out;
    AutomationUi m_ui;
    HeadlessScreenFactory m_factory;
    ARclass m_arclass;
};

}  // namespace

int runAutomation(db::Database& db, const services::Clock& clock, const AutomationOptions& options,
                  std::istream& script, std::ostream& out) {
    Driver driver(db, clock, options, out);
    return driver.run(script);
}

}  // namespace keltro::host
