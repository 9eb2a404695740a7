// The example script of invoice entry, run as `keltro-ar automate` runs it on the demo
// company: two invoices, a debit note and a credit note saved, the first invoice voided,
// the records walked, and no step refused.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/Automation.h"
#include "host/Json.h"
#include "services/BooksAudit.h"
#include "services/Clock.h"
#include "support/TestDatabase.h"

namespace keltro::invoice {
namespace {

using ::testing::ElementsAre;

std::filesystem::path walkthroughScript() {
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() /
           "scripts" / "examples" / "invoice-walkthrough.jsonl";
}

TEST(InvoiceWalkthrough, runsCleanOnTheDemoCompany) {
    test::TestDatabase database(test::Contents::DemoCompany);
    std::ifstream script(walkthroughScript());
    ASSERT_TRUE(script) << walkthroughScript();
    std::ostringstream out;
    services::FixedClock clock(test::kDemoToday);
    const int status = host::runAutomation(database.db(), clock, {}, script, out);
    EXPECT_EQ(status, 0) << out.str();

    std::vector<std::string> messages;
    std::vector<std::string> shownKeys;
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        const host::Json event = host::parseJson(line);
        EXPECT_NE(event.text("event"), "error") << line;
        if (event.text("event") == "message") messages.push_back(*event.text("text"));
        if (event.text("event") == "screen")
            shownKeys.push_back(*event.member("fields")->text("txtfkey"));
    }
    EXPECT_THAT(messages, ElementsAre("Add new Invoice complete", "Add new Invoice complete",
                                      "Add new Debit Note complete",
                                      "Add new Credit Note complete", "Void invoice complete"));
    // After the void on the first invoice, previous stays, next goes to the second and
    // stops there; the credit note is the last screen shown.
    EXPECT_THAT(shownKeys, ElementsAre("1ar-1", "1ar-1", "1ar-2", "1cn-1"));
    EXPECT_THAT(services::AuditBooks(database.db()), ::testing::IsEmpty());
}

}  // namespace
}  // namespace keltro::invoice
