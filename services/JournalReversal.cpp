#include "services/JournalReversal.h"

#include <vector>

#include "services/FiscalPeriod.h"
#include "services/JournalWriter.h"
#include "services/PostingChecks.h"

namespace keltro::services {

namespace {

std::optional<db::Row> readHeader(db::Database& db, std::string_view journalKey) {
    return db.queryOne("SELECT * FROM [GL_header_table] WHERE fkey = ?", {journalKey});
}

std::string headerText(const std::optional<db::Row>& header, const char* column) {
    return header ? (*header)[column].textOr() : std::string();
}

std::optional<double> negated(std::optional<double> value) {
    if (!value) return value;
    return 0.0 - *value;  // never -0
}

// Writes the negated copies; `place` puts each copy into its journal.
template <class Place>
bool postNegatedCopies(JournalContext& context, const std::vector<JournalLine>& lines,
                       Place place) {
    AccountCache accounts(context.db());
    DeferredBalances balances(context.ledger);
    for (JournalLine copy : lines) {
        const store::Account* account = accounts.find(copy.accno);
        if (!account) {
            context.ui().message("No account " + copy.accno);
            return false;
        }
        copy.amount = negated(copy.amount);
        copy.baseAmount = negated(copy.baseAmount);
        place(copy);
        StampJournalLine(context, copy);
        if (!PostJournalLine(context, copy, *account)) return false;
    }
    balances.flush();
    return true;
}

std::optional<FiscalPeriod> todaysPeriod(JournalContext& context) {
    return FiscalPeriodOfDate(context.db(), context.ui(), context.clock.today());
}

// The header of the reversing journal: the texts of `reversal`, the reversed journal's
// currency and source fields.
JournalHeader reversingHeader(const NewJournalReversal& reversal,
                              const std::optional<db::Row>& reversed) {
    return {.source = reversal.source,
            .sourceForm = headerText(reversed, "source_form"),
            .sourceDocno = headerText(reversed, "source_docno"),
            .date = reversal.date,
            .period = reversal.period,
            .fyear = reversal.fyear,
            .currency = headerText(reversed, "Currency"),
            .remark = reversal.remark.value_or("Reverse GL " + headerText(reversed, "docno")),
            .description = reversal.description};
}

void markReversed(db::Database& db, const NewJournalReversal& reversal,
                  const std::string& reversingNo) {
    if (reversal.reversedDescription)
        db.execute("UPDATE GL_header_table SET Description = ? WHERE fkey = ?",
                   {*reversal.reversedDescription, reversal.journalKey});
    if (reversal.markReversed)
        db.execute("UPDATE GL_header_table SET Reverse = TRUE, remark = ? WHERE fkey = ?",
                   {"Reversed by " + reversingNo, reversal.journalKey});
}

std::optional<Reversal> reverseIntoNew(JournalContext& context,
                                       const std::vector<JournalLine>& lines,
                                       const NewJournalReversal& reversal) {
    db::Database& db = context.db();
    const auto numbers = NumberNewDocument(db, context.ui(), kLedgerCompany, "gl", reversal.fyear);
    if (!numbers) return std::nullopt;
    InsertJournalHeader(context, reversingHeader(reversal, readHeader(db, reversal.journalKey)),
                        *numbers);
    const bool posted = postNegatedCopies(context, lines, [&](JournalLine& copy) {
        copy.fkey = numbers->fkey;
        copy.docno = numbers->docno;
        copy.gldate = reversal.date;
        copy.period = reversal.period;
        copy.fyear = reversal.fyear;
    });
    if (!posted || !CheckDocumentBalance(db, context.ui(), numbers->fkey)) return std::nullopt;
    markReversed(db, reversal, numbers->docno);
    return Reversal{numbers->fkey, numbers->docno, false};
}

std::optional<Reversal> appendReversal(JournalContext& context,
                                       const std::vector<JournalLine>& lines,
                                       std::string_view journalKey, std::string_view description) {
    db::Database& db = context.db();
    std::int64_t lineno = LastJournalLineNo(db, journalKey);
    if (!postNegatedCopies(context, lines, [&](JournalLine& copy) { copy.lineno = ++lineno; }))
        return std::nullopt;
    db.execute("UPDATE GL_header_table SET Description = ?, Reverse = TRUE WHERE fkey = ?",
               {description, journalKey});
    if (!CheckDocumentBalance(db, context.ui(), journalKey)) return std::nullopt;
    return Reversal{std::string(journalKey), lines.front().docno, true};
}

// A new journal today, in today's period, with the texts of a document reversal.
std::optional<Reversal> reverseToday(JournalContext& context, const std::vector<JournalLine>& lines,
                                     std::string_view glKey, std::string source,
                                     std::string description,
                                     std::optional<std::string> reversedDescription) {
    if (lines.empty()) return Reversal{};
    const auto today = todaysPeriod(context);
    if (!today) return std::nullopt;
    return reverseIntoNew(context, lines,
                          {.journalKey = std::string(glKey),
                           .date = context.clock.today(),
                           .period = std::to_string(today->period),
                           .fyear = today->fyear,
                           .source = std::move(source),
                           .description = std::move(description),
                           .reversedDescription = std::move(reversedDescription)});
}

}  // namespace

std::optional<Reversal> ReverseIntoNewJournal(JournalContext& context,
                                              const NewJournalReversal& reversal) {
    const auto lines = ReadJournalLines(context.db(), reversal.journalKey);
    if (lines.empty()) return Reversal{};
    return reverseIntoNew(context, lines, reversal);
}

std::optional<Reversal> AppendJournalReversal(JournalContext& context, std::string_view journalKey,
                                              std::string_view description) {
    const auto lines = ReadJournalLines(context.db(), journalKey);
    if (lines.empty()) return Reversal{};
    return appendReversal(context, lines, journalKey, description);
}

std::optional<Reversal> ReverseInvoiceJournal(JournalContext& context, std::string_view glKey,
                                              std::string_view documentNo, InvoiceChange change) {
    const std::string number(documentNo);
    return reverseToday(
        context, ReadJournalLines(context.db(), glKey), glKey, "AR-INVOICE",
        "void invoice " + number,
        (change == InvoiceChange::Edit ? "Edit invoice " : "Void invoice ") + number);
}

std::optional<Reversal> ReversePrepaymentJournal(JournalContext& context, std::string_view glKey,
                                                 std::string_view prepaymentNo) {
    const std::string number(prepaymentNo);
    return reverseToday(context, ReadJournalLines(context.db(), glKey), glKey, "AR-PREPAY",
                        "void invoice " + number, "Void invoice " + number);
}

std::optional<Reversal> ReverseReceiptJournal(JournalContext& context, std::string_view glKey,
                                              std::string_view receiptNo,
                                              std::string_view source) {
    const std::string number(receiptNo);
    const auto lines = ReadJournalLines(context.db(), glKey);
    if (lines.empty()) return Reversal{};
    const auto today = todaysPeriod(context);
    if (!today) return std::nullopt;
    const auto header = readHeader(context.db(), glKey);
    if (std::to_string(today->period) == headerText(header, "period") &&
        today->fyear == headerText(header, "fyear"))
        return appendReversal(context, lines, glKey, "Void receipt " + number);
    return reverseToday(context, lines, glKey, std::string(source), "void receipt " + number,
                        std::nullopt);
}

}  // namespace keltro::services
