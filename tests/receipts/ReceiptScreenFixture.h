// The receipt screen on the demo company, opened by ARclass as the host opens it, with a
// person who answers from a queue and a clock stopped on 6 December 2026 (fiscal year
// 2026, period 12). Documents to pay are written as the invoice screen writes them —
// numbered, with their journal — so that the books audit has the whole picture.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "receipts/ARform_receipt.h"
#include "receipts/ReceiptApplication.h"
#include "services/DateFormat.h"
#include "services/JournalWriter.h"
#include "services/Money.h"
#include "services/Numbering.h"
#include "store/ArDocument.h"
#include "support/ScreenFixture.h"

namespace keltro::receipts::testing {

inline constexpr db::Date kToday = test::kDemoToday;

// A document to pay. Lines are gross amounts as the screen shows them (a credit note's
// positive); pay items 1, 2, 3 …
struct DocumentToPay {
    std::string customer = "1002";
    std::string doctype = "ar";
    std::vector<double> lines = {100.0};
    std::string currency = "USD";
    std::optional<double> rate;
    db::Date date = kToday;
    std::optional<double> earlyDiscount;
    std::optional<db::Date> discountDate;
    std::string sourceForm = "A/R Invoice Entry";
};

// A document line's open amount and paid flag, and its header's paid flags.
struct DocumentState {
    double open;
    bool linePaid;
    bool paid;
    bool fullyPaid;
    bool operator==(const DocumentState&) const = default;
};

inline void PrintTo(const DocumentState& s, std::ostream* os) {
    *os << "{open " << s.open << ", line paid " << s.linePaid << ", paid " << s.paid << ", fully "
        << s.fullyPaid << "}";
}

class ReceiptScreenTest : public test::ScreenFixture {
protected:
    // Writes the document and its journal (receivable against sales); gives its number.
    std::string addDocument(const DocumentToPay& wanted) {
        db::Transaction tx(db());
        services::RecordingUi quiet;
        const auto numbers = services::NumberNewDocument(db(), quiet, 1, wanted.doctype, "2026");
        store::ArDocument document;
        store::ArHeader& h = document.header;
        h.doctype = wanted.doctype;
        h.fkey = numbers->fkey;
        h.docno = numbers->docno;
        h.customerNo = wanted.customer;
        h.invoiceDate = wanted.date;
        h.discountDate = wanted.discountDate;
        h.term.earlyDiscount = wanted.earlyDiscount;
        h.currency = wanted.currency;
        h.exchangeRate = wanted.rate;
        h.period = wanted.date.month;
        h.fyear = std::to_string(wanted.date.year);
        h.source = "AR-INVOICE";
        h.sourceForm = wanted.sourceForm;
        double total = 0;
        for (std::size_t i = 0; i < wanted.lines.size(); ++i) {
            store::ArLine line;
            line.payItem = std::to_string(i + 1);
            line.grossAmount = line.openAmount = line.taxableAmount = wanted.lines[i];
            line.source = h.source;
            line.sourceForm = h.sourceForm;
            document.lines.push_back(line);
            total += wanted.lines[i];
        }
        store::insertDocument(db(), document);
        postDocumentJournal(h, wanted.doctype == "cn" ? -total : total);
        tx.commit();
        return h.docno;
    }

    void postDocumentJournal(const store::ArHeader& h, double total) {
        services::RecordingUi quiet;
        services::LedgerContext ledger(db(), quiet);
        services::JournalContext context{ledger, clock, "admin", "USD"};
        const double base = services::roundMoney(total * h.exchangeRate.value_or(1.0));
        const std::string receivable = h.currency == "USD" ? "1100" : "1110";
        services::JournalEntries entries;
        entries.add(receivable, h.currency, total, base);
        entries.add("4000", h.currency, total, base);
        services::JournalOptions options;
        options.ledger = services::LedgerRule::EntryCurrency;
        options.foreignRate = services::ForeignLineRate::Implied;
        ASSERT_TRUE(services::PostJournal(
            context,
            {.source = "AR-INVOICE", .sourceForm = "A/R Invoice Entry", .sourceDocno = h.docno,
             .date = *h.invoiceDate, .period = std::to_string(*h.period), .fyear = h.fyear,
             .currency = h.currency, .exchangeRate = h.exchangeRate},
            entries, options))
            << ::testing::PrintToString(quiet.texts());
    }

    // A batch line's receipt for `invoice` of 98.00 into `bank`, with the batch line's
    // journal (bank against receivable); gives the receipt's number.
    std::string storedFastReceipt(const std::string& invoice, const std::string& bank = "FNB") {
        db::Transaction tx(db());
        services::RecordingUi quiet;
        services::LedgerContext ledger(db(), quiet);
        services::JournalContext context{ledger, clock, "admin", "USD"};
        services::JournalEntries entries;
        entries.add("1010", "USD", 98, 98);
        entries.add("1100", "USD", -98, -98);
        const auto glFkey = services::PostJournal(
            context,
            {.source = "AR", .sourceForm = "Fast Receipt Entry", .sourceDocno = "FR-26-00001",
             .date = kToday, .period = "12", .fyear = "2026", .currency = "USD"},
            entries);
        const auto numbers = services::NumberNewDocument(db(), quiet, 1, "rc", "2026");
        db().execute(
            "INSERT INTO Receipt_header_table (company, docno, doctype, fkey, receipt_date, "
            "customer_no, bank_code, remark, receipt_amount, Currency, receipt_base_amount, "
            "total_amount, total_base_amount, period, fyear, source_form, user_created, GLFKEY, "
            "new_from_fast, fast_apply_invoice_no, fast_docno, void, printed) VALUES (1, ?, 'rc', "
            "?, ?, '1002', ?, 'Fast receipt no. FR-26-00001', 98, 'USD', 98, 98, 98, 12, '2026', "
            "'Fast Receipt Entry', 'admin', ?, TRUE, ?, 'FR-26-00001', FALSE, FALSE)",
            {numbers->docno, numbers->fkey, kToday, bank.empty() ? db::Value() : db::Value(bank),
             *glFkey, invoice});
        tx.commit();
        return numbers->docno;
    }

    ARform_receipt& open() {
        arclass.showform_ARform_receipt();
        return dynamic_cast<ARform_receipt&>(*arclass.referencedScreen("ARform_receipt"));
    }

    // The screen as the host opens it for "Receipt This Invoice".
    ARform_receipt& receiptFor(const std::string& docno, const std::string& customer = "1002") {
        ARform_receipt& screen = open();
        arclass.ARform_receipt_this_invoice(docno, customer);
        return screen;
    }

    // Cash into the petty-cash account.
    static void cash(ARform_receipt& screen, const std::string& amount) {
        screen.enter("cmbpayby", "Cash");
        screen.enter("cmbcash", "1000");
        screen.enter("txtrcamount", amount);
    }

    static void apply(ARform_receipt& screen, std::size_t row, const std::string& caption,
                      const std::string& text) {
        screen.enterCell("dbgrid1", row, caption, text);
    }

    static std::string cell(const ARform_receipt& screen, std::size_t row,
                            const std::string& caption) {
        const auto& cells = screen.grid("dbgrid1").rows.at(row);
        const auto found = cells.find(caption);
        return found == cells.end() ? "" : found->second;
    }

    DocumentState paidState(const std::string& docno, const std::string& payItem = "1") {
        const auto row = db().queryOne(
            "SELECT l.open_amount, l.paid AS line_paid, h.paid, h.fully_paid FROM AR_header_table "
            "h "
            "JOIN AR_transaction_table l ON l.fkey = h.fkey WHERE h.docno = ? AND l.pay_item = ?",
            {docno, payItem});
        return {(*row)["open_amount"].numberOr(), (*row)["line_paid"].booleanOr(false),
                (*row)["paid"].booleanOr(false), (*row)["fully_paid"].booleanOr(false)};
    }
};

}  // namespace keltro::receipts::testing
