// The lines of the invoice screen without a database: which rows are lines, the totals,
// the pay item of an inserted line, the rules of writing lines (tax groups, sales
// account, the part already paid, the stamps of notes) and the printout's query text.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "invoice/InvoiceLines.h"
#include "invoice/InvoicePrint.h"
#include "services/SqlLiteral.h"

namespace keltro::invoice {
namespace {

using ::testing::ElementsAre;

framework::GridRow row(const std::string& payItem, const std::string& taxable = "",
                       const std::string& tax = "") {
    return {{"pay item", payItem}, {"taxable amount", taxable}, {"tax amount", tax},
            {"gross amount", ""}, {"sales account", "4000"}};
}

TEST(InvoiceLines, rowsWithoutPayItemAreNotLinesNorCounted) {
    const std::vector<framework::GridRow> rows = {row(" 1 ", "1,000.00", "60.00"),
                                                  row("", "500", "30"), row("2", "0.10", "0.01")};
    const auto lines = entryLines(rows);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].payItem, "1");
    EXPECT_EQ(lines[0].taxableAmount, 1000);
    EXPECT_FALSE(lines[0].grossAmount.has_value());
    const Totals totals = totalsOf(lines);
    EXPECT_EQ(totals.taxable, 1000.1);
    EXPECT_EQ(totals.tax, 60.01);
    EXPECT_EQ(totals.total, 1060.11);
}

TEST(InvoiceLines, anInsertedLineTakesTheNextWholeNumberAboveTheHighest) {
    struct Case {
        std::vector<std::string> payItems;
        const char* next;
    };
    const Case cases[] = {{{}, "1"}, {{"1", "2"}, "3"}, {{"5", "2"}, "6"},
                          {{"A", "2.5", "x7"}, "3"}, {{"10", "9"}, "11"}};
    for (const auto& c : cases) {
        std::vector<framework::GridRow> rows;
        for (const auto& p : c.payItems) rows.push_back(row(p));
        EXPECT_EQ(nextPayItem(rows), c.next);
    }
}

TEST(InvoiceLines, numbersAsAPersonTypesThem) {
    for (const char* good : {"100", "1,234.50", " -5 ", "0.005", "1e3"})
        EXPECT_TRUE(isNumericText(good)) << good;
    for (const char* bad : {"", " ", "ten", "12 kg", "1.2.3", "nan", "inf"})
        EXPECT_FALSE(isNumericText(bad)) << bad;
}

class StoreLinesTest : public ::testing::Test {
protected:
    StoreLinesTest() {
        taxes.replaceLine("1", {{"1", "STATE", 100, 6, 6, false, "S1"}});
        writing.receivableAccno = "1100";
        writing.stamp = {"clerk", {2026, 12, 6}, "10:11:12", "WS-7"};
    }

    EntryLine line(double gross, const std::string& account = "4000") {
        return {"1", "Paper", gross, gross - 6, 6.0, "S1", account};
    }

    services::RecordingUi ui;
    TaxTable taxes;
    LineWriting writing;
};

TEST_F(StoreLinesTest, anInvoiceLineIsStampedWithTheWorkstation) {
    const auto lines = storeLines(ui, {line(106)}, taxes, writing);
    ASSERT_TRUE(lines);
    const store::ArLine& l = lines->at(0);
    EXPECT_EQ(l.created.user, "clerk");
    EXPECT_EQ(l.created.time, "10:11:12");
    EXPECT_EQ(l.computerId, "WS-7");
    EXPECT_EQ(l.user, "");
    EXPECT_EQ(l.source, "");
}

TEST_F(StoreLinesTest, noteLinesAreStampedWithTheirDateUserAndSource) {
    writing.note = true;
    writing.dueDate = db::Date{2027, 1, 5};
    const auto lines = storeLines(ui, {line(106)}, taxes, writing);
    ASSERT_TRUE(lines);
    const store::ArLine& l = lines->at(0);
    EXPECT_EQ(l.created.user, "");
    EXPECT_EQ(l.created.date, (db::Date{2026, 12, 6}));
    EXPECT_EQ(l.created.time, "");
    EXPECT_EQ(l.computerId, "");
    EXPECT_EQ(l.user, "clerk");
    EXPECT_EQ(l.source, "AR-INVOICE");
    EXPECT_EQ(l.sourceForm, "A/R Invoice Entry");
    EXPECT_EQ(l.dueDateDb, (db::Date{2027, 1, 5}));
}

TEST_F(StoreLinesTest, aLineThatCannotBeWrittenSaysWhy) {
    EXPECT_FALSE(storeLines(ui, {line(106, "")}, taxes, writing));
    TaxTable none;
    EXPECT_FALSE(storeLines(ui, {line(106)}, none, writing));
    EXPECT_TRUE(storeLines(ui, {line(0)}, none, writing));  // nothing to tax
    EXPECT_THAT(ui.texts(), ElementsAre("please specify sales account",
                                        "cannot find tax element for pay item 1"));
}

TEST_F(StoreLinesTest, anEditKeepsThePartAlreadyPaid) {
    store::ArLine stored;
    stored.payItem = "1";
    stored.grossAmount = 106;
    stored.openAmount = 46;  // 60 paid
    stored.created = {"admin", db::Date{2026, 11, 2}, "09:00:00"};
    stored.paidAmount = 60;
    writing.edit = true;
    writing.stored = {stored};

    const auto kept = storeLines(ui, {line(106)}, taxes, writing);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->at(0).openAmount, 46);
    EXPECT_EQ(kept->at(0).paidAmount, 60);
    EXPECT_EQ(kept->at(0).created.user, "admin");
    EXPECT_EQ(kept->at(0).userUpdated, "clerk");
    EXPECT_EQ(kept->at(0).modified.time, "10:11:12");

    const auto lowered = storeLines(ui, {line(80)}, taxes, writing);
    ASSERT_TRUE(lowered);
    EXPECT_EQ(lowered->at(0).openAmount, 20);
    EXPECT_FALSE(storeLines(ui, {line(50)}, taxes, writing));
    EXPECT_THAT(ui.texts(), ElementsAre("pay item 1 : Cannot change gross amount to be less "
                                        "than paid amount."));
}

TEST(InvoicePrint, theQueryCarriesShownValuesQuotedAndNotesNegated) {
    PrintedDocument document{"1ar-1",      "O'Brien Hardware", "06/12/2026", "",
                             "2/10",       "05/01/2027",       "16/12/2026", false};
    const std::string invoice = previewQuery(document);
    EXPECT_THAT(invoice, ::testing::StartsWith(
                             "SELECT AR_header_table.docno, AR_header_table.customer_no,  "
                             "'O''Brien Hardware' AS customer_name, AR_header_table.parent_no,  "
                             "'06/12/2026' As invoice_date, "));
    EXPECT_THAT(invoice, ::testing::HasSubstr(
                             " AR_transaction_table.paid_amount, AR_transaction_table.sales_accno "
                             " FROM AR_header_table INNER JOIN AR_transaction_table ON "));
    EXPECT_THAT(invoice, ::testing::EndsWith(" WHERE AR_header_table.fkey = '1ar-1' Order by "
                                             "AR_transaction_table.pay_item"));
    EXPECT_EQ(invoice.find("* -1"), std::string::npos);

    document.creditNote = true;
    const std::string note = previewQuery(document);
    for (const char* amount : {"gross_amount", "open_amount", "discount_available",
                               "discount_taken", "writeoff", "taxable_amount", "tax_amount",
                               "paid_amount"})
        EXPECT_THAT(note, ::testing::HasSubstr(std::string("AR_transaction_table.") + amount +
                                               " * -1 As " + amount))
            << amount;
    EXPECT_THAT(note, ::testing::HasSubstr(
                          "AR_transaction_table.sales_accno  FROM AR_header_table"));
    EXPECT_EQ(services::sqlLiteral("it's 'quoted'"), "'it''s ''quoted'''");
}

}  // namespace
}  // namespace keltro::invoice
