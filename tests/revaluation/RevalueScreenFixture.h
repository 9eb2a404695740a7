// The revaluation screen on the demo company, opened by ARclass as the host opens it, with
// a person who answers from a queue and a clock stopped on 6 December 2026 (fiscal year
// 2026, period 12). Open items are written straight into AR_transaction_table: a run reads
// nothing else of a document.
//
// The demo's euro customers 1003 and 1007 keep their receivables on 1110; here 1110 takes
// its own gain and loss accounts in euros (7000, 7010) and customer 1007 has no receivable
// account of its own, so its items fall to the module's 1100, whose euro row names none:
// its gains and losses go to the module's 7020 and 7030.
#pragma once

#include <string>
#include <vector>

#include "revaluation/ARform_revalue.h"
#include "support/ScreenFixture.h"

namespace keltro::revaluation::testing {

// An open item as the run reads it.
struct OpenItem {
    std::string customer = "1003";
    std::string docno = "INV-26-00001";
    double open = 1000.00;
    double rate = 1.10;
    db::Date date{2026, 11, 15};
    std::string currency = "EUR";
    bool paid = false;
    bool isVoid = false;
};

// A criteria line as a person types it.
struct TypedCriterion {
    std::string currency = "EUR";
    std::string rate = "1.25";
    std::string everyCustomer = "1";
    std::string group;
    std::string customer;
};

class RevalueScreenTest : public test::ScreenFixture {
protected:
    RevalueScreenTest() {
        db().execute("UPDATE Account_currency_table SET unrealised_gain_accno = '7000', "
                     "unrealised_loss_accno = '7010' WHERE accno = '1110' AND Currency = 'EUR'");
        db().execute("UPDATE Customer_table SET ar_accno = NULL WHERE customer_no = '1007'");
    }

    void addItem(const OpenItem& item) {
        db().execute(
            "INSERT INTO AR_transaction_table (company, fkey, docno, doctype, customer_no, "
            "pay_item, gross_amount, open_amount, Currency, exchange_rate, invoice_date, paid, "
            "void) VALUES (1, ?, ?, ?, ?, '1', ?, ?, ?, ?, ?, ?, ?)",
            {"1t-" + item.docno, item.docno, item.open < 0 ? "cn" : "ar", item.customer,
             item.open, item.open, item.currency, item.rate, item.date, item.paid, item.isVoid});
    }

    ARform_revalue& open() {
        return dynamic_cast<ARform_revalue&>(desk.call("showform_ARform_revalue", "ARform_revalue"));
    }

    // "&New", the cut-off date and the criteria lines, then "Find result".
    static void find(ARform_revalue& screen, const std::string& cutoff,
                     const std::vector<TypedCriterion>& lines) {
        if (screen.mode() != framework::Mode::New) screen.run("&New");
        screen.enter("txtlastdate", cutoff);
        for (std::size_t row = 0; row < lines.size(); ++row) {
            const TypedCriterion& line = lines[row];
            screen.enterCell("dbgridcmd", row, "currency", line.currency);
            screen.enterCell("dbgridcmd", row, "rate", line.rate);
            screen.enterCell("dbgridcmd", row, "every customer", line.everyCustomer);
            screen.enterCell("dbgridcmd", row, "customer group", line.group);
            screen.enterCell("dbgridcmd", row, "customer no", line.customer);
        }
        screen.run("Find result");
    }

    // A run over every euro customer at `rate`, saved on `date`.
    void findAndSave(ARform_revalue& screen, const std::string& date = "30/11/2026",
                     const std::string& rate = "1.25") {
        find(screen, "30/11/2026", {{.rate = rate}});
        screen.enter("txtdate", date);
        screen.enter("txtdesc", "Month-end revaluation");
        screen.run("&Save");
    }

    static std::vector<std::string> column(const ARform_revalue& screen, const std::string& grid,
                                           const std::string& caption) {
        std::vector<std::string> cells;
        for (const auto& row : screen.grid(grid).rows) {
            const auto cell = row.find(caption);
            cells.push_back(cell == row.end() ? "" : cell->second);
        }
        return cells;
    }

    // Account, base amount, ledger and currency of a journal's lines, by line number.
    std::vector<std::string> journalLines(const std::string& glFkey) {
        std::vector<std::string> lines;
        for (const auto& row : db().query("SELECT accno, base_amount, amount, ledgertype, Currency "
                                          "FROM GL_transaction_table WHERE fkey = ? ORDER BY lineno",
                                          {glFkey}))
            lines.push_back(row["accno"].textOr() + " " +
                            db::Value(row["base_amount"].numberOr(0)).textOr() + " " +
                            db::Value(row["amount"].numberOr(0)).textOr() + " " +
                            row["ledgertype"].textOr() + " " + row["Currency"].textOr());
        return lines;
    }

    // Rows of the four revaluation tables, and journal lines.
    std::vector<std::int64_t> written() {
        std::vector<std::int64_t> counts;
        for (const char* table : {"AR_Revalue_header_table", "AR_Revalue_transaction_table",
                                  "AR_Revalue_Result_table", "AR_Revalue_GL_summary_table",
                                  "GL_header_table", "GL_transaction_table"})
            counts.push_back(count(std::string("SELECT COUNT(*) FROM ") + table));
        return counts;
    }
};

}  // namespace keltro::revaluation::testing
