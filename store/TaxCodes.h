// Tax codes and the tax authorities behind them.
//
// A document line carries one tax code (`Tax_code_table`); the code stands for up to
// several authorities (`Tax_code_details_table`, in `item_no` order), each with its rate,
// lower and upper bound of the tax of one line and liability account
// (`Tax_authority_table`). An authority flagged `taxable` is compound: its tax is itself
// taxed by the authorities that follow it. Only codes with `transaction_type` 'sales'
// serve A/R documents.
//
//     for (const auto& a : salesTaxAuthorities(db, "GST-PST"))   // GST first, then PST
//         ...
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/Database.h"
#include "services/Ui.h"

namespace keltro::store {

struct TaxCode {
    std::string code;
    std::string description;
    std::string transactionType;  // 'sales' for codes usable on A/R documents
    bool isDefault = false;
};

// One authority of a code, as a line's tax is computed from it.
struct TaxAuthorityRate {
    int itemNo = 0;  // fixes the tax slot of the line it fills
    std::string authority;
    double rate = 0;  // percent
    std::optional<double> minCharged;  // empty or 0: no bound
    std::optional<double> maxCharged;
    bool taxable = false;  // compound: this tax is taxed by the authorities that follow
    std::string liabilityAccno;
};

struct TaxAuthority {
    std::string authority;
    double rate = 0;
    std::optional<double> minCharged;
    std::optional<double> maxCharged;
    std::string liabilityAccno;  // `acc_liability`
};

std::optional<TaxCode> findTaxCode(db::Database& db, std::string_view code);

// Which codes may be the default: the code given to a line without one takes the default
// among the 'sales' codes; the recomputation after a changed cell takes any default code.
enum class DefaultTaxScope { SalesCodes, AnyCode };
std::optional<TaxCode> defaultTaxCode(db::Database& db, DefaultTaxScope scope);
// The same; when there is none, says "Default Tax code has not been set".
std::optional<TaxCode> requireDefaultTaxCode(db::Database& db, services::Ui& ui,
                                             DefaultTaxScope scope);

// The code's 'sales' authorities in `item_no` order.
std::vector<TaxAuthorityRate> salesTaxAuthorities(db::Database& db, std::string_view code);

std::optional<TaxAuthority> findTaxAuthority(db::Database& db, std::string_view authority);

}  // namespace keltro::store
