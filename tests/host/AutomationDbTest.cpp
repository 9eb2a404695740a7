// The headless driver end to end: every step kind, its events, its errors and the exit
// status, on the demo company.
#include <gtest/gtest.h>

#include <sstream>

#include "host/Automation.h"
#include "host/Json.h"
#include "support/HeadlessDesk.h"

namespace keltro::host {
namespace {

using Texts = std::vector<std::string>;

class AutomationTest : public ::testing::Test {
protected:
    // Runs the script, one step a line; keeps its events and gives the exit status.
    int run(const std::vector<std::string>& steps) {
        std::string script;
        for (const auto& step : steps) script += step + "\n";
        std::istringstream in(script);
        std::ostringstream out;
        const services::FixedClock clock(test::kDemoToday);
        const int status = runAutomation(database.db(), clock, {.path = "/opt/keltro"}, in, out);
        std::istringstream lines(out.str());
        for (std::string line; std::getline(lines, line);) events.push_back(parseJson(line));
        return status;
    }

    std::vector<const Json*> ofKind(const std::string& kind) const {
        std::vector<const Json*> out;
        for (const auto& e : events)
            if (e.text("event") == kind) out.push_back(&e);
        return out;
    }
    // One member of every event of a kind, as text.
    Texts texts(const std::string& kind, const std::string& member) const {
        Texts out;
        for (const Json* e : ofKind(kind)) out.push_back(e->text(member).value_or("(none)"));
        return out;
    }

    test::TestDatabase database{test::Contents::DemoCompany};
    std::vector<Json> events;
};

TEST_F(AutomationTest, everyScreenOpensAndShowsItsLayout) {
    std::vector<std::string> script = {R"({"call":"ARform_invoice_goto_docno","args":["INV-26-00001"]})",
                                       R"({"call":"frm_aging_NotifyClients","args":["Next App","",""]})"};
    const auto& shows = test::kShowMethods;
    for (const auto& [method, screen] : shows)
        script.insert(script.end(), {R"({"call":")" + method + R"("})", R"({"get":")" + screen + R"("})"});

    EXPECT_EQ(run(script), 0);
    EXPECT_TRUE(ofKind("error").empty());
    const auto screens = ofKind("screen");
    ASSERT_EQ(screens.size(), shows.size());
    for (std::size_t i = 0; i < shows.size(); ++i) {
        EXPECT_EQ(screens[i]->text("screen"), shows[i].second);
        const Json* columns = screens[i]->member("columns");
        ASSERT_TRUE(columns && columns->object()) << shows[i].second;
        for (const auto& [grid, captions] : *columns->object())
            EXPECT_FALSE(captions.array()->empty()) << shows[i].second << "." << grid << " has no columns";
    }
    EXPECT_EQ(texts("notify", "formx"), Texts{"Next App"});
}

TEST_F(AutomationTest, stepsThatCannotRunAreReportedAndTheRunGoesOn) {
    const std::vector<std::pair<std::string, std::string>> cases = {
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
    std::vector<std::string> script = {R"({"call":"showform_ARreport_aging"})"};
    for (const auto& c : cases) script.push_back(c.first);
    script.push_back(R"({"sql":"SELECT customer_name FROM Customer_table WHERE customer_no = '1002'"})");

    EXPECT_EQ(run(script), 1);
    const auto errors = ofKind("error");
    ASSERT_EQ(errors.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(*errors[i]->member("step")->number(), static_cast<double>(i + 2));
        EXPECT_NE(errors[i]->text("text")->find(cases[i].second), std::string::npos)
            << cases[i].first << " gave " << *errors[i]->text("text");
    }
    const auto rows = ofKind("rows");
    ASSERT_EQ(rows.size(), 1u) << "the run goes on after errors";
    EXPECT_EQ(rows[0]->member("rows")->array()->at(0).text("customer_name"), "O'Brien Hardware");
}

TEST_F(AutomationTest, typingPickingClosingAndAnInvoiceDateChangeTheScreens) {
    EXPECT_EQ(run({R"({"call":"showform_ARreport_aging"})", R"({"set":"ARreport_aging.cmbcustno","value":"1002"})",
                   R"({"pick":"ARreport_aging.cmbcompany","index":0})", R"({"get":"ARreport_aging"})",
                   R"({"command":"ARreport_aging","caption":"&Exit"})", R"({"get":"ARreport_aging"})",
                   R"({"call":"showform_ARform_invoice"})", R"({"command":"ARform_invoice","caption":"&New"})",
                   R"({"set":"ARform_invoice.txtinvdate","value":"05/13/2009"})",
                   R"({"set":"ARform_invoice.txtinvdate","value":"31/03/2026"})", R"({"get":"ARform_invoice"})"}),
              1);
    EXPECT_EQ(texts("error", "text"), Texts{"ARreport_aging was closed"});
    EXPECT_EQ(texts("message", "text"), Texts{"Month is invalid (13)"});
    EXPECT_EQ(texts("message", "screen"), Texts{"ARform_invoice"});
    const auto screens = ofKind("screen");
    ASSERT_EQ(screens.size(), 2u);
    for (const auto& [screen, field, value] : {std::tuple{0, "cmbcustno", "1002"}, {0, "cmbcompany", "1"},
                                               {1, "cmbfyear", "2026"}, {1, "cmbperiod", "3"}})
        EXPECT_EQ(screens[screen]->member("fields")->text(field), value) << field;
}

TEST(Json, textSurvivesTheRoundTrip) {
    for (const std::string text : {"O'Brien", "Café Müller \"GmbH\"", "line 1\nline 2", "tab\there", "back\\slash",
                                   "nul\x01", "東京"})
        EXPECT_EQ(parseJson(JsonObjectWriter().text("t", text).str()).text("t"), text);
    EXPECT_EQ(parseJson(R"({"a":"\u00e9\ud83d\ude00"})").text("a"), "é😀");
    EXPECT_EQ(parseJson(R"({"n":3})").text("n"), "3");
    EXPECT_THROW(parseJson(R"({"a":1} x)"), JsonError);
    EXPECT_THROW(parseJson(R"({"a":"open)"), JsonError);
}

TEST_F(AutomationTest, aReportsPageSetupIsDrivenByStepsAndSavesTheUsersFormat) {
    const std::string format = "SELECT PaperSize, Width, Height, unit, Orientation, font_name, font_size, row_height "
                               "FROM Report_format_table WHERE [user] = 'admin' AND form_name = 'ARreport_inquiry'";
    const auto storedFormat = [&] {
        const auto row = *database.db().queryOne(format);
        std::string text;
        for (std::size_t i = 0; i < row.size(); ++i) text += (i ? "|" : "") + row.at(i).textOr("-");
        return text;
    };
    const std::string before = storedFormat();
    const int status = run({
        R"({"get":"Form_report_format"})",  // not open before "Page Set&up"
        R"({"call":"showform_ARreport_inquiry"})",
        R"({"command":"ARreport_inquiry","caption":"Page Set&up"})",
        R"step({"set":"Form_report_format.cmbpaper","value":"LETTER (8.5x11 in.)"})step",
        R"({"set":"Form_report_format.cmborient","value":"Portrait"})",
        R"({"set":"Form_report_format.cmbitfont_print","value":"Liberation Serif"})",
        R"({"set":"Form_report_format.cmbfont_size_print","value":"12"})",
        R"({"set":"Form_report_format.cmbrow_hi","value":"12"})",
        R"({"command":"Form_report_format","caption":"&Save"})",
        R"({"sql":"SELECT COUNT(*) AS n FROM Report_format_table WHERE font_name = 'Liberation Serif'"})",
        R"({"set":"Form_report_format.cmbrow_hi","value":"18"})",
        R"({"command":"Form_report_format","caption":"&Save"})",
        R"({"get":"Form_report_format"})",
        R"({"command":"Form_report_format","caption":"&Exit"})",
        R"({"set":"Form_report_format.cmbrow_hi","value":"20"})",  // closed: no longer reachable
    });
    EXPECT_EQ(status, 1);
    const auto errors = ofKind("error");
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(*errors[0]->member("step")->number(), 1.0);
    EXPECT_EQ(*errors[1]->member("step")->number(), 15.0);
    EXPECT_EQ(texts("message", "text"), (Texts{"row height must > font size", "Save format complete"}));
    EXPECT_EQ(texts("message", "screen"), (Texts{"Form_report_format", "Form_report_format"}));
    EXPECT_EQ(ofKind("rows").at(0)->member("rows")->array()->at(0).member("n")->number()[0], 0.0) << "refused: nothing saved";
    ASSERT_EQ(texts("screen", "screen"), Texts{"Form_report_format"});
    EXPECT_EQ(ofKind("screen")[0]->member("fields")->text("txtwidth"), "8.5") << "the paper's width came with it";
    EXPECT_NE(before, storedFormat());
    EXPECT_EQ(storedFormat(), "LETTER (8.5x11 in.)|8.5|11|inch|1|Liberation Serif|12|18");
}

}  // namespace
}  // namespace keltro::host
