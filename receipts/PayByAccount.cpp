#include "receipts/PayByAccount.h"

#include "framework/FieldText.h"

namespace keltro::receipts {

using framework::trimmedText;

namespace {

class PayByChecks {
public:
    PayByChecks(db::Database& db, services::Ui& ui, const PayBy& paid)
        : m_db(db), m_ui(ui), m_paid(paid), m_bankCode(trimmedText(paid.bankCode)) {}

    bool cashOrBank() {
        const std::string cash = trimmedText(m_paid.cashAccno);
        if (!cash.empty()) {
            m_account.cashAccno = m_account.debitAccno = cash;
            return true;
        }
        if (m_bankCode.empty()) return refuse("please specify cash account or bank code");
        return bank();
    }

    bool cheque() {
        if (m_bankCode.empty()) return refuse("please specify bank code");
        if (trimmedText(m_paid.checkNo).empty()) return refuse("please specify check number");
        if (!m_paid.checkDate) return refuse("please specify check date");
        return bank();
    }

    bool card(CardAccount which) {
        const std::string payby = trimmedText(m_paid.payby);
        const auto card = m_db.queryOne(
            "SELECT * FROM Credit_card_master_table WHERE card_name = ?", {payby});
        const char* column = which == CardAccount::Asset ? "asset_accno" : "payable_accno";
        m_account.debitAccno = card ? (*card)[column].textOr() : std::string();
        if (!m_account.debitAccno.empty()) return true;
        const char* kind = which == CardAccount::Asset ? "No Asset Account for "
                                                       : "No Account Payable account for ";
        return refuse(kind + payby + ".\nCheck its setting in Credit card master.");
    }

    const MoneyAccount& account() const { return m_account; }

private:
    bool refuse(const std::string& message) {
        m_ui.message(message);
        return false;
    }

    bool bank() {
        const auto bank =
            m_db.queryOne("SELECT * FROM Bank_master_table WHERE bank_code = ?", {m_bankCode});
        if (!bank) return refuse("Bank code " + m_bankCode + " is invalid.");
        m_account.debitAccno = (*bank)["account_no"].textOr();
        if (m_account.debitAccno.empty()) return refuse("Bank code : linked account is empty");
        if (!m_db.queryOne("SELECT * FROM Bank_currency_table WHERE bank_code = ? AND currency = ?",
                           {m_bankCode, m_paid.currency}))
            return refuse("This Bank code does not accept this currency (" + m_paid.currency +
                          ")");
        m_account.bankCode = m_bankCode;
        return true;
    }

    db::Database& m_db;
    services::Ui& m_ui;
    const PayBy& m_paid;
    std::string m_bankCode;
    MoneyAccount m_account;
};

}  // namespace

std::optional<MoneyAccount> checkedMoneyAccount(db::Database& db, services::Ui& ui,
                                                const PayBy& paid, CardAccount card) {
    const std::string payby = trimmedText(paid.payby);
    if (payby.empty()) {
        ui.message("please specify pay by");
        return std::nullopt;
    }
    PayByChecks checks(db, ui, paid);
    const bool passed = payby == "Cash" || payby == "Pay Later" ? checks.cashOrBank()
                        : payby == "Check"                      ? checks.cheque()
                                                                : checks.card(card);
    if (!passed) return std::nullopt;
    return checks.account();
}

}  // namespace keltro::receipts
