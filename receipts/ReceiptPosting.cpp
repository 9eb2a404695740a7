#include "receipts/ReceiptPosting.h"

#include <cmath>

#include "services/Money.h"

namespace keltro::receipts {

using services::roundMoney;

namespace {

// Gathers the entries row by row; a row that cannot be posted stops it after a message.
class EntryCollector {
public:
    EntryCollector(services::Ui& ui, const AccountExists& accountExists,
                   const std::string& baseCurrency, const ReceiptAccounts& accounts,
                   DebitPosting debit)
        : m_ui(ui),
          m_accountExists(accountExists),
          m_base(baseCurrency),
          m_accounts(accounts),
          m_debit(debit) {}

    bool add(const ApplicationLine& line) {
        if (line.isUntouched()) return true;
        const bool foreign = line.currency != m_base;
        if (foreign && !line.receiptRate) return refuse("please specify receipt exchange rate");
        const double rr = foreign ? *line.receiptRate : 1.0;
        if (m_debit == DebitPosting::Receipt)
            received(m_accounts.debit, line.currency, line.applied, rr);
        if (line.discountTaken != 0 &&
            !charged(line.discountAccno, line.currency, line.discountTaken, rr, "discount"))
            return false;
        if (line.writeoff != 0 &&
            !charged(line.writeoffAccno, line.currency, line.writeoff, rr, "write-off"))
            return false;
        settle(line, foreign, rr);
        return true;
    }

    const services::JournalEntries& entries() const { return m_entries; }

private:
    bool refuse(const std::string& message) {
        m_ui.message(message);
        return false;
    }

    void received(const std::string& accno, const std::string& currency, double amount,
                  double rate) {
        m_entries.add(accno, currency, amount, roundMoney(amount * rate));
    }

    bool charged(const std::string& accno, const std::string& currency, double amount, double rate,
                 const std::string& what) {
        if (accno.empty()) return refuse("please specify " + what + " account");
        if (!m_accountExists(accno)) return refuse(what + " account is invalid");
        received(accno, currency, amount, rate);
        return true;
    }

    // The receivable and the exchange difference of the row.
    void settle(const ApplicationLine& line, bool foreign, double rr) {
        const double ir = foreign ? line.invoiceRate.value_or(rr) : 1.0;
        const double settled = line.settled();
        const double exchange = foreign ? roundMoney((ir - rr) * settled) : 0.0;
        if (m_debit == DebitPosting::Receipt) {
            m_entries.add(m_accounts.receivable, line.currency, -settled,
                          roundMoney(-settled * ir));
        } else {
            // The batch already credited the applied amount at the receipt's rate.
            const double rest = roundMoney(settled - line.applied);
            m_entries.add(m_accounts.receivable, line.currency, -rest, roundMoney(-rest * rr));
            if (exchange != 0) m_entries.add(m_accounts.receivable, m_base, -exchange, -exchange);
        }
        if (exchange == 0) return;
        const std::string& account =
            exchange > 0 ? m_accounts.realizedLoss : m_accounts.realizedGain;
        m_entries.add(account, m_base, std::fabs(exchange), std::fabs(exchange));
    }

    services::Ui& m_ui;
    const AccountExists& m_accountExists;
    std::string m_base;
    const ReceiptAccounts& m_accounts;
    DebitPosting m_debit;
    services::JournalEntries m_entries;
};

bool movesNothing(const services::JournalEntries& entries) {
    for (const auto& entry : entries.entries())
        if (entry.amount != 0 || entry.baseAmount != 0) return false;
    return true;
}

services::JournalHeader journalHeader(const PostedReceipt& receipt) {
    return {.source = kReceiptSource,
            .sourceForm = kReceiptForm,
            .sourceDocno = receipt.docno,
            .date = receipt.date,
            .period = std::to_string(receipt.period),
            .fyear = receipt.fyear,
            .currency = receipt.currency,
            .exchangeRate = receipt.exchangeRate,
            .remark = "receipt no. " + receipt.docno};
}

}  // namespace

std::optional<services::JournalEntries> receiptJournalEntries(
    services::Ui& ui, const AccountExists& accountExists, const std::string& baseCurrency,
    const std::vector<ApplicationLine>& lines, const ReceiptAccounts& accounts,
    DebitPosting debit) {
    EntryCollector collector(ui, accountExists, baseCurrency, accounts, debit);
    for (const auto& line : lines)
        if (!collector.add(line)) return std::nullopt;
    return collector.entries();
}

std::optional<std::string> postReceiptJournal(services::JournalContext& context,
                                              const PostedReceipt& receipt,
                                              const std::vector<ApplicationLine>& lines,
                                              const ReceiptAccounts& accounts, DebitPosting debit) {
    services::AccountCache cache(context.db());
    const AccountExists exists = [&](const std::string& accno) {
        return cache.find(accno) != nullptr;
    };
    const auto entries =
        receiptJournalEntries(context.ui(), exists, context.baseCurrency, lines, accounts, debit);
    if (!entries) return std::nullopt;
    if (movesNothing(*entries)) return std::string();
    services::JournalOptions options;
    options.ledger = services::LedgerRule::EntryCurrency;
    options.foreignRate = services::ForeignLineRate::Implied;
    options.rounding =
        services::RoundingLine{accounts.realizedGain, accounts.realizedLoss, receipt.customerNo};
    return services::PostJournal(context, journalHeader(receipt), *entries, options);
}

}  // namespace keltro::receipts
