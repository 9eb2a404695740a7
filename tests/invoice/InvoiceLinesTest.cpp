// The lines of the invoice screen without a database: which rows are lines, the totals,
// the pay item of an inserted line, the rules of writing lines (tax groups, sales
// account, the part already paid, the stamps of notes) and the printout's query text.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

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
    const auto lines = entryLines({row(" 1 ", "1,000.00", "60.00"), row("", "500", "30"),
                                   row("2", "0.10", "0.01")});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(std::tie(lines[0].payItem, lines[0].taxableAmount, lines[0].grossAmount),
              std::tuple("1", 1000.0, std::nullopt));
    const Totals totals = totalsOf(lines);
    EXPECT_EQ(std::tie(totals.taxable, totals.tax, totals.total),
              std::tuple(1000.1, 60.01, 1060.11));
}

// Above the highest, not the last: InvoiceEntryDbTest.
TEST(InvoiceLines, anInsertedLineTakesTheNextWholeNumberAboveTheHighestNumericPayItem) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{}, "1"}, {{"A", "2.5", "x7"}, "3"}, {{"10", "9"}, "11"}};
    for (const auto& [payItems, next] : cases) {
        std::vector<framework::GridRow> rows;
        for (const auto& p : payItems) rows.push_back(row(p));
        EXPECT_EQ(nextPayItem(rows), next);
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
    StoreLinesTest() { taxes.replaceLine("1", {{"1", "STATE", 100, 6, 6, false, "S1"}}); }

    EntryLine line(double gross) { return {"1", "Paper", gross, gross - 6, 6.0, "S1", "4000"}; }

    services::RecordingUi ui;
    TaxTable taxes;
    LineWriting writing{.receivableAccno = "1100",
                        .stamp = {"clerk", {2026, 12, 6}, "10:11:12", "WS-7"}};
};

// Invoice lines carry the workstation and who created them; note lines only the date,
// `User`, their source and the due date as entered.
TEST_F(StoreLinesTest, invoiceLinesAreStampedWithTheWorkstationNotesWithUserAndSource) {
    const auto stamps = [&](bool note) {
        writing.note = note;
        const store::ArLine l = storeLines(ui, {line(106)}, taxes, writing).value().at(0);
        return std::tuple(l.created.user, l.created.date, l.created.time, l.computerId, l.user,
                          l.source, l.sourceForm, l.dueDateDb);
    };
    const std::optional<db::Date> today = db::Date{2026, 12, 6}, due = db::Date{2027, 1, 5};
    writing.dueDate = due;
    EXPECT_EQ(stamps(false), std::tuple("clerk", today, "10:11:12", "WS-7", "", "", "",
                                        std::optional<db::Date>()));
    EXPECT_EQ(stamps(true), std::tuple("", today, "", "", "clerk", "AR-INVOICE",
                                       "A/R Invoice Entry", due));
}

// A line without a sales account is refused at the save (InvoiceEntryDbTest).
TEST_F(StoreLinesTest, aLineWithAnAmountButNoTaxRowsCannotBeWritten) {
    const TaxTable none;
    EXPECT_FALSE(storeLines(ui, {line(106)}, none, writing));
    EXPECT_TRUE(storeLines(ui, {line(0)}, none, writing));  // nothing to tax
    EXPECT_THAT(ui.texts(), ElementsAre("cannot find tax element for pay item 1"));
}

TEST_F(StoreLinesTest, anEditKeepsThePartAlreadyPaid) {
    store::ArLine stored{{.payItem = "1", .grossAmount = 106, .openAmount = 46,  // 60 paid
                          .created = {"admin", db::Date{2026, 11, 2}, "09:00:00"}}};
    stored.paidAmount = 60;
    writing.edit = true;
    writing.stored = {stored};

    const store::ArLine k = storeLines(ui, {line(106)}, taxes, writing).value().at(0);
    EXPECT_EQ(std::tie(k.openAmount, k.paidAmount, k.created.user, k.userUpdated, k.modified.time),
              std::tuple(46.0, 60.0, "admin", "clerk", "10:11:12"));
    EXPECT_EQ(storeLines(ui, {line(80)}, taxes, writing).value().at(0).openAmount, 20);
    EXPECT_FALSE(storeLines(ui, {line(50)}, taxes, writing));
    EXPECT_THAT(ui.texts(), ElementsAre("pay item 1 : Cannot change gross amount to be less "
                                        "than paid amount."));
}

// The query's text as the report engine reads it: shown values as literals, each quote
// doubled, and a note's amounts negated (running it is InvoicePostingDbTest's).
TEST(InvoicePrint, theQueryCarriesShownValuesQuotedAndNotesNegated) {
    PrintedDocument document{"1ar-1",      "O'Brien Hardware", "06/12/2026", "",
                             "2/10",       "05/01/2027",       "16/12/2026", false};
    const std::string tail =
        " AR_transaction_table.sales_accno  FROM AR_header_table INNER JOIN AR_transaction_table "
        "ON  AR_header_table.fkey = AR_transaction_table.fkey WHERE AR_header_table.fkey = "
        "'1ar-1' Order by AR_transaction_table.pay_item";
    const std::string invoice = previewQuery(document);
    EXPECT_THAT(invoice, ::testing::StartsWith(
                             "SELECT AR_header_table.docno, AR_header_table.customer_no,  "
                             "'O''Brien Hardware' AS customer_name, AR_header_table.parent_no,  "
                             "'06/12/2026' As invoice_date, "));
    EXPECT_THAT(invoice, ::testing::EndsWith(" AR_transaction_table.paid_amount," + tail));
    EXPECT_EQ(invoice.find("* -1"), std::string::npos);

    document.creditNote = true;
    const std::string note = previewQuery(document);
    EXPECT_THAT(note, ::testing::EndsWith(" * -1 As paid_amount," + tail));
    for (const char* amount : {"gross_amount", "open_amount", "discount_available",
                               "discount_taken", "writeoff", "taxable_amount", "tax_amount"})
        EXPECT_THAT(note, ::testing::HasSubstr(std::string("AR_transaction_table.") + amount +
                                               " * -1 As " + amount))
            << amount;
    EXPECT_EQ(services::sqlLiteral("it's 'quoted'"), "'it''s ''quoted'''");
}

}  // namespace
}  // namespace keltro::invoice
