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
    const char* typed;
    std::optional<std::string> stored;  // {}: refused
    Texts said;
    const char* format = "dd/mm/yyyy";
};

const TypedCase kTypedCases[] = {
    // The five layouts, in the order they are recognised.
    {"05/01/2009", "20090105", {}}, {"2009/01/05", "20090105", {}, "yyyy/mm/dd"},
    {"01/05/2009", "20090105", {}, "mm/dd/yyyy"}, {"01/2009/05", "20090105", {}, "mm/yyyy/dd"},
    {"2009/05/01", "20090105", {}, "yyyy/dd/mm"}, {"5/1/2009", "20090105", {}, "DD/MM/YYYY"},
    {"05/01/2009", {}, {kBadFormat}, "d/m/y"}, {"", {}, {kBadFormat}, ""},
    // Without two "/" the text is refused silently.
    {"05/012009", {}, {}},
    // Range checks: month, then day, then year.
    {"05/13/2009", {}, {"Month is invalid (13)"}}, {"45/13/2009", {}, {"Month is invalid (13)"}},
    {"45/12/2009", {}, {"date is invalid (45)"}}, {"05/01/2100", {}, {"year is invalid (2100)"}},
    {"05/01/1989", {}, {"year is invalid (1989)"}}, {"05/01/09", {}, {"year is invalid (09)"}},
    {"05/01/2529", {}, {"year is invalid (2529)"}}, {"05/01/", {}, {"year is invalid ()"}},
    {"05/01/1990", "19900105", {}}, {"31/12/2030", "20301231", {}}, {"05/01/2552", "25520105", {}},
    // Month not 1 to 12 once the year is accepted.
    {"05/00/2009", {}, {"Month is invalid (00)"}}, {"05/ab/2009", {}, {"Month is invalid (ab)"}},
    // The calendar.
    {"02/29/2009", {}, {"Date is invalid (Feb 29, 2009)"}, "mm/dd/yyyy"},
    {"02/29/2008", "20080229", {}, "mm/dd/yyyy"}, {"02/29/2000", "20000229", {}, "mm/dd/yyyy"},
    {"04/31/2009", {}, {"Date is invalid (Apr 31, 2009)"}, "mm/dd/yyyy"},
    {"04/00/2009", {}, {"Date is invalid (Apr 00, 2009)"}, "mm/dd/yyyy"},
    {"x/01/2009", {}, {"Date is invalid (Jan x, 2009)"}}, {"05/01/2009/7", {}, {"Date is invalid (Jan 05, 2009/7)"}},
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
        std::string digits = date ? date->iso() : "";
        std::erase(digits, '-');
        EXPECT_EQ(digits, c.stored.value_or(""));
        EXPECT_EQ(again.texts(), c.said);
    }
}

TEST(StoredDate, shownInTheUsersFormatOrRefusedAndReadBackAsTyped) {
    const std::tuple<const char*, const char*, const char*, const char*, Texts> cases[] = {
        // stored, format, shown, neutral text, what is said
        {"20090105", "dd/mm/yyyy", "05/01/2009", "Jan 05, 2009", {}},
        {"20090105", "mm/dd/yyyy", "01/05/2009", "Jan 05, 2009", {}},
        {"20091231", "yyyy/mm/dd", "2009/12/31", "Dec 31, 2009", {}},
        {"20301127", "mm/yyyy/dd", "11/2030/27", "Nov 27, 2030", {}},
        {"20301127", "yyyy/dd/mm", "2030/27/11", "Nov 27, 2030", {}},
        {"20080229", "dd/mm/yy", "29/02/08", "Feb 29, 2008", {}},
        {"20091305", "dd/mm/yyyy", "", "", {"Month is invalid (13)"}},
        {"20090005", "dd/mm/yyyy", "", "", {"Month is invalid (00)"}},
        {"20090230", "dd/mm/yyyy", "", "", {"Date is invalid (Feb 30, 2009)"}},
        {"2009", "dd/mm/yyyy", "", "", {"Month is invalid ()"}},
    };
    for (const auto& [stored, format, shown, neutralText, said] : cases) {
        SCOPED_TRACE(std::string(stored) + " " + format);
        RecordingUi ui, neutral;
        EXPECT_EQ(FormatStoredDate(ui, stored, format), shown);
        // A date shown with a four-digit year is typed back as the same date.
        if (*shown && std::string_view(format).find("yyyy") != std::string_view::npos) {
            EXPECT_EQ(ParseUserDateToText(ui, shown, format), stored);
        }
        EXPECT_EQ(ui.texts(), said);
        EXPECT_EQ(StoredDateToNeutralText(neutral, stored), neutralText);
        EXPECT_EQ(neutral.texts(), said);
    }
    RecordingUi ui;
    EXPECT_EQ(FormatStoredDate(ui, "", "dd/mm/yyyy"), "");
    EXPECT_TRUE(ui.said().empty());
    EXPECT_EQ(NeutralDateText({2009, 4, 5}), "Apr 05, 2009");
    EXPECT_EQ(FormatUserDate({2009, 4, 5}, "dd-mm-yyyy"), "05-04-2009");
}

TEST(Workstation, hasAName) { EXPECT_FALSE(ComputerName().empty()); }

}  // namespace
}  // namespace keltro::services
