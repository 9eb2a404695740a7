// All or nothing: the database fails at the first, second, third … write of a
// revaluation's save, and each time none of its four tables, neither journal, no balance
// and no counter changes, and the screen says the save failed.
#include "revaluation/RevalueScreenFixture.h"
#include "support/FailingDatabase.h"

namespace keltro::revaluation::testing {
namespace {

class RevalueFaultTest : public RevalueScreenTest {
protected:
    // Everything a save may change, as numbers.
    std::vector<double> books() {
        std::vector<double> values;
        for (const auto rows : written()) values.push_back(static_cast<double>(rows));
        for (const char* sql :
             {"SELECT COALESCE(SUM(ABS(amount)), 0) FROM Balance_table",
              "SELECT COALESCE(SUM(ABS(ytd_balance)) + SUM(ABS(e_ytd_balance)), 0) "
              "FROM Balance_period_table",
              "SELECT SUM(fkeyno) FROM Next_number_fkey_table",
              "SELECT SUM(nextdocno) FROM Docno_master_table"})
            values.push_back(number(sql));
        return values;
    }
};

TEST_F(RevalueFaultTest, aSaveIsWholeOrNotAtAll) {
    addItem({});
    addItem({.customer = "1007", .docno = "CN-1", .open = -200.00});
    const auto before = books();
    for (int failAt = 1; failAt < 200; ++failAt) {
        test::FailingDatabase failing(db(), failAt);
        useDatabase(failing);
        auto& screen = open();
        findAndSave(screen, "06/12/2026");
        if (lastSaid() == "Add new revaluation complete") {
            EXPECT_GT(failAt, 10) << "the save wrote too little to be tested";
            useDatabase(db());
            EXPECT_EQ(count("SELECT COUNT(*) FROM AR_Revalue_Result_table"), 2);
            expectCleanBooks();
            return;
        }
        EXPECT_EQ(lastSaid(), "Add new revaluation failed") << "failing at write " << failAt;
        EXPECT_EQ(books(), before) << "failing at write " << failAt;
        EXPECT_EQ(screen.field("txtdocno").value, "** New **");
    }
    useDatabase(db());
    FAIL() << "the save never got through";
}

}  // namespace
}  // namespace keltro::revaluation::testing
