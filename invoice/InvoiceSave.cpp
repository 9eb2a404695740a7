#include "invoice/InvoiceSave.h"

#include "services/DateFormat.h"
#include "services/JournalReversal.h"
#include "services/Money.h"
#include "services/Numbering.h"
#include "store/ArDocument.h"
#include "store/ColumnValues.h"

namespace keltro::invoice {

using services::roundMoney;

namespace {

store::TermCopies termCopies(const store::PaymentTerm& term) {
    return {term.termNo, term.duedays, term.earlyDays, term.earlyDiscount};
}

bool isForeign(const SaveContext& context, const InvoiceDraft& draft) {
    return draft.typed.currency != context.baseCurrency;
}

store::ArHeader newHeader(const SaveContext& context, const InvoiceDraft& draft,
                          const ValidatedEntry& entry,
                          const services::NewDocumentNumbers& numbers) {
    const bool invoice = isInvoice(*draft.kind);
    store::ArHeader h;
    h.doctype = savedDoctype(*draft.kind);
    h.fkey = numbers.fkey;
    h.docno = numbers.docno;
    h.customerNo = entry.customer.customerNo;
    h.invoiceDate = draft.typed.invoiceDate;
    h.customerPo = draft.customerPo;
    if (isNote(*draft.kind)) h.orderNo = draft.orderNo;
    h.dueDate = draft.dueDate;
    h.discountDate = draft.discountDate;
    h.term = termCopies(entry.term);
    h.remark = draft.remark;
    h.currency = draft.typed.currency;
    if (isForeign(context, draft)) {
        h.exchangeRate = entry.exchangeRate;
        h.rateDate = draft.rateDate;
    }
    if (invoice) {
        h.billToAddress = draft.billTo;
        h.shipToAddress = draft.shipTo;
    }
    h.period = entry.period;
    h.fyear = entry.fyear;
    h.source = kSourceInvoice;
    h.sourceForm = kSourceForm;
    h.created = {invoice ? context.user : "", context.clock.today(),
                 invoice ? context.clock.timeOfDay() : ""};
    return h;
}

LineWriting lineWriting(const SaveContext& context, const store::ArHeader& header,
                        const ValidatedEntry& entry, bool edit,
                        std::vector<store::ArLine> stored) {
    LineWriting writing;
    writing.note = isNote(kindOfDoctype(header.doctype));
    writing.edit = edit;
    writing.receivableAccno = entry.receivableAccno;
    writing.dueDate = header.dueDate;
    writing.sourceDocno = header.sourceDocno;
    writing.stamp = {context.user, context.clock.today(), context.clock.timeOfDay(),
                     services::ComputerName()};
    writing.stored = std::move(stored);
    return writing;
}

PostedDocument postedDocument(const SaveContext& context, const store::ArHeader& header,
                              const ValidatedEntry& entry) {
    return {header.doctype,
            header.docno,
            header.customerNo,
            header.invoiceDate.value_or(context.clock.today()),
            header.period.value_or(entry.period),
            header.fyear,
            header.currency,
            header.exchangeRate,
            entry.receivableAccno};
}

// Posts the document's journal and keeps its key on the header (the stored one too, when
// `stored`).
bool postAndKeepKey(SaveContext& context, const InvoiceDraft& draft, const ValidatedEntry& entry,
                    store::ArHeader& header, bool reverseFirst, bool stored) {
    services::JournalContext journal{context.ledger, context.clock, context.user, context.baseCurrency};
    if (reverseFirst && !services::ReverseInvoiceJournal(journal, header.glFkey, header.docno,
                                                         services::InvoiceChange::Edit))
        return false;
    const auto key = postInvoiceJournal(journal, postedDocument(context, header, entry),
                                        draft.lines, *draft.taxes, context.rounding);
    if (!key) return false;
    header.glFkey = *key;
    if (stored) store::setGlFkey(context.db, header.fkey, *key);
    return true;
}

// The edited header values; true when the document must be posted again.
bool applyEdit(const SaveContext& context, const InvoiceDraft& draft, const ValidatedEntry& entry,
               store::ArHeader& header) {
    header.term = termCopies(entry.term);
    header.remark = draft.remark;
    header.customerPo = draft.customerPo;
    if (draft.dueDate) header.dueDate = draft.dueDate;
    if (draft.discountDate) header.discountDate = draft.discountDate;
    header.modified = {context.clock.today(), context.clock.timeOfDay()};
    if (header.source == "SO-INVOICE") return false;
    bool repost = false;
    if (isForeign(context, draft)) {
        repost = header.exchangeRate != entry.exchangeRate;
        header.exchangeRate = entry.exchangeRate;
        header.rateDate = draft.rateDate;
    }
    header.billToAddress = draft.billTo;
    header.shipToAddress = draft.shipTo;
    repost = repost || header.period != entry.period || header.fyear != entry.fyear;
    header.period = entry.period;
    header.fyear = entry.fyear;
    return repost;
}

// The header values every line repeats, for lines that are not written again.
void refreshLineCopies(db::Database& db, const store::ArHeader& header) {
    store::ColumnValues row;
    store::addTermColumns(row, header.term);
    row.add("due_date", header.dueDate)
        .add("discount_date", header.discountDate)
        .add("exchange_rate", header.exchangeRate)
        .add("period", header.period)
        .addText("fyear", header.fyear);
    db.queue(row.updateSql("AR_transaction_table", "fkey = ?"), row.paramsWith({header.fkey}));
}

// An edited document keeps the receivable account its lines carry, so that its open items
// and its journal name the same account.
ValidatedEntry withStoredReceivable(ValidatedEntry entry,
                                    const std::vector<store::ArLine>& stored) {
    if (!stored.empty() && !stored.front().arAccno.empty())
        entry.receivableAccno = stored.front().arAccno;
    return entry;
}

}  // namespace

std::optional<std::string> saveNewDocument(SaveContext& context, const InvoiceDraft& draft,
                                           const ValidatedEntry& entry) {
    const auto numbers = services::NumberNewDocument(
        context.db, context.ui, store::kCompany, savedDoctype(*draft.kind), entry.fyear);
    if (!numbers) return std::nullopt;
    if (isInvoice(*draft.kind) &&
        !passCreditLimit(context, entry.customer, draft.totalText))
        return std::nullopt;
    store::ArHeader header = newHeader(context, draft, entry, *numbers);
    const auto writing = lineWriting(context, header, entry, false, {});
    const auto lines = storeLines(context.ui, draft.lines, *draft.taxes, writing);
    if (!lines) return std::nullopt;
    // The journal is posted before the header is written, so that the header is stored
    // with its journal's key; all of it commits or none.
    if (!postAndKeepKey(context, draft, entry, header, false, false)) return std::nullopt;
    store::queueHeader(context.db, header);
    store::insertLines(context.db, header, *lines);
    return header.fkey;
}

bool saveEditedDocument(SaveContext& context, const InvoiceDraft& draft,
                        const ValidatedEntry& validated) {
    auto header = store::findHeader(context.db, draft.fkey);
    if (!header) {
        context.ui.message("No Header record");
        return false;
    }
    auto stored = store::loadLines(context.db, header->fkey);
    const ValidatedEntry entry = withStoredReceivable(validated, stored);
    bool repost = applyEdit(context, draft, entry, *header);
    if (draft.linesChanged) {
        const auto writing = lineWriting(context, *header, entry, true, std::move(stored));
        const auto lines = storeLines(context.ui, draft.lines, *draft.taxes, writing);
        if (!lines) return false;
        store::replaceLines(context.db, *header, *lines);
        repost = true;
    } else {
        refreshLineCopies(context.db, *header);
    }
    store::updateHeader(context.db, *header);
    if (repost && header->source == kSourceInvoice &&
        !postAndKeepKey(context, draft, entry, *header, true, true))
        return false;
    return true;
}

bool passCreditLimit(SaveContext& context, const store::Customer& customer,
                     const std::string& totalText) {
    if (!isNumericText(totalText)) {
        context.ui.message("Total amount is invalid.");
        return false;
    }
    const double total = services::ParseAmountText(totalText);
    const double limit = customer.creditLimit.value_or(0);
    const double owing = customer.owingBalance.value_or(0);
    const double owingAfter = roundMoney(owing + total);
    if (limit > 0 && owingAfter > limit) {
        context.ui.message("Credit sales amount exceeds credit limit");
        if (context.status)
            *context.status = "Credit limit = " + services::FormatNumber(limit, "#,##0") +
                              " : Balance owing = " + services::FormatAmount(owing);
        return false;
    }
    store::setOwingBalance(context.db, customer.customerNo, owingAfter);
    return true;
}

}  // namespace keltro::invoice
