// The aging report: classes by due date, the columns they show in, customers' totals,
// every unpaid item re-aged whoever is chosen, and a look back to an earlier day.
#include "reports/AgingStatement.h"
#include "reports/ReportFixture.h"
#include "support/FailingDatabase.h"

namespace keltro::test {
namespace {

using ::testing::ElementsAre;

const std::vector<std::string> kAgeCells = {"invoice no", "open amount", "1 - 30", "31 - 60", "61 - 90", "> 90"};

class Aging : public ReportFixture {
protected:
    framework::Screen& run(const std::string& customer, const std::string& asOf = "",
                           const std::string& width = "30") {
        auto& screen = open("ARreport_aging");
        screen.enter("cmbcustno", customer);
        screen.enter("txtasof", asOf);
        screen.enter("txtclass_width", width);
        screen.run("&Find");
        return screen;
    }
    std::int64_t storedClass(const std::string& docno) {
        return count("SELECT age_range FROM AR_transaction_table WHERE docno = ?", {docno});
    }
    // The server refuses every change of a stored class, whichever connection makes it.
    void refuseClassWrites() {
        if (database.engine() == db::Engine::Sqlite) {
            db().execute("CREATE TRIGGER refuse_classes BEFORE UPDATE OF age_range ON AR_transaction_table "
                         "BEGIN SELECT RAISE(ABORT, 'classes refused'); END");
            return;
        }
        db().execute("CREATE FUNCTION refuse_classes() RETURNS trigger LANGUAGE plpgsql AS "
                     "$$ BEGIN RAISE EXCEPTION 'classes refused'; END $$");
        db().execute("CREATE TRIGGER refuse_classes BEFORE UPDATE OF age_range ON AR_transaction_table "
                     "FOR EACH ROW EXECUTE FUNCTION refuse_classes()");
    }
    // Items of two customers, 45 and 95 days overdue, their classes left at 7.
    void addTwoCustomersItems() {
        addItem({.customer = "1001", .docno = "F1", .payItem = "1", .open = 10, .daysOverdue = 45});
        addItem({.customer = "1002", .docno = "F2", .payItem = "1", .open = 10, .daysOverdue = 95});
        db().execute("UPDATE AR_transaction_table SET age_range = 7");
    }
};

TEST_F(Aging, PlacesEachItemByDaysPastItsDueDate) {
    struct Case {
        int daysOverdue;
        bool dueOnNote;
        std::int64_t storedClass;
        std::string row;
    };
    const std::vector<Case> cases = {
        {-45, false, 0, "A-45|10.00|10.00|||"},  // 30 days or more ahead: the first column
        {-10, true, 1, "A-10|10.00|10.00|||"},
        {0, false, 1, "A0|10.00|10.00|||"},
        {29, false, 1, "A29|10.00|10.00|||"},
        {30, true, 2, "A30|10.00||10.00||"},
        {60, false, 3, "A60|10.00|||10.00|"},
        {90, false, 4, "A90|10.00||||10.00"},
        {121, true, 5, "A121|10.00||||10.00"},  // beyond 120 days: still "> 90"
    };
    std::vector<std::string> expected;
    for (const auto& c : cases) {
        const std::string docno = "A" + std::to_string(c.daysOverdue);
        addItem({.customer = "1001", .docno = docno, .payItem = "1", .open = 10,
                 .daysOverdue = c.daysOverdue, .dueOnNote = c.dueOnNote});
    }
    auto& screen = run("1001");
    auto rows = rowsOf(screen, kAgeCells);
    for (const auto& c : cases) {
        const std::string docno = "A" + std::to_string(c.daysOverdue);
        EXPECT_EQ(storedClass(docno), c.storedClass) << docno;
        EXPECT_THAT(rows, ::testing::Contains(c.row)) << docno;
    }
    EXPECT_EQ(rows.back(), "|80.00||||");
}

TEST_F(Aging, CreditNoteLowersItsCustomersTotalInItsOwnColumn) {
    addItem({.customer = "1002", .docno = "INV1", .payItem = "1", .open = 200, .daysOverdue = 45});
    addItem({.customer = "1002", .docno = "INV1", .payItem = "2", .open = 25.5, .daysOverdue = 95});
    addItem({.customer = "1002", .docno = "CN1", .payItem = "1", .open = -50, .daysOverdue = 5,
             .doctype = "cn", .dueOnNote = true});
    auto& screen = run("*");
    EXPECT_THAT(rowsOf(screen, {"customer", "invoice no", "pay item", "gross amount", "open amount",
                                "1 - 30", "31 - 60", "> 90", "credit limit"}),
                ElementsAre("O'Brien Hardware|CN1|1|-50.00|-50.00|-50.00|||5,000.00",
                            "|INV1|1|200.00|200.00||200.00||",
                            "|INV1|2|25.50|25.50|||25.50|",
                            "|||total       |175.50||||"));
}

TEST_F(Aging, EveryUnpaidItemIsReagedWhicheverCustomerIsChosen) {
    addItem({.customer = "1001", .docno = "D1", .payItem = "1", .open = 100, .daysOverdue = 65});
    addItem({.customer = "1002", .docno = "D2", .payItem = "1", .open = 40, .daysOverdue = 31});
    addItem({.customer = "1002", .docno = "D3", .payItem = "1", .open = 40, .daysOverdue = 31, .paid = true});
    for (const std::string customer : {"1001", "*", ""}) {
        db().execute("UPDATE AR_transaction_table SET age_range = 99");
        auto& screen = run(customer);
        EXPECT_EQ(storedClass("D1"), 3) << customer;
        EXPECT_EQ(storedClass("D2"), 2) << customer;
        EXPECT_EQ(storedClass("D3"), 99) << "a paid item keeps its class";
        const auto rows = rowsOf(screen, {"customer", "invoice no", "open amount"});
        if (customer == "1001")
            EXPECT_THAT(rows, ElementsAre("Brightwater Dental Clinic|D1|100.00", "||100.00"));
        else
            EXPECT_THAT(rows, ElementsAre("Brightwater Dental Clinic|D1|100.00", "||100.00",
                                          "O'Brien Hardware|D2|40.00", "||40.00"));
    }
}

// Looking back: the open amount of the day (later payments given back), its class on
// that day, items invoiced after it left out, and the stored classes untouched.
TEST_F(Aging, LookingBackRestoresLaterPaymentsAndAgesByThatDay) {
    addItem({.customer = "1001", .docno = "B1", .payItem = "1", .open = 300, .daysOverdue = 50,
             .paid = true, .invoicedDaysAgo = 80});
    addItem({.customer = "1001", .docno = "B2", .payItem = "1", .open = 120, .daysOverdue = 40,
             .invoicedDaysAgo = 70});
    addItem({.customer = "1001", .docno = "B3", .payItem = "1", .open = 75, .daysOverdue = 0,
             .invoicedDaysAgo = 5});
    db().execute("UPDATE AR_transaction_table SET open_amount = 20 WHERE docno = 'B2'");
    addPayment({"Receipt_transaction_table", "RC1", "B1", "1", 300, 0, 10});
    addPayment({"AR_matching_transaction_table", "MC1", "B2", "1", 60, 20, 3});
    addPayment({"Receipt_transaction_table", "RC0", "B2", "1", 40, 80, 30});  // before the day: stays
    db().execute("UPDATE AR_transaction_table SET age_range = 7");

    // 20 days back: B1 is 30 days overdue, B2 20 days.
    auto& screen = run("1001", "16/11/2026");
    EXPECT_THAT(rowsOf(screen, kAgeCells),
                ElementsAre("B1|300.00||300.00||", "B2|80.00|80.00|||", "|380.00||||"));
    EXPECT_EQ(storedClass("B2"), 7);

    // Ten-day columns on the same day: 30 days is the fourth class, 20 the third.
    EXPECT_THAT(rowsOf(run("1001", "16/11/2026", "10"), kAgeCells),
                ElementsAre("B1|300.00||||300.00", "B2|80.00|||80.00|", "|380.00||||"));
}

// The classes are written beside the reading, on a second connection, when the report's
// connection can open one, and on the report's own connection first when it cannot (here
// a stand-in that forwards to it): the stored classes and the statement come out the same.
TEST_F(Aging, ClassesAreWrittenBesideTheReadingOrBeforeIt) {
    addTwoCustomersItems();
    FailingDatabase withoutAnother(db(), 0);
    for (db::Database* connection : {static_cast<db::Database*>(&withoutAnother), &db()}) {
        db().execute("UPDATE AR_transaction_table SET age_range = 7");
        const auto statement = reports::RunAging(*connection, {.customer = "1001", .today = kDemoToday});
        EXPECT_EQ(storedClass("F1"), 2);
        EXPECT_EQ(storedClass("F2"), 4) << "every customer's items are re-aged";
        ASSERT_EQ(statement.lines.size(), 2u);
        EXPECT_EQ(statement.docno(statement.lines[0]), "F1");
        EXPECT_EQ(statement.lines[0].ageColumn, 1) << "the class read is the one written";
        EXPECT_TRUE(statement.lines[1].total);
    }
}

// A writing of the classes that fails, on either connection, fails the run: the caller
// hears of it, and no class has moved.
TEST_F(Aging, AFailedWritingOfTheClassesFailsTheRun) {
    addTwoCustomersItems();
    const reports::AgingRun today{.customer = "1001", .today = kDemoToday};
    FailingDatabase failingWrite(db(), 1);
    EXPECT_THROW(reports::RunAging(failingWrite, today), db::DbError);
    refuseClassWrites();
    EXPECT_THROW(reports::RunAging(db(), today), db::DbError);
    EXPECT_EQ(storedClass("F1"), 7);
    EXPECT_EQ(storedClass("F2"), 7);
}

}  // namespace
}  // namespace keltro::test
