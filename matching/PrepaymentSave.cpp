#include "matching/PrepaymentSave.h"

#include "framework/FieldText.h"
#include "receipts/ReceiptRecords.h"
#include "services/Numbering.h"
#include "store/Accounts.h"
#include "store/ArDocument.h"

namespace keltro::matching {

using framework::trimmedText;

namespace {

receipts::ReceiptHeader newHeader(const PrepaymentSaveContext& context, const PrepaymentDraft& draft,
                                  const CheckedPrepayment& checked,
                                  const services::NewDocumentNumbers& numbers,
                                  const std::string& liability) {
    receipts::ReceiptHeader h;
    h.doctype = kPrepaymentDoctype;
    h.docno = numbers.docno;
    h.fkey = numbers.fkey;
    h.receiptNo = draft.receiptNo;
    h.receiptDate = checked.receiptDate;
    h.customerNo = checked.customer.customerNo;
    h.payer = draft.payer;
    h.payby = trimmedText(draft.payby);
    if (h.payby == "Cash") h.cashAccno = trimmedText(draft.cashAccno);
    if (h.payby == "Check") {
        h.bankCode = trimmedText(draft.bankCode);
        h.checkNo = trimmedText(draft.checkNo);
        h.checkDate = draft.checkDate;
    }
    h.remark = draft.remark;
    h.receiptAmount = checked.amount;
    h.currency = trimmedText(draft.currency);
    h.exchangeRate = checked.rate;
    h.rateDate = draft.rateDate;
    h.receiptBaseAmount = checked.baseAmount;
    h.period = checked.period;
    h.fyear = checked.fyear;
    h.sourceForm = kPrepaymentForm;
    h.created = {context.user, context.clock.today(), context.clock.timeOfDay()};
    h.orderNo = draft.orderNo;
    h.customerPo = draft.customerPo;
    h.prepaymentLiabilityAccno = liability;
    return h;
}

// An account missing from the chart keeps the usual side; the journal then says
// "No account " + its number.
PrepaymentSides sidesOf(db::Database& db, const std::string& cashSide,
                        const std::string& liability) {
    const auto isDebit = [&](const std::string& accno, bool usual) {
        const auto account = store::findAccount(db, accno);
        return account ? account->debit : usual;
    };
    return {isDebit(cashSide, true), isDebit(liability, false)};
}

std::optional<std::string> postJournal(PrepaymentSaveContext& context,
                                       const receipts::ReceiptHeader& h,
                                       const CheckedPrepayment& checked) {
    const services::JournalHeader header{.source = kPrepaymentSource,
                                         .sourceForm = kPrepaymentForm,
                                         .sourceDocno = h.docno,
                                         .date = checked.receiptDate,
                                         .period = std::to_string(checked.period),
                                         .fyear = checked.fyear,
                                         .currency = h.currency,
                                         .exchangeRate = checked.rate,
                                         .remark = "prepayment :receipt no. " + h.docno};
    services::JournalOptions options;
    options.rounding = services::RoundingLine{context.accounts.realizedGain,
                                              context.accounts.realizedLoss, h.customerNo};
    auto journal = context.journal();
    return services::PostJournal(
        journal, header,
        prepaymentEntries(checked, h.currency, h.prepaymentLiabilityAccno,
                          sidesOf(context.db, checked.cashSideAccno, h.prepaymentLiabilityAccno)),
        options);
}

}  // namespace

void insertPrepaymentCredit(db::Database& db, const receipts::ReceiptHeader& h,
                            const std::string& checkNo) {
    store::ArHeader copies;
    copies.doctype = h.doctype;
    copies.fkey = h.fkey;
    copies.docno = h.docno;
    copies.customerNo = h.customerNo;
    copies.currency = h.currency;
    copies.exchangeRate = h.exchangeRate;
    copies.invoiceDate = h.receiptDate;
    copies.period = h.period;
    copies.fyear = h.fyear;
    store::ArLine line;
    line.payItem = "1";
    line.grossAmount = line.openAmount = -h.receiptAmount;
    line.receiptNo = h.docno;
    line.checkNo = checkNo;
    line.source = kPrepaymentSource;
    line.sourceForm = h.sourceForm;
    line.created = h.created;
    store::insertLines(db, copies, {line});
}

std::string liabilityAccount(const store::Customer& customer, const std::string& moduleDefault) {
    const std::string own = trimmedText(customer.prepaymentAccno);
    return own.empty() ? moduleDefault : own;
}

services::JournalEntries prepaymentEntries(const CheckedPrepayment& checked,
                                           const std::string& currency,
                                           const std::string& liabilityAccno,
                                           const PrepaymentSides& sides) {
    const auto sided = [&](bool debitAccount, bool debited, double amount) {
        return debitAccount == debited ? amount : store::negated(amount);
    };
    services::JournalEntries entries;
    entries.add(checked.cashSideAccno, currency,
                sided(sides.cashSideIsDebit, true, checked.amount),
                sided(sides.cashSideIsDebit, true, checked.baseAmount));
    entries.add(liabilityAccno, currency, sided(sides.liabilityIsDebit, false, checked.amount),
                sided(sides.liabilityIsDebit, false, checked.baseAmount));
    return entries;
}

std::optional<SavedPrepayment> saveNewPrepayment(PrepaymentSaveContext& context,
                                                 const PrepaymentDraft& draft,
                                                 const CheckedPrepayment& checked) {
    db::Transaction transaction(context.db);
    const auto numbers = services::NumberNewDocument(context.db, context.ui, store::kCompany,
                                                     kPrepaymentDoctype, checked.fyear);
    if (!numbers) return std::nullopt;
    const std::string liability =
        liabilityAccount(checked.customer, context.accounts.defaultLiability);
    receipts::ReceiptHeader header = newHeader(context, draft, checked, *numbers, liability);
    receipts::insertReceiptHeader(context.db, header);
    insertPrepaymentCredit(context.db, header, trimmedText(draft.checkNo));
    const auto glFkey = postJournal(context, header, checked);
    if (!glFkey) return std::nullopt;
    receipts::setReceiptJournalKey(context.db, header.fkey, *glFkey);
    transaction.commit();
    return SavedPrepayment{header.fkey, header.docno, *glFkey};
}

}  // namespace keltro::matching
