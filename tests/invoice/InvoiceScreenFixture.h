// The invoice screen on the demo company, opened by ARclass as the host opens it, with a
// person who answers from a queue and a clock stopped on 6 December 2026.
#pragma once

#include <string>
#include <vector>

#include "invoice/ARform_invoice.h"
#include "support/ScreenFixture.h"

namespace keltro::invoice::testing {

inline constexpr db::Date kToday = test::kDemoToday;

// A line as a person types it: description, then the amount (taxable, or gross when
// `gross`), the tax code and the sales account.
struct TypedLine {
    std::string description;
    std::string amount;
    std::string taxCode = "S1";
    std::string salesAccount = "4000";
    bool gross = false;
};

class InvoiceScreenTest : public test::ScreenFixture {
protected:
    // Opens the screen as the host does ("cn", "dn" or nothing).
    ARform_invoice& open(const std::optional<std::string>& doctypex = std::nullopt) {
        arclass.showform_ARform_invoice(doctypex);
        return dynamic_cast<ARform_invoice&>(*arclass.referencedScreen("ARform_invoice"));
    }

    // "&New" on the screen, then the customer.
    static void startDocument(ARform_invoice& screen, const std::string& customer) {
        if (screen.mode() != framework::Mode::New) screen.run("&New");
        screen.enter("cmbcustno", customer);
    }

    static void typeLine(ARform_invoice& screen, std::size_t row, const TypedLine& line) {
        screen.enterCell("dbgrid1", row, "description", line.description);
        screen.enterCell("dbgrid1", row, "tax code", line.taxCode);
        screen.enterCell("dbgrid1", row, line.gross ? "gross amount" : "taxable amount",
                         line.amount);
        screen.enterCell("dbgrid1", row, "sales account", line.salesAccount);
    }

    // A new document of the screen's kind for `customer` with `lines`, saved.
    void enterAndSave(ARform_invoice& screen, const std::string& customer,
                      const std::vector<TypedLine>& lines) {
        startDocument(screen, customer);
        for (std::size_t row = 0; row < lines.size(); ++row) typeLine(screen, row, lines[row]);
        screen.run("&Save");
    }

    std::string cell(const ARform_invoice& screen, std::size_t row, const std::string& caption) {
        return screen.grid("dbgrid1").rows.at(row).at(caption);
    }
};

}  // namespace keltro::invoice::testing
