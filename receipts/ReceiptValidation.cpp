#include "receipts/ReceiptValidation.h"

#include <cstdlib>

#include "framework/FieldText.h"
#include "receipts/PayByAccount.h"

#include "services/Money.h"

namespace keltro::receipts {

using framework::trimmedText;

namespace {


// One run of the checks over a draft; each step says what failed and gives false.
class ReceiptChecks {
public:
    ReceiptChecks(const CheckContext& context, const ReceiptDraft& draft)
        : m_context(context), m_draft(draft) {
        m_checked.foreign = draft.currency != context.baseCurrency;
    }

    bool currency() {
        return !trimmedText(m_draft.currency).empty() || refuse("please specify currency");
    }

    bool rate() {
        if (!m_checked.foreign) return true;
        const auto rate =
            checkedForeignRate(m_context.db, m_context.ui, m_draft.currency, m_draft.rateText);
        if (!rate) return false;
        m_checked.rate = *rate;
        return true;
    }

    bool amount() {
        const auto amount = checkedReceiptAmount(m_context.ui, m_draft.amountText);
        if (!amount) return false;
        m_checked.amount = *amount;
        return true;
    }

    bool totalNotNegative() { return m_draft.totals.base >= 0 || refuse("Total amount must >= 0"); }

    // The base amount is known once the rate is: without a usable rate the comparison
    // waits for the rate check.
    bool coversTotal(const std::string& message) {
        if (m_checked.foreign) {
            const auto rate = numberOf(m_draft.rateText);
            if (!rate || *rate <= 0) return true;
            m_checked.rate = *rate;
        }
        m_checked.baseAmount =
            receiptBaseAmount(m_checked.amount, m_checked.rate, m_checked.foreign);
        return m_checked.baseAmount >= m_draft.totals.base || refuse(message);
    }

    bool dateAndCustomer() {
        if (!m_draft.receiptDate) return refuse("please specify receipt date");
        m_checked.receiptDate = *m_draft.receiptDate;
        return !trimmedText(m_draft.customerNo).empty() || refuse("please specify customer");
    }

    bool bankChosen() {
        return !trimmedText(m_draft.bankCode).empty() || refuse("Please specify Bank account");
    }

    bool payby() {
        const auto account = checkedMoneyAccount(
            m_context.db, m_context.ui,
            {m_draft.payby, m_draft.cashAccno, m_draft.bankCode, m_draft.checkNo,
             m_draft.checkDate, m_draft.currency},
            CardAccount::Asset);
        if (!account) return false;
        m_checked.debitAccno = account->debitAccno;
        m_checked.cashAccno = account->cashAccno;
        m_checked.bankCode = account->bankCode;
        return true;
    }

    bool customerExists() {
        const auto customer = store::findCustomer(m_context.db, trimmedText(m_draft.customerNo));
        if (!customer) return refuse("customer_no invalid value");
        m_checked.customer = *customer;
        return true;
    }

    bool chequeOrReference() {
        if (trimmedText(m_draft.checkNo).empty() && trimmedText(m_draft.receiptNo).empty())
            return refuse("please specify check number or receipt number");
        return trimmedText(m_draft.checkNo).empty() || m_draft.checkDate ||
               refuse("please specify check date");
    }

    bool periodAndYear() {
        const auto checked = checkedPeriodAndYear(m_context.ui, m_draft.periodText, m_draft.fyear);
        if (!checked) return false;
        m_checked.period = checked->period;
        m_checked.fyear = checked->fyear;
        return true;
    }

    bool workingPeriod() {
        return checkReceiptWorkingPeriod(m_context.db, m_context.ui, m_checked.fyear,
                                         m_checked.period);
    }

    const CheckedReceipt& checked() const { return m_checked; }

private:
    bool refuse(const std::string& message) {
        m_context.ui.message(message);
        return false;
    }

    const CheckContext& m_context;
    const ReceiptDraft& m_draft;
    CheckedReceipt m_checked;
};

}  // namespace

std::optional<CheckedReceipt> checkNewReceipt(const CheckContext& context,
                                              const ReceiptDraft& draft) {
    ReceiptChecks c(context, draft);
    const bool passed = c.currency() && c.rate() && c.amount() && c.totalNotNegative() &&
                        c.coversTotal("Receipt amount cannot less than Total amount.") &&
                        c.dateAndCustomer() && c.payby() && c.customerExists() &&
                        c.periodAndYear() && c.workingPeriod();
    if (!passed) return std::nullopt;
    return c.checked();
}

std::optional<CheckedReceipt> checkFastCompletion(const CheckContext& context,
                                                  const ReceiptDraft& draft) {
    ReceiptChecks c(context, draft);
    const std::string shortOfTotal =
        "Receipt amount cannot less than Payment amount (Total Amount)";
    const bool passed = c.amount() && c.totalNotNegative() && c.coversTotal(shortOfTotal) &&
                        c.dateAndCustomer() && c.bankChosen() && c.payby() && c.customerExists() &&
                        c.currency() && c.rate() && c.coversTotal(shortOfTotal) &&
                        c.chequeOrReference() && c.periodAndYear() && c.workingPeriod();
    if (!passed) return std::nullopt;
    return c.checked();
}

bool isWithinReceiptWorkingPeriod(const store::WorkingPeriodConfig& config,
                                  const std::string& fyear, int period) {
    const auto& working = config.working;
    if (!config.activated || !working.startPeriod || !working.endPeriod) return true;
    const std::string key = store::periodKey(fyear, period);
    if (working.contains(key)) return true;
    const auto& allowed = config.allowed;
    return config.allowHistoryUpdate && allowed.startPeriod && allowed.endPeriod &&
           allowed.contains(key);
}

std::optional<double> checkedReceiptAmount(services::Ui& ui, const std::string& amountText) {
    const auto refuse = [&](const char* message) -> std::optional<double> {
        ui.message(message);
        return std::nullopt;
    };
    if (trimmedText(amountText).empty()) return refuse("please specify receipt amount");
    const auto typed = numberOf(amountText);
    if (!typed) return refuse("receipt amount is invalid");
    const double amount = services::roundMoney(*typed);
    if (amount == 0) return refuse("please specify receipt amount");
    if (amount < 0) return refuse("receipt amount must be positive");
    return amount;
}

std::optional<double> checkedForeignRate(db::Database& db, services::Ui& ui,
                                         const std::string& currency, const std::string& rateText) {
    const auto refuse = [&](const std::string& message) -> std::optional<double> {
        ui.message(message);
        return std::nullopt;
    };
    if (!store::isWorkingCurrency(db, currency)) return refuse(currency + " is invalid");
    if (trimmedText(rateText).empty()) return refuse("please specify exchange rate");
    const auto rate = numberOf(rateText);
    if (!rate || *rate <= 0) return refuse("exchange rate is invalid");
    return rate;
}

std::optional<PeriodAndYear> checkedPeriodAndYear(services::Ui& ui, const std::string& periodText,
                                                  const std::string& fyearText) {
    const std::string period = trimmedText(periodText);
    char* end = nullptr;
    const long number = std::strtol(period.c_str(), &end, 10);
    if (period.empty() || *end != '\0') {
        ui.message("please specify period");
        return std::nullopt;
    }
    if (trimmedText(fyearText).empty()) {
        ui.message("please specify fiscal year");
        return std::nullopt;
    }
    return PeriodAndYear{static_cast<int>(number), trimmedText(fyearText)};
}

bool checkReceiptWorkingPeriod(db::Database& db, services::Ui& ui, const std::string& fyear,
                               int period) {
    const auto config = store::loadWorkingPeriodConfig(db);
    if (!config || isWithinReceiptWorkingPeriod(*config, fyear, period)) return true;
    ui.message(std::string(store::kOutOfWorkingPeriod));
    return false;
}

double receiptBaseAmount(double amount, double rate, bool foreign) {
    return foreign ? services::roundMoney(amount * rate) : amount;
}

}  // namespace keltro::receipts
