#include "services/JournalWriter.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "services/Money.h"
#include "services/PostingChecks.h"

namespace keltro::services {

namespace {

constexpr const char* kJournalDoctype = "gl";

db::Value textOrNull(const std::string& text) {
    return text.empty() ? db::Value() : db::Value(text);
}

// The ledger, currency and rate of a line.
struct LineLedger {
    std::string currency;
    std::string ledgertype;
    std::optional<double> exchangeRate;
};

// A line before it is written: account and amounts.
struct LineAmounts {
    std::string accno;
    double amount = 0;
    double baseAmount = 0;
};

// An entry is written unless both its amounts are 0. Its currency amount alone may be 0:
// a document and a credit note of one currency taken at different rates net to nothing
// in their currency and still leave a base-currency difference the journal must carry.
bool movesSomething(const AccountCurrencyTotal& entry) {
    return entry.amount != 0 || entry.baseAmount != 0;
}

// The lines of one entry: itself, or itself, its reversal and its allocation targets.
std::vector<LineAmounts> spreadAllocation(const AccountCurrencyTotal& entry,
                                         const std::vector<store::AllocationShare>& shares) {
    std::vector<LineAmounts> lines{{entry.accno, entry.amount, entry.baseAmount}};
    if (shares.empty()) return lines;
    lines.push_back({entry.accno, -entry.amount, -entry.baseAmount});
    for (const auto& share : shares)
        lines.push_back({share.accno, roundMoney(entry.amount * share.percent / 100),
                         roundMoney(entry.baseAmount * share.percent / 100)});
    return lines;
}

// One journal being written: its numbers, line counter, running total and the accounts
// and currency pairings already looked at.
class JournalPosting {
public:
    JournalPosting(JournalContext& context, const JournalHeader& header,
                   const JournalOptions& options, const NewDocumentNumbers& numbers)
        : m_context(context),
          m_header(header),
          m_options(options),
          m_numbers(numbers),
          m_accounts(context.db()) {}

    // Reads the accounts of the entries and how they are spread in one query, then their
    // balance rows.
    void readAccountsOf(const std::vector<AccountCurrencyTotal>& entries) {
        std::vector<std::string> accnos;
        for (const auto& entry : entries)
            if (movesSomething(entry) && std::find(accnos.begin(), accnos.end(), entry.accno) == accnos.end())
                accnos.push_back(entry.accno);
        m_shares = m_accounts.prefetch(accnos);
        m_context.ledger.balanceRows().prefetch(withCurrentEarnings(accnos), m_header.fyear);
    }

    // The accounts and, when a revenue or expense account is among them, the
    // current-earnings account their lines also move.
    std::vector<std::string> withCurrentEarnings(std::vector<std::string> accnos) {
        const bool movesEarnings = std::any_of(accnos.begin(), accnos.end(), [&](const std::string& accno) {
            const store::Account* account = m_accounts.find(accno);
            return account && account->acctype == kIncomeStatement;
        });
        if (movesEarnings)
            if (const auto earnings = m_context.ledger.currentEarningsAccountIfSet())
                if (std::find(accnos.begin(), accnos.end(), *earnings) == accnos.end()) accnos.push_back(*earnings);
        return accnos;
    }

    // An entry of those read by `readAccountsOf`.
    bool writeEntry(const AccountCurrencyTotal& entry) {
        for (const auto& line : spreadAllocation(entry, m_shares.at(entry.accno)))
            if (!writeLine(line, ledgerOf(entry.currency, line), m_options.lineCustomerNo))
                return false;
        return true;
    }

    // The foreign-currency rounding line, when the journal is off by less than 1.
    bool writeRounding() {
        const auto& rounding = m_options.rounding;
        const double difference = m_total;
        if (!rounding || !isForeign(m_header.currency) || difference == 0 ||
            std::fabs(difference) >= 1)
            return true;
        const std::string& accno = difference > 0 ? rounding->gainAccno : rounding->lossAccno;
        const store::Account* account = findAccount(accno);
        if (!account) return false;
        const double amount = account->debit ? -difference : difference;
        return writeLine({accno, amount, amount},
                         {m_context.baseCurrency, "A", m_header.exchangeRate},
                         rounding->customerNo);
    }

    // The balance check over the lines this posting wrote, as they were written: the
    // journal's key is new, so no other line carries it.
    bool balances() const { return CheckDocumentBalance(m_context.ui(), m_written); }

private:
    bool isForeign(const std::string& currency) const { return currency != m_context.baseCurrency; }

    LineLedger ledgerOf(const std::string& entryCurrency, const LineAmounts& line) const {
        const std::string& currency =
            m_options.ledger == LedgerRule::DocumentCurrency ? m_header.currency : entryCurrency;
        if (!isForeign(currency)) return {m_context.baseCurrency, "A", std::nullopt};
        return {currency, "F", foreignRate(line)};
    }

    std::optional<double> foreignRate(const LineAmounts& line) const {
        switch (m_options.foreignRate) {
            case ForeignLineRate::Document:
                return m_header.exchangeRate;
            case ForeignLineRate::Implied:
                return ImpliedExchangeRate(line.amount, line.baseAmount);
            case ForeignLineRate::None:
                break;
        }
        return std::nullopt;
    }

    const store::Account* findAccount(const std::string& accno) {
        const store::Account* account = m_accounts.find(accno);
        if (!account) m_context.ui().message("No account " + accno);
        return account;
    }

    // A foreign currency must be one of the account's; a new pairing is made here.
    bool currencyAllowed(const std::string& accno, const std::string& currency) {
        if (!isForeign(currency) || m_pairings.contains({accno, currency})) return true;
        if (!AccountCurrencyExists(m_context.db(), accno, currency) &&
            !EnsureAccountCurrency(m_context.ledger, accno, currency)) {
            m_context.ui().message("Account " + accno + " has not been set for currency " +
                                   currency);
            return false;
        }
        m_pairings.insert({accno, currency});
        return true;
    }

    bool writeLine(const LineAmounts& amounts, const LineLedger& ledger,
                   const std::optional<std::string>& customerNo) {
        const store::Account* account = findAccount(amounts.accno);
        if (!account || !currencyAllowed(amounts.accno, ledger.currency)) return false;
        const JournalLine line = makeLine(*account, amounts, ledger, customerNo);
        if (!PostJournalLine(m_context, line, *account)) return false;
        m_total = AddToJournalTotal(m_total, account->debit, line.baseAmount);
        m_written.push_back({account->accno, true, account->inactive, account->debit, line.baseAmount});
        return true;
    }

    JournalLine makeLine(const store::Account& account, const LineAmounts& amounts,
                         const LineLedger& ledger, const std::optional<std::string>& customerNo) {
        JournalLine line;
        line.fkey = m_numbers.fkey;
        line.docno = m_numbers.docno;
        line.lineno = ++m_lineno;
        line.accno = account.accno;
        line.segments = account.segments;
        line.amount = amounts.amount;
        if (m_options.baseAmountOnLines) line.baseAmount = amounts.baseAmount;
        line.currency = ledger.currency;
        line.ledgertype = ledger.ledgertype;
        line.exchangeRate = ledger.exchangeRate;
        line.gldate = m_header.date;
        line.period = m_header.period;
        line.fyear = m_header.fyear;
        line.customerNo = customerNo;
        line.source = m_header.source;
        line.sourceForm = m_header.sourceForm;
        line.sourceDocno = m_header.sourceDocno;
        StampJournalLine(m_context, line);
        if (m_options.stampUserid) std::swap(line.userCreated, line.userid);
        return line;
    }

    JournalContext& m_context;
    const JournalHeader& m_header;
    const JournalOptions& m_options;
    const NewDocumentNumbers& m_numbers;
    AccountCache m_accounts;
    std::map<std::string, std::vector<store::AllocationShare>, std::less<>> m_shares;
    std::set<std::pair<std::string, std::string>> m_pairings;
    std::int64_t m_lineno = 0;
    double m_total = 0;
    std::vector<CheckedLine> m_written;
};

}  // namespace

void JournalEntries::add(std::string_view accno, std::string_view currency, double amount,
                         double baseAmount) {
    const bool known = std::any_of(m_entries.begin(), m_entries.end(), [&](const auto& entry) {
        return entry.accno == accno && entry.currency == currency;
    });
    if (!known && m_entries.size() >= kMaxEntries) {
        if (!m_refused)
            m_refused = AccountCurrencyTotal{std::string(accno), std::string(currency),
                                             roundMoney(amount), roundMoney(baseAmount)};
        return;
    }
    AccumulateByAccountCurrency(m_entries, accno, amount, baseAmount, currency);
}

void JournalEntries::append(const JournalEntries& other) {
    for (const auto& entry : other.m_entries)
        add(entry.accno, entry.currency, entry.amount, entry.baseAmount);
    if (other.m_refused && !m_refused) m_refused = other.m_refused;
}

void InsertJournalHeader(JournalContext& context, const JournalHeader& header,
                         const NewDocumentNumbers& numbers) {
    const bool foreign = header.currency != context.baseCurrency;
    context.db().queue(
        "INSERT INTO GL_header_table (company, doctype, docno, fkey, Description, remark, "
        "gldate, Source, source_docno, source_form, Currency, exchange_rate, period, fyear, "
        "Reverse, user_created, date_created, time_created) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, FALSE, ?, ?, ?)",
        {kLedgerCompany, kJournalDoctype, numbers.docno, numbers.fkey,
         textOrNull(header.description), textOrNull(header.remark), header.date, header.source,
         header.sourceDocno, header.sourceForm, header.currency,
         foreign ? db::Value(header.exchangeRate) : db::Value(), header.period, header.fyear,
         context.user, context.clock.today(), context.clock.timeOfDay()});
}

std::optional<std::string> PostJournal(JournalContext& context, const JournalHeader& header,
                                       const JournalEntries& entries,
                                       const JournalOptions& options) {
    if (const auto& refused = entries.refused()) {
        context.ui().message(
            "Error : the journal needs more than 50 account and currency entries; account " +
            refused->accno + " in " + refused->currency + " is one too many.");
        return std::nullopt;
    }
    const auto numbers = NumberNewDocument(context.db(), context.ui(), kLedgerCompany,
                                           kJournalDoctype, header.fyear);
    if (!numbers) return std::nullopt;
    InsertJournalHeader(context, header, *numbers);
    JournalPosting posting(context, header, options, *numbers);
    DeferredBalances balances(context.ledger);
    posting.readAccountsOf(entries.entries());
    for (const auto& entry : entries.entries())
        if (movesSomething(entry) && !posting.writeEntry(entry)) return std::nullopt;
    if (!posting.writeRounding()) return std::nullopt;
    balances.flush();
    if (!posting.balances()) return std::nullopt;
    return numbers->fkey;
}

double ImpliedExchangeRate(double amount, double baseAmount) {
    const double rate = amount == 0 ? 1.0 : baseAmount / amount;
    for (int decimals = 2; decimals <= 6; ++decimals)
        if (roundHalfEven(rate, decimals) == roundHalfEven(rate, decimals + 1))
            return roundHalfEven(rate, decimals);
    return roundHalfEven(rate, 7);
}

}  // namespace keltro::services
