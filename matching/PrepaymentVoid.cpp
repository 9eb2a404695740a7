#include "matching/PrepaymentVoid.h"

#include "services/JournalReversal.h"

namespace keltro::matching {

std::string prepaymentVoidRefusal(const receipts::ReceiptHeader& prepayment) {
    if (prepayment.isVoid) return prepayment.docno + " was void.";
    if (!prepayment.prepaymentInvoiceNo.empty())
        return "Prepayment was applied to invoiced.\nUse Sales invoice Entry to edit prepayment.";
    return {};
}

bool voidPrepayment(PrepaymentSaveContext& context, const receipts::ReceiptHeader& shown) {
    db::Transaction transaction(context.db);
    // Read again inside the transaction: another workstation may have moved on.
    const auto prepayment = receipts::findReceipt(context.db, shown.fkey);
    if (!prepayment) return false;
    if (const std::string refusal = prepaymentVoidRefusal(*prepayment); !refusal.empty()) {
        context.ui.message(refusal);
        return false;
    }
    receipts::markReceiptVoid(context.db, prepayment->fkey, context.clock.today());
    context.db.execute("UPDATE AR_transaction_table SET void = TRUE WHERE fkey = ?",
                       {prepayment->fkey});
    auto journal = context.journal();
    if (!services::ReversePrepaymentJournal(journal, prepayment->glFkey, prepayment->docno))
        return false;
    transaction.commit();
    return true;
}

}  // namespace keltro::matching
