// The inquiry and history queries: which filter outweighs which, and every value bound.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "reports/ReportQueries.h"

namespace keltro::reports {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

const db::Date kFrom{2026, 11, 1};
const db::Date kTo{2026, 11, 30};

TEST(InquiryQuery, BuildsItsWhereFromTheFilters) {
    using Status = InquiryFilter::Status;
    using Kind = InquiryFilter::Kind;
    struct Case {
        const char* what;
        InquiryFilter filter;
        std::string where;  // from " WHERE" to the end
        db::Params params;
    };
    const std::vector<Case> cases = {
        {"a number outweighs everything, unsorted",
         {"INV-7", "1002", Status::Paid, {kFrom, kTo}, Kind::CreditNote},
         " WHERE docno = ?",
         {"INV-7"}},
        {"all statuses and no customer start with the dates",
         {"", "", Status::All, {kFrom, kTo}, Kind::Invoice},
         " WHERE invoice_date >= ? AND invoice_date <= ? AND doctype = ? ORDER BY docno,pay_item",
         {kFrom, kTo, "inv"}},
        {"customer \"0\" is every customer",
         {"", "0", Status::Void, {}, Kind::DebitNote},
         " WHERE [void] = TRUE AND doctype = ? ORDER BY docno,pay_item",
         {"dn"}},
        {"a customer with a quote stays a bound value",
         {"", "O'Brien", Status::Open, {kFrom, {}}, Kind::CreditNote},
         " WHERE customer_no = ? AND [paid] = FALSE AND [void] = FALSE AND invoice_date >= ? "
         "AND doctype = ? ORDER BY docno,pay_item",
         {"O'Brien", kFrom, "cn"}},
    };
    for (const auto& c : cases) {
        const BoundQuery q = InquiryQuery(c.filter);
        EXPECT_EQ(q.sql, "SELECT * FROM AR_transaction_table" + c.where) << c.what;
        EXPECT_EQ(q.params, c.params) << c.what;
    }
}

TEST(InvoiceHistoryQuery, ANumberOutweighsCustomerDatesAndOptions) {
    using Option = InvoiceHistoryFilter::Option;
    const BoundQuery one = InvoiceHistoryQuery({"1001", "INV-1", "", {kFrom, kTo}, Option::Paid});
    EXPECT_THAT(one.sql, HasSubstr("WHERE h.company = 1 AND p.invoice_no = ? UNION"));
    EXPECT_THAT(one.sql, Not(HasSubstr("fully_paid")));
    EXPECT_EQ(one.params, (db::Params{"INV-1", "INV-1"}));

    const BoundQuery range = InvoiceHistoryQuery({"", "INV-1", "INV-9", {}, Option::All});
    EXPECT_EQ(range.params, (db::Params{"INV-1", "INV-9", "INV-1", "INV-9"}));

    const BoundQuery byCustomer = InvoiceHistoryQuery({"1001", "", "", {kFrom, {}}, Option::All});
    EXPECT_THAT(byCustomer.sql, HasSubstr("h.doctype = 'inv' AND (h.fully_paid = TRUE OR h.paid = TRUE)"));
    EXPECT_THAT(byCustomer.sql, HasSubstr("ORDER BY invoice_no, invoice_balance DESC"));
    EXPECT_EQ(byCustomer.params, (db::Params{"1001", kFrom, "1001", kFrom}));
}

TEST(ReceiptHistoryQuery, ChequeOverReceiptOverCustomer) {
    using Option = ReceiptHistoryFilter::Option;
    struct Case {
        ReceiptHistoryFilter filter;
        std::string condition;
        db::Params params;
    };
    const std::vector<Case> cases = {
        {{"CHQ-1", "RC-1", "1001", {kFrom, kTo}, Option::Complete}, "WHERE check_no = ? ORDER", {"CHQ-1"}},
        {{"", "RC-1", "1001", {kFrom, kTo}, Option::Partial}, "WHERE docno = ? ORDER", {"RC-1"}},
        {{"", "", "1001", {kFrom, kTo}, Option::Partial},
         "WHERE customer_no = ? AND receipt_date >= ? AND receipt_date <= ? AND Unapplied_DOCNO IS NOT NULL",
         {"1001", kFrom, kTo}},
        {{"", "", "1001", {}, Option::Complete},
         "WHERE customer_no = ? AND (Unapplied_DOCNO IS NULL OR completely_match = TRUE)",
         {"1001"}},
    };
    for (const auto& c : cases) {
        const auto q = ReceiptHistoryQuery(c.filter);
        ASSERT_TRUE(q);
        EXPECT_THAT(q->sql, HasSubstr(c.condition));
        EXPECT_EQ(q->params, c.params);
    }
    EXPECT_FALSE(ReceiptHistoryQuery({"", "", "", {kFrom, kTo}, Option::None}));
}

}  // namespace
}  // namespace keltro::reports
