// Dates and numbers as the user types and reads them.
//
// Each user has a date format made of "dd", "mm" and a year part separated by "/"
// ("dd/mm/yyyy", "mm/dd/yyyy", "yyyy/mm/dd", "mm/yyyy/dd", "yyyy/dd/mm"); only where
// "dd" and "mm" stand matters, the year takes the remaining place. Dates live in three
// forms: the text the user types in that format, the eight-digit text "yyyymmdd" a few
// columns keep, and the date value (`db::Date`). Between them sits the neutral text,
// month name + " " + day + ", " + year ("Jan 05, 2009"), the form in which a date is
// checked against the calendar.
//
// Typed text is split at its first two "/" and checked in a fixed order, each refusal
// being one plain message box and an empty result:
//
//     "Month is invalid (13)"   month above 12, or not 1 to 12 at all ("00", "ab")
//     "date is invalid (45)"    day above 31
//     "year is invalid (2100)"  year before 1990, or after 2030 and before 2530
//     "Date is invalid (Feb 30, 2009)"   not a day of the calendar
//
// Text without two "/" is refused silently; a format none of the five layouts matches
// gives "Error : User_Form_Dateformat:date_format is not valid". Formats are matched
// without regard to case ("DD/MM/YYYY" is "dd/mm/yyyy").
//
// The refused date is `std::nullopt`, never a zero `db::Date`.
//
// Numbers: amounts are typed with or without thousands separators ("1,234.50") and
// shown "#,##0.00", rounded half to even (services/Money.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "db/Row.h"
#include "db/Value.h"
#include "services/Ui.h"

namespace keltro::services {

// ---- Dates ------------------------------------------------------------------------

// The typed text read in `dateFormat`; nullopt (the empty date) when refused.
std::optional<db::Date> ParseUserDate(Ui& ui, std::string_view typed,
                                      std::string_view dateFormat);

// The same rules, giving the eight-digit text "yyyymmdd"; nullopt when refused. The record
// form reads the format from its `date_format` column (a `User_Form_Dateformat` row).
std::optional<std::string> ParseUserDateToText(Ui& ui, std::string_view typed,
                                               std::string_view dateFormat);
std::optional<std::string> ParseUserDateToText(Ui& ui, std::string_view typed,
                                               const db::Row& dateFormatRecord);

// Eight-digit text shown in the user's format; "" for empty input and after a refusal
// ("Month is invalid (13)", "Date is invalid (Feb 30, 2009)").
std::string FormatStoredDate(Ui& ui, std::string_view stored, std::string_view dateFormat);
std::string FormatStoredDate(Ui& ui, std::string_view stored, const db::Row& dateFormatRecord);

// Eight-digit text as neutral text ("20090105" gives "Jan 05, 2009"); "" after the same
// two refusals as FormatStoredDate (empty input included: its month is not valid).
std::string StoredDateToNeutralText(Ui& ui, std::string_view stored);

// A date in the user's format: "dd", "mm", "yyyy" (and "yy") stand for the two-digit day,
// the two-digit month and the year; anything else is copied ("dd/mm/yyyy" gives
// "05/01/2009").
std::string FormatUserDate(const db::Date& date, std::string_view dateFormat);

// A date as neutral text, "Jan 05, 2009".
std::string NeutralDateText(const db::Date& date);

// ---- Numbers ----------------------------------------------------------------------

// The text with every "," removed, read as a number from its start ("1,234.50" gives
// 1234.5, "12 kg" gives 12); text that does not start with a number gives 0.
double ParseAmountText(std::string_view text);

// An amount in "#,##0.00": "-1,234.50".
std::string FormatAmount(double amount);

// A number in one of the suite's patterns: thousands grouping when the pattern holds ","
// and as many decimals as it has places after "." ("#,##0", "#,##0.00", "#,##0.000",
// "0.00"). The value is rounded half to even to those decimals first.
std::string FormatNumber(double value, std::string_view pattern);

// "#,##0" for no decimals (nullopt or 0), else "#,##0." and that many "0".
std::string AmountFormatForDecimals(std::optional<int> decimals);

// ---- Workstation ------------------------------------------------------------------

// The workstation's network name, stored in `computer_id` columns; "" when unknown.
std::string ComputerName();

}  // namespace keltro::services
