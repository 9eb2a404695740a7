// The tax of an invoice line, per tax authority, and the screen's tax table.
//
// A line carries one tax code; the code stands for its authorities in `item_no` order.
// The person types either the amount before tax (taxable entry) or the amount including
// tax (gross entry); each authority's tax is computed from that amount A plus the
// compound base K, the taxes so far of the authorities flagged `taxable`:
//
//     taxable entry   tax = round(R × (A + K) / 100)
//     gross entry     tax = round(R × ((A + K) / (1 + R / 100)) / 100)
//
// then held between `min_charged` and `max_charged` (each only when above 0). The line's
// tax T is the sum, its other amount A + T (taxable entry) or A − T (gross entry). Every
// rounding is to cents, half to even:
//
//     10 %, taxable 100.00            tax 10.00, gross 110.00
//     10 %, gross 110.00              tax 10.00, taxable 100.00
//     5 % compound, then 8 %, 100.00  5.00 + round(8 × 105 / 100) = 8.40, gross 113.40
//     1 % with min 2.00, 50.00        tax 2.00
//
// The tax table holds one row per line and authority, keyed by the line's pay item; it is
// what the "Tax Details Window" shows, what the line stores in its five authority groups
// and what the journal posts per authority. A row's rate or tax may be edited there; the
// line's tax is then the sum of its rows again.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/PayItemLine.h"
#include "store/TaxCodes.h"

namespace keltro::invoice {

enum class TaxEntry {
    Taxable,  // the amount typed is before tax
    Gross,    // the amount typed includes tax
};

// One line and authority.
struct TaxRow {
    std::string payItem;
    std::string authority;
    double taxableBase = 0;
    double rate = 0;  // percent
    double taxAmount = 0;
    bool taxable = false;  // compound: taxed by the authorities that follow
    std::string taxCode;
};

// What a line's amounts become.
struct LineTax {
    std::vector<TaxRow> rows;
    double tax = 0;
    double taxableAmount = 0;
    double grossAmount = 0;
};

// The tax of a line of `amount` typed as `entry`, under the authorities of `taxCode`.
LineTax computeLineTax(const std::string& payItem, const std::string& taxCode, double amount,
                       TaxEntry entry, const std::vector<store::TaxAuthorityRate>& authorities);

// A row's tax from its base and a new rate: round(base × rate / 100).
double taxAtRate(double taxableBase, double rate);

class TaxTable {
public:
    const std::vector<TaxRow>& rows() const { return m_rows; }
    bool empty() const { return m_rows.empty(); }
    void clear() { m_rows.clear(); }

    // The rows of a line, in authority order.
    std::vector<TaxRow> rowsOf(const std::string& payItem) const;
    // The line's rows give way to `rows` (a line's tax was computed again).
    void replaceLine(const std::string& payItem, const std::vector<TaxRow>& rows);
    void removeLine(const std::string& payItem);
    // A pay item typed anew takes its rows with it; an emptied one drops them.
    void renameLine(const std::string& from, const std::string& to);
    // The sum of the line's rows' tax, to cents.
    double lineTax(const std::string& payItem) const;

    // An edit in the details window: a new rate (the tax follows) or a new tax. Gives the
    // pay item of the row.
    std::string setRate(std::size_t row, double rate);
    std::string setTaxAmount(std::size_t row, double tax);

    // The rows summed per authority, in order of first appearance; a summary row takes the
    // rate of its authority's first row.
    std::vector<TaxRow> summary() const;

private:
    std::vector<TaxRow> m_rows;
};

// A line's stored authority groups as tax-table rows (the first five, as stored).
std::vector<TaxRow> taxRowsOfLine(const store::PayItemLine& line);
// Tax-table rows as a line's authority groups.
std::vector<store::TaxShare> taxSharesOf(const std::vector<TaxRow>& rows);

}  // namespace keltro::invoice
