#include "matching/MatchingSave.h"

#include <cstdlib>

#include "framework/FieldText.h"
#include "matching/MatchingRecords.h"
#include "receipts/SettledDocuments.h"
#include "services/DateFormat.h"
#include "services/Money.h"
#include "services/Numbering.h"
#include "services/Refusal.h"
#include "store/ColumnValues.h"
#include "store/ReferenceData.h"
#include "store/WorkingPeriod.h"

namespace keltro::matching {

using framework::trimmedText;
using services::roundMoney;

namespace {

using services::refuse;

double shownAmount(const std::string& text) {
    return roundMoney(receipts::numberOf(text).value_or(0));
}

std::optional<int> periodOf(const std::string& text) {
    const std::string trimmed = trimmedText(text);
    char* end = nullptr;
    const long period = std::strtol(trimmed.c_str(), &end, 10);
    if (trimmed.empty() || *end != '\0') return std::nullopt;
    return static_cast<int>(period);
}

// Writes the matching's lines and settles their open items, in grid order.
class LineWriter {
public:
    LineWriter(MatchingSaveContext& context, const MatchingHeader& header,
               const MatchingDraft& draft)
        : m_context(context),
          m_header(header),
          m_draft(draft),
          m_cheques(chequesUsed(draft.lines)),
          m_computerId(services::ComputerName()) {}

    bool write(const MatchingLine& line) {
        const auto& a = line.amounts;
        if (a.isUntouched()) return true;
        if (a.discountTaken > 0 && a.discountAccno.empty())
            return refuse(m_context.ui, "Discount account is invalid");
        if (a.writeoff > 0 && a.writeoffAccno.empty())
            return refuse(m_context.ui, "Write-off account is invalid");
        insert(line);
        return receipts::settleLine(m_context.db, m_context.ui,
                                    {a.invoiceNo, a.payItem, a.applied, a.discountTaken,
                                     a.writeoff},
                                    receipts::PaidFlags::Matching)
            .has_value();
    }

private:
    void insert(const MatchingLine& line) {
        const auto& a = line.amounts;
        const bool foreign = !a.currency.empty() && a.currency != m_context.baseCurrency;
        store::ColumnValues row;
        row.add("company", 1)
            .addText("fkey", m_header.fkey)
            .addText("docno", m_header.docno)
            .add("Date", m_header.date)
            .addText("customer_no", m_header.customerNo)
            .add("lineno", ++m_lineno)
            .addText("invoice_no", a.invoiceNo)
            .addText("pay_item", a.payItem)
            .addText("check_no", line.checkNo)
            .add("invoice_date", framework::dateOfText(a.invoiceDateText, m_draft.dateFormat))
            .addText("matching_doctype", matchingDoctype(line.documentType))
            .add("applied_amount", a.applied)
            .add("gross_amount", a.grossAmount)
            .add("open_amount", a.openAmount)
            .add("discount_available", a.discountAvailable)
            .add("discount_taken", a.discountTaken)
            .add("writeoff", a.writeoff)
            .add("invoice_balance", line.balance())
            .addText("discount_accno", a.discountTaken > 0 ? a.discountAccno : "")
            .addText("writeoff_accno", a.writeoff > 0 ? a.writeoffAccno : "")
            .addText("Currency", a.currency)
            .add("invoice_exchange_rate", foreign ? db::Value(a.invoiceRate) : db::Value())
            .add("receipt_exchange_rate", foreign ? db::Value(a.receiptRate) : db::Value())
            .addText("match_check_no", recordsCheques(line) ? m_cheques : "")
            .addText("computer_id", m_computerId)
            .add("void", false);
        m_context.db.execute(row.insertSql("AR_matching_transaction_table"), row.params());
    }

    MatchingSaveContext& m_context;
    const MatchingHeader& m_header;
    const MatchingDraft& m_draft;
    std::string m_cheques;
    std::string m_computerId;
    std::int64_t m_lineno = 0;
};

MatchingHeader newHeader(const MatchingSaveContext& context, const MatchingDraft& draft,
                         const CheckedMatching& checked,
                         const services::NewDocumentNumbers& numbers) {
    MatchingHeader h;
    h.docno = numbers.docno;
    h.fkey = numbers.fkey;
    h.date = checked.date;
    h.rateDate = draft.rateDate;
    h.customerNo = checked.customerNo;
    h.remark = draft.remark;
    h.unappliedAmount = shownAmount(draft.unappliedText);
    h.invoiceBaseAmount = shownAmount(draft.invoiceBaseText);
    if (!trimmedText(draft.totalText).empty()) h.invoiceAmount = shownAmount(draft.totalText);
    h.invoiceCurrency = draft.totalCurrency;
    h.period = checked.period;
    h.fyear = checked.fyear;
    h.userCreated = context.user;
    h.dateCreated = context.clock.today();
    return h;
}

}  // namespace

std::optional<CheckedMatching> checkMatching(db::Database& db, services::Ui& ui,
                                             const MatchingDraft& draft) {
    if (shownAmount(draft.unappliedText) != shownAmount(draft.invoiceBaseText)) {
        refuse(ui, "Unapplied amount must equal Invoice amount");
        return std::nullopt;
    }
    const auto customer = store::findCustomer(db, trimmedText(draft.customerNo));
    const auto period = periodOf(draft.periodText);
    const std::string fyear = trimmedText(draft.fyear);
    const char* missing = !draft.date  ? "please specify date"
                          : !customer  ? "please specify customer"
                          : !period    ? "please specify period"
                          : fyear.empty() ? "please specify fiscal year"
                                          : nullptr;
    if (missing) {
        refuse(ui, missing);
        return std::nullopt;
    }
    if (!store::checkWorkingPeriod(db, ui, fyear, *period)) return std::nullopt;
    if (draft.lineRefusal) {
        refuse(ui, *draft.lineRefusal);
        return std::nullopt;
    }
    return CheckedMatching{*draft.date, *period, fyear, customer->customerNo, customer->arAccno};
}

std::optional<SavedMatching> saveNewMatching(MatchingSaveContext& context,
                                             const MatchingDraft& draft,
                                             const CheckedMatching& checked) {
    db::Transaction transaction(context.db);
    const auto numbers = services::NumberNewDocument(context.db, context.ui, 1, kMatchingDoctype,
                                                     checked.fyear);
    if (!numbers) return std::nullopt;
    const MatchingHeader header = newHeader(context, draft, checked, *numbers);
    insertMatchingHeader(context.db, header);
    LineWriter writer(context, header, draft);
    const auto total = static_cast<long>(draft.lines.size());
    for (long done = 0; done < total; ++done) {
        if (!writer.write(draft.lines[static_cast<std::size_t>(done)])) return std::nullopt;
        if ((done + 1) % 100 == 0 || done + 1 == total) {
            context.ui.progress(done + 1, total);
            context.ui.pumpEvents();
        }
    }
    services::JournalContext journal{context.ledger, context.clock, context.user,
                                     context.baseCurrency};
    const auto glFkey = postMatchingJournal(
        journal, {header.docno, checked.date, checked.period, checked.fyear, header.customerNo},
        draft.lines, {checked.receivable, context.realizedGain, context.realizedLoss});
    if (!glFkey) return std::nullopt;
    setMatchingJournalKey(context.db, header.fkey, *glFkey);
    transaction.commit();
    return SavedMatching{header.fkey, header.docno, *glFkey};
}

}  // namespace keltro::matching
