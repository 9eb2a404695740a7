#include "receipts/ReceiptSave.h"

#include <algorithm>

#include "framework/FieldText.h"
#include "receipts/SettledDocuments.h"
#include "services/DateFormat.h"
#include "services/FiscalPeriod.h"
#include "services/Money.h"
#include "services/Numbering.h"
#include "store/Accounts.h"
#include "store/ArDocument.h"

namespace keltro::receipts {

using services::roundMoney;

namespace {

// How strictly the rows are read: a completed fast receipt's rows must have a readable
// invoice date and accounts from the list.
enum class RowRule { AsOffered, Strict };

// The amounts, rate and period a save writes on the header.
void setAmounts(ReceiptHeader& h, const ReceiptDraft& draft, const CheckedReceipt& checked) {
    h.exchangeRate = checked.foreign ? std::optional<double>(checked.rate) : std::nullopt;
    h.rateDate = checked.foreign ? draft.rateDate : std::nullopt;
    h.receiptBaseAmount = checked.baseAmount;
    h.totalAmount = draft.totals.applied;
    h.totalCurrency = draft.totals.currency;
    h.totalBaseAmount = draft.totals.base;
    h.period = checked.period;
    h.fyear = checked.fyear;
}

// What the person typed that both a new and a completed receipt keep.
void setReferences(ReceiptHeader& h, const ReceiptDraft& draft) {
    h.receiptNo = draft.receiptNo;
    h.payer = draft.payer;
    h.payby = draft.payby;
    h.remark = draft.remark;
}

ReceiptHeader newHeader(const ReceiptSaveContext& context, const ReceiptDraft& draft,
                        const CheckedReceipt& checked,
                        const services::NewDocumentNumbers& numbers) {
    ReceiptHeader h;
    h.docno = numbers.docno;
    h.fkey = numbers.fkey;
    setReferences(h, draft);
    h.receiptDate = checked.receiptDate;
    h.customerNo = checked.customer.customerNo;
    h.cashAccno = checked.cashAccno;
    h.bankCode = checked.bankCode;
    if (draft.payby == "Check") {
        h.checkNo = draft.checkNo;
        h.checkDate = draft.checkDate;
    }
    h.receiptAmount = checked.amount;
    h.currency = draft.currency;
    setAmounts(h, draft, checked);
    h.sourceForm = kReceiptForm;
    h.created = {context.user, context.clock.today(), context.clock.timeOfDay()};
    return h;
}

class ReceiptWriter {
public:
    ReceiptWriter(ReceiptSaveContext& context, const ReceiptHeader& header,
                  const CheckedReceipt& checked, RowRule rule)
        : m_context(context), m_header(header), m_checked(checked), m_rule(rule) {}

    // Steps 3 to 5: lines and documents, journal, unapplied cash. The journal key, or
    // nothing after a message.
    std::optional<std::string> write(const ReceiptDraft& draft, DebitPosting debit) {
        std::vector<LockedLines::PayItem> payItems;
        for (const auto& line : draft.lines)
            if (!line.isUntouched()) payItems.emplace_back(line.invoiceNo, line.payItem);
        LockedLines locked(m_context.db, payItems);
        for (const auto& line : draft.lines)
            if (!line.isUntouched() && !writeLine(line, locked)) return std::nullopt;
        const auto glFkey = post(draft.lines, debit);
        if (!glFkey || !addUnappliedCash(draft.totals.base)) return std::nullopt;
        return glFkey;
    }

private:
    bool refuse(const std::string& message) {
        m_context.ui.message(message);
        return false;
    }

    bool listed(const std::string& accno) const {
        const auto& accounts = m_context.rowAccounts;
        return accno.empty() ||
               std::find(accounts.begin(), accounts.end(), accno) != accounts.end();
    }

    bool strictRowPasses(const ApplicationLine& line, const std::optional<db::Date>& date) {
        if (m_rule == RowRule::AsOffered) return true;
        if (!date) return refuse("invoice date is invalid");
        if (line.discountTaken != 0 && !listed(line.discountAccno))
            return refuse("Discount account is invalid");
        return line.writeoff == 0 || listed(line.writeoffAccno) ||
               refuse("Write-off account is invalid");
    }

    bool writeLine(const ApplicationLine& line, LockedLines& locked) {
        const auto date = framework::dateOfText(line.invoiceDateText, m_context.dateFormat);
        if (!strictRowPasses(line, date)) return false;
        const auto settled = settleLine(
            m_context.db, m_context.ui,
            {line.invoiceNo, line.payItem, line.applied, line.discountTaken, line.writeoff},
            PaidFlags::Receipt, &locked);
        if (!settled) return false;
        insertReceiptLine(m_context.db, m_header, receiptLine(line, date, *settled));
        return true;
    }

    ReceiptLine receiptLine(const ApplicationLine& line, const std::optional<db::Date>& date,
                            const SettledLine& settled) const {
        const bool foreign = line.currency != m_context.baseCurrency;
        ReceiptLine r;
        r.invoiceNo = line.invoiceNo;
        r.payItem = line.payItem;
        r.invoiceDate = date;
        r.grossAmount = line.grossAmount;
        r.openAmount = settled.openBefore;
        r.discountAvailable = line.discountAvailable;
        r.applied = line.applied;
        r.appliedBase = foreign ? line.baseAmount.value_or(0) : line.applied;
        r.discountTaken = line.discountTaken;
        if (line.discountTaken != 0) r.discountAccno = line.discountAccno;
        r.writeoff = line.writeoff;
        if (line.writeoff != 0) r.writeoffAccno = line.writeoffAccno;
        r.invoiceBalance = settled.balance;
        r.currency = line.currency;
        if (foreign) {
            r.invoiceRate = line.invoiceRate;
            r.receiptRate = line.receiptRate;
        }
        r.computerId = services::ComputerName();
        r.remark = line.remark;
        return r;
    }

    std::optional<std::string> post(const std::vector<ApplicationLine>& lines, DebitPosting debit) {
        const ModuleAccounts& module = m_context.accounts;
        const auto receivable =
            store::receivableAccount(m_context.ui, m_checked.customer, module.receivable);
        if (!receivable) return std::nullopt;
        services::JournalContext journal{m_context.ledger, m_context.clock, m_context.user,
                                         m_context.baseCurrency};
        const PostedReceipt posted{m_header.docno,     m_checked.receiptDate, m_checked.period,
                                   m_checked.fyear,    m_header.currency,     m_header.exchangeRate,
                                   m_header.customerNo};
        return postReceiptJournal(
            journal, posted, lines,
            {m_checked.debitAccno, *receivable, module.realizedGain, module.realizedLoss}, debit);
    }

    bool addUnappliedCash(double totalBase) {
        const double excess = unappliedExcess(m_checked.baseAmount, totalBase,
                                              m_checked.foreign ? m_checked.rate : 1);
        if (excess == 0) return true;
        const UnappliedCash cash{m_header.customerNo, m_checked.receiptDate, m_header.currency,
                                 m_header.exchangeRate, m_checked.period,   m_checked.fyear,
                                 m_header.docno,      m_header.checkNo,     kReceiptForm};
        const auto docno = addUnappliedCashDocument(
            {m_context.db, m_context.ui, m_context.clock, m_context.user}, cash, excess);
        if (!docno) return false;
        setUnappliedDocument(m_context.db, m_header.fkey, *docno, excess);
        return true;
    }

    ReceiptSaveContext& m_context;
    const ReceiptHeader& m_header;
    const CheckedReceipt& m_checked;
    RowRule m_rule;
};

}  // namespace

std::optional<SavedReceipt> saveNewReceipt(ReceiptSaveContext& context, const ReceiptDraft& draft,
                                           const CheckedReceipt& checked) {
    db::Transaction transaction(context.db);
    const auto numbers = services::NumberNewDocument(context.db, context.ui, store::kCompany,
                                                     kReceiptDoctype, checked.fyear);
    if (!numbers) return std::nullopt;
    ReceiptHeader header = newHeader(context, draft, checked, *numbers);
    insertReceiptHeader(context.db, header);
    const auto glFkey = ReceiptWriter(context, header, checked, RowRule::AsOffered)
                            .write(draft, DebitPosting::Receipt);
    if (!glFkey) return std::nullopt;
    transaction.commit();
    return SavedReceipt{header.fkey, header.docno, *glFkey};
}

std::optional<SavedReceipt> completeFastReceipt(ReceiptSaveContext& context,
                                                const ReceiptHeader& stored,
                                                const ReceiptDraft& draft,
                                                const CheckedReceipt& checked) {
    db::Transaction transaction(context.db);
    ReceiptHeader header = stored;
    setReferences(header, draft);
    header.checkNo = draft.checkNo;
    header.checkDate = draft.checkDate;
    setAmounts(header, draft, checked);
    updateCompletedHeader(context.db, header);
    const auto glFkey = ReceiptWriter(context, header, checked, RowRule::Strict)
                            .write(draft, DebitPosting::AlreadyPosted);
    if (!glFkey) return std::nullopt;
    transaction.commit();
    return SavedReceipt{header.fkey, header.docno, *glFkey};
}

std::optional<std::string> addUnappliedCashDocument(const UnappliedCashContext& context,
                                                    const UnappliedCash& cash, double amount) {
    const auto period = services::FiscalPeriodOfDate(context.db, context.ui, cash.date);
    if (!period) return std::nullopt;
    const auto numbers = services::NumberNewDocument(
        context.db, context.ui, store::kCompany, store::doctype::kUnappliedCash, period->fyear);
    if (!numbers) return std::nullopt;
    store::ArDocument document;
    store::ArHeader& h = document.header;
    h.doctype = std::string(store::doctype::kUnappliedCash);
    h.fkey = numbers->fkey;
    h.docno = numbers->docno;
    h.customerNo = cash.customerNo;
    h.invoiceDate = cash.date;
    h.currency = cash.currency;
    h.exchangeRate = cash.rate;
    h.sourceForm = cash.sourceForm;
    h.period = cash.period;
    h.fyear = cash.fyear;
    store::ArLine line;
    line.payItem = "1";
    line.grossAmount = line.openAmount = -amount;
    line.receiptNo = cash.receiptDocno;
    line.checkNo = cash.checkNo;
    line.source = kReceiptSource;
    line.sourceForm = cash.sourceForm;
    line.created = {"", context.clock.today(), context.clock.timeOfDay()};
    line.user = context.user;
    document.lines.push_back(std::move(line));
    store::insertDocument(context.db, document);
    return numbers->docno;
}

void storeJournalKey(db::Database& db, const SavedReceipt& saved) {
    if (!saved.glFkey.empty()) setReceiptJournalKey(db, saved.fkey, saved.glFkey);
}

double unappliedExcess(double receiptBase, double totalBase, double rate) {
    const double baseExcess = roundMoney(receiptBase - totalBase);
    if (baseExcess <= 0 || rate <= 0) return 0;
    return roundMoney(baseExcess / rate);
}

}  // namespace keltro::receipts
