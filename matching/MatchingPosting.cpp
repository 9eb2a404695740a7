#include "matching/MatchingPosting.h"

#include <algorithm>

#include "services/Money.h"

namespace keltro::matching {

using services::roundMoney;

namespace {

// Gathers the entries line by line; a line that cannot be posted stops it after a message.
class EntryCollector {
public:
    EntryCollector(services::Ui& ui, const AccountSide& sideOf, const std::string& baseCurrency,
                   const MatchingAccounts& accounts)
        : m_ui(ui), m_sideOf(sideOf), m_base(baseCurrency), m_accounts(accounts) {}

    bool add(const MatchingLine& line) {
        const auto& l = line.amounts;
        if (l.isUntouched()) return true;
        const bool foreign = !l.currency.empty() && l.currency != m_base;
        if (foreign && !l.receiptRate) return refuse("please specify receipt exchange rate");
        const double rate = foreign ? *l.receiptRate : 1.0;
        if (l.discountTaken > 0 &&
            !charge(l.discountAccno, "discount", l.currency, l.discountTaken, rate))
            return false;
        if (l.writeoff > 0 && !charge(l.writeoffAccno, "write-off", l.currency, l.writeoff, rate))
            return false;
        const double charged = roundMoney(std::max(l.discountTaken, 0.0) + std::max(l.writeoff, 0.0));
        if (!foreign) return charged <= 0 || credit(m_accounts.receivable, m_base, charged, charged);
        const double invoiceRate = l.invoiceRate.value_or(rate);
        return credit(m_accounts.receivable, l.currency, charged,
                      roundMoney(charged * invoiceRate)) &&
               exchange(l, rate, invoiceRate);
    }

    MatchingEntries entries() const { return m_entries; }

private:
    bool refuse(const std::string& message) {
        m_ui.message(message);
        return false;
    }

    // The account's side, or a message when it does not exist.
    std::optional<bool> side(const std::string& accno) {
        const auto debit = m_sideOf(accno);
        if (!debit) m_ui.message("No account " + accno);
        return debit;
    }

    // A debit of `base` (and `amount` in a foreign currency) signed for the account.
    bool debit(const std::string& accno, const std::string& currency, double amount,
               double base) {
        const auto debitSide = side(accno);
        if (!debitSide) return false;
        const double sign = *debitSide ? 1.0 : -1.0;
        m_entries.base.add(accno, m_base, sign * base, sign * base);
        if (currency != m_base) m_entries.currency.add(accno, currency, sign * amount, 0);
        return true;
    }

    bool credit(const std::string& accno, const std::string& currency, double amount,
                double base) {
        return debit(accno, currency, -amount, -base);
    }

    bool charge(const std::string& accno, const std::string& what, const std::string& currency,
                double amount, double rate) {
        if (accno.empty()) return refuse("please specify " + what + " account");
        if (!m_sideOf(accno)) return refuse(what + " account is invalid");
        const bool foreign = currency != m_base;
        return debit(accno, foreign ? currency : m_base, amount,
                     foreign ? roundMoney(amount * rate) : amount);
    }

    // The difference between the receipt rate and the item's own: x on the realized gain
    // (a credit) or loss (a debit) account; the receivable moves by the applied part of it.
    bool exchange(const receipts::ApplicationLine& l, double rate, double invoiceRate) {
        if (rate == invoiceRate) return true;
        const double x = roundMoney((rate - invoiceRate) * l.settled());
        const double onApplied = roundMoney((rate - invoiceRate) * l.applied);
        if (x > 0 && !credit(m_accounts.realizedGain, m_base, x, x)) return false;
        if (x < 0 && !debit(m_accounts.realizedLoss, m_base, -x, -x)) return false;
        return onApplied == 0 || debit(m_accounts.receivable, m_base, onApplied, onApplied);
    }

    services::Ui& m_ui;
    const AccountSide& m_sideOf;
    std::string m_base;
    const MatchingAccounts& m_accounts;
    MatchingEntries m_entries;
};

services::JournalOptions matchingJournalOptions() {
    services::JournalOptions options;
    options.ledger = services::LedgerRule::EntryCurrency;
    options.foreignRate = services::ForeignLineRate::None;
    options.baseAmountOnLines = false;
    options.stampUserid = true;
    return options;
}

}  // namespace

std::optional<MatchingEntries> matchingEntries(services::Ui& ui, const AccountSide& sideOf,
                                               const std::string& baseCurrency,
                                               const std::vector<MatchingLine>& lines,
                                               const MatchingAccounts& accounts) {
    EntryCollector collector(ui, sideOf, baseCurrency, accounts);
    for (const auto& line : lines)
        if (!collector.add(line)) return std::nullopt;
    return collector.entries();
}

std::optional<std::string> postMatchingJournal(services::JournalContext& context,
                                               const PostedMatching& matching,
                                               const std::vector<MatchingLine>& lines,
                                               const MatchingAccounts& accounts) {
    if (accounts.receivable.empty()) {
        context.ui().message("Error : receiveable account for " + matching.customerNo +
                             " is empty");
        return std::nullopt;
    }
    services::AccountCache cache(context.db());
    const AccountSide sideOf = [&](const std::string& accno) -> std::optional<bool> {
        const store::Account* account = cache.find(accno);
        return account ? std::optional(account->debit) : std::nullopt;
    };
    const auto entries =
        matchingEntries(context.ui(), sideOf, context.baseCurrency, lines, accounts);
    if (!entries) return std::nullopt;
    services::JournalEntries all = entries->base;
    all.append(entries->currency);
    const services::JournalHeader header{.source = kMatchingSource,
                                         .sourceForm = kMatchingForm,
                                         .sourceDocno = matching.docno,
                                         .date = matching.date,
                                         .period = std::to_string(matching.period),
                                         .fyear = matching.fyear,
                                         .currency = context.baseCurrency,
                                         .remark = "receipt no. " + matching.docno};
    return services::PostJournal(context, header, all, matchingJournalOptions());
}

}  // namespace keltro::matching
