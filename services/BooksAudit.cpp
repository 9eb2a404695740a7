#include "services/BooksAudit.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <compare>
#include <map>
#include <optional>

#include "schema/SuiteTables.h"
#include "services/Balances.h"
#include "services/DateFormat.h"
#include "services/Money.h"
#include "services/PeriodBalances.h"
#include "services/PostingChecks.h"

namespace keltro::services {

namespace {

using Findings = std::vector<std::string>;

bool differs(double stored, double expected) { return std::fabs(stored - expected) >= 0.005; }

// ----- what the audit reads ----------------------------------------------------------------

struct AuditLine {
    std::string fkey;
    std::string docno;
    std::int64_t lineno = 0;
    std::int64_t company = 0;
    std::string accno;
    std::string ledgertype;
    std::string currency;
    std::string fyear;
    std::string period;
    double amount = 0;
    std::optional<double> baseAmount;
    bool accountKnown = false;
    bool debit = false;
    bool incomeStatement = false;
};

std::vector<AuditLine> readLines(db::Database& db) {
    std::vector<AuditLine> lines;
    for (const auto& row :
         db.query("SELECT l.fkey, l.docno, l.lineno, l.company, l.accno, l.ledgertype, l.Currency, "
                  "l.fyear, l.period, l.amount, l.base_amount, a.accno AS master_accno, a.debit, "
                  "a.acctype FROM GL_transaction_table l LEFT JOIN Account_master_table a "
                  "ON a.accno = l.accno ORDER BY l.fkey, l.lineno"))
        lines.push_back({row["fkey"].textOr(), row["docno"].textOr(), row["lineno"].integerOr(0),
                         row["company"].integerOr(0), row["accno"].textOr(),
                         row["ledgertype"].textOr(), row["Currency"].textOr(),
                         row["fyear"].textOr(), row["period"].textOr(), row["amount"].numberOr(0.0),
                         row["base_amount"].number(), !row["master_accno"].isNull(),
                         row["debit"].booleanOr(false),
                         row["acctype"].textOr() == kIncomeStatement});
    return lines;
}

struct RowKey {
    std::string fyear;  // "" for a running balance
    std::int64_t company = 0;
    std::string ledgertype;
    std::string accno;
    std::string currency;

    auto operator<=>(const RowKey&) const = default;
};

std::string describe(const RowKey& key) {
    std::string text = key.fyear.empty()
                           ? "Balance_table row ("
                           : "Balance_period_table row (fiscal year " + key.fyear + ", ";
    return text + "company " + std::to_string(key.company) + ", ledger " + key.ledgertype +
           ", account " + key.accno + ", currency " + key.currency + ")";
}

RowKey keyOf(const db::Row& row, bool withYear) {
    return {withYear ? row["fyear"].textOr() : std::string(), row["company"].integerOr(0),
            row["ledgertype"].textOr(), row["accno"].textOr(), row["currency"].textOr()};
}

using PeriodRows = std::map<RowKey, PeriodBalances>;

PeriodRows readPeriodRows(db::Database& db) {
    PeriodRows rows;
    for (const auto& row : db.query("SELECT * FROM Balance_period_table"))
        rows.emplace(keyOf(row, true), ReadPeriodBalances(row));
    return rows;
}

// ----- journals --------------------------------------------------------------------------

std::string journalName(const AuditLine& line) {
    return "Journal " + line.fkey + " (" + line.docno + ")";
}

std::string lineName(const AuditLine& line) {
    return "Journal " + line.fkey + " line " + std::to_string(line.lineno);
}

void reportTotal(Findings& findings, const AuditLine& last, double total) {
    if (total == 0) return;
    findings.push_back(journalName(last) + " does not balance: " +
                       (total > 0 ? "debits exceed credits by " : "credits exceed debits by ") +
                       FormatAmount(std::fabs(total)));
}

void auditJournals(const std::vector<AuditLine>& lines, Findings& findings) {
    double total = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto& line = lines[i];
        if (!line.accountKnown)
            findings.push_back(lineName(line) + ": account " + line.accno +
                               " is not in Account_master_table");
        if (!MovementSlot(line.period))
            findings.push_back(lineName(line) + ": period \"" + line.period +
                               "\" moves no period column");
        total = AddToJournalTotal(total, line.debit, line.baseAmount);
        if (i + 1 == lines.size() || lines[i + 1].fkey != line.fkey) {
            reportTotal(findings, line, total);
            total = 0;
        }
    }
}

// ----- what the lines move ------------------------------------------------------------------

// The period rows of each account and year, by ledger and currency: the posting moves the
// first 'A' row beside an 'F' line, and the first row of the current-earnings account.
class RowFinder {
public:
    explicit RowFinder(const PeriodRows& rows) {
        for (const auto& [key, balances] : rows)
            m_byAccount[{key.fyear, key.company, "", key.accno, ""}].push_back(key);
    }

    std::optional<RowKey> first(const AuditLine& line, const std::string& accno,
                                bool ledgerAOnly) const {
        const auto found = m_byAccount.find({line.fyear, line.company, "", accno, ""});
        if (found == m_byAccount.end()) return std::nullopt;
        for (const auto& key : found->second) {  // ordered by ledger, then currency
            const bool eligible = ledgerAOnly ? key.ledgertype == "A"
                                              : (key.ledgertype == "A" || key.ledgertype == "E" ||
                                                 key.ledgertype == "F");
            if (eligible) return key;
        }
        return std::nullopt;
    }

private:
    std::map<RowKey, std::vector<RowKey>> m_byAccount;
};

class MovementReplay {
public:
    MovementReplay(const PeriodRows& rows, std::optional<std::string> currentEarnings,
                   Findings& findings)
        : m_rows(rows),
          m_finder(rows),
          m_currentEarnings(std::move(currentEarnings)),
          m_findings(findings) {}

    void apply(const AuditLine& line) {
        const auto slot = MovementSlot(line.period);
        if (!slot) return;
        const RowKey own{line.fyear, line.company, line.ledgertype, line.accno, line.currency};
        if (!m_rows.contains(own)) {
            m_findings.push_back(lineName(line) + ": no " + describe(own));
            return;
        }
        add(own, *slot, line.amount, line.baseAmount);
        if (line.ledgertype == "F")
            if (const auto ledgerA = m_finder.first(line, line.accno, true))
                add(*ledgerA, *slot, line.baseAmount.value_or(0.0), std::nullopt);
        if (line.incomeStatement && line.ledgertype == "A") moveCurrentEarnings(line, *slot);
    }

    const PeriodRows& expected() const { return m_expected; }

private:
    void add(const RowKey& key, int slot, double amount, std::optional<double> baseAmount) {
        auto& row = m_expected[key];
        row.plain.movements[slot] = roundMoney(row.plain.movements[slot] + amount);
        if (baseAmount)
            row.base.movements[slot] = roundMoney(row.base.movements[slot] + *baseAmount);
    }

    void moveCurrentEarnings(const AuditLine& line, int slot) {
        const auto row =
            m_currentEarnings ? m_finder.first(line, *m_currentEarnings, false) : std::nullopt;
        if (!row) {
            m_findings.push_back(lineName(line) + ": no current-earnings row for fiscal year " +
                                 line.fyear);
            return;
        }
        const double sign = line.debit ? -1.0 : 1.0;
        std::optional<double> base;
        if (line.baseAmount) base = sign * *line.baseAmount;
        add(*row, slot, sign * line.amount, base);
    }

    const PeriodRows& m_rows;
    RowFinder m_finder;
    std::optional<std::string> m_currentEarnings;
    Findings& m_findings;
    PeriodRows m_expected;
};

// ----- period rows ---------------------------------------------------------------------------

void compareColumns(Findings& findings, const RowKey& key, const std::vector<std::string>& names,
                    const std::vector<double>& stored, const std::vector<double>& expected,
                    std::size_t first, std::size_t last, const char* source) {
    for (std::size_t i = first; i < last; ++i)
        if (differs(stored[i], expected[i]))
            findings.push_back(describe(key) + ": " + names[i] + " is " + FormatAmount(stored[i]) +
                               ", " + source + " " + FormatAmount(expected[i]));
}

constexpr std::size_t kFirstMovement = 1;
constexpr std::size_t kFirstBalance = kFirstMovement + kMovementSlots;

void auditPeriodRow(Findings& findings, const RowKey& key, const PeriodBalances& stored,
                    const PeriodBalances& moved) {
    for (const char* prefix : {"", "e_"}) {
        const bool plain = std::string_view(prefix).empty();
        const PeriodSide& side = plain ? stored.plain : stored.base;
        const auto names = PeriodSideColumns(prefix);
        const auto values = PeriodSideValues(side);
        compareColumns(findings, key, names, values,
                       PeriodSideValues(plain ? moved.plain : moved.base), kFirstMovement,
                       kFirstBalance, "its journal lines give");
        compareColumns(findings, key, names, values, PeriodSideValues(RecalculatedSide(side)),
                       kFirstBalance, names.size(), "opening and movements give");
    }
}

void auditPeriodRows(const PeriodRows& rows, const PeriodRows& expected, Findings& findings) {
    for (const auto& [key, stored] : rows) {
        const auto moved = expected.find(key);
        auditPeriodRow(findings, key, stored,
                       moved == expected.end() ? PeriodBalances{} : moved->second);
    }
}

// ----- running balances ----------------------------------------------------------------------

// Fiscal years compare as numbers where they are numbers.
bool yearBefore(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

double sumOfMovements(const PeriodSide& side) {
    double sum = 0;
    for (double movement : side.movements) sum = roundMoney(sum + movement);
    return sum;
}

// What a running balance should hold: the opening balance of its first fiscal year plus
// every movement of every year.
struct RunningExpectation {
    std::string firstYear;
    double balance = 0;
};

std::map<RowKey, RunningExpectation> expectedRunning(const PeriodRows& rows) {
    std::map<RowKey, RunningExpectation> expected;
    for (const auto& [key, balances] : rows) {
        auto& running = expected[{"", key.company, key.ledgertype, key.accno, key.currency}];
        running.balance = roundMoney(running.balance + sumOfMovements(balances.plain));
        if (running.firstYear.empty() || yearBefore(key.fyear, running.firstYear))
            running.firstYear = key.fyear;
    }
    for (auto& [key, running] : expected) {
        const RowKey first{running.firstYear, key.company, key.ledgertype, key.accno, key.currency};
        running.balance = roundMoney(running.balance + rows.at(first).plain.opening);
    }
    return expected;
}

void auditRunningBalances(db::Database& db, const PeriodRows& rows, Findings& findings) {
    const auto expected = expectedRunning(rows);
    for (const auto& row : db.query("SELECT * FROM Balance_table")) {
        const RowKey key = keyOf(row, false);
        const double stored = row["amount"].numberOr(0.0);
        const auto found = expected.find(key);
        const RunningExpectation running =
            found == expected.end() ? RunningExpectation{} : found->second;
        if (!differs(stored, running.balance)) continue;
        findings.push_back(describe(key) + ": amount is " + FormatAmount(stored) +
                           (running.firstYear.empty()
                                ? ", it has no period rows and no movements"
                                : ", the opening balance of " + running.firstYear +
                                      " and the movements since give " +
                                      FormatAmount(running.balance)));
    }
}

// ----- key counters --------------------------------------------------------------------------

struct KeyInUse {
    std::int64_t number = -1;
    std::string key;
    std::string table;
};

// "1gl-12": company 1, document type "gl", number 12.
struct ParsedKey {
    std::int64_t company = 0;
    std::string doctype;
    std::int64_t number = 0;
};

std::optional<std::int64_t> digitsValue(std::string_view text) {
    std::int64_t value = 0;
    if (text.empty()) return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<ParsedKey> parseKey(std::string_view key) {
    std::size_t companyEnd = 0;
    while (companyEnd < key.size() && std::isdigit(static_cast<unsigned char>(key[companyEnd])))
        ++companyEnd;
    const std::size_t dash = key.rfind('-');
    if (companyEnd == 0 || dash == std::string_view::npos || dash <= companyEnd)
        return std::nullopt;
    const auto company = digitsValue(key.substr(0, companyEnd));
    const auto number = digitsValue(key.substr(dash + 1));
    if (!company || !number) return std::nullopt;
    return ParsedKey{*company, std::string(key.substr(companyEnd, dash - companyEnd)), *number};
}

bool hasKeyColumn(const schema::TableDef& table) {
    return std::any_of(table.columns.begin(), table.columns.end(),
                       [](const auto& column) { return column.name == "fkey"; });
}

std::map<std::pair<std::int64_t, std::string>, KeyInUse> highestKeys(db::Database& db) {
    std::map<std::pair<std::int64_t, std::string>, KeyInUse> highest;
    for (const auto& table : schema::suiteTables()) {
        if (!hasKeyColumn(table)) continue;
        for (const auto& row : db.query("SELECT DISTINCT fkey FROM " + table.name)) {
            const std::string key = row["fkey"].textOr();
            const auto parsed = parseKey(key);
            if (!parsed) continue;
            auto& top = highest[{parsed->company, parsed->doctype}];
            if (parsed->number > top.number) top = {parsed->number, key, table.name};
        }
    }
    return highest;
}

void auditKeyCounters(db::Database& db, Findings& findings) {
    const auto highest = highestKeys(db);
    for (const auto& row : db.query("SELECT * FROM Next_number_fkey_table")) {
        const std::int64_t company = row["company"].integerOr(0);
        const std::string doctype = row["doctype"].textOr();
        const auto top = highest.find({company, doctype});
        if (top == highest.end()) continue;
        const auto counter = row["fkeyno"].integer();
        if (counter && *counter > top->second.number) continue;
        findings.push_back("Key counter of " + doctype + " (company " + std::to_string(company) +
                           ") is " + (counter ? std::to_string(*counter) : "empty") +
                           ", not above key " + top->second.key + " in " + top->second.table);
    }
}

}  // namespace

std::vector<std::string> AuditBooks(db::Database& db) {
    Findings findings;
    const auto lines = readLines(db);
    auditJournals(lines, findings);

    const PeriodRows rows = readPeriodRows(db);
    MovementReplay replay(rows, FindCurrentEarningsAccount(db), findings);
    for (const auto& line : lines) replay.apply(line);
    auditPeriodRows(rows, replay.expected(), findings);
    auditRunningBalances(db, rows, findings);
    auditKeyCounters(db, findings);
    return findings;
}

}  // namespace keltro::services
