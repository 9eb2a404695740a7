// The printed page of an invoice or a receipt, read as a person would read its text runs:
// each value in full, inside the margins, above the footer, none over another; long
// documents go on to further pages; and the PDF file it becomes.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <set>

#include "print/DocumentLayout.h"
#include "print/DocumentPrintout.h"
#include "print/ReceiptLayout.h"

namespace keltro {
namespace {

using print::PageLayout;
using print::PlacedText;
using print::TextStyle;

// A document of the company's to O'Brien Hardware.
print::PrintoutHeading toOBrien(const char* title, const char* number) {
    return {"Bluefield Office Supplies Inc.", title, number, "1002", "O'Brien Hardware"};
}

print::DocumentPrintout invoice() {
    print::DocumentPrintout p;
    static_cast<print::PrintoutHeading&>(p) = toOBrien("A/R Invoice", "INV-26-00001");
    p.date = "15/01/2026";
    p.dueDate = "14/02/2026";
    p.billTo = "1210 Route 1\nFalmouth, ME 04105";
    p.shipTo = "Dock 4\r\n77 Harbor Road\r\nPortland, ME 04101";
    p.currency = "USD";
    p.paymentTerm = "2/10";
    p.customerPo = "PO-2291";
    p.remark = "Delivered in two loads; the second one on the customer's own truck.";
    p.lines = {{"1", "Copier paper, letter size, 40 cases", "S1", 1250, 75, 1325},
               {"2", "Delivery and assembly at the Falmouth store", "S2", 380, 28.84, 408.84},
               {"3", "Archive shelving for the head office", "LX", 1234567.89, 500, 1235067.89}};
    p.taxes = {{"STATE", 97.8}, {"CITY", 6.04}, {"LUX", 500}};
    return p;
}

// How many runs read `text`, on `page` or, with -1, on any page.
long countText(const PageLayout& layout, const QString& text, int page = -1) {
    return std::ranges::count_if(layout.texts,
                                 [&](const PlacedText& t) { return t.text == text && (page < 0 || t.page == page); });
}

bool hasText(const PageLayout& layout, int page, const QString& text) { return countText(layout, text, page) > 0; }

const PlacedText* findText(const PageLayout& layout, const QString& text) {
    const auto it = std::ranges::find(layout.texts, text, &PlacedText::text);
    return it == layout.texts.end() ? nullptr : &*it;
}

// The text runs of one page lie inside the page's margins, above the footer, and apart.
void expectTidyPages(const PageLayout& layout) {
    constexpr double kPrinterEdge = 14;  // about 5 mm no printer reaches
    const QRectF printable = QRectF(QPointF(0, 0), layout.pageSize).adjusted(kPrinterEdge, kPrinterEdge,
                                                                            -kPrinterEdge, -kPrinterEdge);
    for (int page = 0; page < layout.pageCount; ++page) {
        SCOPED_TRACE("page " + std::to_string(page + 1));
        std::vector<const PlacedText*> runs;
        double footerTop = layout.pageSize.height();
        for (const auto& t : layout.texts) {
            if (t.page != page) continue;
            runs.push_back(&t);
            if (t.style == TextStyle::Footer) footerTop = std::min(footerTop, t.box.top());
        }
        ASSERT_FALSE(runs.empty());
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const PlacedText& t = *runs[i];
            EXPECT_TRUE(printable.contains(t.box)) << t.text.toStdString();
            if (t.style != TextStyle::Footer) { EXPECT_LE(t.box.bottom(), footerTop + 0.01) << t.text.toStdString(); }
            EXPECT_FALSE(t.text.contains(QChar(0x2026))) << "cut short: " << t.text.toStdString();
            for (std::size_t j = i + 1; j < runs.size(); ++j) {
                const QRectF overlap = t.box.intersected(runs[j]->box);
                EXPECT_FALSE(overlap.width() > 0.5 && overlap.height() > 0.5)
                    << t.text.toStdString() << " lies over " << runs[j]->text.toStdString();
            }
        }
    }
}

TEST(DocumentLayout, showsTheDocumentItsLinesAndTotalsInFull) {
    const PageLayout layout = print::layoutDocument(invoice());
    ASSERT_EQ(layout.pageCount, 1);
    for (const char* text :
         {"Bluefield Office Supplies Inc.", "A/R Invoice", "No. INV-26-00001", "15/01/2026", "14/02/2026",
          "1002", "2/10", "USD", "PO-2291", "O'Brien Hardware", "1210 Route 1", "Falmouth, ME 04105",
          "Dock 4", "77 Harbor Road", "Portland, ME 04101", "Copier paper, letter size, 40 cases", "S2",
          "1,234,567.89", "1,235,067.89", "28.84", "STATE", "97.80", "LUX", "500.00",
          // the totals: taxable, tax, gross
          "1,236,197.89", "603.84", "1,236,801.73", "Total USD", "Page 1 of 1"})
        EXPECT_TRUE(hasText(layout, 0, QString::fromUtf8(text))) << text;
    EXPECT_EQ(countText(layout, "O'Brien Hardware"), 2) << "under \"Bill to\" and under \"Ship to\"";
    expectTidyPages(layout);

    print::DocumentPrintout withoutShipTo = invoice();
    withoutShipTo.shipTo.clear();
    EXPECT_EQ(countText(print::layoutDocument(withoutShipTo), "Falmouth, ME 04105"), 2) << "shipped to the bill-to";
}

TEST(DocumentLayout, manyLinesGoOnToFurtherPagesUnderTheHeadings) {
    print::DocumentPrintout p = invoice();
    p.lines.clear();
    for (int i = 1; i <= 70; ++i)
        p.lines.push_back({std::to_string(i),
                           "Item" + std::to_string(i) + " ring binders, lever arch, assorted colours, box of ten",
                           "S1", 10.0 * i, 0.6 * i, 10.6 * i});
    const PageLayout layout = print::layoutDocument(p);
    ASSERT_GE(layout.pageCount, 3);
    std::set<QString> firstWords;
    for (const auto& t : layout.texts)
        if (t.text.startsWith("Item") && t.text.size() > 4 && t.text.at(4).isDigit()) {
            EXPECT_TRUE(firstWords.insert(t.text.section(' ', 0, 0)).second) << t.text.toStdString();
        }
    EXPECT_EQ(firstWords.size(), 70u);
    for (int page = 0; page < layout.pageCount; ++page) {
        SCOPED_TRACE("page " + std::to_string(page + 1));
        EXPECT_TRUE(hasText(layout, page, "Item")) << "the headings";
        EXPECT_TRUE(hasText(layout, page, QString("Page %1 of %2").arg(page + 1).arg(layout.pageCount)));
        EXPECT_EQ(hasText(layout, page, "A/R Invoice INV-26-00001 (continued)"), page > 0);
        // 10.6 × (1 + … + 70) = 26,341.00, on the last page only.
        EXPECT_EQ(hasText(layout, page, "Total USD"), page + 1 == layout.pageCount);
    }
    EXPECT_TRUE(hasText(layout, layout.pageCount - 1, "26,341.00"));
    expectTidyPages(layout);
}

TEST(DocumentLayout, aLongDescriptionOrAddressWrapsWhereAParticularIsShortened) {
    print::DocumentPrintout p = invoice();
    const std::string description =
        "Refurbished executive desk in walnut veneer with matching return, cable management tray, "
        "lockable pedestal and delivery to the third floor";
    p.lines[0].description = description;
    p.billTo = "Accounts payable department, attention Ms Eleanor Fitzgerald-Whitmore, 1210 Route 1\n"
               "Falmouth, ME 04105";
    p.customerPo = "PO-2291/ANNUAL-FRAMEWORK-AGREEMENT-2026-FURNITURE";
    const PageLayout layout = print::layoutDocument(p);
    // The description's rows follow each other in its column.
    const auto first =
        std::ranges::find_if(layout.texts, [](const PlacedText& t) { return t.text.startsWith("Refurbished"); });
    ASSERT_NE(first, layout.texts.end());
    QStringList printed, shortened;
    for (auto it = first; it != layout.texts.end() && it->box.left() == first->box.left(); ++it) printed << it->text;
    EXPECT_GT(printed.size(), 1);
    EXPECT_EQ(printed.join(' ').toStdString(), description);
    EXPECT_TRUE(hasText(layout, 0, "Falmouth, ME 04105"));
    // The one particular too long for its box is shortened; nothing else is.
    for (const auto& t : layout.texts)
        if (t.text.contains(QChar(0x2026))) shortened << t.text;
    ASSERT_EQ(shortened.size(), 1);
    EXPECT_TRUE(shortened[0].startsWith("PO-2291/")) << shortened[0].toStdString();
}

// A cheque from O'Brien Hardware that paid an invoice less a discount, set off a credit
// note and left 56.00 unapplied: 1,300.00 - 106.00 + 56.00 = 1,250.00.
print::ReceiptPrintout receipt() {
    print::ReceiptPrintout p;
    static_cast<print::PrintoutHeading&>(p) = toOBrien("A/R Receipt", "RC-26-00001");
    p.reference = "REF-88";
    p.date = "06/12/2026";
    p.address = "1210 Route 1\nFalmouth, ME 04105";
    p.payer = "Mrs O'Brien";
    p.payBy = "Check";
    p.checkNo = "7731";
    p.checkDate = "04/12/2026";
    p.bankCode = "BOA";
    p.currency = "USD";
    p.receiptAmount = 1250;
    p.unapplied = 56;
    p.unappliedDocno = "UA-26-00001";
    p.remark = "Paid at the counter";
    p.lines = {{"INV-26-00001", "Invoice", "1", 1325, 1300, 25, 0, 0},
               {"CN-26-00001", "Credit Note", "1", -106, -106, 0, 0, 0}};
    return p;
}

bool sameRow(const QRectF& a, const QRectF& b) { return std::abs(a.center().y() - b.center().y()) < 0.5; }

// The text of the table's cell in the row of `rowText`, under the heading `column`.
QString cellText(const PageLayout& layout, const QString& rowText, const QString& column) {
    const PlacedText* row = findText(layout, rowText);
    const auto heading = std::ranges::find_if(
        layout.texts, [&](const PlacedText& t) { return t.style == TextStyle::ColumnHead && t.text == column; });
    if (!row || heading == layout.texts.end()) return "(no such row or column)";
    for (const auto& t : layout.texts)
        if (sameRow(t.box, row->box) && std::abs(t.box.left() - heading->box.left()) < 0.5 &&
            std::abs(t.box.right() - heading->box.right()) < 0.5)
            return t.text;
    return {};
}

// The amount printed on the right of a label of the totals.
QString amountBeside(const PageLayout& layout, const QString& label) {
    const PlacedText* placed = findText(layout, label);
    if (!placed) return "(no such label)";
    for (const auto& t : layout.texts)
        if (&t != placed && sameRow(t.box, placed->box) && t.box.left() >= placed->box.right() - 0.01) return t.text;
    return {};
}

using Pairs = std::initializer_list<std::pair<const char*, const char*>>;

TEST(ReceiptLayout, showsWhoPaidHowAndTheAppliedDocumentsInTheirColumns) {
    const PageLayout layout = print::layoutReceipt(receipt());
    ASSERT_EQ(layout.pageCount, 1);
    for (const char* text :
         {"Bluefield Office Supplies Inc.", "A/R Receipt", "No. RC-26-00001", "RECEIVED FROM", "O'Brien Hardware",
          "1210 Route 1", "Falmouth, ME 04105", "PAY BY", "Check", "PAYER", "Mrs O'Brien", "CHECK NO", "7731",
          "CHECK DATE", "04/12/2026", "BANK", "BOA", "DATE", "06/12/2026", "REFERENCE", "REF-88", "1002", "USD",
          "REMARK", "Paid at the counter", "Page 1 of 1"})
        EXPECT_TRUE(hasText(layout, 0, QString::fromUtf8(text))) << text;
    for (const char* absent : {"CASH ACCOUNT", "EXCHANGE RATE", "STATUS", "Written off"})
        EXPECT_FALSE(hasText(layout, 0, absent)) << absent;

    const struct {
        const char *row, *column, *text;
    } cells[] = {
        {"INV-26-00001", "Type", "Invoice"},       {"INV-26-00001", "Item", "1"},
        {"INV-26-00001", "Open amount", "1,325.00"}, {"INV-26-00001", "Applied", "1,300.00"},
        {"INV-26-00001", "Discount", "25.00"},     {"INV-26-00001", "Write-off", "0.00"},
        {"INV-26-00001", "Balance", "0.00"},       {"CN-26-00001", "Type", "Credit Note"},
        {"CN-26-00001", "Open amount", "-106.00"}, {"CN-26-00001", "Applied", "-106.00"},
        {"CN-26-00001", "Discount", "0.00"},       {"CN-26-00001", "Balance", "0.00"},
    };
    for (const auto& cell : cells)
        EXPECT_EQ(cellText(layout, cell.row, cell.column), cell.text) << cell.row << " / " << cell.column;

    const PlacedText* lastLine = findText(layout, "CN-26-00001");
    ASSERT_TRUE(lastLine);
    for (const auto& [label, amount] : Pairs{{"Discount taken", "25.00"},
                                             {"Applied to documents", "1,194.00"},
                                             {"Unapplied UA-26-00001", "56.00"},
                                             {"Amount received USD", "1,250.00"}}) {
        const PlacedText* placed = findText(layout, label);
        ASSERT_TRUE(placed) << label;
        EXPECT_EQ(amountBeside(layout, label), amount) << label;
        EXPECT_GT(placed->box.top(), lastLine->box.bottom()) << label << " under the lines";
    }
    EXPECT_EQ(findText(layout, "Amount received USD")->style, TextStyle::Strong);
    expectTidyPages(layout);
}

TEST(ReceiptLayout, aVoidForeignReceiptThatAppliedNothingShowsItsRateAndNoTable) {
    print::ReceiptPrintout p = receipt();
    p.lines.clear();
    p.payBy = "Cash";
    p.cashAccount = "1020";
    p.checkNo = p.checkDate = p.bankCode = "";
    p.currency = "EUR";
    p.exchangeRate = "1.35";
    p.rateDate = "01/12/2026";
    p.baseAmount = 1687.5;
    p.unapplied = 1250;
    p.isVoid = true;
    const PageLayout layout = print::layoutReceipt(p);
    for (const auto& [label, amount] :
         Pairs{{"EXCHANGE RATE", "1.35"}, {"BASE AMOUNT", "1,687.50"}, {"CASH ACCOUNT", "1020"}, {"STATUS", "VOID"},
               {"Applied to documents", "0.00"}, {"Unapplied UA-26-00001", "1,250.00"},
               {"Amount received EUR", "1,250.00"}})
        EXPECT_EQ(amountBeside(layout, label), amount) << label;
    for (const char* absent : {"Document no", "DISCOUNT AND WRITE-OFF", "CHECK NO"})
        EXPECT_FALSE(hasText(layout, 0, absent)) << absent;
    expectTidyPages(layout);
}

TEST(DocumentPdf, isWrittenAsAPdfFileOrRefused) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto expectPdf = [&folder](const auto& printout, const QString& name) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(print::renderPdf(printout, folder.filePath(name)));
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.startsWith("%PDF-")) << bytes.left(16).toStdString();
        EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));
        EXPECT_GT(bytes.size(), 2000);
        EXPECT_FALSE(print::renderPdf(printout, folder.filePath("no such folder/" + name)));
    };
    expectPdf(invoice(), "INV-26-00001.pdf");
    expectPdf(receipt(), "RC-26-00001.pdf");
}

}  // namespace
}  // namespace keltro
