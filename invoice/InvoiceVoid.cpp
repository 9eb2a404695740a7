#include "invoice/InvoiceVoid.h"

#include "services/JournalReversal.h"
#include "store/ArDocument.h"

namespace keltro::invoice {

namespace {

// The refusal of a void, or empty when the document may be voided.
std::string refusalOf(const store::ArHeader& header) {
    if (header.source != kSourceInvoice)
        return "Cannot void this document. Original source is Sales Order";
    switch (store::paidState(header)) {
        case store::PaidState::PartlyPaid: return "Invoice was partially paid.";
        case store::PaidState::FullyPaid: return "Invoice was paid.";
        case store::PaidState::Unpaid: break;
    }
    return header.isVoid ? "Invoice was void" : "";
}

bool reverseJournal(SaveContext& context, const store::ArHeader& header) {
    services::JournalContext journal{context.ledger, context.clock, context.user, context.baseCurrency};
    return services::ReverseInvoiceJournal(journal, header.glFkey, header.docno,
                                           services::InvoiceChange::Void)
        .has_value();
}

}  // namespace

bool voidDocument(SaveContext& context, const std::string& fkey) {
    db::Transaction transaction(context.db);
    const auto header = store::findHeader(context.db, fkey);
    if (!header) {
        context.ui.message("No Header record");
        return false;
    }
    if (const std::string refusal = refusalOf(*header); !refusal.empty()) {
        context.ui.message(refusal);
        return false;
    }
    if (!reverseJournal(context, *header)) return false;
    store::markVoid(context.db, fkey, {context.clock.today(), context.clock.timeOfDay()});
    transaction.commit();
    return true;
}

}  // namespace keltro::invoice
