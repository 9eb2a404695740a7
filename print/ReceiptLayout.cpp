#include "print/ReceiptLayout.h"

#include <algorithm>

#include "print/PageComposer.h"
#include "services/DateFormat.h"

namespace keltro::print {

namespace {

// The columns of the applied documents; the number takes the width the others leave.
Table appliedTable() {
    return Table({{"Document no", 0, false},
                  {"Type", 76, false},
                  {"Item", 30, false},
                  {"Open amount", 72, true},
                  {"Applied", 72, true},
                  {"Discount", 56, true},
                  {"Write-off", 56, true},
                  {"Balance", 72, true}});
}

// Who paid, how, and the receipt's particulars, side by side.
void payerAndParticulars(PageComposer& page, const ReceiptPrintout& p) {
    double bottom =
        page.captionedBlock(PageComposer::blockLeft(0), "RECEIVED FROM", qtText(p.customerName), qtText(p.address));
    const auto payment = particularsShown({}, {{"Pay by", p.payBy},
                                               {"Payer", p.payer},
                                               {"Check no", p.checkNo},
                                               {"Check date", p.checkDate},
                                               {"Bank", p.bankCode},
                                               {"Cash account", p.cashAccount}});
    bottom = std::max(bottom, page.particulars(PageComposer::blockLeft(1), payment));
    // The base amount only beside a rate: in the base currency it is the amount received.
    const bool foreign = !p.exchangeRate.empty();
    const auto receipt = particularsShown({{"Date", p.date}},
                                          {{"Reference", p.reference},
                                           {"Customer no", p.customerNo},
                                           {"Currency", p.currency},
                                           {"Exchange rate", p.exchangeRate},
                                           {"Rate date", p.rateDate},
                                           {"Base amount", foreign ? services::FormatAmount(p.baseAmount) : ""},
                                           {"Status", p.isVoid ? "VOID" : ""}});
    bottom = std::max(bottom, page.particulars(PageComposer::blockLeft(2), receipt));
    page.moveBelow(bottom);
}

Summary summaryOf(const ReceiptPrintout& p) {
    Summary summary;
    summary.breakdownCaption = "DISCOUNT AND WRITE-OFF";
    if (p.discountTotal() != 0) summary.breakdown.push_back({"Discount taken", p.discountTotal()});
    if (p.writeoffTotal() != 0) summary.breakdown.push_back({"Written off", p.writeoffTotal()});
    const QString unapplied =
        p.unappliedDocno.empty() ? QString("Unapplied") : "Unapplied " + qtText(p.unappliedDocno);
    summary.subtotals = {{"Applied to documents", p.appliedTotal()}, {unapplied, p.unapplied}};
    summary.total = {p.currency.empty() ? QString("Amount received") : "Amount received " + qtText(p.currency),
                     p.receiptAmount};
    summary.remark = qtText(p.remark);
    return summary;
}

}  // namespace

PageLayout layoutReceipt(const ReceiptPrintout& p) {
    PageComposer page(p);
    page.firstPageHeading();
    payerAndParticulars(page, p);
    if (!p.lines.empty()) {
        page.beginTable(appliedTable());
        for (const AppliedDocument& line : p.lines)
            page.tableRow({qtText(line.documentNo), qtText(line.documentType), qtText(line.payItem),
                           PageComposer::amount(line.openAmount), PageComposer::amount(line.applied),
                           PageComposer::amount(line.discount), PageComposer::amount(line.writeoff),
                           PageComposer::amount(line.balance)});
        page.endTable();
    }
    page.closing(summaryOf(p));
    return page.finish();
}

bool renderPdf(const ReceiptPrintout& printout, const QString& pdfPath) {
    return writePdf(layoutReceipt(printout), pdfPath, documentName(printout));
}

}  // namespace keltro::print
