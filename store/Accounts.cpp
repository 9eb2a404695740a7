#include "store/Accounts.h"

namespace keltro::store {

namespace {

Account readAccount(const db::Row& row) {
    Account a;
    a.accno = row["accno"].textOr();
    a.accname = row["accname"].textOr();
    a.type = row["type"].textOr();
    a.accclass = row["accclass"].textOr();
    a.acctype = row["acctype"].textOr();
    a.debit = row["debit"].booleanOr(false);
    a.inactive = row["inactive"].booleanOr(false);
    const char* segmentColumns[] = {"acccode", "subacc",  "subacc2",
                                    "subacc3", "subacc4", "subacc5"};
    for (std::size_t i = 0; i < a.segments.size(); ++i)
        a.segments[i] = row[segmentColumns[i]].textOr();
    return a;
}

std::string accnoOf(const std::optional<db::Row>& row) {
    return row ? (*row)["accno"].textOr() : std::string();
}

}  // namespace

std::optional<Account> findAccount(db::Database& db, std::string_view accno) {
    auto row = db.queryOne("SELECT * FROM [Account_master_table] WHERE [accno] = ?", {accno});
    if (!row) return std::nullopt;
    return readAccount(*row);
}

double amountOnSide(db::Database& db, std::string_view accno, Side side, double amount) {
    const auto account = findAccount(db, accno);
    const bool debited = side == Side::Debit;
    return !account || account->debit == debited ? amount : 0.0 - amount;
}

std::vector<AccountName> revenueAccounts(db::Database& db) {
    std::vector<AccountName> accounts;
    for (const auto& row : db.query(
             "SELECT accno, accname FROM Account_master_table INNER JOIN Account_class_table "
             "ON Account_master_table.accclass = Account_class_table.class_name "
             "WHERE [type] = 'A' AND [parent] = 'REVENUE' ORDER BY [accno]"))
        accounts.push_back({row["accno"].textOr(), row["accname"].textOr()});
    return accounts;
}

std::string moduleAccount(db::Database& db, std::string_view module,
                          std::string_view parameterName) {
    return accnoOf(db.queryOne("SELECT accno FROM Account_Parameters_table WHERE module = ? "
                               "AND parameter_name = ? LIMIT 1",
                               {module, parameterName}));
}

std::string defaultModuleAccount(db::Database& db, std::string_view module,
                                 std::string_view parameterName) {
    return accnoOf(db.queryOne("SELECT accno FROM Account_Parameters_table WHERE module = ? "
                               "AND parameter_name = ? AND [default] = TRUE LIMIT 1",
                               {module, parameterName}));
}

std::optional<std::string> receivableAccount(services::Ui& ui, const Customer& customer,
                                             const std::string& moduleReceivable) {
    if (!customer.arAccno.empty()) return customer.arAccno;
    if (!moduleReceivable.empty()) return moduleReceivable;
    ui.message("Error : receiveable account for " + customer.customerNo + " is empty");
    return std::nullopt;
}

namespace {

db::Params paramsOf(const std::vector<std::string>& texts) { return {texts.begin(), texts.end()}; }

}  // namespace

AccountsAndShares findAccountsAndShares(db::Database& db, const std::vector<std::string>& accnos) {
    AccountsAndShares read;
    for (const auto& accno : accnos) read.shares[accno];
    if (accnos.empty()) return read;
    for (const auto& row : db.query(
             "SELECT a.*, s.accno AS share_accno, s.Percent AS share_percent "
             "FROM [Account_master_table] a LEFT JOIN [Allocation_Account_table] s "
             "ON s.allocate_accno = a.accno WHERE a.[accno] IN " + db::placeholders(accnos.size()),
             paramsOf(accnos))) {
        const std::string accno = row["accno"].textOr();
        if (!read.accounts.contains(accno)) read.accounts.emplace(accno, readAccount(row));
        if (!row["share_accno"].isNull())
            read.shares[accno].push_back({row["share_accno"].textOr(), row["share_percent"].numberOr()});
    }
    return read;
}

}  // namespace keltro::store
