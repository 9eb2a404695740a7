#include "revaluation/RevaluationSearch.h"

#include <cmath>
#include <map>
#include <utility>

#include "framework/FieldText.h"
#include "services/Money.h"
#include "store/Accounts.h"

namespace keltro::revaluation {

using services::roundMoney;

namespace {

// Rows between two progress reports of a run.
constexpr long kProgressStep = 500;

constexpr const char* kItemsSelect =
    "SELECT t.customer_no, t.docno, t.pay_item, t.invoice_date, t.Currency, t.open_amount, "
    "t.exchange_rate, c.customer_name, c.ar_accno "
    "FROM AR_transaction_table t LEFT JOIN Customer_table c ON c.customer_no = t.customer_no "
    "WHERE t.company = 1 AND t.paid = FALSE AND (t.void IS NULL OR t.void = FALSE) "
    "AND t.Currency = ? AND t.invoice_date <= ?";
constexpr const char* kItemsOrder = " ORDER BY t.customer_no, t.docno, t.pay_item";

// Whether customers carry a group (a column the suite's customer table may have), asked
// of the engine's catalogue.
bool customersHaveGroups(db::Database& db) {
    const char* sql =
        db.engine() == db::Engine::Postgres
            ? "SELECT COUNT(*) FROM information_schema.columns WHERE table_schema = "
              "current_schema() AND table_name = 'customer_table' AND column_name = 'customer_group'"
            : "SELECT COUNT(*) FROM pragma_table_info('Customer_table') "
              "WHERE lower(name) = 'customer_group'";
    const auto row = db.queryOne(sql);
    return row && row->at(0).integerOr(0) > 0;
}

// The gain and loss accounts of a receivable account in one currency.
struct GainLossAccounts {
    std::string gain;
    std::string loss;
};

class Run {
public:
    Run(SearchContext& context, db::Date cutoff)
        : m_context(context), m_groups(customersHaveGroups(context.db)) {
        m_result.cutoff = cutoff;
    }

    // One criteria line; false when the run stops.
    bool line(const Criterion& criterion) {
        std::string sql = kItemsSelect;
        db::Params params{criterion.currency, m_result.cutoff};
        if (!criterion.everyCustomer && criterion.customerGroup.empty()) {
            if (criterion.customerNo.empty()) return refuse("please specify customer");
            sql += " AND t.customer_no = ?";
            params.push_back(criterion.customerNo);
        } else if (!criterion.everyCustomer && m_groups) {
            sql += " AND c.customer_group = ?";
            params.push_back(criterion.customerGroup);
        }
        m_result.criteria.push_back(criterion);
        const auto rows = m_context.db.query(sql + kItemsOrder, params);
        if (rows.empty()) m_context.ui.message("No data");
        const long total = static_cast<long>(rows.size());
        for (long done = 0; done < total; ++done) {
            if (!item(rows[static_cast<std::size_t>(done)], *criterion.rate)) return false;
            if ((done + 1) % kProgressStep == 0 || done + 1 == total) {
                m_context.ui.progress(done + 1, total);
                m_context.ui.pumpEvents();
            }
        }
        return true;
    }

    Revaluation finish() {
        m_result.accounts = accountLines(m_context.db, m_result.receivables, m_result.gains,
                                         m_result.losses);
        return std::move(m_result);
    }

private:
    bool refuse(const std::string& message) {
        m_context.ui.message(message);
        return false;
    }

    bool item(const db::Row& row, double newRate) {
        RevaluedItem item;
        item.customerNo = row["customer_no"].textOr();
        item.customerName = row["customer_name"].textOr();
        item.documentNo = row["docno"].textOr();
        item.documentDate = row["invoice_date"].date();
        item.payItem = row["pay_item"].textOr();
        item.currency = row["Currency"].textOr();
        item.originalRate = row["exchange_rate"].numberOr(0);
        item.invoiceAmount = roundMoney(row["open_amount"].numberOr(0));
        item.originalBase = roundMoney(item.invoiceAmount * item.originalRate);
        item.newBase = roundMoney(item.invoiceAmount * newRate);
        item.unrealized = roundMoney(item.newBase - item.originalBase);

        std::string receivable = framework::trimmedText(row["ar_accno"].textOr());
        if (receivable.empty()) receivable = m_context.accounts.receivable;
        const GainLossAccounts* gainLoss = accountsOf(receivable, item.currency);
        if (!gainLoss) return refuse(receivable + " is not a multicurrency account");
        accumulate(receivable, *gainLoss, item);
        m_result.items.push_back(std::move(item));
        return true;
    }

    void accumulate(const std::string& receivable, const GainLossAccounts& gainLoss,
                    const RevaluedItem& item) {
        const double amount = item.unrealized;
        services::AccumulateByAccountCurrency(m_result.receivables, receivable, amount, amount,
                                              item.currency);
        if (amount > 0)
            services::AccumulateByAccountCurrency(m_result.gains, gainLoss.gain, amount, amount,
                                                  item.currency);
        else if (amount < 0)
            services::AccumulateByAccountCurrency(m_result.losses, gainLoss.loss, amount, amount,
                                                  item.currency);
    }

    // The pairing's gain and loss accounts, read once per run; null without the pairing.
    const GainLossAccounts* accountsOf(const std::string& accno, const std::string& currency) {
        const auto key = std::make_pair(accno, currency);
        auto known = m_pairings.find(key);
        if (known == m_pairings.end()) known = m_pairings.emplace(key, readPairing(accno, currency)).first;
        return known->second ? &*known->second : nullptr;
    }

    std::optional<GainLossAccounts> readPairing(const std::string& accno,
                                                const std::string& currency) {
        const auto row = m_context.db.queryOne(
            "SELECT unrealised_gain_accno, unrealised_loss_accno FROM Account_currency_table "
            "WHERE accno = ? AND Currency = ?",
            {accno, currency});
        if (!row) return std::nullopt;
        const auto ownOr = [](const db::Value& own, const std::string& module) {
            const std::string text = framework::trimmedText(own.textOr());
            return text.empty() ? module : text;
        };
        return GainLossAccounts{ownOr((*row)["unrealised_gain_accno"], m_context.accounts.unrealizedGain),
                                ownOr((*row)["unrealised_loss_accno"], m_context.accounts.unrealizedLoss)};
    }

    SearchContext& m_context;
    bool m_groups;
    Revaluation m_result;
    std::map<std::pair<std::string, std::string>, std::optional<GainLossAccounts>> m_pairings;
};

// Adds the lines of one list; `side` places each total in the debit or credit column.
template <class Side>
void addLines(std::vector<AccountLine>& lines, const SummaryList& list, Side side) {
    for (const auto& entry : list) {
        AccountLine line{.accno = entry.accno, .currency = entry.currency};
        side(line, entry.amount);
        lines.push_back(std::move(line));
    }
}

}  // namespace

double AccountLine::signedAmount() const { return roundMoney(debit - credit); }

RevaluationAccounts readRevaluationAccounts(db::Database& db) {
    namespace parameter = store::parameter;
    return {store::defaultModuleAccount(db, parameter::kAr, parameter::kReceivable),
            store::defaultModuleAccount(db, parameter::kGl, parameter::kUnrealizedGain),
            store::defaultModuleAccount(db, parameter::kGl, parameter::kUnrealizedLoss)};
}

std::optional<Revaluation> findRevaluation(SearchContext& context,
                                           const std::optional<db::Date>& cutoff,
                                           const std::vector<Criterion>& criteria) {
    if (!cutoff) {
        context.ui.message("please specify Last transaction date");
        return std::nullopt;
    }
    Run run(context, *cutoff);
    for (const auto& criterion : criteria) {
        if (criterion.currency.empty() || !criterion.rate) continue;
        if (!run.line(criterion)) return std::nullopt;
    }
    return run.finish();
}

std::vector<AccountLine> accountLines(db::Database& db, const SummaryList& receivables,
                                      const SummaryList& gains, const SummaryList& losses) {
    std::vector<AccountLine> lines;
    addLines(lines, receivables, [](AccountLine& line, double amount) {
        (amount >= 0 ? line.debit : line.credit) = std::fabs(amount);
    });
    addLines(lines, gains, [](AccountLine& line, double amount) { line.credit = amount; });
    addLines(lines, losses, [](AccountLine& line, double amount) { line.debit = std::fabs(amount); });
    std::map<std::string, std::optional<store::Account>> accounts;
    for (auto& line : lines) {
        auto known = accounts.find(line.accno);
        if (known == accounts.end())
            known = accounts.emplace(line.accno, store::findAccount(db, line.accno)).first;
        if (!known->second) continue;
        line.accname = known->second->accname;
        line.debitAccount = known->second->debit;
    }
    return lines;
}

}  // namespace keltro::revaluation
