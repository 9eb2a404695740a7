// Recurring definitions on the invoice screen: the checks and their order, a save that
// writes the template and nothing of the ledger, an edit that replaces the lines, the walk
// over definitions, and a save that fails part way leaving nothing behind.
#include "invoice/InvoiceScreenFixture.h"
#include "support/FailingDatabase.h"

namespace keltro::invoice::testing {
namespace {

using framework::Mode;

// What a person types for a definition; an empty value is left untyped.
struct TypedDefinition {
    std::string customer = "1001";
    std::string name = "Monthly service";
    std::string term = "30";
    std::string recurDate = "15";
    std::string effective = "01/12/2026";
    std::string expiration = "30/11/2027";
    std::string noInvoice = "12";
    std::string frequency = "monthly";
    bool withLine = true;
};

class RecurringEntryTest : public InvoiceScreenTest {
protected:
    // The screen in recurring mode with a new definition typed.
    ARform_invoice& typeDefinition(const TypedDefinition& d) {
        auto& screen = open();
        screen.run("&New");
        screen.enter("chkrecur", "1");
        if (!d.customer.empty()) screen.enter("cmbcustno", d.customer);
        screen.enter("txtrecurname", d.name);
        screen.enter("cmbterm", d.term);
        screen.enter("txtrecurdate", d.recurDate);
        screen.enter("txteffectdate", d.effective);
        screen.enter("txtexpiredate", d.expiration);
        screen.enter("txtnoinvoice", d.noInvoice);
        screen.enter("cmbfreq", d.frequency);
        if (d.withLine) typeLine(screen, 0, {"Maintenance", "200"});
        ui.clear();
        return screen;
    }

    // Everything a definition's save may touch, and what it must leave alone.
    std::vector<double> ledgerAndOwing() {
        std::vector<double> values;
        for (const char* sql :
             {"SELECT COUNT(*) FROM GL_header_table", "SELECT COUNT(*) FROM GL_transaction_table",
              "SELECT COALESCE(SUM(ABS(amount)), 0) FROM Balance_table",
              "SELECT COALESCE(SUM(ABS(ytd_balance)), 0) FROM Balance_period_table",
              "SELECT COALESCE(SUM(ABS(owing_balance)), 0) FROM Customer_table",
              "SELECT COUNT(*) FROM AR_header_table"})
            values.push_back(number(sql));
        return values;
    }

    std::int64_t definitions() { return count("SELECT COUNT(*) FROM AR_recur_header_table"); }
};

TEST_F(RecurringEntryTest, eachCheckRefusesWithItsMessageAndWritesNothing) {
    const std::string dayRange =
        "please specify recurring date 0-31 (31 = end of month, 0 = manual issueing)";
    struct Case {
        const char* what;
        TypedDefinition typed;
        std::string message;
    };
    const auto with = [](auto change) {
        TypedDefinition d;
        change(d);
        return d;
    };
    const std::vector<Case> cases = {
        {"no customer", with([](auto& d) { d.customer = ""; }), "Please specify customer no."},
        {"no name", with([](auto& d) { d.name = ""; }), "Please specify recurring name"},
        {"cash term", with([](auto& d) { d.term = "00"; }), "Payment term cash is invalid."},
        {"no recurring date", with([](auto& d) { d.recurDate = ""; }), dayRange},
        {"day 32", with([](auto& d) { d.recurDate = "32"; }), dayRange},
        {"day -1", with([](auto& d) { d.recurDate = "-1"; }), dayRange},
        {"day x", with([](auto& d) { d.recurDate = "x"; }), "recurring date is not numeric"},
        {"no effective date", with([](auto& d) { d.effective = ""; }),
         "please specify effective date"},
        {"no expiration date", with([](auto& d) { d.expiration = ""; }),
         "please specify expiration date"},
        {"invoices not a number", with([](auto& d) { d.noInvoice = "twelve"; }),
         "Number of invoice is invalid"},
        {"frequency", with([](auto& d) { d.frequency = "weekly"; }),
         "recurring frequency is invalid"},
        {"no line", with([](auto& d) { d.withLine = false; }), "No data input"},
        // The first failing check wins.
        {"name and day", with([](auto& d) {
             d.name = "";
             d.recurDate = "x";
         }),
         "Please specify recurring name"},
    };
    const auto before = ledgerAndOwing();
    for (const auto& c : cases) {
        auto& screen = typeDefinition(c.typed);
        screen.run("&Save");
        EXPECT_EQ(lastSaid(), c.message) << c.what;
        EXPECT_EQ(screen.mode(), Mode::New) << c.what;
        EXPECT_EQ(screen.field("txtdocno").value, "** New **") << c.what;
        EXPECT_EQ(screen.field("txtrecurname").value, c.typed.name) << c.what;
    }
    EXPECT_EQ(definitions(), 0);
    EXPECT_EQ(count("SELECT fkeyno FROM Next_number_fkey_table WHERE doctype = 'cur'"), 1);
    EXPECT_EQ(ledgerAndOwing(), before);
}

// Issued by hand (day 0) needs no dates; the template keeps its lines and their tax, and
// nothing reaches the ledger or the customer's owing balance.
TEST_F(RecurringEntryTest, aDefinitionIsSavedAsATemplateWithoutTouchingTheLedger) {
    const auto before = ledgerAndOwing();
    TypedDefinition d;
    d.customer = "1003";  // a euro customer
    d.recurDate = "0";
    d.effective = d.expiration = d.noInvoice = "";
    d.frequency = "quarterly";
    auto& screen = typeDefinition(d);
    screen.run("&Save");
    EXPECT_EQ(lastSaid(), "Add new Recurring invoice complete");
    EXPECT_EQ(ledgerAndOwing(), before);
    const std::string fkey = screen.field("txtfkey").value;
    EXPECT_EQ(fkey, "1cur-1");
    EXPECT_EQ(screen.mode(), Mode::Browse);
    EXPECT_EQ(screen.field("txtdocno").value,
              text("SELECT recurno FROM AR_recur_header_table WHERE fkey = ?", {fkey}));
    const auto header = db().queryOne(
        "SELECT recur_name, customer_no, Currency, payment_term, recur_date, begin_date, "
        "end_date, no_invoice, Frequency, doctype, user_created FROM AR_recur_header_table");
    ASSERT_TRUE(header);
    EXPECT_EQ((*header)["recur_name"].textOr(), "Monthly service");
    EXPECT_EQ((*header)["Currency"].textOr(), "EUR");
    EXPECT_EQ((*header)["recur_date"].integerOr(-1), 0);
    EXPECT_TRUE((*header)["begin_date"].isNull());
    EXPECT_TRUE((*header)["no_invoice"].isNull());
    EXPECT_EQ((*header)["Frequency"].textOr(), "quarterly");
    EXPECT_EQ((*header)["doctype"].textOr(), "cur");
    EXPECT_EQ((*header)["user_created"].textOr(), "admin");
    const auto line = db().queryOne(
        "SELECT pay_item, taxable_amount, tax_amount, gross_amount, tax_code, sales_accno, "
        "tax_authority1, tax_amount1, docno FROM AR_recur_transaction_table WHERE fkey = ?",
        {fkey});
    ASSERT_TRUE(line);
    EXPECT_DOUBLE_EQ((*line)["taxable_amount"].numberOr(0), 200.0);
    EXPECT_DOUBLE_EQ((*line)["gross_amount"].numberOr(0),
                     200.0 + (*line)["tax_amount"].numberOr(0));
    EXPECT_GT((*line)["tax_amount"].numberOr(0), 0);
    EXPECT_FALSE((*line)["tax_authority1"].textOr().empty());
    EXPECT_EQ((*line)["sales_accno"].textOr(), "4000");
    EXPECT_EQ((*line)["docno"].textOr(), screen.field("txtdocno").value);
    expectCleanBooks();
}

// An edit rewrites the header and replaces the lines; the walk goes from definition to
// definition; "View &Recurring" shows the last.
TEST_F(RecurringEntryTest, definitionsAreEditedAndWalked) {
    auto& screen = typeDefinition({});
    screen.run("&Save");
    TypedDefinition second;
    second.name = "Quarterly audit";
    second.frequency = "quarterly";
    typeDefinition(second).run("&Save");
    ASSERT_EQ(definitions(), 2);

    auto& walked = open();
    walked.run("View &Recurring");
    EXPECT_EQ(walked.field("txtrecurname").value, "Quarterly audit");
    EXPECT_TRUE(walked.field("txtrecurname").visible);
    EXPECT_FALSE(walked.field("txtinvdate").visible);
    walked.run("&Previous record");
    EXPECT_EQ(walked.field("txtrecurname").value, "Monthly service");
    EXPECT_EQ(walked.field("cmbfreq").value, "monthly");

    walked.run("&Edit mode");
    ASSERT_EQ(walked.mode(), Mode::Edit);
    walked.enter("txtrecurname", "Monthly service (new rate)");
    walked.enter("txtrecurdate", "31");
    walked.enterCell("dbgrid1", 0, "taxable amount", "250");
    typeLine(walked, 1, {"Spare parts", "40"});
    ui.clear();
    walked.run("&Save");
    EXPECT_EQ(lastSaid(), "Update recurring invoice complete");
    EXPECT_EQ(walked.mode(), Mode::Browse);
    EXPECT_EQ(text("SELECT recur_name FROM AR_recur_header_table WHERE fkey = '1cur-1'"),
              "Monthly service (new rate)");
    EXPECT_EQ(count("SELECT recur_date FROM AR_recur_header_table WHERE fkey = '1cur-1'"), 31);
    EXPECT_DOUBLE_EQ(number("SELECT SUM(taxable_amount) FROM AR_recur_transaction_table "
                            "WHERE fkey = '1cur-1'"),
                     290.0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM AR_recur_transaction_table WHERE fkey = '1cur-1'"), 2);
    EXPECT_EQ(count("SELECT COUNT(*) FROM GL_header_table"), 0);

    // Leaving recurring mode goes back to the documents.
    walked.run("View &Invoice");
    EXPECT_EQ(walked.field("chkrecur").value, "0");
    EXPECT_TRUE(walked.field("txtinvdate").visible);
}

TEST_F(RecurringEntryTest, withoutDefinitionsViewRecurringSaysHowToMakeOne) {
    auto& screen = open();
    ui.clear();
    screen.run("View &Recurring");
    EXPECT_EQ(lastSaid(),
              "There is no Recurring Invoice.\nTo create recurring Invoice, mark recuring box as "
              "true when you create normal invoice.");
}

// The host sends the screen to a definition by its number.
TEST_F(RecurringEntryTest, theHostOpensADefinitionByItsNumber) {
    auto& screen = typeDefinition({});
    screen.run("&Save");
    const std::string recurno = screen.field("txtdocno").value;
    auto& other = open();
    arclass.ARform_invoice_recurring_goto_docno(recurno);
    EXPECT_EQ(other.field("chkrecur").value, "1");
    EXPECT_EQ(other.field("txtrecurname").value, "Monthly service");
    EXPECT_EQ(other.grid("dbgrid1").rows.size(), 1u);
}

// The database fails at the first, second … write of the save: nothing of the definition
// remains, the number goes back to "** New **" and the typed definition stays.
TEST_F(RecurringEntryTest, aSaveThatFailsPartWayLeavesNothing) {
    for (int failAt = 1; failAt < 100; ++failAt) {
        test::FailingDatabase failing(db(), failAt);
        useDatabase(failing);
        auto& screen = typeDefinition({});
        screen.run("&Save");
        if (lastSaid() == "Add new Recurring invoice complete") {
            EXPECT_GT(failAt, 2);
            break;
        }
        EXPECT_EQ(lastSaid(), "Add new Recurring invoice failed") << failAt;
        EXPECT_EQ(screen.field("txtdocno").value, "** New **") << failAt;
        EXPECT_EQ(screen.field("txtrecurname").value, "Monthly service") << failAt;
        useDatabase(db());
        EXPECT_EQ(definitions(), 0) << failAt;
        EXPECT_EQ(count("SELECT COUNT(*) FROM AR_recur_transaction_table"), 0) << failAt;
        EXPECT_EQ(count("SELECT fkeyno FROM Next_number_fkey_table WHERE doctype = 'cur'"), 1);
    }
    useDatabase(db());
    EXPECT_EQ(definitions(), 1);
}

}  // namespace
}  // namespace keltro::invoice::testing
