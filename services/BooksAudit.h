// The books audit: do the journals, the balances and the counters agree?
//
// Postings keep four things in step inside one transaction: journals, running balances
// (`Balance_table`), balances by period (`Balance_period_table`) and the key counters.
// After a crash, an import or a hand edit, the audit tells whether they still do:
//
//   * every journal balances under the sign convention (base amounts + on debit
//     accounts, - on the others, summed line by line to cents) and names known accounts
//     and period codes;
//   * every movement column of every period row (`period1` .. `period13`, `adjust`,
//     `closing` and their `e_` twins) equals what the journal lines move into it: each
//     line its own row, an 'F' line the account's 'A' row by its base amount, an 'A' line
//     of an income-statement account the current-earnings row (signed by the account's
//     side) — the same rules the posting follows (services/Balances.h);
//   * every period row's period-end and year-to-date balances agree with its opening
//     balance and movements;
//   * every `Balance_table` amount equals the opening balance of the row's first fiscal
//     year plus every movement since;
//   * every key counter (`Next_number_fkey_table`) lies above the keys in use of its
//     document type, in every table that stores keys.
//
// Each finding is one line of text that names the journal, row or counter:
//
//     Journal 1gl-7 (GL-26-00007) does not balance: debits exceed credits by 0.01
//     Balance_period_table row (fiscal year 2026, company 1, ledger A, account 1100,
//         currency USD): Period3 is 100.00, its journal lines give 90.00
//     Balance_table row (company 1, ledger A, account 1100, currency USD): amount is 1.00,
//         the opening balance of 2025 and the movements since give 0.00
//     Key counter of gl (company 1) is 3, not above key 1gl-5 in GL_header_table
//
// Amounts agree when they differ by less than half a cent. The audit only reads.
#pragma once

#include <string>
#include <vector>

#include "db/Database.h"

namespace keltro::services {

// Every finding, journals first, then period rows, running balances and counters; empty
// for books in order.
std::vector<std::string> AuditBooks(db::Database& db);

}  // namespace keltro::services
