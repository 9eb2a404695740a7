#include "receipts/FastReceiptSave.h"

#include <set>

#include "framework/FieldText.h"
#include "framework/LookupList.h"
#include "receipts/ReceiptApplication.h"
#include "receipts/ReceiptValidation.h"
#include "services/DateFormat.h"
#include "services/JournalReversal.h"
#include "services/Money.h"
#include "services/Numbering.h"
#include "services/Refusal.h"
#include "store/Accounts.h"
#include "store/PayItemLine.h"
#include "store/ReferenceData.h"

namespace keltro::receipts {

using framework::trimmedText;
using services::roundMoney;

namespace {

using services::refuse;

// The bank: it must exist, have its account and take the currency.
bool checkBank(db::Database& db, services::Ui& ui, const std::string& currency,
               CheckedFastReceipt& checked) {
    const auto bank =
        db.queryOne("SELECT * FROM Bank_master_table WHERE bank_code = ?", {checked.bankCode});
    if (!bank) return refuse(ui, "Bank code is invalid");
    checked.bankAccno = trimmedText((*bank)["account_no"].textOr());
    if (checked.bankAccno.empty()) return refuse(ui, "Bank code : linked account is empty");
    if (!db.queryOne("SELECT * FROM Bank_currency_table WHERE bank_code = ? AND currency = ?",
                     {checked.bankCode, currency}))
        return refuse(ui, "This Bank code does not accept this currency (" + currency + ")");
    return true;
}

// The batch's own values, in the order they are checked: amount, date, the bank chosen,
// the currency and, when foreign, its rate.
bool checkBatchValues(db::Database& db, services::Ui& ui, const std::string& baseCurrency,
                      const FastReceiptDraft& draft, CheckedFastReceipt& checked) {
    const auto amount = checkedReceiptAmount(ui, draft.amountText);
    if (!amount) return false;
    checked.amount = *amount;
    if (!draft.receiptDate) return refuse(ui, "please specify receipt date");
    checked.receiptDate = *draft.receiptDate;
    checked.bankCode = framework::ItemValue(trimmedText(draft.bankCode));
    if (checked.bankCode.empty()) return refuse(ui, "Please specify Bank code");
    const std::string currency = trimmedText(draft.currency);
    if (currency.empty()) return refuse(ui, "please specify currency");
    if (currency != baseCurrency) {
        checked.rate = checkedForeignRate(db, ui, currency, draft.rateText);
        if (!checked.rate) return false;
    }
    checked.baseAmount =
        receiptBaseAmount(checked.amount, checked.rate.value_or(1), checked.rate.has_value());
    return true;
}

// Turns the grid's rows into the lines to store, checking each as the save reaches it.
class LineReader {
public:
    LineReader(FastReceiptSaveContext& context, const CheckedFastReceipt& batch)
        : m_context(context), m_batch(batch) {}

    // Whether the row is stored at all: an amount other than 0, not deleted.
    static bool isStored(const FastReceiptRow& row) {
        const auto amount = numberOf(row.amount);
        return !row.deleted && amount && roundMoney(*amount) != 0;
    }

    std::optional<FastReceiptLine> read(const FastReceiptRow& row, int lineno) {
        FastReceiptLine line;
        line.lineno = lineno;
        line.amount = roundMoney(numberOf(row.amount).value_or(0));
        const auto type = fastLineTypeOfLabel(trimmedText(row.type));
        if (!type) return fail("Transaction type is invalid");
        line.type = *type;
        if (!readPayment(row, line) || !readPurpose(row, line)) return std::nullopt;
        line.payer = row.payer;
        line.description = row.description;
        const bool ownPeriod = !trimmedText(row.period).empty() && !trimmedText(row.fyear).empty();
        line.period = ownPeriod ? static_cast<int>(numberOf(row.period).value_or(0)) : m_batch.period;
        line.fyear = ownPeriod ? trimmedText(row.fyear) : m_batch.fyear;
        line.computerId = services::ComputerName();
        return line;
    }

private:
    std::nullopt_t fail(const std::string& message) {
        m_context.ui.message(message);
        return std::nullopt;
    }

    bool readPayment(const FastReceiptRow& row, FastReceiptLine& line) {
        const std::string by = trimmedText(row.by);
        const auto received = by.empty() ? std::optional(ReceivedBy::Cash) : receivedByOfLabel(by);
        if (!received) return refuse(m_context.ui, "Receipt by is invalid");
        line.by = *received;
        if (line.by != ReceivedBy::Check) return true;
        line.checkNo = trimmedText(row.checkNo);
        if (trimmedText(row.checkDate).empty())
            return refuse(m_context.ui, "please specify check date");
        line.checkDate = framework::dateOfText(trimmedText(row.checkDate), m_context.dateFormat);
        return line.checkDate || refuse(m_context.ui, "check date is invalid");
    }

    bool readPurpose(const FastReceiptRow& row, FastReceiptLine& line) {
        line.invoiceNo = trimmedText(row.invoiceNo);
        if (line.type == FastLineType::Receipt && line.invoiceNo.empty())
            return refuse(m_context.ui, "please specify invoice no for Transaction-type Receipt");
        if (line.type == FastLineType::Prepayment) {
            line.orderNo = row.orderNo;
            line.customerPo = row.customerPo;
        }
        line.accno = framework::ItemValue(trimmedText(row.accno));
        if (line.type == FastLineType::Miscellaneous && line.accno.empty())
            return refuse(m_context.ui, "please specify account for misc receipt");
        line.customerNo = framework::ItemValue(trimmedText(row.customerNo));
        if (line.type == FastLineType::Miscellaneous) return true;
        if (line.customerNo.empty()) return refuse(m_context.ui, "please specify customer");
        return store::findCustomer(m_context.db, line.customerNo) ||
               refuse(m_context.ui, "customer_no invalid value");
    }

    FastReceiptSaveContext& m_context;
    const CheckedFastReceipt& m_batch;
};

// The account a line credits; nothing after a message.
std::optional<std::string> creditedAccount(FastReceiptSaveContext& context,
                                           const FastReceiptLine& line,
                                           const std::optional<store::Customer>& customer) {
    const std::string name = customer ? customer->name : std::string();
    std::string accno;
    std::string missing;
    switch (line.type) {
        case FastLineType::Receipt:
        case FastLineType::UnappliedCash:
            accno = customer ? trimmedText(customer->arAccno) : std::string();
            missing = "No Receiveable Account for customer : " + name;
            break;
        case FastLineType::Prepayment:
            accno = customer ? trimmedText(customer->prepaymentAccno) : std::string();
            missing = "No Prepayment Account for customer : " + name;
            break;
        case FastLineType::Miscellaneous:
            accno = store::findAccount(context.db, line.accno) ? line.accno : std::string();
            missing = "please specify account for miscellaneous receipt";
            break;
    }
    if (accno.empty()) {
        context.ui.message(missing);
        return std::nullopt;
    }
    return accno;
}

std::string journalDescription(const FastReceiptLine& line,
                               const std::optional<store::Customer>& customer) {
    const std::string who = customer ? customer->name : line.payer;
    return line.by == ReceivedBy::Check ? who + " Pay Check no " + line.checkNo : who + " Pay Cash";
}

// Posts the line's journal and stores its key on the line.
bool postLine(FastReceiptSaveContext& context, const FastReceiptHeader& batch,
              const CheckedFastReceipt& checked, FastReceiptLine& line) {
    const auto customer = line.customerNo.empty()
                              ? std::nullopt
                              : store::findCustomer(context.db, line.customerNo);
    const auto credited = creditedAccount(context, line, customer);
    if (!credited) return false;
    const double base = checked.rate ? roundMoney(line.amount * *checked.rate) : line.amount;
    db::Database& db = context.db;
    services::JournalEntries entries;
    entries.add(checked.bankAccno, batch.currency,
                store::amountOnSide(db, checked.bankAccno, store::Side::Debit, line.amount),
                store::amountOnSide(db, checked.bankAccno, store::Side::Debit, base));
    entries.add(*credited, batch.currency,
                store::amountOnSide(db, *credited, store::Side::Credit, line.amount),
                store::amountOnSide(db, *credited, store::Side::Credit, base));
    const services::JournalHeader header{.source = "AR",
                                         .sourceForm = kFastReceiptForm,
                                         .sourceDocno = batch.docno,
                                         .date = checked.receiptDate,
                                         .period = std::to_string(line.period.value_or(0)),
                                         .fyear = line.fyear,
                                         .currency = batch.currency,
                                         .exchangeRate = checked.rate,
                                         .remark = "Fast receipt no. " + batch.docno,
                                         .description = journalDescription(line, customer)};
    services::JournalOptions options;
    if (!line.customerNo.empty()) options.lineCustomerNo = line.customerNo;
    auto journal = context.journal();
    const auto glFkey = services::PostJournal(journal, header, entries, options);
    if (!glFkey) return false;
    line.glFkey = *glFkey;
    setFastLineJournalKey(db, batch.fkey, line.lineno, *glFkey);
    return true;
}

FastReceiptHeader headerOf(const FastReceiptDraft& draft, const CheckedFastReceipt& checked) {
    FastReceiptHeader h;
    h.bankCode = checked.bankCode;
    h.receiptDate = checked.receiptDate;
    h.currency = trimmedText(draft.currency);
    h.exchangeRate = checked.rate;
    h.rateDate = checked.rate ? draft.rateDate : std::nullopt;
    h.receiptAmount = checked.amount;
    h.receiptBaseAmount = checked.baseAmount;
    h.remark = draft.remark;
    h.period = checked.period;
    h.fyear = checked.fyear;
    return h;
}

// The line number of a row: its own, else the next above every other.
int linenoOf(const FastReceiptRow& row, int& highest) {
    const auto own = numberOf(row.lineno);
    const int lineno = own && *own > 0 ? static_cast<int>(*own) : highest + 1;
    highest = std::max(highest, lineno);
    return lineno;
}

int highestLineno(const std::vector<FastReceiptRow>& rows) {
    int highest = 0;
    for (const auto& row : rows)
        if (const auto own = numberOf(row.lineno)) highest = std::max(highest, static_cast<int>(*own));
    return highest;
}

// Appends the reversal of every line's journal to that journal.
bool reverseLineJournals(FastReceiptSaveContext& context, const FastReceiptHeader& batch,
                         const std::string& description) {
    auto journal = context.journal();
    for (const auto& line : fastReceiptLines(context.db, batch.fkey))
        if (!line.glFkey.empty() &&
            !services::AppendJournalReversal(journal, line.glFkey, description))
            return false;
    return true;
}

}  // namespace

std::optional<CheckedFastReceipt> checkFastReceipt(db::Database& db, services::Ui& ui,
                                                   const std::string& baseCurrency,
                                                   const FastReceiptDraft& draft) {
    CheckedFastReceipt checked;
    const std::string currency = trimmedText(draft.currency);
    if (!checkBatchValues(db, ui, baseCurrency, draft, checked) ||
        !checkBank(db, ui, currency, checked))
        return std::nullopt;
    const auto period = checkedPeriodAndYear(ui, draft.periodText, draft.fyear);
    if (!period) return std::nullopt;
    checked.period = period->period;
    checked.fyear = period->fyear;
    return checked;
}

std::optional<std::string> saveNewFastReceipt(FastReceiptSaveContext& context,
                                              const FastReceiptDraft& draft,
                                              const CheckedFastReceipt& checked) {
    db::Transaction transaction(context.db);
    const auto numbers = services::NumberNewDocument(context.db, context.ui, store::kCompany,
                                                     kFastReceiptDoctype, checked.fyear);
    if (!numbers) return std::nullopt;
    FastReceiptHeader header = headerOf(draft, checked);
    header.docno = numbers->docno;
    header.fkey = numbers->fkey;
    header.id = insertFastReceipt(context.db, header);
    LineReader reader(context, checked);
    int highest = highestLineno(draft.rows);
    for (const auto& row : draft.rows) {
        if (!LineReader::isStored(row)) continue;
        auto line = reader.read(row, linenoOf(row, highest));
        if (!line) return std::nullopt;
        insertFastReceiptLine(context.db, header, *line);
        if (!postLine(context, header, checked, *line)) return std::nullopt;
    }
    transaction.commit();
    return header.fkey;
}

bool updateStoredFastReceipt(FastReceiptSaveContext& context, const FastReceiptHeader& stored,
                             const FastReceiptDraft& draft, const CheckedFastReceipt& checked) {
    db::Transaction transaction(context.db);
    if (!reverseLineJournals(context, stored, "Reverse due to edit Fast receipt")) return false;
    FastReceiptHeader header = headerOf(draft, checked);
    header.id = stored.id;
    header.docno = stored.docno;
    header.fkey = stored.fkey;
    header.receiptDate = stored.receiptDate;
    header.currency = stored.currency;
    updateFastReceipt(context.db, header);
    std::set<int> storedLines;
    for (const auto& line : fastReceiptLines(context.db, stored.fkey)) storedLines.insert(line.lineno);
    LineReader reader(context, checked);
    int highest = std::max(highestLineno(draft.rows),
                           storedLines.empty() ? 0 : *storedLines.rbegin());
    for (const auto& row : draft.rows) {
        const int lineno = linenoOf(row, highest);
        const bool wasStored = storedLines.count(lineno) > 0;
        if (!LineReader::isStored(row)) {
            if (wasStored) deleteFastReceiptLine(context.db, stored.fkey, lineno);
            continue;
        }
        auto line = reader.read(row, lineno);
        if (!line) return false;
        if (wasStored)
            updateFastReceiptLine(context.db, header, *line);
        else
            insertFastReceiptLine(context.db, header, *line);
        if (!postLine(context, header, checked, *line)) return false;
    }
    transaction.commit();
    return true;
}

std::string fastReceiptRefusal(const FastReceiptHeader& batch) {
    if (batch.isVoid) return batch.docno + " was void.";
    if (batch.complete) return batch.docno + " is complete.";
    return {};
}

bool voidFastReceipt(FastReceiptSaveContext& context, const FastReceiptHeader& batch) {
    db::Transaction transaction(context.db);
    if (!reverseLineJournals(context, batch, "Void Fast receipt " + batch.docno)) return false;
    markFastReceiptVoid(context.db, batch.fkey);
    transaction.commit();
    return true;
}

}  // namespace keltro::receipts
