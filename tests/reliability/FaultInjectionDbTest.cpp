// Every kind of save, void and generation, failed at every statement it makes.
//
// A kind is entered once on its screen, as a person would, over a database that fails on
// purpose. The first attempt goes all the way to the commit and fails there, which counts
// the statements the step makes inside its transaction; then the step is pressed again on
// the same screen failing at statement 1, 2, 3 … in turn. After every failure every table
// of the books is exactly as it was before, the screen says its failure message and
// still shows what was typed; the last attempt, failing nowhere, succeeds and takes the
// same numbers the first attempt took.
//
// One row per kind: the lead's screens add theirs here.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "receipts/ReceiptScreenFixture.h"
#include "schema/SuiteTables.h"
#include "support/FailingDatabase.h"

namespace keltro::reliability {
namespace {

using framework::Screen;
using test::FailingDatabase;

class FaultInjectionTest;

struct FaultKind {
    std::string name;
    // Documents the step needs, written once on the real database; may note a number.
    std::function<void(FaultInjectionTest&)> prepare;
    // Opens the screen and types the entry; the step is then `command` on it.
    std::function<Screen&(FaultInjectionTest&)> enter;
    std::string command;
    std::string failed;
    // The completion message; "{docno}" stands for the number `prepare` noted.
    std::string succeeded;
    bool confirm = false;  // the command asks "are you sure" first
};

// What a screen shows: its mode, every field and every grid row.
struct Shown {
    framework::Mode mode;
    std::map<std::string, std::string> fields;
    std::map<std::string, std::vector<framework::GridRow>> grids;
    bool operator==(const Shown&) const = default;
};

Shown shownOn(const Screen& screen) {
    Shown shown{screen.mode(), {}, {}};
    for (const auto& field : screen.fields()) shown.fields[field.name] = field.value;
    for (const auto& grid : screen.grids()) shown.grids[grid.name] = grid.rows;
    return shown;
}

// The names and values of what differs between two showings.
std::string differences(const Shown& before, const Shown& after) {
    std::string text;
    if (before.mode != after.mode) text += "mode; ";
    for (const auto& [name, value] : before.fields)
        if (after.fields.at(name) != value)
            text += name + ": '" + value + "' became '" + after.fields.at(name) + "'; ";
    for (const auto& [name, rows] : before.grids)
        if (after.grids.at(name) != rows) text += "grid " + name + "; ";
    return text;
}

// The values written to the numbering counters, in order: the numbers a save took.
std::vector<std::string> counterWrites(const std::vector<std::string>& log) {
    std::vector<std::string> numbers;
    for (const auto& statement : log)
        if (statement.find("Docno_master_table") != std::string::npos ||
            statement.find("Next_number_fkey_table") != std::string::npos)
            numbers.push_back(statement);
    return numbers;
}

class FaultInjectionTest : public receipts::testing::ReceiptScreenTest,
                           public ::testing::WithParamInterface<FaultKind> {
public:
    using ReceiptScreenTest::addDocument;
    using ReceiptScreenTest::storedFastReceipt;
    using test::ScreenFixture::arclass;

    template <class S>
    S& show(const std::string& method, const std::string& className,
            const std::vector<std::string>& args = {}) {
        return dynamic_cast<S&>(desk.call(method, className, args));
    }

    // Invoice lines as a person types them: description, tax code, amount, sales account.
    static void typeLines(Screen& screen, const std::vector<std::vector<std::string>>& lines) {
        for (std::size_t row = 0; row < lines.size(); ++row) {
            const auto& l = lines[row];
            screen.enterCell("dbgrid1", row, "description", l[0]);
            screen.enterCell("dbgrid1", row, "tax code", l[1]);
            screen.enterCell("dbgrid1", row, "taxable amount", l[2]);
            screen.enterCell("dbgrid1", row, "sales account", l[3]);
        }
    }

    // A new invoice, debit note or credit note typed on its screen ("" for an invoice).
    Screen& typeInvoice(const std::string& doctypex, const std::string& customer = "1002") {
        auto& screen = show<Screen>("showform_ARform_invoice", "ARform_invoice",
                                    doctypex.empty() ? std::vector<std::string>{}
                                                     : std::vector<std::string>{doctypex});
        if (screen.mode() != framework::Mode::New) screen.run("&New");
        screen.enter("cmbcustno", customer);
        typeLines(screen, {{"Desk", "S1", "1000", "4010"}, {"Bundle", "S2", "300", "4090"}});
        return screen;
    }

    // Saves on the real database and notes the document's number.
    void saveTyped(Screen& screen) {
        ui.clear();
        screen.run("&Save");
        ASSERT_THAT(lastSaid(), ::testing::HasSubstr("complete")) << ::testing::PrintToString(ui.texts());
        docno = screen.field("txtdocno").value;
    }

    // The row of the screen's grid showing the document.
    static std::size_t rowOf(const Screen& screen, const std::string& wanted) {
        const auto& rows = screen.grid("dbgrid1").rows;
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].at("invoice no") == wanted) return i;
        ADD_FAILURE() << wanted << " is not offered";
        return 0;
    }

    std::string succeeded(const FaultKind& kind) const {
        std::string text = kind.succeeded;
        const auto at = text.find("{docno}");
        if (at != std::string::npos) text.replace(at, 7, docno);
        return text;
    }

    // Presses the step's command once; what the screen said.
    std::vector<std::string> press(const FaultKind& kind, Screen& screen) {
        ui.clear();
        if (kind.confirm) ui.queueAnswer(true);
        screen.run(kind.command);
        return ui.texts();
    }

    std::string docno;    // the number `prepare` noted
    std::string invoice;  // a document to pay
    std::string credit;   // a credit to match
};

std::vector<std::string> everyTable() {
    std::vector<std::string> names;
    for (const auto& table : schema::suiteTables()) names.push_back(table.name);
    return names;
}

TEST_P(FaultInjectionTest, failingAtEveryStatementLeavesTheBooksAndTheScreenAsTheyWere) {
    const FaultKind& kind = GetParam();
    kind.prepare(*this);
    ASSERT_FALSE(HasFatalFailure());
    const auto tables = everyTable();
    const auto before = rowsOf(tables);

    FailingDatabase failing(db(), FailingDatabase::kFailAtCommit, FailingDatabase::Scope::Transaction);
    useDatabase(failing);
    Screen& screen = kind.enter(*this);
    const Shown typed = shownOn(screen);
    const auto expectFailedAt = [&](const std::string& where) {
        const auto said = press(kind, screen);
        EXPECT_THAT(said, ::testing::Contains(kind.failed)) << where;
        EXPECT_EQ(rowsOf(tables), before) << where;
        const Shown after = shownOn(screen);
        EXPECT_TRUE(after == typed) << where << ": " << differences(typed, after);
    };

    expectFailedAt("failing at the commit");
    const int statements = failing.statements();
    const auto numbers = counterWrites(failing.writeLog());
    EXPECT_GT(statements, 5) << "the step did too little to be tested";
    for (int failAt = 1; failAt <= statements && !HasFailure(); ++failAt) {
        failing.arm(failAt);
        expectFailedAt("failing at statement " + std::to_string(failAt) + " of " +
                       std::to_string(statements));
    }

    failing.arm(0);
    EXPECT_THAT(press(kind, screen), ::testing::Contains(succeeded(kind)));
    // At most the same statements and the commit: the current-earnings account is looked
    // up once and then kept for the life of the component.
    EXPECT_LE(failing.statements(), statements + 1);
    EXPECT_EQ(counterWrites(failing.writeLog()), numbers) << "the same numbers";
    useDatabase(db());
    expectCleanBooks();
}

using T = FaultInjectionTest;
const receipts::testing::DocumentToPay kDiscounted{.earlyDiscount = 2.0,
                                                   .discountDate = db::Date{2026, 12, 16}};

void nothing(T&) {}

// A saved document of the kind, shown on its screen for the void.
std::function<void(T&)> savedInvoice(const std::string& doctypex) {
    return [doctypex](T& t) { t.saveTyped(t.typeInvoice(doctypex)); };
}
std::function<Screen&(T&)> shownInvoice(const std::string& doctypex) {
    return [doctypex](T& t) -> Screen& {
        auto& screen = t.show<Screen>("showform_ARform_invoice", "ARform_invoice",
                                      doctypex.empty() ? std::vector<std::string>{}
                                                       : std::vector<std::string>{doctypex});
        t.arclass.ARform_invoice_goto_docno(t.docno);
        return screen;
    };
}

// A receipt of an invoice with a discount and a credit note, leaving unapplied cash.
Screen& typeReceipt(T& t) {
    auto& screen = t.show<Screen>("showform_ARform_receipt", "ARform_receipt");
    t.arclass.ARform_receipt_this_invoice(t.invoice, "1002");
    screen.clickCell("dbgrid1", 0, "applied amount");
    screen.enterCell("dbgrid1", 1, "applied amount", "-20");
    screen.enter("cmbpayby", "Cash");
    screen.enter("cmbcash", "1000");
    screen.enter("txtrcamount", "100");
    return screen;
}
void receiptDocuments(T& t) {
    t.invoice = t.addDocument(kDiscounted);
    t.addDocument({.doctype = "cn", .lines = {20}});
}

// A euro prepayment into a bank.
Screen& typePrepayment(T& t) {
    auto& screen = t.show<Screen>("showform_ARform_prepayment", "ARform_prepayment");
    if (screen.mode() != framework::Mode::New) screen.run("&New");
    for (const auto& [name, text] : std::vector<std::pair<std::string, std::string>>{
             {"cmbcustno", "1003"}, {"cmbpayby", "Cash"}, {"cmbbank", "BDP"},
             {"cmbexrate", "1.1012"}, {"txtrcamount", "99.99"}})
        screen.enter(name, text);
    return screen;
}

// A euro credit note against a euro invoice at another rate, with a write-off.
Screen& typeMatching(T& t) {
    auto& screen = t.show<Screen>("showform_ARform_matching", "ARform_matching");
    if (screen.mode() != framework::Mode::New) screen.run("&New");
    screen.enter("cmbcustno", "1003");
    screen.clickCell("dbgrid1", T::rowOf(screen, t.credit), "applied amount");
    const std::size_t row = T::rowOf(screen, t.invoice);
    screen.enterCell("dbgrid1", row, "applied amount", "98");
    screen.enterCell("dbgrid1", row, "write-off", "2");
    screen.enterCell("dbgrid1", row, "write-off account", "6200");
    return screen;
}

// Two definitions due today, one in pounds, entered on the invoice screen.
void recurringDefinitions(T& t) {
    for (const auto& [customer, name] : {std::pair{"1001", "Monthly service"}, {"1004", "Hosting"}}) {
        auto& screen = t.show<Screen>("showform_ARform_invoice", "ARform_invoice");
        if (screen.mode() != framework::Mode::New) screen.run("&New");
        screen.enter("chkrecur", "1");
        screen.enter("cmbcustno", customer);
        for (const auto& [field, text] : std::vector<std::pair<std::string, std::string>>{
                 {"txtrecurname", name}, {"cmbterm", "30"}, {"txtrecurdate", "0"},
                 {"txteffectdate", "01/12/2026"}, {"txtexpiredate", "30/11/2027"},
                 {"txtnoinvoice", "12"}, {"cmbfreq", "monthly"}})
            screen.enter(field, text);
        T::typeLines(screen, {{"Maintenance", "S2", "200", "4090"}});
        t.saveTyped(screen);
    }
}
Screen& tickDueDefinitions(T& t) {
    auto& screen = t.show<Screen>("showform_ARreport_recur_inquiry", "ARreport_recur_inquiry");
    screen.run("&List Due Recur");
    for (std::size_t row = 0; row < screen.grid("dbgrid1").rows.size(); ++row)
        screen.enterCell("dbgrid1", row, "due", "1");
    return screen;
}

// Euro receivables of two customers, revalued at 1.25 today.
void euroReceivables(T& t) {
    t.addDocument({.customer = "1003", .currency = "EUR", .rate = 1.10});
    t.addDocument({.customer = "1007", .doctype = "cn", .lines = {200}, .currency = "EUR", .rate = 1.30});
}
Screen& typeRevaluation(T& t) {
    auto& screen = t.show<Screen>("showform_ARform_revalue", "ARform_revalue");
    if (screen.mode() != framework::Mode::New) screen.run("&New");
    screen.enter("txtlastdate", "06/12/2026");
    screen.enterCell("dbgridcmd", 0, "currency", "EUR");
    screen.enterCell("dbgridcmd", 0, "rate", "1.25");
    screen.enterCell("dbgridcmd", 0, "every customer", "1");
    screen.run("Find result");
    screen.enter("txtdate", "06/12/2026");
    screen.enter("txtdesc", "Month-end revaluation");
    return screen;
}

// Interest of 100.00 and a rent refund of 50.00 into petty cash.
Screen& typeMiscReceipt(T& t) {
    auto& screen = t.show<Screen>("showform_ARform_misc", "ARform_misc_receipt");
    screen.run("&New");
    screen.enter("cmbpayby", "Cash");
    screen.enter("cmbcash", "1000");
    screen.enter("txtamount", "150");
    for (const auto& [row, line] : {std::pair{0, std::pair{"7100", "100"}}, {1, {"6000", "50"}}}) {
        screen.enterCell("dbgrid1", static_cast<std::size_t>(row), "account no", line.first);
        screen.enterCell("dbgrid1", static_cast<std::size_t>(row), "amount", line.second);
    }
    return screen;
}

// A batch into First National Bank of the four kinds of line, the first for `t.invoice`.
Screen& typeFastBatch(T& t) {
    auto& screen = t.show<Screen>("showform_ARform_fastreceipt", "ARform_fast_receipt");
    screen.run("&New");
    screen.enter("cmbbank", "FNB");
    screen.enter("txtrcamount", "400");
    const std::vector<std::vector<std::pair<const char*, std::string>>> rows = {
        {{"transaction type", "Receipt"}, {"customer no", "1002"}, {"invoice no", t.invoice}},
        {{"transaction type", "Unapplied cash"}, {"customer no", "1002"}},
        {{"transaction type", "Prepayment"}, {"customer no", "1002"}},
        {{"transaction type", "Miscellaneous receipt"}, {"account no", "7100"}}};
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (const auto& [column, text] : rows[row]) screen.enterCell("dbgrid1", row, column, text);
        screen.enterCell("dbgrid1", row, "amount", "100");
    }
    return screen;
}

void savedFastBatch(T& t) {
    t.invoice = t.addDocument({});
    t.saveTyped(typeFastBatch(t));
}

Screen& shownFastBatch(T& t) {
    auto& screen = t.show<Screen>("showform_ARform_fastreceipt", "ARform_fast_receipt");
    t.arclass.ARform_fastreceipt_goto_docno(t.docno);
    return screen;
}

const std::vector<FaultKind> kKinds = {
    {"InvoiceSave", nothing, [](T& t) -> Screen& { return t.typeInvoice(""); }, "&Save",
     "Add new invoice failed", "Add new Invoice complete"},
    {"DebitNoteSave", nothing, [](T& t) -> Screen& { return t.typeInvoice("dn"); }, "&Save",
     "Add new Debit note failed", "Add new Debit Note complete"},
    {"CreditNoteSave", nothing, [](T& t) -> Screen& { return t.typeInvoice("cn"); }, "&Save",
     "Add new Credit note failed", "Add new Credit Note complete"},
    {"InvoiceVoid", savedInvoice(""), shownInvoice(""), "&Void Invoice", "Void invoice failed",
     "Void invoice complete"},
    {"CreditNoteVoid", savedInvoice("cn"), shownInvoice("cn"), "&Void Invoice",
     "Void invoice failed", "Void invoice complete"},
    {"ReceiptSave", receiptDocuments, typeReceipt, "&Save", "Add new receipt failed",
     "Add new Receipt complete"},
    {"ReceiptVoid",
     [](T& t) {
         receiptDocuments(t);
         t.saveTyped(typeReceipt(t));
     },
     [](T& t) -> Screen& {
         auto& screen = t.show<Screen>("showform_ARform_receipt", "ARform_receipt");
         t.arclass.ARform_receipt_goto_docno(t.docno);
         return screen;
     },
     "&Void Receipt", "Void Receipt failed", "Receipt {docno} is void.", true},
    {"FastReceiptCompletion",
     [](T& t) {
         t.invoice = t.addDocument(kDiscounted);
         t.docno = t.storedFastReceipt(t.invoice);
     },
     [](T& t) -> Screen& {
         auto& screen = t.show<Screen>("showform_ARform_receipt", "ARform_receipt");
         t.arclass.ARform_receipt_goto_docno(t.docno);
         screen.enter("cmbpayby", "Cash");
         screen.enter("txtrcno", "R-2");
         screen.clickCell("dbgrid1", 0, "applied amount");
         return screen;
     },
     "&Save", "Add new receipt failed", "Add new Receipt complete"},
    {"PrepaymentSave", nothing, typePrepayment, "&Save", "Add new prepayment failed",
     "Add new Prepayment complete"},
    {"PrepaymentVoid", [](T& t) { t.saveTyped(typePrepayment(t)); },
     [](T& t) -> Screen& {
         auto& screen = t.show<Screen>("showform_ARform_prepayment", "ARform_prepayment");
         t.arclass.ARform_prepayment_goto_docno(t.docno);
         return screen;
     },
     "&Void prepayment", "Void Prepayment failed", "Prepayment {docno} is void.", true},
    {"MatchingSave",
     [](T& t) {
         t.invoice = t.addDocument({.customer = "1003", .currency = "EUR", .rate = 1.5});
         t.credit = t.addDocument(
             {.customer = "1003", .doctype = "cn", .lines = {98}, .currency = "EUR", .rate = 1.4});
     },
     typeMatching, "&Save", "Add new Matching failed", "Add new Matching complete"},
    {"RecurringGeneration", recurringDefinitions, tickDueDefinitions, "&Generate Invoice",
     "Generate invoice from on due recurring-invoice failed", "Generate invoices complete"},
    {"RevaluationSave", euroReceivables, typeRevaluation, "&Save", "Add new revaluation failed",
     "Add new revaluation complete"},
    {"MiscReceiptSave", nothing, typeMiscReceipt, "&Save", "Add new receipt failed",
     "Receipt complete"},
    {"MiscReceiptVoid", [](T& t) { t.saveTyped(typeMiscReceipt(t)); },
     [](T& t) -> Screen& {
         auto& screen = t.show<Screen>("showform_ARform_misc", "ARform_misc_receipt");
         t.arclass.ARform_misc_goto_docno(t.docno);
         return screen;
     },
     "&Void Receipt", "Void Receipt failed", "Receipt {docno} is void.", true},
    {"FastReceiptSave", [](T& t) { t.invoice = t.addDocument({}); }, typeFastBatch, "&Save",
     "Add new Fast receipt failed", "Add new Fast Receipt complete"},
    {"FastReceiptEdit", savedFastBatch,
     [](T& t) -> Screen& {
         auto& screen = shownFastBatch(t);
         screen.run("&Edit mode");
         screen.enterCell("dbgrid1", 1, "amount", "150");
         screen.enter("txtrcamount", "450");
         return screen;
     },
     "&Save", "Update Fast receipt failed", "Update Fast Receipt complete"},
    {"FastReceiptVoid", savedFastBatch, shownFastBatch, "&Void Receipt", "Void Fast receipt failed",
     "Fast receipt {docno} is void.", true},
    {"FastReceiptGeneration", savedFastBatch, shownFastBatch, "&Generate actual receipt",
     "Generate receipt failed", "Generate Receipts complete"},
};

INSTANTIATE_TEST_SUITE_P(EveryKind, FaultInjectionTest, ::testing::ValuesIn(kKinds),
                         [](const auto& kind) { return kind.param.name; });

}  // namespace
}  // namespace keltro::reliability
