// The printed page of an A/R document: what it shows, where, and the PDF file it becomes.
//
// The layout is a list of text runs, so the tests read the page as a person would: each
// value in its own run, in full, inside the page's margins, above the footer, and no run
// over another. A document with many lines goes on to further pages under the column
// headings, every line printed once, the totals at the end.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <set>

#include "print/DocumentLayout.h"
#include "print/DocumentPrintout.h"

namespace keltro {
namespace {

using print::DocumentPrintout;
using print::PageLayout;
using print::PlacedText;
using print::TextStyle;

DocumentPrintout invoice() {
    DocumentPrintout p;
    p.companyName = "Bluefield Office Supplies Inc.";
    p.title = "A/R Invoice";
    p.number = "INV-26-00001";
    p.date = "15/01/2026";
    p.dueDate = "14/02/2026";
    p.customerNo = "1002";
    p.customerName = "O'Brien Hardware";
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

std::vector<QString> textsOnPage(const PageLayout& layout, int page) {
    std::vector<QString> texts;
    for (const auto& t : layout.texts)
        if (t.page == page) texts.push_back(t.text);
    return texts;
}

bool hasText(const PageLayout& layout, int page, const QString& text) {
    const auto texts = textsOnPage(layout, page);
    return std::find(texts.begin(), texts.end(), text) != texts.end();
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
        for (const PlacedText* t : runs) {
            EXPECT_TRUE(printable.contains(t->box)) << t->text.toStdString();
            if (t->style != TextStyle::Footer) {
                EXPECT_LE(t->box.bottom(), footerTop + 0.01) << t->text.toStdString();
            }
            EXPECT_FALSE(t->text.contains(QChar(0x2026))) << "cut short: " << t->text.toStdString();
        }
        for (std::size_t i = 0; i < runs.size(); ++i)
            for (std::size_t j = i + 1; j < runs.size(); ++j) {
                const QRectF overlap = runs[i]->box.intersected(runs[j]->box);
                EXPECT_FALSE(overlap.width() > 0.5 && overlap.height() > 0.5)
                    << runs[i]->text.toStdString() << " lies over " << runs[j]->text.toStdString();
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
    // Under "Bill to" and under "Ship to".
    EXPECT_EQ(std::count_if(layout.texts.begin(), layout.texts.end(),
                            [](const PlacedText& t) { return t.text == "O'Brien Hardware"; }),
              2);
    expectTidyPages(layout);
}

TEST(DocumentLayout, withoutAShipToAddressShipsToTheBillToAddress) {
    DocumentPrintout p = invoice();
    p.shipTo.clear();
    const PageLayout layout = print::layoutDocument(p);
    EXPECT_EQ(std::count_if(layout.texts.begin(), layout.texts.end(),
                            [](const PlacedText& t) { return t.text == "Falmouth, ME 04105"; }),
              2);
}

TEST(DocumentLayout, manyLinesGoOnToFurtherPagesUnderTheHeadings) {
    DocumentPrintout p = invoice();
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
    const QString pages = QString::number(layout.pageCount);
    for (int page = 0; page < layout.pageCount; ++page) {
        EXPECT_TRUE(hasText(layout, page, "Item")) << "headings on page " << page + 1;
        EXPECT_TRUE(hasText(layout, page, QString("Page %1 of %2").arg(page + 1).arg(pages)));
        if (page > 0) {
            EXPECT_TRUE(hasText(layout, page, "A/R Invoice INV-26-00001 (continued)"));
        }
    }
    // 10.6 × (1 + … + 70) = 26,341.00, on the last page only.
    for (int page = 0; page + 1 < layout.pageCount; ++page) EXPECT_FALSE(hasText(layout, page, "Total USD"));
    EXPECT_TRUE(hasText(layout, layout.pageCount - 1, "Total USD"));
    EXPECT_TRUE(hasText(layout, layout.pageCount - 1, "26,341.00"));
    expectTidyPages(layout);
}

TEST(DocumentLayout, aLongDescriptionOrAddressWrapsWhereAParticularIsShortened) {
    DocumentPrintout p = invoice();
    const std::string description =
        "Refurbished executive desk in walnut veneer with matching return, cable management tray, "
        "lockable pedestal and delivery to the third floor";
    p.lines[0].description = description;
    p.billTo = "Accounts payable department, attention Ms Eleanor Fitzgerald-Whitmore, 1210 Route 1\n"
               "Falmouth, ME 04105";
    p.customerPo = "PO-2291/ANNUAL-FRAMEWORK-AGREEMENT-2026-FURNITURE";
    const PageLayout layout = print::layoutDocument(p);
    // The description's rows follow each other in its column.
    const auto first = std::find_if(layout.texts.begin(), layout.texts.end(),
                                    [](const PlacedText& t) { return t.text.startsWith("Refurbished"); });
    ASSERT_NE(first, layout.texts.end());
    QStringList printed;
    for (auto it = first; it != layout.texts.end() && it->box.left() == first->box.left(); ++it)
        printed << it->text;
    EXPECT_GT(printed.size(), 1);
    EXPECT_EQ(printed.join(' ').toStdString(), description);
    EXPECT_TRUE(hasText(layout, 0, "Falmouth, ME 04105"));
    // The one particular too long for its box is shortened; nothing else is.
    std::vector<QString> shortened;
    for (const auto& t : layout.texts)
        if (t.text.contains(QChar(0x2026))) shortened.push_back(t.text);
    ASSERT_EQ(shortened.size(), 1u);
    EXPECT_TRUE(shortened[0].startsWith("PO-2291/")) << shortened[0].toStdString();
}

TEST(DocumentPdf, isWrittenAsAPdfFileOrRefused) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("INV-26-00001.pdf");
    ASSERT_TRUE(print::renderDocumentPdf(invoice(), path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-")) << bytes.left(16).toStdString();
    EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));
    EXPECT_GT(bytes.size(), 2000);

    EXPECT_FALSE(print::renderDocumentPdf(invoice(), folder.filePath("no such folder/INV-26-00001.pdf")));
}

}  // namespace
}  // namespace keltro
