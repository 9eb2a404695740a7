// The general ledger's accounts as A/R uses them: the chart of accounts, the revenue
// accounts a line may be sold to, the module accounts (receivable, realized gain and
// loss, discount, write-off) and the allocation rules that spread an account's postings.
//
// An account's `debit` flag fixes the sign of journal amounts on it: a positive amount
// increases the account on its normal side. Only accounts of `type` 'A' are posted to.
//
// Module accounts live in `Account_Parameters_table` by module ('AR', 'GL') and parameter
// name. The receivable account is the first row of its parameter; the realized gain and
// loss accounts are the rows marked `default`.
//
//     const std::string receivable = moduleAccount(db, "AR", parameter::kReceivable);
//     auto account = receivableAccount(ui, customer, receivable);   // customer's own first
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/Database.h"
#include "services/Ui.h"
#include "store/ReferenceData.h"

namespace keltro::store {

struct Account {
    std::string accno;
    std::string accname;
    std::string type;  // 'A' postable, 'X' current earnings
    std::string accclass;
    std::string acctype;
    bool debit = false;  // normal balance is a debit
    bool inactive = false;
    // `acccode`, `subacc`, `subacc2` .. `subacc5`, copied onto every journal line.
    std::array<std::string, 6> segments;
};

struct AccountName {
    std::string accno;
    std::string accname;
};

std::optional<Account> findAccount(db::Database& db, std::string_view accno);

// The side a posting moves an account on.
enum class Side { Debit, Credit };
// `amount` on `side` of `accno`, signed by the journal's convention: positive when the side
// is the account's own (a debit of an asset, a credit of an income account), negative
// otherwise. An account missing from the chart counts as kept on `side`; the journal then
// says "No account " + its number.
double amountOnSide(db::Database& db, std::string_view accno, Side side, double amount);

// Postable accounts (type 'A') whose class has the parent 'REVENUE', by number.
std::vector<AccountName> revenueAccounts(db::Database& db);

// ----- module accounts ----------------------------------------------------------------

namespace parameter {
inline constexpr std::string_view kAr = "AR";
inline constexpr std::string_view kGl = "GL";
inline constexpr std::string_view kReceivable = "AR account receivable account";
inline constexpr std::string_view kDiscount = "AR discount account";
inline constexpr std::string_view kWriteOff = "AR write-off account";
inline constexpr std::string_view kRealizedGain = "GL realized gain account";
inline constexpr std::string_view kRealizedLoss = "GL realized loss account";
inline constexpr std::string_view kUnrealizedGain = "GL unrealized gain account";
inline constexpr std::string_view kUnrealizedLoss = "GL unrealized loss account";
}  // namespace parameter

// The account of the first row of the parameter; empty when none is set.
std::string moduleAccount(db::Database& db, std::string_view module,
                          std::string_view parameterName);
// The account of the parameter's row marked `default`; empty when none is set.
std::string defaultModuleAccount(db::Database& db, std::string_view module,
                                 std::string_view parameterName);

// A document's receivable account: the customer's own, else the module's. When neither
// is set, says "Error : receiveable account for <customer> is empty" and gives nothing.
std::optional<std::string> receivableAccount(services::Ui& ui, const Customer& customer,
                                             const std::string& moduleReceivable);

// ----- allocation ---------------------------------------------------------------------

struct AllocationShare {
    std::string accno;  // target account
    double percent = 0;
};

// The accounts among `accnos` and how postings to each are spread, in one query. Every
// account asked for is in `shares`; one that is not in the chart of accounts has none.
struct AccountsAndShares {
    std::map<std::string, Account, std::less<>> accounts;
    std::map<std::string, std::vector<AllocationShare>, std::less<>> shares;
};
AccountsAndShares findAccountsAndShares(db::Database& db, const std::vector<std::string>& accnos);

}  // namespace keltro::store
