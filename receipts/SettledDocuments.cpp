#include "receipts/SettledDocuments.h"

#include "receipts/ReceiptApplication.h"
#include "services/Money.h"
#include "store/ArDocument.h"

namespace keltro::receipts {

using services::roundMoney;

namespace {

// The columns a settlement reads and changes, and those that lead to its document.
constexpr const char* kSettledColumns =
    "SELECT id, fkey, source_form, void, gross_amount, open_amount, paid_amount, discount_taken, "
    "writeoff, docno, pay_item FROM AR_transaction_table WHERE company = 1 AND ";

std::optional<db::Row> lockedLine(db::Database& db, const Settlement& settlement,
                                  LockedLines* locked) {
    if (locked)
        if (auto row = locked->take(settlement.docno, settlement.payItem)) return row;
    const auto rows = db.lockRows(std::string(kSettledColumns) + "docno = ? AND pay_item = ?",
                                  {settlement.docno, settlement.payItem}, db::kBalanceLock);
    if (rows.empty()) return std::nullopt;
    return rows.front();
}

// The paid flags of a document (on AR_header_table, or the sales module's SO_header_table)
// as its lines now leave them, worked out by the statement that stores them, so that the
// save need not wait for them: paid once a line is paid or has a payment, fully paid when
// it has lines and every one is paid.
std::string paidFlagsUpdate(std::string_view table) {
    return "UPDATE " + std::string(table) +
           " SET (paid, fully_paid) = (SELECT "
           "COALESCE(SUM(CASE WHEN l.paid = TRUE OR l.paid_amount <> 0 THEN 1 ELSE 0 END), 0) > 0, "
           "COUNT(*) > 0 AND COALESCE(SUM(CASE WHEN l.paid = TRUE THEN 1 ELSE 0 END), 0) = COUNT(*) "
           "FROM AR_transaction_table l WHERE l.fkey = ?) WHERE fkey = ?";
}

void refreshPaidFlags(db::Database& db, const db::Row& line) {
    static const std::string documents = paidFlagsUpdate("AR_header_table");
    static const std::string salesOrders = paidFlagsUpdate("SO_header_table");
    const std::string fkey = line["fkey"].textOr();
    const db::Params params{fkey, fkey};
    db.queue(documents, params);
    if (line["source_form"].textOr() == kSalesInvoiceForm) db.queue(salesOrders, params);
}

// The matching screen's statements, by document number: a settled document is "fully
// paid, not paid", one with an unpaid line left "paid, not fully paid".
void refreshMatchingFlags(db::Database& db, const std::string& docno) {
    const bool lineLeftOpen =
        db.queryOne("SELECT id FROM AR_transaction_table WHERE company = 1 AND docno = ? "
                    "AND paid = FALSE",
                    {docno})
            .has_value();
    db.queue(lineLeftOpen ? "UPDATE AR_header_table SET fully_paid = FALSE, paid = TRUE "
                            "WHERE company = 1 AND docno = ?"
                          : "UPDATE AR_header_table SET fully_paid = TRUE, paid = FALSE "
                            "WHERE company = 1 AND docno = ?",
             {docno});
}

// Whether the open amount left has crossed zero against the line's own sign.
bool crossesZero(double gross, double balance) { return gross >= 0 ? balance < 0 : balance > 0; }

}  // namespace

double Settlement::total() const { return roundMoney(applied + discountTaken + writeoff); }

LockedLines::LockedLines(db::Database& db, const std::vector<PayItem>& payItems) {
    std::vector<db::Params> each;
    for (const auto& [docno, payItem] : payItems) each.push_back({docno, payItem});
    for (const auto& rows : db.lockRowsOfEach(std::string(kSettledColumns) + "docno = ? AND pay_item = ?", each,
                                              db::kBalanceLock))
        for (const auto& row : rows) m_rows.insert_or_assign({row["docno"].textOr(), row["pay_item"].textOr()}, row);
}

std::optional<db::Row> LockedLines::take(const std::string& docno, const std::string& payItem) {
    const auto found = m_rows.find({docno, payItem});
    if (found == m_rows.end()) return std::nullopt;
    db::Row row = std::move(found->second);
    m_rows.erase(found);
    return row;
}

std::optional<SettledLine> settleLine(db::Database& db, services::Ui& ui,
                                      const Settlement& settlement, PaidFlags flags, LockedLines* locked) {
    const auto line = lockedLine(db, settlement, locked);
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
    db.queue(
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
    const auto line = lockedLine(db, settlement, nullptr);
    if (!line) return;
    const double total = settlement.total();
    db.queue(
        "UPDATE AR_transaction_table SET open_amount = ?, paid_amount = ?, "
        "discount_taken = ?, writeoff = ?, paid = FALSE WHERE id = ?",
        {roundMoney((*line)["open_amount"].numberOr() + total),
         roundMoney((*line)["paid_amount"].numberOr() - total),
         roundMoney((*line)["discount_taken"].numberOr() - settlement.discountTaken),
         roundMoney((*line)["writeoff"].numberOr() - settlement.writeoff), (*line)["id"]});
    refreshPaidFlags(db, *line);
}

}  // namespace keltro::receipts
