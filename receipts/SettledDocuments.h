// What a receipt does to the documents it pays, and what voiding it undoes.
//
// Each applied pay item lowers its line's open amount by what the receipt settles
// (applied amount, discount and write-off) and adds the same to its paid amount; a line
// whose open amount reaches zero is paid. The document's flags then follow its lines, set
// by one statement that works them out from the lines as they now stand:
//
//     no line left unpaid                    paid TRUE,  fully_paid TRUE
//     some line paid or partly paid          paid TRUE,  fully_paid FALSE
//     nothing paid on any line (a void)      paid FALSE, fully_paid FALSE
//
// and a document that came from the sales module's invoicing has the same flags set on its
// `SO_header_table` row. Amounts are signed as stored, so a credit note is settled by
// negative amounts and may not be settled past zero either way.
//
// Lines are read and changed under the balance lock inside the caller's transaction, so
// that two workstations never settle the same open amount twice.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "db/Database.h"
#include "services/Ui.h"

namespace keltro::receipts {

// One pay item and what a receipt settles on it.
struct Settlement {
    std::string docno;
    std::string payItem;
    double applied = 0;
    double discountTaken = 0;
    double writeoff = 0;

    double total() const;
};

// The line as it was before the settlement.
struct SettledLine {
    double openBefore = 0;
    double balance = 0;  // the open amount left
};

// The statements that set a settled document's header flags.
enum class PaidFlags {
    // The receipt screens' (above), and the sales module's header beside them.
    Receipt,
    // The matching screen's: with no line of the document left unpaid
    // "fully_paid = TRUE, paid = FALSE", otherwise "fully_paid = FALSE, paid = TRUE".
    Matching,
};

// The document lines a save is about to settle, locked together (`lockRowsOfEach`: on
// PostgreSQL one round trip rather than one per line), each handed to `settleLine` once.
// A pay item not among them (not found, or settled a second time) is locked on its own
// when it is settled, as without them.
class LockedLines {
public:
    using PayItem = std::pair<std::string, std::string>;  // docno, pay item

    // Throws db::LockTimeout when a line stays locked through the balance lock's retries.
    LockedLines(db::Database& db, const std::vector<PayItem>& payItems);

    // The locked line of the pay item, once; nullopt when it was not found or already taken.
    std::optional<db::Row> take(const std::string& docno, const std::string& payItem);

private:
    std::map<PayItem, db::Row> m_rows;
};

// Settles the line (taken from `locked` when it holds it) and refreshes its document's
// flags. Nothing after
//     "Error : pay item <n> of <docno> is not open"
//     "Error : applied amount + discount taken + write off exceed open amount\""
std::optional<SettledLine> settleLine(db::Database& db, services::Ui& ui,
                                      const Settlement& settlement,
                                      PaidFlags flags = PaidFlags::Receipt,
                                      LockedLines* locked = nullptr);

// Gives the line back what the settlement took and refreshes its document's flags; a
// line that is gone is passed over.
void restoreLine(db::Database& db, const Settlement& settlement);

}  // namespace keltro::receipts
