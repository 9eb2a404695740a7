// The matching tables: one `AR_matching_header_table` row per matching (doctype "mc") and
// one `AR_matching_transaction_table` row per open item it settled, tied by `fkey`.
//
// Matchings are walked in the order they were added (their `id`): "&Last record" goes to
// the highest, "&Next record" and "&Previous record" to the nearest id above or below the
// one shown. Lines show "ORDER BY void DESC,invoice_no,pay_item" when stepping and
// "ORDER BY pay_item" when a matching is found by its number.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/Database.h"

namespace keltro::matching {

inline constexpr const char* kMatchingDoctype = "mc";

struct MatchingHeader {
    std::int64_t id = 0;
    std::string docno;
    std::string fkey;
    std::optional<db::Date> date;
    std::optional<db::Date> rateDate;
    std::string customerNo;
    std::string remark;
    double unappliedAmount = 0;    // the credit side in base currency
    double invoiceBaseAmount = 0;  // the debit side in base currency
    std::optional<double> invoiceAmount;  // the debit side in its currency, when one
    std::string invoiceCurrency;
    int period = 0;
    std::string fyear;
    std::string userCreated;
    std::optional<db::Date> dateCreated;
    std::string glFkey;
    bool printed = false;
    bool isVoid = false;
};

void insertMatchingHeader(db::Database& db, const MatchingHeader& header);
void setMatchingJournalKey(db::Database& db, std::string_view fkey, std::string_view glFkey);

std::optional<MatchingHeader> findMatching(db::Database& db, std::string_view fkey);
std::optional<MatchingHeader> findMatchingByDocno(db::Database& db, std::string_view docno);

std::optional<std::string> lastMatchingKey(db::Database& db);
// The key of the matching after (`step` +1) or before (-1) the one with `id`.
std::optional<std::string> neighbourMatchingKey(db::Database& db, std::int64_t id, int step);

enum class LineOrder { Stepping, ByPayItem };
db::Rows matchingLineRows(db::Database& db, std::string_view fkey, LineOrder order);

// The accounts registered for the AR parameter `parameterName` ("AR discount account" …),
// as "accno;accname" list items.
std::vector<std::string> parameterAccountItems(db::Database& db, std::string_view parameterName);

// What the report engine prints of a matching: its header and line columns.
std::string matchingPreviewQuery(std::string_view fkey);

}  // namespace keltro::matching
