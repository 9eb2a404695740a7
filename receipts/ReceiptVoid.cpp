#include "receipts/ReceiptVoid.h"

#include "receipts/SettledDocuments.h"
#include "services/JournalReversal.h"

namespace keltro::receipts {

namespace {

bool hasUnappliedCash(const ReceiptHeader& receipt) {
    return !receipt.unappliedDocno.empty() && receipt.unappliedAmount.value_or(0) > 0;
}

// Who used the unapplied cash: the later receipt's reference, else its number.
std::string referenceOf(const ReceiptLine& line) {
    return line.receiptNo.empty() ? line.docno : line.receiptNo;
}

void voidUnappliedCash(db::Database& db, const ReceiptHeader& receipt) {
    if (!hasUnappliedCash(receipt)) return;
    db.execute("UPDATE AR_transaction_table SET void = TRUE WHERE company = 1 AND docno = ?",
               {receipt.unappliedDocno});
    db.execute("UPDATE AR_header_table SET void = TRUE WHERE company = 1 AND docno = ?",
               {receipt.unappliedDocno});
}

}  // namespace

std::vector<std::string> voidRefusal(db::Database& db, const ReceiptHeader& receipt) {
    if (receipt.isVoid) return {receipt.docno + " was void."};
    if (!hasUnappliedCash(receipt)) return {};
    const auto user = lineApplying(db, receipt.unappliedDocno);
    if (!user) return {};
    return {"Receipt no " + referenceOf(*user) + " refer to this unapplied document",
            "please void it before proceeding"};
}

bool voidReceipt(ReceiptSaveContext& context, const ReceiptHeader& shown) {
    db::Transaction transaction(context.db);
    // Read again inside the transaction: another workstation may have moved on.
    const auto receipt = findReceipt(context.db, shown.fkey);
    if (!receipt) return false;
    if (const auto refusal = voidRefusal(context.db, *receipt); !refusal.empty()) {
        for (const auto& message : refusal)
            context.ui.message(message);
        return false;
    }
    for (const auto& line : receiptLines(context.db, receipt->fkey))
        restoreLine(context.db, {line.invoiceNo, line.payItem, line.applied, line.discountTaken,
                                 line.writeoff});
    markReceiptVoid(context.db, receipt->fkey, context.clock.today());
    services::JournalContext journal{context.ledger, context.clock, context.user,
                                     context.baseCurrency};
    if (!services::ReverseReceiptJournal(journal, receipt->glFkey, receipt->docno)) return false;
    voidUnappliedCash(context.db, *receipt);
    transaction.commit();
    return true;
}

}  // namespace keltro::receipts
