// The headless driver end to end: every step kind, its events, its errors and the exit
// status, on the demo company.
#include <gtest/gtest.h>

#include <sstream>

#include "host/Automation.h"
#include "host/Json.h"
#include "support/HeadlessDesk.h"

namespace keltro::host {
namespace {

class AutomationTest : public ::testing::Test {
protected:
    // Runs the script; gives the events and the exit status.
    std::pair<std::vector<Json>, int> run(const std::string& script) {
        std::istringstream in(script);
        std::ostringstream out;
        services::FixedClock clock(test::kDemoToday);
        AutomationOptions options;
        options.path = "/opt/keltro";
        const int status = runAutomation(database.db(), clock, options, in, out);
        std::vector<Json> events;
        std::istringstream lines(out.str());
        for (std::string line; std::getline(lines, line);) events.push_back(parseJson(line));
        return {events, status};
    }

    static std::vector<const Json*> ofKind(const std::vector<Json>& events, const std::string& kind) {
        std::vector<const Json*> out;
        for (const auto& e : events)
            if (e.text("event") == kind) out.push_back(&e);
        return out;
    }

    test::TestDatabase database{test::Contents::DemoCompany};
};

TEST_F(AutomationTest, everyScreenOpensAndShowsItsLayout) {
    std::string script = "{\"call\":\"ARform_invoice_goto_docno\",\"args\":[\"INV-26-00001\"]}\n";
    const auto& shows = test::kShowMethods;
    for (const auto& [method, screen] : shows)
        script += "{\"call\":\"" + method + "\"}\n{\"get\":\"" + screen + "\"}\n";
    script += "{\"call\":\"frm_aging_NotifyClients\",\"args\":[\"Next App\",\"\",\"\"]}\n";

    auto [events, status] = run(script);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(ofKind(events, "error").empty());
    const auto screens = ofKind(events, "screen");
    ASSERT_EQ(screens.size(), shows.size());
    for (std::size_t i = 0; i < shows.size(); ++i) {
        EXPECT_EQ(screens[i]->text("screen"), shows[i].second);
        const Json* columns = screens[i]->member("columns");
        ASSERT_TRUE(columns && columns->object()) << shows[i].second;
        for (const auto& [grid, captions] : *columns->object())
            EXPECT_FALSE(captions.array()->empty()) << shows[i].second << "." << grid << " has no columns";
    }
    const auto notices = ofKind(events, "notify");
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0]->text("formx"), "Next App");
}

TEST_F(AutomationTest, stepsThatCannotRunAreReportedAndTheRunGoesOn) {
    struct Case {
        std::string step;
        std::string error;
    };
    const std::vector<Case> cases = {
        {R"({"get":"ARform_receipt"})", "No ARform_receipt screen is open"},
        {R"({"set":"ARreport_aging.txtnothing","value":"1"})", "has no control \"txtnothing\""},
        {R"({"command":"ARreport_aging","caption":"&Fly"})", "has no command \"&Fly\""},
        {R"({"cell":"ARreport_aging.dbgrid1","row":0,"col":"open amount","value":"1"})", "is read-only"},
        {R"({"pick":"ARreport_aging.cmbcompany","index":5})", "has no item 5"},
        {R"({"call":"showform_nothing"})", "ARclass has no method"},
        {R"({"sql":"DELETE FROM Customer_table"})", "read-only query"},
        {R"({"answer":"Maybe"})", "\"Yes\" or \"No\""},
        {R"({"set":)", "JSON"},
        {R"({"fly":"away"})", "Unknown step kind"},
    };
    std::string script = "{\"call\":\"showform_ARreport_aging\"}\n";
    for (const auto& c : cases) script += c.step + "\n";
    script += "{\"sql\":\"SELECT customer_name FROM Customer_table WHERE customer_no = '1002'\"}\n";

    auto [events, status] = run(script);
    EXPECT_EQ(status, 1);
    const auto errors = ofKind(events, "error");
    ASSERT_EQ(errors.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(*errors[i]->member("step")->number(), static_cast<double>(i + 2));
        EXPECT_NE(errors[i]->text("text")->find(cases[i].error), std::string::npos)
            << cases[i].step << " gave " << *errors[i]->text("text");
    }
    const auto rows = ofKind(events, "rows");
    ASSERT_EQ(rows.size(), 1u) << "the run goes on after errors";
    EXPECT_EQ(rows[0]->member("rows")->array()->at(0).text("customer_name"), "O'Brien Hardware");
}

TEST_F(AutomationTest, typingPickingAndClosingChangeTheScreen) {
    auto [events, status] = run(
        "{\"call\":\"showform_ARreport_aging\"}\n"
        "{\"set\":\"ARreport_aging.cmbcustno\",\"value\":\"1002\"}\n"
        "{\"pick\":\"ARreport_aging.cmbcompany\",\"index\":0}\n"
        "{\"get\":\"ARreport_aging\"}\n"
        "{\"command\":\"ARreport_aging\",\"caption\":\"&Exit\"}\n"
        "{\"get\":\"ARreport_aging\"}\n");
    EXPECT_EQ(status, 1);
    const auto screens = ofKind(events, "screen");
    ASSERT_EQ(screens.size(), 1u);
    EXPECT_EQ(screens[0]->member("fields")->text("cmbcustno"), "1002");
    EXPECT_EQ(screens[0]->member("fields")->text("cmbcompany"), "1");
    const auto errors = ofKind(events, "error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0]->text("text"), "ARreport_aging was closed");
}

TEST_F(AutomationTest, invoiceDateIsCheckedAndSetsTheFiscalPeriod) {
    auto [events, status] = run(
        "{\"call\":\"showform_ARform_invoice\"}\n"
        "{\"command\":\"ARform_invoice\",\"caption\":\"&New\"}\n"
        "{\"set\":\"ARform_invoice.txtinvdate\",\"value\":\"05/13/2009\"}\n"
        "{\"set\":\"ARform_invoice.txtinvdate\",\"value\":\"31/03/2026\"}\n"
        "{\"get\":\"ARform_invoice\"}\n");
    EXPECT_EQ(status, 0);
    const auto messages = ofKind(events, "message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0]->text("text"), "Month is invalid (13)");
    EXPECT_EQ(messages[0]->text("screen"), "ARform_invoice");
    const auto screens = ofKind(events, "screen");
    ASSERT_EQ(screens.size(), 1u);
    EXPECT_EQ(screens[0]->member("fields")->text("cmbfyear"), "2026");
    EXPECT_EQ(screens[0]->member("fields")->text("cmbperiod"), "3");
}

TEST(Json, textSurvivesTheRoundTrip) {
    const std::vector<std::string> texts = {"O'Brien", "Café Müller \"GmbH\"", "line 1\nline 2", "tab\there",
                                            "back\\slash", std::string("nul\x01", 4), "東京"};
    for (const auto& text : texts) {
        const Json parsed = parseJson(JsonObjectWriter().text("t", text).str());
        EXPECT_EQ(parsed.text("t"), text);
    }
    EXPECT_EQ(parseJson(R"({"a":"\u00e9\ud83d\ude00"})").text("a"), "é😀");
    EXPECT_EQ(parseJson(R"({"n":3})").text("n"), "3");
    EXPECT_THROW(parseJson(R"({"a":1} x)"), JsonError);
    EXPECT_THROW(parseJson(R"({"a":"open)"), JsonError);
}

}  // namespace
}  // namespace keltro::host
