#include "store/TaxCodes.h"

#include "store/ColumnValues.h"

namespace keltro::store {

namespace {

TaxCode readTaxCode(const db::Row& row) {
    return {row["tax_code"].textOr(), row["description"].textOr(),
            row["transaction_type"].textOr(), row["default"].booleanOr(false)};
}

std::optional<TaxCode> firstTaxCode(const std::optional<db::Row>& row) {
    if (!row) return std::nullopt;
    return readTaxCode(*row);
}

}  // namespace

std::optional<TaxCode> findTaxCode(db::Database& db, std::string_view code) {
    return firstTaxCode(db.queryOne("SELECT * FROM Tax_code_table WHERE tax_code = ?", {code}));
}

std::optional<TaxCode> defaultTaxCode(db::Database& db, DefaultTaxScope scope) {
    return firstTaxCode(scope == DefaultTaxScope::SalesCodes
                            ? db.queryOne("SELECT * FROM Tax_code_table WHERE "
                                          "transaction_type = 'sales' AND [default] = TRUE")
                            : db.queryOne("SELECT * FROM Tax_code_table WHERE [default] = TRUE"));
}

std::optional<TaxCode> requireDefaultTaxCode(db::Database& db, services::Ui& ui,
                                             DefaultTaxScope scope) {
    auto code = defaultTaxCode(db, scope);
    if (!code) ui.message("Default Tax code has not been set");
    return code;
}

std::vector<TaxAuthorityRate> salesTaxAuthorities(db::Database& db, std::string_view code) {
    const db::Rows rows = db.query(
        "SELECT Tax_code_details_table.item_no, Tax_code_details_table.tax_authority, "
        "Tax_authority_table.Rate, Tax_authority_table.min_charged, "
        "Tax_authority_table.max_charged, Tax_code_details_table.taxable, "
        "Tax_authority_table.acc_liability "
        "FROM Tax_code_details_table INNER JOIN Tax_authority_table "
        "ON Tax_code_details_table.tax_authority = Tax_authority_table.tax_authority "
        "WHERE tax_code = ? AND transaction_type = 'sales' ORDER BY item_no",
        {code});
    std::vector<TaxAuthorityRate> authorities;
    for (const auto& row : rows)
        authorities.push_back({optionalInt(row["item_no"]).value_or(0),
                               row["tax_authority"].textOr(), row["Rate"].numberOr(),
                               row["min_charged"].number(), row["max_charged"].number(),
                               row["taxable"].booleanOr(false), row["acc_liability"].textOr()});
    return authorities;
}

std::optional<TaxAuthority> findTaxAuthority(db::Database& db, std::string_view authority) {
    auto row = db.queryOne("SELECT * FROM Tax_authority_table WHERE [tax_authority] = ?",
                           {authority});
    if (!row) return std::nullopt;
    return TaxAuthority{(*row)["tax_authority"].textOr(), (*row)["Rate"].numberOr(),
                        (*row)["min_charged"].number(), (*row)["max_charged"].number(),
                        (*row)["acc_liability"].textOr()};
}

}  // namespace keltro::store
