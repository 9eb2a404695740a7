// The A/R document store on the engine of this run: the credit-note sign at the store's
// edge, Null dates, pay-item order, line replacement inside the save's transaction, the
// paid flags and the open-document list, and recurring definitions. Header updates and
// the journal key are checked through the invoice screen's edits.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <tuple>

#include "db/Database.h"
#include "store/ArDocument.h"
#include "store/RecurringDefinition.h"
#include "support/TestDatabase.h"

namespace keltro {
namespace {

using store::ArDocument;
using store::ArHeader;
using store::ArLine;
using store::PaidState;
using Texts = std::vector<std::string>;

ArHeader header(const std::string& doctype, const std::string& number) {
    return {.doctype = doctype, .fkey = "1" + doctype + "-" + number, .docno = doctype + "-" + number,
            .customerNo = "O'Brien", .invoiceDate = db::Date{2024, 3, 15}, .currency = "CAD", .period = 3,
            .fyear = "2024", .source = "AR-INVOICE"};
}

ArLine line(const std::string& payItem, double taxable = 100.0, double tax = 5.0) {
    return {{.payItem = payItem, .description = "Line " + payItem, .grossAmount = taxable + tax,
             .openAmount = taxable + tax, .taxableAmount = taxable, .taxAmount = tax, .taxCode = "G",
             .taxes = {{"GST", taxable, 5.0, tax, false}}, .salesAccno = "4000"}};
}

Texts payItems(const std::vector<ArLine>& lines) {
    Texts items;
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

// A credit note's amounts are stored negative and handed back positive, a zero never as
// negative zero; whatever is left empty is stored as Null and comes back empty, while the
// flags are always written.
TEST_F(ArDocumentStore, creditNoteSignStaysAtTheStoresEdgeAndEmptyValuesStayNull) {
    ArLine l = line("1", 100.0, 5.0);
    l.paidAmount = 20.0;
    l.discountTaken = 1.5;
    l.writeoff = 0.25;
    l.taxes.push_back({"PST", 105.0, 8.0, 8.4, true});
    const std::pair<const char*, double> stored[] = {
        {"gross_amount", 105.0}, {"open_amount", 105.0}, {"taxable_amount", 100.0}, {"tax_amount", 5.0},
        {"taxable_amount2", 105.0}, {"tax_amount2", 8.4}, {"paid_amount", 20.0}, {"discount_taken", 1.5},
        {"writeoff", 0.25}};
    for (const auto& [doctype, s] : {std::pair("ar", 1.0), std::pair("dn", 1.0), std::pair("cn", -1.0)}) {
        SCOPED_TRACE(doctype);
        const std::string fkey = save(header(doctype, "7"), {l, line("2", 0.0, 0.0)}).header.fkey;
        const db::Row raw = rawLine(fkey, "1");
        for (const auto& [column, amount] : stored) EXPECT_EQ(raw[column].number(), s * amount) << column;
        EXPECT_EQ(raw["tax_rate2"].number(), 8.0) << "rates keep their sign";
        EXPECT_TRUE(raw["discount_available"].isNull());
        const db::Row zero = rawLine(fkey, "2");
        EXPECT_FALSE(std::signbit(*zero["gross_amount"].number()));
        for (const char* column : {"due_date", "discount_date", "tax_authority2", "tax_amount5", "taxable5",
                                   "paid_amount"})
            EXPECT_TRUE(zero[column].isNull()) << column;
        const db::Row head = *db().queryOne("SELECT * FROM AR_header_table WHERE fkey = ?", {fkey});
        for (const char* column : {"due_date", "discount_date", "exchange_rate", "rate_date", "customer_po",
                                   "GLFKEY", "prepayment"})
            EXPECT_TRUE(head[column].isNull()) << column;
        EXPECT_EQ(head["paid"].boolean(), false);
        EXPECT_EQ(head["void"].boolean(), false);

        const auto loaded = store::loadDocument(db(), fkey);
        ASSERT_TRUE(loaded);
        ASSERT_EQ(loaded->lines.size(), 2u);
        EXPECT_FALSE(loaded->header.dueDate || loaded->header.discountDate || loaded->header.exchangeRate ||
                     loaded->lines[1].copies.dueDate);
        EXPECT_EQ(loaded->header.invoiceDate, (db::Date{2024, 3, 15}));
        const ArLine& back = loaded->lines[0];
        ASSERT_EQ(back.taxes.size(), 2u);
        EXPECT_EQ((std::vector<double>{back.grossAmount, back.openAmount, back.taxableAmount, back.taxAmount,
                                       back.taxes[1].taxableAmount, back.taxes[1].taxAmount}),
                  (std::vector<double>{105.0, 105.0, 100.0, 5.0, 105.0, 8.4}));
        EXPECT_EQ((std::vector<std::optional<double>>{back.paidAmount, back.discountTaken, back.writeoff,
                                                      back.discountAvailable}),
                  (std::vector<std::optional<double>>{20.0, 1.5, 0.25, std::nullopt}));
        EXPECT_EQ(back.taxes[1].authority, "PST");
        EXPECT_TRUE(back.taxes[1].taxable);
    }
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
    EXPECT_EQ(std::tuple(back->id, back->remark, back->exchangeRate, back->dueDate, back->discountDate,
                         back->term.duedays, back->month, back->year),
              std::tuple(saved.header.id, h.remark, 1.3725, h.dueDate, h.discountDate, 30, "03", "2024"));
    const store::HeaderCopies c = store::loadLines(db(), h.fkey).at(0).copies;
    EXPECT_EQ(std::tuple(c.docno, c.customerNo, c.currency, c.exchangeRate, c.dueDate, c.term.earlyDiscount,
                         c.period),
              std::tuple(h.docno, "O'Brien", "USD", 1.3725, h.dueDate, 2.0, 3));
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

TEST_F(ArDocumentStore, linesComeInTextOrderAndReplacedLinesComeBackWhenTheSaveRollsBack) {
    const ArDocument saved = save(header("ar", "1"), {line("2"), line("10"), line("1")});
    const Texts stored = {"1", "10", "2"};
    EXPECT_EQ(payItems(store::loadLines(db(), "1ar-1")), stored);
    try {
        db::Transaction tx(db());
        store::replaceLines(db(), saved.header, {line("7")});
        EXPECT_EQ(payItems(store::loadLines(db(), "1ar-1")), Texts{"7"});
        throw std::runtime_error("posting failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(payItems(store::loadLines(db(), "1ar-1")), stored);

    {
        db::Transaction tx(db());
        store::replaceLines(db(), saved.header, {line("7")});
        tx.commit();
    }
    EXPECT_EQ(payItems(store::loadLines(db(), "1ar-1")), Texts{"7"});
    EXPECT_THROW(store::replaceLines(db(), saved.header, {}), std::logic_error);
    EXPECT_EQ(store::loadLines(db(), "1ar-1").size(), 1u) << "nothing is deleted outside a transaction";
}

TEST_F(ArDocumentStore, paidStatesSetTheFlagsAndOnlyOpenDocumentsAreListedHighestFirst) {
    for (const char* n : {"1", "2", "3", "4"}) save(header("ar", n), {line("1")});
    save(header("cn", "9"), {line("1")});
    // Each state set over the one before: the flags are cleared as well as set.
    for (const auto& [state, paid, fullyPaid] :
         {std::tuple(PaidState::FullyPaid, true, true), std::tuple(PaidState::PartlyPaid, true, false),
          std::tuple(PaidState::Unpaid, false, false)}) {
        SCOPED_TRACE(static_cast<int>(state));
        store::setPaidState(db(), "1ar-1", state);
        const auto h = store::findHeader(db(), "1ar-1");
        EXPECT_EQ(h->paid, paid);
        EXPECT_EQ(h->fullyPaid, fullyPaid);
        EXPECT_EQ(store::paidState(*h), state);
    }
    store::setPaidState(db(), "1ar-2", PaidState::FullyPaid);
    store::setPaidState(db(), "1ar-3", PaidState::PartlyPaid);
    store::markVoid(db(), "1ar-4", {db::Date{2024, 4, 1}, "10:00:00"});

    EXPECT_EQ(store::openDocumentNumbers(db(), "ar"), (Texts{"ar-3", "ar-1"}));
    EXPECT_EQ(store::openDocumentNumbers(db(), "cn"), Texts{"cn-9"});
    const auto voided = store::loadDocument(db(), "1ar-4");
    EXPECT_TRUE(voided->header.isVoid);
    EXPECT_TRUE(voided->lines.at(0).isVoid);
    EXPECT_EQ(voided->lines.at(0).modified.date, (db::Date{2024, 4, 1}));
}

TEST_F(ArDocumentStore, recurringDefinitionRoundTripsWithItsTemplateLines) {
    store::RecurHeader h{.fkey = "1cur-1", .recurno = "R-0001", .recurName = "Monthly rent",
                         .customerNo = "C1", .currency = "CAD", .term = {"30", 30, std::nullopt, std::nullopt},
                         .recurDate = 31, .beginDate = db::Date{2024, 1, 1}, .frequency = "monthly"};
    {
        db::Transaction tx(db());
        store::insertRecurHeader(db(), h);
        store::insertRecurLines(db(), h, {line("2"), line("10")});
        tx.commit();
    }
    const auto loaded = store::loadRecurringByNumber(db(), "R-0001");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->header.recurDate, 31);
    EXPECT_FALSE(loaded->header.endDate || loaded->header.noInvoice);
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
