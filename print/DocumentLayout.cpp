#include "print/DocumentLayout.h"

#include <algorithm>

#include "print/PageComposer.h"

namespace keltro::print {

namespace {

// The columns of the line table; the description takes the width the others leave.
Table lineTable() {
    return Table({{"Item", 34, false},
                  {"Description", 0, false},
                  {"Tax code", 50, false},
                  {"Taxable amount", 80, true},
                  {"Tax amount", 72, true},
                  {"Gross amount", 80, true}});
}

void addressesAndParticulars(PageComposer& page, const DocumentPrintout& p) {
    const QString name = qtText(p.customerName);
    double bottom = page.captionedBlock(PageComposer::blockLeft(0), "BILL TO", name, qtText(p.billTo));
    // Without an address of its own the document ships to where it bills.
    const std::string& shipTo = p.shipTo.empty() ? p.billTo : p.shipTo;
    bottom = std::max(bottom, page.captionedBlock(PageComposer::blockLeft(1), "SHIP TO", name, qtText(shipTo)));

    // Always the dates; the others when the document has them.
    const auto shown = particularsShown({{"Date", p.date}, {"Due date", p.dueDate}},
                                        {{"Customer no", p.customerNo},
                                         {"Payment term", p.paymentTerm},
                                         {"Currency", p.currency},
                                         {"Customer PO", p.customerPo},
                                         {"Order no", p.orderNo},
                                         {"Applies to", p.applyTo}});
    bottom = std::max(bottom, page.particulars(PageComposer::blockLeft(2), shown));
    page.moveBelow(bottom);
}

Summary summaryOf(const DocumentPrintout& p) {
    Summary summary;
    summary.breakdownCaption = "TAX BY AUTHORITY";
    for (const AuthorityTax& tax : p.taxes) summary.breakdown.push_back({qtText(tax.authority), tax.amount});
    summary.subtotals = {{"Taxable amount", p.taxableTotal()}, {"Tax", p.taxTotal()}};
    summary.total = {p.currency.empty() ? QString("Total") : "Total " + qtText(p.currency), p.total()};
    summary.remark = qtText(p.remark);
    return summary;
}

}  // namespace

PageLayout layoutDocument(const DocumentPrintout& p) {
    PageComposer page(p);
    page.firstPageHeading();
    addressesAndParticulars(page, p);
    page.beginTable(lineTable());
    for (const PrintedLine& line : p.lines)
        page.tableRow({qtText(line.payItem), qtText(line.description), qtText(line.taxCode),
                       PageComposer::amount(line.taxableAmount), PageComposer::amount(line.taxAmount),
                       PageComposer::amount(line.grossAmount)});
    page.endTable();
    page.closing(summaryOf(p));
    return page.finish();
}

bool renderPdf(const DocumentPrintout& printout, const QString& pdfPath) {
    return writePdf(layoutDocument(printout), pdfPath, documentName(printout));
}

}  // namespace keltro::print
