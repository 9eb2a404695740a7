#include "print/ReceiptPrintout.h"

#include <algorithm>

#include "framework/FieldText.h"
#include "receipts/ReceiptApplication.h"
#include "services/Money.h"

namespace keltro::print {

namespace {

template <typename Amount>
double sumOf(const std::vector<AppliedDocument>& lines, Amount amount) {
    double sum = 0;
    for (const auto& line : lines) sum += line.*amount;
    return services::roundMoney(sum);
}

AppliedDocument appliedDocument(const db::Row& row) {
    const std::string doctype = framework::trimmedText(columnText(row, "document_type"));
    return {columnText(row, "invoice_no"),
            doctype.empty() ? std::string() : receipts::documentTypeLabel(doctype),
            columnText(row, "pay_item"),
            columnNumber(row, "open_amount"),
            columnNumber(row, "applied_amount"),
            columnNumber(row, "discount_taken"),
            columnNumber(row, "writeoff"),
            columnNumber(row, "invoice_balance")};
}

}  // namespace

double ReceiptPrintout::appliedTotal() const { return sumOf(lines, &AppliedDocument::applied); }
double ReceiptPrintout::discountTotal() const { return sumOf(lines, &AppliedDocument::discount); }
double ReceiptPrintout::writeoffTotal() const { return sumOf(lines, &AppliedDocument::writeoff); }

bool holdsReceiptLines(const db::Rows& rows) {
    if (rows.empty()) return false;
    const db::Row& row = rows.front();
    return row.has("receipt_amount") && row.has("invoice_no") && row.has("applied_amount");
}

ReceiptPrintout receiptPrintoutFromRows(const db::Rows& rows, const ReportTitle& title,
                                        const std::string& companyName) {
    ReceiptPrintout p;
    static_cast<PrintoutHeading&>(p) = headingOf(rows, title, companyName);
    if (rows.empty()) return p;
    const db::Row& header = rows.front();
    p.reference = columnText(header, "receipt_no");
    p.date = columnText(header, "receipt_date");
    p.payer = columnText(header, "payer");
    p.payBy = columnText(header, "payby");
    p.checkNo = columnText(header, "check_no");
    p.checkDate = columnText(header, "check_date");
    p.bankCode = columnText(header, "bank_code");
    p.cashAccount = columnText(header, "cash_accno");
    p.currency = columnText(header, "currency");
    p.exchangeRate = columnText(header, "exchange_rate");
    p.rateDate = columnText(header, "rate_date");
    p.baseAmount = columnNumber(header, "receipt_base_amount");
    p.remark = columnText(header, "remark");
    p.isVoid = header.has("void") && header["void"].booleanOr(false);
    p.receiptAmount = columnNumber(header, "receipt_amount");
    p.unapplied = columnNumber(header, "unapplied_amount");
    p.unappliedDocno = columnText(header, "unapplied_docno");
    for (const db::Row& row : rows)
        if (!row["invoice_no"].isNull()) p.lines.push_back(appliedDocument(row));
    // The query reads the lines by pay item; they print document by document, as the
    // receipt screen lists them.
    std::stable_sort(p.lines.begin(), p.lines.end(), [](const AppliedDocument& a, const AppliedDocument& b) {
        return a.documentNo < b.documentNo;
    });
    return p;
}

}  // namespace keltro::print
