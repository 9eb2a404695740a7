// Document numbers and internal keys of new documents.
//
// A new document receives two identifiers when it is saved:
//
//   * the document number (docno), the one users see: a running number counted per
//     company, document type and fiscal year (`Docno_master_table.nextdocno`), laid out
//     by the database's numbering pattern (`Next_number_config_table`, one row) and the
//     document type's prefix and width (`Next_number_format_table`):
//
//         structure "1": prefix sep1 year sep2 number      INV-09-00007
//         structure "2": year sep1 prefix sep2 number      2009CN1234
//         structure "3": prefix sep1 number                INV-00007 (no year)
//
//     with "-" for a separator that is switched on, the year's last two digits when
//     `fyear_digit` is 2, and the number left-padded with zeros to `running_no_digit`
//     (a wider number is never cut). A docno is at most 30 characters;
//   * the key (fkey), which ties the document's A/R rows to its journal: company + doctype
//     + "-" + a counter per company and document type (`Next_number_fkey_table.fkeyno`),
//     e.g. "1inv-25".
//
// Both counters are taken inside the saving screen's transaction, the docno counter first:
// each counter row is locked (bounded retry, `db::kCounterLock`), read, and stored plus
// one. Two workstations therefore never receive the same number, and a save that rolls
// back gives its numbers back to be handed out again. A counter that stays locked ends
// the save without a message of its own; a missing counter row is missing set-up:
//
//     Next number of document type inv for fiscal year 2009 is missing.
//     Create new fiscal year with "Add New Fiscal Year" in General Ledger system.
//
// (the second line only when the fiscal year has no counters at all). These services
// open no transaction; the caller rolls back when one of them refuses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "db/Database.h"
#include "services/Ui.h"

namespace keltro::services {

inline constexpr std::size_t kMaxDocnoLength = 30;

// The two counters' values handed to one new document.
struct DocumentNumbers {
    std::int64_t running = 0;  // the docno's running number
    std::int64_t key = 0;      // the fkey's number
};

// Takes the docno counter and then the key counter for the document type. nullopt after
// the missing-counter message, or silently when a counter stays locked. Must run inside
// the caller's transaction, which the caller rolls back on nullopt.
std::optional<DocumentNumbers> AllocateDocumentNumbers(db::Database& db, Ui& ui,
                                                       std::int64_t company,
                                                       std::string_view doctype,
                                                       std::string_view fiscalYear);

// The docno of a running number: "" for an unknown structure; nullopt when the numbering
// pattern row or the document type's format row is missing.
std::optional<std::string> FormatDocumentNumber(db::Database& db, std::string_view doctype,
                                                std::int64_t running,
                                                std::string_view fiscalYear);

// Whether any docno counter exists for the fiscal year (any company, any type).
bool FiscalYearHasNumbers(db::Database& db, std::string_view fiscalYear);

// company + doctype + "-" + key number: DocumentKey(1, "inv", 25) is "1inv-25".
std::string DocumentKey(std::int64_t company, std::string_view doctype, std::int64_t keyNumber);

// Everything a saving screen needs to number a new document.
struct NewDocumentNumbers {
    std::string docno;
    std::string fkey;
    DocumentNumbers numbers;
};

// The saving screen's sequence in one call: allocate both counters, lay out the docno and
// build the fkey. nullopt after a message (missing counter, docno format not set up,
// "Error : document no. is longer than 30 characters. " + docno) or after a counter that
// stayed locked; the caller then rolls back its transaction.
std::optional<NewDocumentNumbers> NumberNewDocument(db::Database& db, Ui& ui,
                                                    std::int64_t company,
                                                    std::string_view doctype,
                                                    std::string_view fiscalYear);

}  // namespace keltro::services
