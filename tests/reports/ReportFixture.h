// What the report tests share: the demo company with open items, receipts and matchings
// written straight into their tables, and the report screens opened through ARclass.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "framework/Screen.h"
#include "support/ScreenFixture.h"

namespace keltro::test {

// The day `days` after `day` (before it when negative).
inline db::Date daysAfter(const db::Date& day, int days) {
    using namespace std::chrono;
    const sys_days d = year_month_day{year{day.year}, month{static_cast<unsigned>(day.month)},
                                      std::chrono::day{static_cast<unsigned>(day.day)}};
    const year_month_day moved{d + std::chrono::days{days}};
    return {static_cast<int>(moved.year()), static_cast<int>(static_cast<unsigned>(moved.month())),
            static_cast<int>(static_cast<unsigned>(moved.day()))};
}

struct OpenItem {
    std::string customer;
    std::string docno;
    std::string payItem;
    double open;
    int daysOverdue = 0;              // the due date this many days before today
    std::string doctype = "inv";
    bool dueOnNote = false;           // the due date in `due_datedb` (notes) or `due_date`
    bool paid = false;
    int invoicedDaysAgo = 40;
};

class ReportFixture : public ScreenFixture {
protected:
    void addItem(const OpenItem& item) {
        const db::Date due = daysAfter(kDemoToday, -item.daysOverdue);
        db().execute(
            "INSERT INTO AR_transaction_table (company, fkey, docno, doctype, customer_no, pay_item, "
            "gross_amount, open_amount, invoice_date, due_date, due_datedb, paid, void) "
            "VALUES (1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, FALSE)",
            {"1" + item.doctype + "-" + item.docno, item.docno, item.doctype, item.customer,
             item.payItem, item.open, item.paid ? 0.0 : item.open,
             daysAfter(kDemoToday, -item.invoicedDaysAgo), item.dueOnNote ? db::Value() : db::Value(due),
             item.dueOnNote ? db::Value(due) : db::Value(), item.paid});
    }

    struct Payment {
        std::string table;  // "Receipt_transaction_table" or "AR_matching_transaction_table"
        std::string docno;
        std::string invoiceNo;
        std::string payItem;
        double applied;
        double balance;
        int daysAgo;
        std::string checkNo = "";
    };

    void addPayment(const Payment& p) {
        const bool receipt = p.table == "Receipt_transaction_table";
        const std::string dateColumn = receipt ? "receipt_date" : "[Date]";
        const std::string extra = receipt ? "check_no, receipt_no" : "match_check_no, check_no";
        db().execute("INSERT INTO " + p.table + " (company, fkey, docno, " + dateColumn + ", " + extra +
                         ", customer_no, invoice_no, pay_item, invoice_date, gross_amount, open_amount, "
                         "applied_amount, invoice_balance, Currency, void) "
                         "VALUES (1, ?, ?, ?, ?, ?, '1001', ?, ?, ?, 500, ?, ?, ?, 'USD', FALSE)",
                     {"1x-" + p.docno, p.docno, daysAfter(kDemoToday, -p.daysAgo), p.checkNo, p.checkNo,
                      p.invoiceNo, p.payItem, daysAfter(kDemoToday, -60), p.balance + p.applied,
                      p.applied, p.balance});
    }

    framework::Screen& open(const std::string& className) {
        return desk.call("showform_" + className, className);
    }

    // The rows of the report grid, each cell of `columns` joined by "|".
    static std::vector<std::string> rowsOf(const framework::Screen& screen,
                                           const std::vector<std::string>& columns) {
        std::vector<std::string> out;
        for (const auto& row : screen.grid("dbgrid1").rows) {
            std::string line;
            for (std::size_t c = 0; c < columns.size(); ++c) {
                const auto it = row.find(columns[c]);
                line += (c ? "|" : "") + (it == row.end() ? std::string() : it->second);
            }
            out.push_back(line);
        }
        return out;
    }
};

}  // namespace keltro::test
