#include "services/Numbering.h"

namespace keltro::services {

namespace {

// A counter column and the condition that finds its row; the values are bound.
struct Counter {
    const char* table;
    const char* column;
    const char* where;
};

constexpr Counter kDocnoCounter{"Docno_master_table", "nextdocno",
                                "company = ? AND doctype = ? AND fiscalyear = ?"};
constexpr Counter kKeyCounter{"Next_number_fkey_table", "fkeyno", "company = ? AND doctype = ?"};

// Locks the counter's row, stores its value plus one and gives the value it held; nullopt
// when there is no row (or it holds no number). Throws db::LockTimeout.
std::optional<std::int64_t> takeCounter(db::Database& db, const Counter& counter,
                                        const db::Params& key) {
    const std::string where = std::string(" WHERE ") + counter.where;
    const auto rows =
        db.lockRows(std::string("SELECT ") + counter.column + " FROM " + counter.table + where, key,
                    db::kCounterLock);
    if (rows.empty()) return std::nullopt;
    const auto value = rows.front()[counter.column].integer();
    if (!value) return std::nullopt;
    db::Params params{*value + 1};
    params.insert(params.end(), key.begin(), key.end());
    db.queue(std::string("UPDATE ") + counter.table + " SET " + counter.column + " = ?" + where,
             params);
    return value;
}

std::string missingDocnoCounter(db::Database& db, std::string_view doctype,
                                std::string_view fiscalYear) {
    std::string text = "Next number of document type " + std::string(doctype) +
                       " for fiscal year " + std::string(fiscalYear) + " is missing.";
    if (!FiscalYearHasNumbers(db, fiscalYear))
        text += "\nCreate new fiscal year with \"Add New Fiscal Year\" in General Ledger system.";
    return text;
}

std::string zeroPadded(std::int64_t number, std::int64_t width) {
    std::string text = std::to_string(number);
    if (width > static_cast<std::int64_t>(text.size()))
        text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    return text;
}

// Characters 3 and 4 of the fiscal year: "2009" gives "09".
std::string lastTwoDigits(std::string_view fiscalYear) {
    return fiscalYear.size() > 2 ? std::string(fiscalYear.substr(2, 2)) : std::string();
}

// `layout`: the numbering configuration's columns and the document type's format columns.
std::string layOut(const db::Row& layout, std::int64_t running, std::string_view fiscalYear) {
    const std::string year = layout["fyear_digit"].integerOr(0) == 2 ? lastTwoDigits(fiscalYear)
                                                                      : std::string(fiscalYear);
    const std::string number = zeroPadded(running, layout["running_no_digit"].integerOr(0));
    const std::string prefix = layout["prefix"].textOr();
    const std::string sep1 = layout["seperator1"].booleanOr(false) ? "-" : "";
    const std::string sep2 = layout["seperator2"].booleanOr(false) ? "-" : "";
    const std::string structure = layout["structure"].textOr("1");
    if (structure == "1") return prefix + sep1 + year + sep2 + number;
    if (structure == "2") return year + sep1 + prefix + sep2 + number;
    if (structure == "3") return prefix + sep1 + number;
    return {};
}

}  // namespace

std::optional<DocumentNumbers> AllocateDocumentNumbers(db::Database& db, Ui& ui,
                                                       std::int64_t company,
                                                       std::string_view doctype,
                                                       std::string_view fiscalYear) {
    try {
        const auto running = takeCounter(db, kDocnoCounter, {company, doctype, fiscalYear});
        if (!running) {
            ui.message(missingDocnoCounter(db, doctype, fiscalYear));
            return std::nullopt;
        }
        const auto key = takeCounter(db, kKeyCounter, {company, doctype});
        if (!key) {
            ui.message("Error : next key number of document type " + std::string(doctype) +
                       " is missing.");
            return std::nullopt;
        }
        return DocumentNumbers{*running, *key};
    } catch (const db::LockTimeout&) {
        // Another workstation kept the counter: the save ends, the caller rolls back.
        return std::nullopt;
    }
}

std::optional<std::string> FormatDocumentNumber(db::Database& db, std::string_view doctype,
                                                std::int64_t running,
                                                std::string_view fiscalYear) {
    // No row when either the configuration or the document type's format is missing.
    const auto layout = db.queryOne(
        "SELECT c.fyear_digit, c.seperator1, c.seperator2, c.structure, f.running_no_digit, f.prefix "
        "FROM Next_number_config_table c CROSS JOIN Next_number_format_table f "
        "WHERE f.doctype = ? LIMIT 1",
        {doctype});
    if (!layout) return std::nullopt;
    return layOut(*layout, running, fiscalYear);
}

bool FiscalYearHasNumbers(db::Database& db, std::string_view fiscalYear) {
    return db.queryOne("SELECT 1 FROM Docno_master_table WHERE fiscalyear = ?", {fiscalYear})
        .has_value();
}

std::string DocumentKey(std::int64_t company, std::string_view doctype, std::int64_t keyNumber) {
    return std::to_string(company) + std::string(doctype) + "-" + std::to_string(keyNumber);
}

std::optional<NewDocumentNumbers> NumberNewDocument(db::Database& db, Ui& ui,
                                                    std::int64_t company,
                                                    std::string_view doctype,
                                                    std::string_view fiscalYear) {
    const auto numbers = AllocateDocumentNumbers(db, ui, company, doctype, fiscalYear);
    if (!numbers) return std::nullopt;
    const auto docno = FormatDocumentNumber(db, doctype, numbers->running, fiscalYear);
    if (!docno || docno->empty()) {
        ui.message("Error : document no. format of document type " + std::string(doctype) +
                   " is not set up.");
        return std::nullopt;
    }
    if (docno->size() > kMaxDocnoLength) {
        ui.message("Error : document no. is longer than 30 characters. " + *docno);
        return std::nullopt;
    }
    return NewDocumentNumbers{*docno, DocumentKey(company, doctype, numbers->key), *numbers};
}

}  // namespace keltro::services
