// The line grid `dbgrid1` and the "Tax Details Window" as a person types into them.
//
// Before a cell takes a value it is checked: an amount must be a number ("please input
// numeric data"), a tax code must exist ("Invalid tax code"), so must a sales account
// ("Invalid sales account"), and a pay item may stand on one line only. After it:
//
//     gross amount    the line's tax from the amount including tax
//     taxable amount  the line's tax from the amount before tax
//     tax code        the tax again, from the taxable amount when there is one
//     sales account   its name beside it
//     pay item        the line's tax rows follow it
//
// A line without a tax code takes the default one ("Default Tax code has not been set"
// when there is none). A row typed into before it has a pay item gets the next one. In
// the details window the rate or the tax of a row may be typed (a number not below 0);
// the line's tax becomes the sum of its rows and its gross amount taxable + tax.
//
// The editor lives for one step of the person; what it must remember between steps (the
// row last worked on) is the screen's `LineGridState`.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/Database.h"
#include "framework/ScreenParts.h"
#include "invoice/InvoiceTax.h"
#include "services/Ui.h"
#include "store/Accounts.h"
#include "store/ArDocument.h"

namespace keltro::invoice {

struct LineGridState {
    std::size_t currentRow = 0;  // "&Delete Line" removes it
    std::string payItemBefore;   // a pay item's text before it is typed anew
};

class LineGridEditor {
public:
    LineGridEditor(db::Database& db, services::Ui& ui, framework::Grid& lines, TaxTable& taxes,
                   LineGridState& state, const std::vector<store::AccountName>& salesAccounts)
        : m_db(db), m_ui(ui), m_lines(lines), m_taxes(taxes), m_state(state),
          m_salesAccounts(salesAccounts) {}

    bool acceptLineCell(std::size_t row, const std::string& caption, const std::string& text);
    bool acceptTaxCell(std::size_t row, const std::string& caption, const std::string& text);
    void lineCellChanged(std::size_t row, const std::string& caption);
    // A rate or tax typed into row `row` of the details window.
    void taxCellChanged(std::size_t row, const std::string& caption, const std::string& text);

    void insertLine();
    void deleteLine();
    // The lines of a shown document, with their tax rows.
    void showLines(const std::vector<store::ArLine>& lines, const std::string& dateFormat);
    std::string firstDescription() const;

private:
    void recomputeLineTax(std::size_t row, TaxEntry entry);
    void recomputeAfterTaxCode(std::size_t row);
    void lineTaxEdited(const std::string& payItem);
    void salesAccountChanged(std::size_t row);
    std::optional<std::size_t> rowOfPayItem(const std::string& payItem) const;
    std::string accountName(const std::string& accno) const;
    bool refuse(const std::string& text);

    db::Database& m_db;
    services::Ui& m_ui;
    framework::Grid& m_lines;
    TaxTable& m_taxes;
    LineGridState& m_state;
    const std::vector<store::AccountName>& m_salesAccounts;
};

}  // namespace keltro::invoice
