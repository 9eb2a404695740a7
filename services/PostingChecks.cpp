#include "services/PostingChecks.h"

#include "services/Money.h"

namespace keltro::services {

bool AccountCurrencyExists(db::Database& db, std::string_view accno, std::string_view currency) {
    return db
        .queryOne("SELECT 1 FROM Account_currency_table WHERE accno = ? AND currency = ?",
                  {accno, currency})
        .has_value();
}

double AddToJournalTotal(double total, bool debitAccount, std::optional<double> baseAmount) {
    if (!baseAmount) return total;
    return roundMoney(total + (debitAccount ? *baseAmount : -*baseAmount));
}

bool CheckDocumentBalance(Ui& ui, const std::vector<CheckedLine>& lines) {
    double total = 0;
    for (const auto& line : lines) {
        if (!line.accountExists) return false;
        if (line.inactive) {
            ui.message("Account " + line.accno + " is inactive.");
            return false;
        }
        total = AddToJournalTotal(total, line.debit, line.baseAmount);
    }
    if (total != 0) {
        ui.message("Document is not balance (debit <> credit)");
        return false;
    }
    return true;
}

bool CheckDocumentBalance(db::Database& db, Ui& ui, std::string_view journalKey) {
    std::vector<CheckedLine> lines;
    for (const auto& row :
         db.query("SELECT l.accno, l.base_amount, a.accno AS master_accno, a.inactive, a.debit "
                  "FROM GL_transaction_table l LEFT JOIN Account_master_table a "
                  "ON a.accno = l.accno WHERE l.fkey = ? ORDER BY l.lineno",
                  {journalKey}))
        lines.push_back({row["accno"].textOr(), !row["master_accno"].isNull(),
                         row["inactive"].booleanOr(false), row["debit"].booleanOr(false),
                         row["base_amount"].number()});
    return CheckDocumentBalance(ui, lines);
}

}  // namespace keltro::services
