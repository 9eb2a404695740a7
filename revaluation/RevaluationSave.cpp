#include "revaluation/RevaluationSave.h"

#include <charconv>

#include "framework/FieldText.h"
#include "revaluation/RevaluationRecords.h"
#include "services/JournalReversal.h"
#include "services/JournalWriter.h"
#include "services/Numbering.h"
#include "store/WorkingPeriod.h"

namespace keltro::revaluation {

namespace {

constexpr const char* kSource = "AR-REVALUE";
constexpr const char* kSourceForm = "A/R Revaluation";

std::optional<int> wholeNumber(const std::string& text) {
    int number = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, number);
    if (text.empty() || error != std::errc() || at != end) return std::nullopt;
    return number;
}

// One entry per account line, in base currency, signed by the account's normal side: a
// debit on a debit account and a credit on a credit account are both positive.
services::JournalEntries journalEntries(const std::vector<AccountLine>& accounts) {
    services::JournalEntries entries;
    for (const auto& line : accounts) {
        const double amount = line.debitAccount ? line.signedAmount() : -line.signedAmount();
        entries.add(line.accno, line.currency, amount, amount);
    }
    return entries;
}

class RevaluationWriter {
public:
    RevaluationWriter(RevaluationSaveContext& context, const RevaluationDraft& draft,
                      const PeriodOfYear& period)
        : m_context(context),
          m_draft(draft),
          m_period(period),
          m_journals{context.ledger, context.clock, context.user, context.baseCurrency} {}

    std::optional<SavedRevaluation> write(const Revaluation& revaluation) {
        const auto numbers = services::NumberNewDocument(m_context.db, m_context.ui,
                                                         services::kLedgerCompany,
                                                         kRevaluationDoctype, m_period.fyear);
        if (!numbers) return std::nullopt;
        const RevaluationHeader header = headerOf(revaluation, *numbers);
        insertHeader(m_context.db, header);
        insertCriteria(m_context.db, header, revaluation.criteria);
        insertResults(m_context.db, m_context.ui, header, revaluation.items);
        insertSummary(m_context.db, header, revaluation.accounts);
        const auto glFkey = postRevaluation(header, revaluation.accounts);
        if (!glFkey) return std::nullopt;
        const auto reversal = postReversal(header, *glFkey);
        if (!reversal) return std::nullopt;
        storeJournalKey(m_context.db, header.fkey, *glFkey);
        return SavedRevaluation{header.fkey, header.docno, *glFkey, reversal->journalKey};
    }

private:
    db::Date revaluationDate() const { return m_draft.date.value_or(m_context.clock.today()); }

    RevaluationHeader headerOf(const Revaluation& revaluation,
                               const services::NewDocumentNumbers& numbers) const {
        return {.docno = numbers.docno,
                .fkey = numbers.fkey,
                .cutoff = revaluation.cutoff,
                .date = revaluationDate(),
                .description = m_draft.description,
                .period = m_period.period,
                .fyear = m_period.fyear};
    }

    std::optional<std::string> postRevaluation(const RevaluationHeader& header,
                                               const std::vector<AccountLine>& accounts) {
        const services::JournalHeader journal{.source = kSource,
                                              .sourceForm = kSourceForm,
                                              .sourceDocno = header.docno,
                                              .date = revaluationDate(),
                                              .period = std::to_string(m_period.period),
                                              .fyear = m_period.fyear,
                                              .currency = m_context.baseCurrency,
                                              .remark = "A/R Revaluation",
                                              .description = m_draft.description};
        return services::PostJournal(m_journals, journal, journalEntries(accounts));
    }

    // insert_GL_reverse_revalue
    std::optional<services::Reversal> postReversal(const RevaluationHeader& header,
                                                   const std::string& glFkey) {
        const auto next = periodAfter(m_period, m_context.periodsPerYear);
        if (!next) return std::nullopt;
        return services::ReverseIntoNewJournal(
            m_journals, {.journalKey = glFkey,
                         .date = m_context.clock.today(),
                         .period = std::to_string(next->period),
                         .fyear = next->fyear,
                         .source = kSource,
                         .description = m_draft.description,
                         .remark = "Reverse A/R Revaluation " + header.docno,
                         .markReversed = false});
    }

    RevaluationSaveContext& m_context;
    const RevaluationDraft& m_draft;
    const PeriodOfYear& m_period;
    services::JournalContext m_journals;
};

}  // namespace

std::optional<PeriodOfYear> periodAfter(const PeriodOfYear& period, int periodsPerYear) {
    if (period.period < periodsPerYear) return PeriodOfYear{period.period + 1, period.fyear};
    const auto year = wholeNumber(period.fyear);
    if (!year) return std::nullopt;
    return PeriodOfYear{1, std::to_string(*year + 1)};
}

std::optional<PeriodOfYear> checkRevaluation(db::Database& db, services::Ui& ui,
                                             const RevaluationDraft& draft) {
    const auto period = wholeNumber(framework::trimmedText(draft.periodText));
    if (!period) {
        ui.message("please specify period");
        return std::nullopt;
    }
    const std::string fyear = framework::trimmedText(draft.fyear);
    if (fyear.empty()) {
        ui.message("please specify fiscal year");
        return std::nullopt;
    }
    if (!store::checkWorkingPeriod(db, ui, fyear, *period)) return std::nullopt;
    return PeriodOfYear{*period, fyear};
}

std::optional<SavedRevaluation> saveRevaluation(RevaluationSaveContext& context,
                                                const RevaluationDraft& draft,
                                                const PeriodOfYear& period,
                                                const Revaluation& revaluation) {
    db::Transaction transaction(context.db);
    const auto saved = RevaluationWriter(context, draft, period).write(revaluation);
    if (!saved) return std::nullopt;  // the transaction rolls back
    transaction.commit();
    return saved;
}

}  // namespace keltro::revaluation
