// The example script of a revaluation on the demo company: a euro invoice saved, the euro
// receivables revalued at 1.25 and saved, the journal asked of the host; no step refused
// and the books in order.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "services/BooksAudit.h"
#include "services/Money.h"
#include "support/Walkthrough.h"

namespace keltro::revaluation {
namespace {

using ::testing::ElementsAre;

TEST(RevalueWalkthrough, runsCleanOnTheDemoCompany) {
    test::TestDatabase database(test::Contents::DemoCompany);
    std::vector<std::string> messages, notified;
    std::vector<std::string> journal;  // "period fyear accno base" of the AR-REVALUE lines
    for (const auto& event : test::runExampleScript(database.db(), "revalue-walkthrough.jsonl")) {
        const auto kind = event.text("event");
        if (kind == "message") messages.push_back(*event.text("text"));
        if (kind == "notify") notified.push_back(*event.text("formx"));
        if (kind != "rows") continue;
        for (const auto& row : *event.member("rows")->array())
            if (row.member("accno"))
                journal.push_back(*row.text("period") + " " + *row.text("fyear") + " " +
                                  *row.text("accno") + " " + *row.text("base_amount"));
    }
    EXPECT_THAT(messages, ElementsAre("Add new Invoice complete", "Add new revaluation complete"));
    EXPECT_THAT(notified, ElementsAre("G/L Ledger Review"));

    // The invoice's open amount at its own rate and at 1.25; December reverses in January.
    const auto line = database.db().queryOne(
        "SELECT open_amount, exchange_rate FROM AR_transaction_table");
    ASSERT_TRUE(line);
    const double open = (*line)["open_amount"].numberOr(0);
    const double gain = services::roundMoney(services::roundMoney(open * 1.25) -
                                             services::roundMoney(open * (*line)["exchange_rate"].numberOr(0)));
    const std::string g = db::Value(gain).textOr(), minus = db::Value(-gain).textOr();
    EXPECT_THAT(journal, ElementsAre("12 2026 1110 " + g, "12 2026 7020 " + g, "1 2027 1110 " + minus,
                                     "1 2027 7020 " + minus));
    EXPECT_THAT(services::AuditBooks(database.db()), ::testing::IsEmpty());
}

}  // namespace
}  // namespace keltro::revaluation
