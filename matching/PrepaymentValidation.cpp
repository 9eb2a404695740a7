#include "matching/PrepaymentValidation.h"

#include "framework/FieldText.h"
#include "receipts/ReceiptValidation.h"
#include "store/WorkingPeriod.h"

namespace keltro::matching {

using framework::trimmedText;

namespace {

constexpr const char* kCash = "Cash";
constexpr const char* kCheck = "Check";

// One run of the checks over a draft; each step says what failed and gives false.
class PrepaymentChecks {
public:
    PrepaymentChecks(const PrepaymentCheckContext& context, const PrepaymentDraft& draft)
        : m_context(context), m_draft(draft) {}

    bool amount() {
        const auto amount = receipts::checkedReceiptAmount(m_context.ui, m_draft.amountText);
        if (!amount) return false;
        m_checked.amount = *amount;
        return true;
    }

    bool receiptDate() {
        if (!m_draft.receiptDate) return refuse("please specify receipt date");
        m_checked.receiptDate = *m_draft.receiptDate;
        return true;
    }

    bool customer() {
        const std::string customerNo = trimmedText(m_draft.customerNo);
        if (customerNo.empty()) return refuse("please specify customer");
        const auto customer = store::findCustomer(m_context.db, customerNo);
        if (!customer) return refuse("customer_no invalid value");
        m_checked.customer = *customer;
        return true;
    }

    bool payby() {
        const std::string payby = trimmedText(m_draft.payby);
        if (payby.empty() || payby == "Pay Later") return refuse("please specify pay by");
        if (payby == kCash && cashAccno().empty() && bankCode().empty())
            return refuse("please specify cash account or bank code");
        if (payby != kCheck) return true;
        if (bankCode().empty()) return refuse("please specify bank code");
        if (trimmedText(m_draft.checkNo).empty()) return refuse("please specify check number");
        return m_draft.checkDate || refuse("please specify check date");
    }

    bool cashSide() {
        const std::string payby = trimmedText(m_draft.payby);
        if (payby == kCash && !cashAccno().empty()) return cashSideIs(cashAccno());
        if (payby == kCash || payby == kCheck) {
            const auto bank = m_context.db.queryOne(
                "SELECT account_no FROM Bank_master_table WHERE bank_code = ?", {bankCode()});
            if (!bank) return refuse("Bank code " + bankCode() + " is invalid.");
            return cashSideIs((*bank)["account_no"].textOr());
        }
        const auto card = m_context.db.queryOne(
            "SELECT payable_accno FROM Credit_card_master_table WHERE card_name = ?", {payby});
        if (!card)
            return refuse("No Account Payable account for " + payby + ".\n" +
                          "Check its setting in Credit card master.");
        return cashSideIs((*card)["payable_accno"].textOr());
    }

    bool currency() {
        const std::string currency = trimmedText(m_draft.currency);
        if (currency.empty()) return refuse("please specify currency");
        m_checked.foreign = currency != m_context.baseCurrency;
        if (!m_checked.foreign) {
            m_checked.baseAmount = m_checked.amount;
            return true;
        }
        const auto rate =
            receipts::checkedForeignRate(m_context.db, m_context.ui, currency, m_draft.rateText);
        if (!rate) return false;
        m_checked.rate = *rate;
        m_checked.baseAmount = receipts::receiptBaseAmount(m_checked.amount, *rate, true);
        return true;
    }

    bool periodAndYear() {
        const auto checked =
            receipts::checkedPeriodAndYear(m_context.ui, m_draft.periodText, m_draft.fyear);
        if (!checked) return false;
        m_checked.period = checked->period;
        m_checked.fyear = checked->fyear;
        return true;
    }

    bool workingPeriod() {
        return store::checkWorkingPeriod(m_context.db, m_context.ui, m_checked.fyear,
                                         m_checked.period);
    }

    const CheckedPrepayment& checked() const { return m_checked; }

private:
    bool refuse(const std::string& message) {
        m_context.ui.message(message);
        return false;
    }

    std::string cashAccno() const { return trimmedText(m_draft.cashAccno); }
    std::string bankCode() const { return trimmedText(m_draft.bankCode); }

    bool cashSideIs(const std::string& accno) {
        m_checked.cashSideAccno = accno;
        return true;
    }

    const PrepaymentCheckContext& m_context;
    const PrepaymentDraft& m_draft;
    CheckedPrepayment m_checked;
};

}  // namespace

std::optional<CheckedPrepayment> checkNewPrepayment(const PrepaymentCheckContext& context,
                                                    const PrepaymentDraft& draft) {
    PrepaymentChecks c(context, draft);
    const bool passed = c.amount() && c.receiptDate() && c.customer() && c.payby() &&
                        c.cashSide() && c.currency() && c.periodAndYear() && c.workingPeriod();
    if (!passed) return std::nullopt;
    return c.checked();
}

}  // namespace keltro::matching
