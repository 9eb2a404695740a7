#include "receipts/MiscReceiptSave.h"

#include "framework/FieldText.h"
#include "receipts/PayByAccount.h"
#include "receipts/ReceiptApplication.h"
#include "receipts/ReceiptValidation.h"
#include "services/DateFormat.h"
#include "services/Money.h"
#include "services/Numbering.h"
#include "services/Refusal.h"
#include "store/Accounts.h"
#include "store/PayItemLine.h"

namespace keltro::receipts {

using framework::trimmedText;
using services::roundMoney;

namespace {

using services::refuse;

// The currency and, when foreign, its rate.
bool checkCurrency(db::Database& db, services::Ui& ui, const std::string& baseCurrency,
                   const MiscReceiptDraft& draft, CheckedMiscReceipt& checked) {
    const std::string currency = trimmedText(draft.currency);
    if (currency.empty()) return refuse(ui, "please specify currency");
    if (currency == baseCurrency) return true;
    checked.rate = checkedForeignRate(db, ui, currency, draft.rateText);
    return checked.rate.has_value();
}

bool checkPeriod(db::Database& db, services::Ui& ui, const MiscReceiptDraft& draft,
                 CheckedMiscReceipt& checked) {
    const auto period = checkedPeriodAndYear(ui, draft.periodText, draft.fyear);
    if (!period) return false;
    checked.period = period->period;
    checked.fyear = period->fyear;
    return checkReceiptWorkingPeriod(db, ui, checked.fyear, checked.period);
}

MiscReceiptRecord newRecord(const MiscReceiptSaveContext& context, const MiscReceiptDraft& draft,
                            const CheckedMiscReceipt& checked) {
    MiscReceiptRecord record;
    MiscReceiptHeader& h = record.header;
    h.receiptNo = draft.receiptNo;
    h.receiptDate = checked.receiptDate;
    h.currency = trimmedText(draft.currency);
    h.exchangeRate = checked.rate;
    h.rateDate = checked.rate ? draft.rateDate : std::nullopt;
    h.payer = draft.payer;
    h.payby = trimmedText(draft.payby);
    h.cashAccno = checked.cashAccno;
    h.bankCode = checked.bankCode;
    if (h.payby == "Check") {
        h.checkNo = trimmedText(draft.checkNo);
        h.checkDate = draft.checkDate;
    }
    h.remark = draft.remark;
    h.receiptAmount = checked.amount;
    h.period = checked.period;
    h.fyear = checked.fyear;
    h.userCreated = context.user;
    record.lines = draft.lines;
    return record;
}

std::optional<std::string> postJournal(MiscReceiptSaveContext& context,
                                       const MiscReceiptRecord& record,
                                       const std::string& debitAccno) {
    const MiscReceiptHeader& h = record.header;
    const double rate = h.exchangeRate.value_or(1);
    const auto base = [&](double amount) { return h.exchangeRate ? roundMoney(amount * rate) : amount; };
    db::Database& db = context.db;
    services::JournalEntries entries;
    entries.add(debitAccno, h.currency,
                store::amountOnSide(db, debitAccno, store::Side::Debit, h.receiptAmount),
                store::amountOnSide(db, debitAccno, store::Side::Debit, base(h.receiptAmount)));
    for (const auto& line : record.lines)
        entries.add(line.accno, h.currency,
                    store::amountOnSide(db, line.accno, store::Side::Credit, line.amount),
                    store::amountOnSide(db, line.accno, store::Side::Credit, base(line.amount)));
    const services::JournalHeader header{.source = kMiscReceiptSource,
                                         .sourceForm = kMiscReceiptForm,
                                         .sourceDocno = h.docno,
                                         .date = *h.receiptDate,
                                         .period = std::to_string(h.period.value_or(0)),
                                         .fyear = h.fyear,
                                         .currency = h.currency,
                                         .exchangeRate = h.exchangeRate,
                                         .remark = "receipt no. " + h.docno};
    services::JournalOptions options;
    options.ledger = services::LedgerRule::EntryCurrency;
    options.foreignRate = services::ForeignLineRate::Implied;
    options.rounding =
        services::RoundingLine{context.accounts.realizedGain, context.accounts.realizedLoss, {}};
    auto journal = context.journal();
    return services::PostJournal(journal, header, entries, options);
}

}  // namespace

double miscUnbalance(const std::string& amountText, const std::vector<MiscReceiptLine>& lines) {
    double total = 0;
    for (const auto& line : lines) total = roundMoney(total + line.amount);
    return roundMoney(roundMoney(numberOf(amountText).value_or(0)) - total);
}

std::optional<CheckedMiscReceipt> checkNewMiscReceipt(db::Database& db, services::Ui& ui,
                                                      const std::string& baseCurrency,
                                                      const MiscReceiptDraft& draft) {
    if (miscUnbalance(draft.amountText, draft.lines) != 0) {
        ui.message("Transaction is unbalance");
        return std::nullopt;
    }
    CheckedMiscReceipt checked;
    const auto amount = checkedReceiptAmount(ui, draft.amountText);
    if (!amount) return std::nullopt;
    checked.amount = *amount;
    if (!draft.receiptDate) {
        ui.message("please specify receipt date");
        return std::nullopt;
    }
    checked.receiptDate = *draft.receiptDate;
    const auto account = checkedMoneyAccount(
        db, ui,
        {draft.payby, draft.cashAccno, draft.bankCode, draft.checkNo, draft.checkDate,
         trimmedText(draft.currency)},
        CardAccount::Payable);
    if (!account) return std::nullopt;
    checked.debitAccno = account->debitAccno;
    checked.cashAccno = account->cashAccno;
    checked.bankCode = account->bankCode;
    if (!checkCurrency(db, ui, baseCurrency, draft, checked) || !checkPeriod(db, ui, draft, checked))
        return std::nullopt;
    return checked;
}

std::optional<std::string> writeMiscReceipt(MiscReceiptSaveContext& context,
                                            MiscReceiptRecord& record,
                                            const std::string& debitAccno) {
    record.header.id = insertMiscReceipt(context.db, record.header);
    for (const auto& line : record.lines) insertMiscReceiptLine(context.db, record.header, line);
    const auto glFkey = postJournal(context, record, debitAccno);
    if (!glFkey) return std::nullopt;
    setMiscReceiptJournalKey(context.db, record.header.fkey, *glFkey);
    record.header.glFkey = *glFkey;
    return glFkey;
}

std::optional<std::string> saveNewMiscReceipt(MiscReceiptSaveContext& context,
                                              const MiscReceiptDraft& draft,
                                              const CheckedMiscReceipt& checked) {
    db::Transaction transaction(context.db);
    const auto numbers = services::NumberNewDocument(context.db, context.ui, store::kCompany,
                                                     kMiscReceiptDoctype, checked.fyear);
    if (!numbers) return std::nullopt;
    MiscReceiptRecord record = newRecord(context, draft, checked);
    record.header.docno = numbers->docno;
    record.header.fkey = numbers->fkey;
    if (!writeMiscReceipt(context, record, checked.debitAccno)) return std::nullopt;
    transaction.commit();
    return record.header.fkey;
}

}  // namespace keltro::receipts
