// The A/R document store on the engine of this run: the credit-note sign at the store's
// edge, Null dates, pay-item order, line replacement inside the save's transaction, the
// paid flags and the open-document list, and recurring definitions. Header updates and
// the journal key are checked through the invoice screen's edits.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "db/Database.h"
#include "schema/Schema.h"
#include "store/ArDocument.h"
#include "store/RecurringDefinition.h"
#include "support/TestDatabase.h"

namespace keltro {
namespace {

using store::ArDocument;
using store::ArHeader;
using store::ArLine;
using store::PaidState;

ArHeader header(const std::string& doctype, const std::string& number) {
    ArHeader h;
    h.doctype = doctype;
    h.fkey = "1" + doctype + "-" + number;
    h.docno = doctype + "-" + number;
    h.customerNo = "O'Brien";
    h.invoiceDate = db::Date{2024, 3, 15};
    h.currency = "CAD";
    h.period = 3;
    h.fyear = "2024";
    h.source = "AR-INVOICE";
    return h;
}

ArLine line(const std::string& payItem, double taxable = 100.0, double tax = 5.0) {
    ArLine l;
    l.payItem = payItem;
    l.description = "Line " + payItem;
    l.taxableAmount = taxable;
    l.taxAmount = tax;
    l.grossAmount = taxable + tax;
    l.openAmount = taxable + tax;
    l.taxCode = "G";
    l.taxes = {{"GST", taxable, 5.0, tax, false}};
    l.salesAccno = "4000";
    return l;
}

std::vector<std::string> payItems(const std::vector<ArLine>& lines) {
    std::vector<std::string> items;
    for (const auto& l : lines) items.push_back(l.payItem);
    return items;
}

class ArDocumentStore : public ::testing::Test {
protected:
    db::Database& db() { return database.db(); }

    ArDocument save(ArHeader h, std::vector<ArLine> lines) {
        ArDocument document{std::move(h), std::move(lines)};
        db::Transaction tx(db());
        store::insertDocument(db(), document);
        tx.commit();
        return document;
    }

    db::Row rawLine(const std::string& fkey, const std::string& payItem) {
        return *db().queryOne("SELECT * FROM AR_transaction_table WHERE fkey = ? AND pay_item = ?",
                              {fkey, payItem});
    }

    test::TestDatabase database{test::Contents::Tables};
};

TEST_F(ArDocumentStore, creditNoteAmountsAreStoredNegativeAndHandedBackPositive) {
    struct Case {
        const char* doctype;
        double storedSign;
    };
    for (const Case& c : {Case{"ar", 1}, Case{"dn", 1}, Case{"cn", -1}}) {
        SCOPED_TRACE(c.doctype);
        ArLine l = line("1", 100.0, 5.0);
        l.paidAmount = 20.0;
        l.discountTaken = 1.5;
        l.writeoff = 0.25;
        l.taxes.push_back({"PST", 105.0, 8.0, 8.4, true});
        const ArDocument saved = save(header(c.doctype, "7"), {l});

        const db::Row raw = rawLine(saved.header.fkey, "1");
        const double s = c.storedSign;
        EXPECT_EQ(raw["gross_amount"].number(), s * 105.0);
        EXPECT_EQ(raw["open_amount"].number(), s * 105.0);
        EXPECT_EQ(raw["taxable_amount"].number(), s * 100.0);
        EXPECT_EQ(raw["tax_amount"].number(), s * 5.0);
        EXPECT_EQ(raw["taxable_amount2"].number(), s * 105.0);
        EXPECT_EQ(raw["tax_amount2"].number(), s * 8.4);
        EXPECT_EQ(raw["paid_amount"].number(), s * 20.0);
        EXPECT_EQ(raw["discount_taken"].number(), s * 1.5);
        EXPECT_EQ(raw["writeoff"].number(), s * 0.25);
        EXPECT_EQ(raw["tax_rate2"].number(), 8.0) << "rates keep their sign";
        EXPECT_TRUE(raw["discount_available"].isNull()) << "an empty amount stays Null";

        const auto loaded = store::loadDocument(db(), saved.header.fkey);
        ASSERT_TRUE(loaded);
        ASSERT_EQ(loaded->lines.size(), 1u);
        const ArLine& back = loaded->lines[0];
        EXPECT_EQ(back.grossAmount, 105.0);
        EXPECT_EQ(back.openAmount, 105.0);
        EXPECT_EQ(back.taxableAmount, 100.0);
        EXPECT_EQ(back.taxAmount, 5.0);
        ASSERT_EQ(back.taxes.size(), 2u);
        EXPECT_EQ(back.taxes[1].authority, "PST");
        EXPECT_EQ(back.taxes[1].taxableAmount, 105.0);
        EXPECT_EQ(back.taxes[1].taxAmount, 8.4);
        EXPECT_TRUE(back.taxes[1].taxable);
        EXPECT_EQ(back.paidAmount, 20.0);
        EXPECT_EQ(back.discountTaken, 1.5);
        EXPECT_EQ(back.writeoff, 0.25);
        EXPECT_FALSE(back.discountAvailable.has_value());
    }
}

TEST_F(ArDocumentStore, creditNoteZeroAmountIsNotStoredAsNegativeZero) {
    const ArDocument saved = save(header("cn", "1"), {line("1", 0.0, 0.0)});
    EXPECT_FALSE(std::signbit(*rawLine(saved.header.fkey, "1")["gross_amount"].number()));
}

TEST_F(ArDocumentStore, emptyDatesRateAndTextStayNull) {
    ArHeader h = header("ar", "1");
    h.dueDate.reset();
    h.discountDate.reset();
    const ArDocument saved = save(h, {line("1")});

    const db::Row raw = *db().queryOne("SELECT * FROM AR_header_table WHERE fkey = ?", {h.fkey});
    for (const char* column : {"due_date", "discount_date", "exchange_rate", "rate_date",
                               "customer_po", "GLFKEY", "prepayment"})
        EXPECT_TRUE(raw[column].isNull()) << column;
    EXPECT_EQ(raw["paid"].boolean(), false) << "flags are written, never Null";
    EXPECT_EQ(raw["void"].boolean(), false);
    const db::Row rawItem = rawLine(h.fkey, "1");
    for (const char* column : {"due_date", "discount_date", "tax_authority2", "tax_amount5",
                               "taxable5", "paid_amount"})
        EXPECT_TRUE(rawItem[column].isNull()) << column;

    const auto loaded = store::loadDocument(db(), h.fkey);
    ASSERT_TRUE(loaded);
    EXPECT_FALSE(loaded->header.dueDate.has_value());
    EXPECT_FALSE(loaded->header.discountDate.has_value());
    EXPECT_FALSE(loaded->header.exchangeRate.has_value());
    EXPECT_FALSE(loaded->lines[0].copies.dueDate.has_value());
    EXPECT_EQ(loaded->header.invoiceDate, (db::Date{2024, 3, 15}));
}

TEST_F(ArDocumentStore, headerAndLineCopiesRoundTrip) {
    ArHeader h = header("ar", "1");
    h.dueDate = db::Date{2024, 4, 14};
    h.discountDate = db::Date{2024, 2, 29};
    h.exchangeRate = 1.3725;
    h.rateDate = db::Date{2024, 3, 1};
    h.currency = "USD";
    h.term = {"30", 30, 10, 2.0};
    h.remark = "O'Brien's \"rush\" order";
    const ArDocument saved = save(h, {line("1")});
    EXPECT_GT(saved.header.id, 0);

    const auto back = store::findHeaderByDocno(db(), h.docno);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->id, saved.header.id);
    EXPECT_EQ(back->remark, h.remark);
    EXPECT_EQ(back->exchangeRate, 1.3725);
    EXPECT_EQ(back->dueDate, h.dueDate);
    EXPECT_EQ(back->discountDate, h.discountDate);
    EXPECT_EQ(back->term.duedays, 30);
    EXPECT_EQ(back->month, "03");
    EXPECT_EQ(back->year, "2024");

    const ArLine l = store::loadLines(db(), h.fkey).at(0);
    EXPECT_EQ(l.copies.docno, h.docno);
    EXPECT_EQ(l.copies.customerNo, "O'Brien");
    EXPECT_EQ(l.copies.currency, "USD");
    EXPECT_EQ(l.copies.exchangeRate, 1.3725);
    EXPECT_EQ(l.copies.dueDate, h.dueDate);
    EXPECT_EQ(l.copies.term.earlyDiscount, 2.0);
    EXPECT_EQ(l.copies.period, 3);
}

TEST_F(ArDocumentStore, lookupByNumberStaysInCompanyOneAndHonoursTheType) {
    save(header("ar", "5"), {line("1")});
    ArHeader note = header("cn", "5");
    note.docno = "ar-5";  // the same number under another type
    save(note, {line("1")});
    db().execute("INSERT INTO AR_header_table (company, doctype, fkey, docno) VALUES (?, ?, ?, ?)",
                 {2, "ar", "2ar-9", "ar-9"});

    EXPECT_EQ(store::findHeaderByDocno(db(), "ar-5", "cn")->fkey, "1cn-5");
    EXPECT_EQ(store::findHeaderByDocno(db(), "ar-5", "ar")->fkey, "1ar-5");
    EXPECT_FALSE(store::findHeaderByDocno(db(), "ar-9"));
    EXPECT_FALSE(store::loadDocument(db(), "1ar-404"));
}

TEST_F(ArDocumentStore, linesComeBackInTextOrderOfPayItem) {
    save(header("ar", "1"), {line("2"), line("10"), line("1"), line("3")});
    EXPECT_EQ(payItems(store::loadLines(db(), "1ar-1")),
              (std::vector<std::string>{"1", "10", "2", "3"}));
}

TEST_F(ArDocumentStore, replacedLinesComeBackWhenTheSaveRollsBack) {
    const ArDocument saved = save(header("ar", "1"), {line("1"), line("2")});
    try {
        db::Transaction tx(db());
        store::replaceLines(db(), saved.header, {line("7")});
        EXPECT_EQ(payItems(store::loadLines(db(), "1ar-1")), std::vector<std::string>{"7"});
        throw std::runtime_error("posting failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(payItems(store::loadLines(db(), "1ar-1")), (std::vector<std::string>{"1", "2"}));

    {
        db::Transaction tx(db());
        store::replaceLines(db(), saved.header, {line("7")});
        tx.commit();
    }
    EXPECT_EQ(payItems(store::loadLines(db(), "1ar-1")), std::vector<std::string>{"7"});
    EXPECT_THROW(store::replaceLines(db(), saved.header, {}), std::logic_error);
    EXPECT_EQ(store::loadLines(db(), "1ar-1").size(), 1u)
        << "nothing is deleted outside a transaction";
}

TEST_F(ArDocumentStore, paidStatesSetTheFlags) {
    struct Case {
        PaidState state;
        bool paid;
        bool fullyPaid;
    };
    const std::vector<Case> cases = {{PaidState::FullyPaid, true, true},
                                     {PaidState::PartlyPaid, true, false},
                                     {PaidState::Unpaid, false, false}};
    save(header("ar", "1"), {line("1")});
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.state));
        store::setPaidState(db(), "1ar-1", c.state);
        const auto h = store::findHeader(db(), "1ar-1");
        EXPECT_EQ(h->paid, c.paid);
        EXPECT_EQ(h->fullyPaid, c.fullyPaid);
        EXPECT_EQ(store::paidState(*h), c.state);
    }
}

TEST_F(ArDocumentStore, openDocumentListLeavesOutPaidVoidAndOtherTypesHighestFirst) {
    for (const char* n : {"1", "2", "3", "4"}) save(header("ar", n), {line("1")});
    save(header("cn", "9"), {line("1")});
    store::setPaidState(db(), "1ar-2", PaidState::FullyPaid);
    store::setPaidState(db(), "1ar-3", PaidState::PartlyPaid);
    store::markVoid(db(), "1ar-4", {db::Date{2024, 4, 1}, "10:00:00"});

    EXPECT_EQ(store::openDocumentNumbers(db(), "ar"), (std::vector<std::string>{"ar-3", "ar-1"}));
    EXPECT_EQ(store::openDocumentNumbers(db(), "cn"), std::vector<std::string>{"cn-9"});
    const auto voided = store::loadDocument(db(), "1ar-4");
    EXPECT_TRUE(voided->header.isVoid);
    EXPECT_TRUE(voided->lines.at(0).isVoid);
    EXPECT_EQ(voided->lines.at(0).modified.date, (db::Date{2024, 4, 1}));
}

TEST_F(ArDocumentStore, recurringDefinitionRoundTripsWithItsTemplateLines) {
    store::RecurHeader h;
    h.fkey = "1cur-1";
    h.recurno = "R-0001";
    h.recurName = "Monthly rent";
    h.customerNo = "C1";
    h.currency = "CAD";
    h.term = {"30", 30, std::nullopt, std::nullopt};
    h.recurDate = 31;
    h.beginDate = db::Date{2024, 1, 1};
    h.frequency = "monthly";
    {
        db::Transaction tx(db());
        store::insertRecurHeader(db(), h);
        store::insertRecurLines(db(), h, {line("2"), line("10")});
        tx.commit();
    }
    const auto loaded = store::loadRecurringByNumber(db(), "R-0001");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->header.recurDate, 31);
    EXPECT_FALSE(loaded->header.endDate.has_value());
    EXPECT_FALSE(loaded->header.noInvoice.has_value());
    ASSERT_EQ(loaded->lines.size(), 2u);
    EXPECT_EQ(loaded->lines[0].payItem, "10");
    EXPECT_EQ(loaded->lines[0].copies.docno, "R-0001");
    EXPECT_EQ(loaded->lines[0].copies.doctype, "cur");
    EXPECT_EQ(loaded->lines[0].taxes.at(0).authority, "GST");
    EXPECT_EQ(db().queryOne("SELECT doctype FROM AR_recur_header_table")->at(0).text(), "cur");

    {
        db::Transaction tx(db());
        store::replaceRecurLines(db(), h, {line("1")});
    }  // rolled back
    EXPECT_EQ(store::loadRecurLines(db(), "1cur-1").size(), 2u);
}

}  // namespace
}  // namespace keltro
