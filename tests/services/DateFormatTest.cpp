// Typed dates in the user's format, eight-digit stored dates, and the messages that refuse
// them; each case names what the user sees.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "services/DateFormat.h"

namespace keltro::services {
namespace {

using Texts = std::vector<std::string>;

const std::string kBadFormat = "Error : User_Form_Dateformat:date_format is not valid";

struct TypedCase {
    const char* format;
    const char* typed;
    std::optional<std::string> stored;  // nullopt: refused
    Texts said;
};

const TypedCase kTypedCases[] = {
    // The five layouts, in the order they are recognised.
    {"dd/mm/yyyy", "05/01/2009", "20090105", {}},
    {"yyyy/mm/dd", "2009/01/05", "20090105", {}},
    {"mm/dd/yyyy", "01/05/2009", "20090105", {}},
    {"mm/yyyy/dd", "01/2009/05", "20090105", {}},
    {"yyyy/dd/mm", "2009/05/01", "20090105", {}},
    {"DD/MM/YYYY", "5/1/2009", "20090105", {}},
    {"d/m/y", "05/01/2009", std::nullopt, {kBadFormat}},
    {"", "", std::nullopt, {kBadFormat}},
    // Without two "/" the text is refused silently.
    {"dd/mm/yyyy", "05/012009", std::nullopt, {}},
    // Range checks: month, then day, then year.
    {"dd/mm/yyyy", "05/13/2009", std::nullopt, {"Month is invalid (13)"}},
    {"dd/mm/yyyy", "45/13/2009", std::nullopt, {"Month is invalid (13)"}},
    {"dd/mm/yyyy", "45/12/2009", std::nullopt, {"date is invalid (45)"}},
    {"dd/mm/yyyy", "05/01/2100", std::nullopt, {"year is invalid (2100)"}},
    {"dd/mm/yyyy", "05/01/1989", std::nullopt, {"year is invalid (1989)"}},
    {"dd/mm/yyyy", "05/01/09", std::nullopt, {"year is invalid (09)"}},
    {"dd/mm/yyyy", "05/01/2529", std::nullopt, {"year is invalid (2529)"}},
    {"dd/mm/yyyy", "05/01/", std::nullopt, {"year is invalid ()"}},
    {"dd/mm/yyyy", "05/01/1990", "19900105", {}},
    {"dd/mm/yyyy", "31/12/2030", "20301231", {}},
    {"dd/mm/yyyy", "05/01/2552", "25520105", {}},
    // Month not 1 to 12 once the year is accepted.
    {"dd/mm/yyyy", "05/00/2009", std::nullopt, {"Month is invalid (00)"}},
    {"dd/mm/yyyy", "05/ab/2009", std::nullopt, {"Month is invalid (ab)"}},
    // The calendar.
    {"mm/dd/yyyy", "02/29/2009", std::nullopt, {"Date is invalid (Feb 29, 2009)"}},
    {"mm/dd/yyyy", "02/29/2008", "20080229", {}},
    {"mm/dd/yyyy", "02/29/2000", "20000229", {}},
    {"mm/dd/yyyy", "04/31/2009", std::nullopt, {"Date is invalid (Apr 31, 2009)"}},
    {"mm/dd/yyyy", "04/00/2009", std::nullopt, {"Date is invalid (Apr 00, 2009)"}},
    {"dd/mm/yyyy", "x/01/2009", std::nullopt, {"Date is invalid (Jan x, 2009)"}},
    {"dd/mm/yyyy", "05/01/2009/7", std::nullopt, {"Date is invalid (Jan 05, 2009/7)"}},
};

TEST(TypedDate, layoutsRangesAndCalendar) {
    for (const auto& c : kTypedCases) {
        SCOPED_TRACE(std::string(c.format) + " " + c.typed);
        RecordingUi ui;
        EXPECT_EQ(ParseUserDateToText(ui, c.typed, c.format), c.stored);
        EXPECT_EQ(ui.texts(), c.said);
        for (const auto& said : ui.said()) EXPECT_EQ(said.kind, RecordingUi::Kind::Message);

        RecordingUi again;
        const auto date = ParseUserDate(again, c.typed, c.format);
        EXPECT_EQ(date, c.stored ? db::Date::fromIso(c.stored->substr(0, 4) + "-" +
                                                     c.stored->substr(4, 2) + "-" +
                                                     c.stored->substr(6, 2))
                                 : std::nullopt);
        EXPECT_EQ(again.texts(), c.said);
    }
}

TEST(StoredDate, shownInTheUsersFormatOrRefused) {
    struct Case {
        const char* stored;
        const char* format;
        const char* shown;
        const char* neutral;
        Texts said;
    };
    const Case cases[] = {
        {"20090105", "dd/mm/yyyy", "05/01/2009", "Jan 05, 2009", {}},
        {"20090105", "mm/dd/yyyy", "01/05/2009", "Jan 05, 2009", {}},
        {"20091231", "yyyy/mm/dd", "2009/12/31", "Dec 31, 2009", {}},
        {"20080229", "dd/mm/yy", "29/02/08", "Feb 29, 2008", {}},
        {"20091305", "dd/mm/yyyy", "", "", {"Month is invalid (13)"}},
        {"20090005", "dd/mm/yyyy", "", "", {"Month is invalid (00)"}},
        {"20090230", "dd/mm/yyyy", "", "", {"Date is invalid (Feb 30, 2009)"}},
        {"2009", "dd/mm/yyyy", "", "", {"Month is invalid ()"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        RecordingUi ui;
        EXPECT_EQ(FormatStoredDate(ui, c.stored, c.format), c.shown);
        EXPECT_EQ(ui.texts(), c.said);
        RecordingUi neutral;
        EXPECT_EQ(StoredDateToNeutralText(neutral, c.stored), c.neutral);
        EXPECT_EQ(neutral.texts(), c.said);
    }
    RecordingUi ui;
    EXPECT_EQ(FormatStoredDate(ui, "", "dd/mm/yyyy"), "");
    EXPECT_TRUE(ui.said().empty());
}

TEST(StoredDate, typedAndShownAgreeForEveryLayout) {
    for (const char* format :
         {"dd/mm/yyyy", "yyyy/mm/dd", "mm/dd/yyyy", "mm/yyyy/dd", "yyyy/dd/mm"}) {
        RecordingUi ui;
        const std::string shown = FormatStoredDate(ui, "20301127", format);
        EXPECT_EQ(ParseUserDateToText(ui, shown, format), "20301127") << format << " " << shown;
        EXPECT_TRUE(ui.said().empty()) << format;
    }
    EXPECT_EQ(NeutralDateText({2009, 4, 5}), "Apr 05, 2009");
    EXPECT_EQ(FormatUserDate({2009, 4, 5}, "dd-mm-yyyy"), "05-04-2009");
}

TEST(Workstation, hasAName) { EXPECT_FALSE(ComputerName().empty()); }

}  // namespace
}  // namespace keltro::services
