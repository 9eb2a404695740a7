// Recurring-invoice definitions: templates from which invoices are generated month by
// month or quarter by quarter, kept in `AR_recur_header_table` and
// `AR_recur_transaction_table`.
//
// A definition is keyed like a document, `fkey` = "1cur-" + running number, and shown to
// the user by its `recurno`. Its template lines are pay-item lines (PayItemLine.h) whose
// `docno` holds the `recurno`; they are read "ORDER BY [pay_item]" and replaced wholesale
// on edit, inside the save's transaction. A definition is never posted and never deleted.
//
// `recur_date` is the day of the month on which a generated invoice falls due: 31 means
// the last day of the month, 0 that invoices are issued by hand only.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/Database.h"
#include "store/PayItemLine.h"

namespace keltro::store {

struct RecurHeader {
    std::string fkey;
    std::string recurno;
    std::string recurName;
    std::string customerNo;
    std::string currency;
    TermCopies term;
    std::string remark;
    int recurDate = 0;                     // 0 .. 31
    std::optional<db::Date> beginDate;     // effective date
    std::optional<db::Date> endDate;       // expiration date
    std::optional<int> noInvoice;          // invoices to issue
    std::optional<int> noIssue;            // invoices issued so far
    std::string frequency;                 // "monthly" or "quarterly"
    bool inactive = false;                 // set once `end_date` has passed
    CreationStamp created;
    ChangeStamp modified;
};

using RecurLine = PayItemLine;

struct RecurringDefinition {
    RecurHeader header;
    std::vector<RecurLine> lines;
};

// A header row of `AR_recur_header_table` as read by `SELECT *`.
RecurHeader readRecurHeader(const db::Row& row);
std::optional<RecurHeader> findRecurHeader(db::Database& db, std::string_view fkey);
// By number, within company 1.
std::optional<RecurHeader> findRecurHeaderByNumber(db::Database& db, std::string_view recurno);
std::vector<RecurLine> loadRecurLines(db::Database& db, std::string_view fkey);
std::optional<RecurringDefinition> loadRecurring(db::Database& db, std::string_view fkey);
std::optional<RecurringDefinition> loadRecurringByNumber(db::Database& db,
                                                         std::string_view recurno);

// Inserts the header with company 1 and doctype "cur".
void insertRecurHeader(db::Database& db, const RecurHeader& header);
// Rewrites every column of the header found by its `fkey`.
void updateRecurHeader(db::Database& db, const RecurHeader& header);
// Inserts template lines in the given order, with the header's identity and term.
void insertRecurLines(db::Database& db, const RecurHeader& header,
                      const std::vector<RecurLine>& lines);
// Deletes the definition's lines and inserts `lines`; needs an open transaction.
void replaceRecurLines(db::Database& db, const RecurHeader& header,
                       const std::vector<RecurLine>& lines);

}  // namespace keltro::store
