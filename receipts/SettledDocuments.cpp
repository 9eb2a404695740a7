#include "receipts/SettledDocuments.h"

#include "receipts/ReceiptApplication.h"
#include "services/Money.h"
#include "store/ArDocument.h"

namespace keltro::receipts {

using services::roundMoney;

namespace {

// The columns a settlement reads and changes, and those that lead to its document.
std::optional<db::Row> lockedLine(db::Database& db, const Settlement& settlement) {
    const auto rows = db.lockRows(
        "SELECT id, fkey, source_form, void, gross_amount, open_amount, paid_amount, "
        "discount_taken, writeoff FROM AR_transaction_table WHERE company = 1 AND docno = ? "
        "AND pay_item = ?",
        {settlement.docno, settlement.payItem}, db::kBalanceLock);
    if (rows.empty()) return std::nullopt;
    return rows.front();
}

// The sales module's statements, the same as those on AR_header_table.
std::string_view salesOrderStatement(store::PaidState state) {
    switch (state) {
        case store::PaidState::FullyPaid:
            return "UPDATE SO_header_table SET paid = TRUE, fully_paid = TRUE WHERE fkey = ?";
        case store::PaidState::PartlyPaid:
            return "UPDATE SO_header_table SET paid = TRUE, fully_paid = FALSE WHERE fkey = ?";
        case store::PaidState::Unpaid: break;
    }
    return "UPDATE SO_header_table SET paid = FALSE, fully_paid = FALSE WHERE fkey = ?";
}

store::PaidState paidStateOfLines(db::Database& db, const std::string& fkey) {
    const auto counts = db.queryOne(
        "SELECT COUNT(*) AS lines, SUM(CASE WHEN paid = TRUE THEN 1 ELSE 0 END) AS paid_lines, "
        "SUM(CASE WHEN paid = TRUE OR paid_amount <> 0 THEN 1 ELSE 0 END) AS touched "
        "FROM AR_transaction_table WHERE fkey = ?",
        {fkey});
    const auto lines = (*counts)["lines"].integerOr(0);
    if (lines > 0 && (*counts)["paid_lines"].integerOr(0) == lines)
        return store::PaidState::FullyPaid;
    return (*counts)["touched"].integerOr(0) > 0 ? store::PaidState::PartlyPaid
                                                 : store::PaidState::Unpaid;
}

void refreshPaidFlags(db::Database& db, const db::Row& line) {
    const std::string fkey = line["fkey"].textOr();
    const store::PaidState state = paidStateOfLines(db, fkey);
    store::setPaidState(db, fkey, state);
    if (line["source_form"].textOr() == kSalesInvoiceForm)
        db.execute(salesOrderStatement(state), {fkey});
}

// The matching screen's statements, by document number: a settled document is "fully
// paid, not paid", one with an unpaid line left "paid, not fully paid".
void refreshMatchingFlags(db::Database& db, const std::string& docno) {
    const bool lineLeftOpen =
        db.queryOne("SELECT id FROM AR_transaction_table WHERE company = 1 AND docno = ? "
                    "AND paid = FALSE",
                    {docno})
            .has_value();
    db.execute(lineLeftOpen ? "UPDATE AR_header_table SET fully_paid = FALSE, paid = TRUE "
                              "WHERE company = 1 AND docno = ?"
                            : "UPDATE AR_header_table SET fully_paid = TRUE, paid = FALSE "
                              "WHERE company = 1 AND docno = ?",
               {docno});
}

// Whether the open amount left has crossed zero against the line's own sign.
bool crossesZero(double gross, double balance) { return gross >= 0 ? balance < 0 : balance > 0; }

}  // namespace

double Settlement::total() const { return roundMoney(applied + discountTaken + writeoff); }

std::optional<SettledLine> settleLine(db::Database& db, services::Ui& ui,
                                      const Settlement& settlement, PaidFlags flags) {
    const auto line = lockedLine(db, settlement);
    if (!line || (*line)["void"].booleanOr(false)) {
        ui.message("Error : pay item " + settlement.payItem + " of " + settlement.docno +
                   " is not open");
        return std::nullopt;
    }
    const SettledLine settled{(*line)["open_amount"].numberOr(),
                              roundMoney((*line)["open_amount"].numberOr() - settlement.total())};
    if (crossesZero((*line)["gross_amount"].numberOr(), settled.balance)) {
        ui.message("Error : applied amount + discount taken + write off exceed open amount\"");
        return std::nullopt;
    }
    db.execute(
        "UPDATE AR_transaction_table SET open_amount = ?, paid_amount = ?, "
        "discount_taken = ?, writeoff = ?, paid = ? WHERE id = ?",
        {settled.balance, roundMoney((*line)["paid_amount"].numberOr() + settlement.total()),
         settlement.discountTaken != 0 ? db::Value(roundMoney((*line)["discount_taken"].numberOr() +
                                                              settlement.discountTaken))
                                       : (*line)["discount_taken"],
         settlement.writeoff != 0
             ? db::Value(roundMoney((*line)["writeoff"].numberOr() + settlement.writeoff))
             : (*line)["writeoff"],
         settled.balance == 0, (*line)["id"]});
    if (flags == PaidFlags::Matching)
        refreshMatchingFlags(db, settlement.docno);
    else
        refreshPaidFlags(db, *line);
    return settled;
}

void restoreLine(db::Database& db, const Settlement& settlement) {
    const auto line = lockedLine(db, settlement);
    if (!line) return;
    const double total = settlement.total();
    db.execute(
        "UPDATE AR_transaction_table SET open_amount = ?, paid_amount = ?, "
        "discount_taken = ?, writeoff = ?, paid = FALSE WHERE id = ?",
        {roundMoney((*line)["open_amount"].numberOr() + total),
         roundMoney((*line)["paid_amount"].numberOr() - total),
         roundMoney((*line)["discount_taken"].numberOr() - settlement.discountTaken),
         roundMoney((*line)["writeoff"].numberOr() - settlement.writeoff), (*line)["id"]});
    refreshPaidFlags(db, *line);
}

}  // namespace keltro::receipts
