// Entering invoices, debit and credit notes: the defaults of a new document, the checks
// before a save and their order, the edge cases of numbering and the working period, and
// what the screen keeps after a save fails.
#include "invoice/InvoiceScreenFixture.h"

namespace keltro::invoice::testing {
namespace {

using framework::Mode;
using ::testing::ElementsAre;

const TypedLine kPaper{"Copier paper", "100"};

// Each named field shows its value.
void expectFields(const ARform_invoice& screen,
                  const std::vector<std::pair<std::string, std::string>>& fields) {
    for (const auto& [name, value] : fields) EXPECT_EQ(screen.field(name).value, value) << name;
}

TEST_F(InvoiceScreenTest, aNewInvoiceTakesItsDefaults) {
    auto& screen = open();
    screen.run("&New");
    screen.enter("cmbcustno", "1003");  // a euro customer with the term "30"
    EXPECT_EQ(screen.mode(), Mode::New);
    expectFields(screen, {{"txtdocno", "** New **"}, {"cmbcustname", "Café Müller GmbH"},
                          {"txtinvdate", "06/12/2026"}, {"cmbfyear", "2026"}, {"cmbperiod", "12"},
                          {"cmbterm", "30"}, {"txtduedate", "05/01/2027"}, {"txtdiscdate", ""},
                          {"cmbcurrency", "EUR"}, {"cmbexrate", "1.1012"},
                          {"txtratedate", "05/12/2026"}});
    EXPECT_EQ(screen.field("cmbexrate").items.front(), "1.1012;05/12/2026");
    EXPECT_THAT(screen.field("txtbill_address").value, ::testing::StartsWith("Königstraße 17"));

    // A rate date keeps later rates out of the list; a rate picked brings its date.
    screen.enter("txtratedate", "01/12/2026");
    expectFields(screen, {{"cmbexrate", "1.0987"}, {"txtratedate", "29/11/2026"}});
    EXPECT_EQ(screen.field("cmbexrate").items.size(), 5u);
    screen.pick("cmbexrate", 1);
    expectFields(screen, {{"cmbexrate", "1.1024"}, {"txtratedate", "06/11/2026"}});
    screen.enter("cmbterm", "2% 10 days, net 30");  // picked by its name
    expectFields(screen, {{"cmbterm", "2/10"}, {"txtdiscdate", "16/12/2026"}});
    screen.enter("cmbcurrency", "USD");
    expectFields(screen, {{"cmbexrate", ""}, {"txtratedate", ""}});
}

// An unknown or inactive customer is said at once, the latter again at the save, which
// writes nothing; a customer brings the bill-to address, which the address window copies
// again only when asked.
TEST_F(InvoiceScreenTest, choosingACustomerSaysWhenItCannotAndBringsItsAddress) {
    auto& screen = open();
    screen.run("&New");
    screen.enter("cmbcustno", "9999");
    screen.enter("cmbcustno", "1008");  // Pinecrest Builders, inactive
    const std::string inactive = "Pinecrest Builders is inactive. Invoice will not be saved.";
    EXPECT_THAT(ui.texts(), ElementsAre("Customer number is invalid", inactive));
    typeLine(screen, 0, kPaper);
    ui.clear();
    screen.run("&Save");
    EXPECT_THAT(ui.texts(), ElementsAre(inactive));
    EXPECT_EQ(count("SELECT COUNT(*) FROM AR_header_table"), 0);

    screen.enter("cmbcustno", "1002");
    const std::string customerAddress = screen.field("txtbill_address").value;
    ASSERT_FALSE(customerAddress.empty()) << "choosing the customer fills the bill-to address";
    screen.run("&Bill-To/Ship-To Address");
    EXPECT_TRUE(screen.isWindowOpen("Address Window"));
    screen.enter("txtbill_address", "Accounts payable\nPO Box 12");
    screen.enter("txtship_address", "Dock 4");
    screen.closeWindow("Address Window");
    screen.run("&Bill-To/Ship-To Address");
    EXPECT_EQ(screen.field("txtbill_address").value, "Accounts payable\nPO Box 12") << "reopening keeps what was typed";
    screen.run("&Copy Customer Address");
    EXPECT_EQ(screen.field("txtbill_address").value, customerAddress);
    EXPECT_EQ(screen.field("txtship_address").value, "Dock 4") << "a typed ship-to address stays";
}

// Each case spoils one thing of an otherwise good document; the first check that fails
// speaks, and nothing is written. Without the update right nothing can be entered.
TEST_F(InvoiceScreenTest, theChecksOfANewDocumentComeInTheirOrderAndNeedTheUpdateRight) {
    struct Case {
        const char* label;
        std::function<void(ARform_invoice&)> spoil;
        std::vector<std::string> said;
    };
    const std::vector<Case> cases = {
        {"no customer", [](auto& s) { s.enter("cmbcustno", ""); }, {"Please specify customer no."}},
        {"no term", [](auto& s) { s.enter("cmbterm", ""); }, {"Please specify Payment term"}},
        {"unknown term", [](auto& s) { s.enter("cmbterm", "90"); },
         {"payment term is invalid", "payment term is invalid"}},
        {"no currency", [](auto& s) { s.enter("cmbcurrency", ""); }, {"Please specify Currency"}},
        {"no date", [](auto& s) { s.enter("txtinvdate", ""); }, {"please specify invoice date"}},
        {"no line", [](auto& s) { s.enterCell("dbgrid1", 0, "pay item", ""); }, {"No data input"}},
        {"no period", [](auto& s) { s.enter("cmbperiod", ""); }, {"please specify period"}},
        {"no fiscal year", [](auto& s) { s.enter("cmbfyear", ""); }, {"please specify fiscal year"}},
        {"no sales account", [](auto& s) { s.enterCell("dbgrid1", 0, "sales account", ""); },
         {"please specify sales account", "Add new invoice failed"}},
    };
    for (const auto& c : cases) {
        auto& screen = open();
        startDocument(screen, "1001");
        typeLine(screen, 0, kPaper);
        ui.clear();
        c.spoil(screen);
        screen.run("&Save");
        SCOPED_TRACE(c.label);
        EXPECT_EQ(ui.texts(), c.said);
        EXPECT_EQ(screen.mode(), Mode::New);
        expectFields(screen, {{"txtdocno", "** New **"}, {"txtfkey", ""}});
        EXPECT_EQ(count("SELECT COUNT(*) FROM AR_header_table"), 0);
        EXPECT_EQ(count("SELECT fkeyno FROM Next_number_fkey_table WHERE doctype = 'ar'"), 1);
    }

    db().execute("UPDATE User_right_table SET [Update] = FALSE WHERE userid = 'admin'");
    auto& screen = open(std::string("cn"));
    EXPECT_EQ(screen.mode(), Mode::Browse);
    screen.run("&New");
    EXPECT_EQ(screen.mode(), Mode::Browse);
    EXPECT_TRUE(screen.field("cmbcustno").locked);
}

class InvoiceDatesTest : public InvoiceScreenTest {
protected:
    // Copier paper for `customer` on a new document of `kind` dated `date`, saved; gives
    // what the screen said last.
    std::string saveDated(const std::string& date, const std::string& customer = "1001",
                          const std::string& kind = "") {
        auto& screen = kind.empty() ? open() : open(kind);
        startDocument(screen, customer);
        typeLine(screen, 0, kPaper);
        screen.enter("txtinvdate", date);
        ui.clear();
        screen.run("&Save");
        return lastSaid();
    }
    const std::string outside = "Fiscal period/year is out of working period.";
};

// The working period and the history window. 1006 has no receivable account of its own
// and takes the module's; without that, an invoice says so before it looks at the period,
// the notes look at the period first.
TEST_F(InvoiceDatesTest, theWorkingPeriodHistoryWindowAndTheModulesReceivableAccount) {
    EXPECT_EQ(saveDated("15/06/2025"), "Add new Invoice complete");
    EXPECT_EQ(saveDated("15/06/2026"), "Add new Invoice complete");
    EXPECT_EQ(saveDated("15/01/2027"), outside);
    db().execute("UPDATE COA_config_table SET allow_history_update = FALSE");
    EXPECT_EQ(saveDated("16/06/2025"), outside);
    EXPECT_EQ(count("SELECT COUNT(*) FROM AR_header_table"), 2);

    EXPECT_EQ(saveDated("06/12/2026", "1006"), "Add new Invoice complete");
    EXPECT_EQ(text("SELECT ar_accno FROM AR_transaction_table WHERE customer_no = ?", {"1006"}),
              "1100");
    expectCleanBooks();
    db().execute("DELETE FROM Account_Parameters_table WHERE parameter_name = ?",
                 {"AR account receivable account"});
    EXPECT_EQ(saveDated("15/01/2027", "1006"), "Error : receiveable account for 1006 is empty");
    for (const char* kind : {"cn", "dn"}) EXPECT_EQ(saveDated("15/01/2027", "1006", kind), outside);
}

TEST_F(InvoiceScreenTest, aNumberOfThirtyCharactersSavesAndOneMoreFails) {
    // Structure 1: prefix "-" two-digit year "-" five digits: the prefix plus 9.
    db().execute("UPDATE Next_number_format_table SET prefix = ? WHERE doctype = 'ar'",
                 {std::string(21, 'P')});
    auto& screen = open();
    enterAndSave(screen, "1001", {kPaper});
    EXPECT_EQ(lastSaid(), "Add new Invoice complete");
    EXPECT_EQ(screen.field("txtdocno").value.size(), 30u);

    db().execute("UPDATE Next_number_format_table SET prefix = ? WHERE doctype = 'ar'",
                 {std::string(22, 'P')});
    ui.clear();
    enterAndSave(screen, "1001", {kPaper});
    EXPECT_THAT(ui.texts(),
                ElementsAre("Error : document no. is longer than 30 characters. " +
                                std::string(22, 'P') + "-26-00002",
                            "Add new invoice failed"));
    expectFields(screen, {{"txtdocno", "** New **"}, {"txtfkey", ""}});
    EXPECT_EQ(cell(screen, 0, "description"), "Copier paper");
    EXPECT_EQ(count("SELECT COUNT(*) FROM AR_header_table"), 1);
    EXPECT_EQ(count("SELECT nextdocno FROM Docno_master_table WHERE doctype = 'ar' AND "
                    "fiscalyear = '2026'"),
              2);
    expectCleanBooks();
}

TEST_F(InvoiceScreenTest, leavingNewAsksOnlyWhenTheFirstLineHasADescription) {
    auto& screen = open();
    enterAndSave(screen, "1001", {kPaper});
    const std::string saved = screen.field("txtdocno").value;

    screen.run("&New");
    screen.enterCell("dbgrid1", 0, "taxable amount", "50");  // an amount, no description
    ui.clear();
    screen.run("&New");
    EXPECT_TRUE(ui.said().empty());
    EXPECT_EQ(screen.mode(), Mode::Browse);
    EXPECT_EQ(screen.field("txtdocno").value, saved);

    screen.run("&New");
    typeLine(screen, 0, {"Toner", "40"});
    ui.queueAnswer(false);
    screen.run("&New");
    EXPECT_THAT(ui.texts(), ElementsAre("Do you want to save new entry?"));
    EXPECT_EQ(screen.field("txtdocno").value, saved);

    startDocument(screen, "1001");
    typeLine(screen, 0, {"Toner", "40"});
    ui.clear();
    ui.queueAnswer(true);
    screen.run("&New");
    EXPECT_THAT(ui.texts(),
                ElementsAre("Do you want to save new entry?", "Add new Invoice complete"));
    EXPECT_EQ(screen.mode(), Mode::Browse);
    EXPECT_EQ(count("SELECT COUNT(*) FROM AR_header_table"), 2);
}

TEST_F(InvoiceScreenTest, typingInsertingAndDeletingLinesInTheGrid) {
    auto& screen = open();
    startDocument(screen, "1001");
    screen.enterCell("dbgrid1", 0, "taxable amount", "ten");
    screen.enterCell("dbgrid1", 0, "tax code", "ZZ");
    screen.enterCell("dbgrid1", 0, "sales account", "9999");
    EXPECT_THAT(ui.texts(), ElementsAre("please input numeric data", "Invalid tax code",
                                        "Invalid sales account"));
    EXPECT_TRUE(screen.grid("dbgrid1").rows.empty());

    screen.enterCell("dbgrid1", 0, "taxable amount", "1,000");
    EXPECT_EQ(cell(screen, 0, "pay item"), "1");
    EXPECT_EQ(cell(screen, 0, "tax code"), "S1");  // the default code
    EXPECT_EQ(cell(screen, 0, "tax amount"), "60.00");
    EXPECT_EQ(cell(screen, 0, "gross amount"), "1,060.00");
    ui.clear();
    screen.enterCell("dbgrid1", 1, "pay item", "1");
    EXPECT_THAT(ui.texts(), ElementsAre("Pay item 1 is already on this document"));
    screen.enterCell("dbgrid1", 0, "sales account", "4020");
    EXPECT_EQ(cell(screen, 0, "account name"), "Printing & Copy Services");

    // Inserted and deleted lines keep pay items unique and the tax in step.
    screen.run("&New");  // leaves the new document: its line has no description
    startDocument(screen, "1001");
    screen.run("&Insert Line");
    screen.enterCell("dbgrid1", 0, "pay item", "5");
    screen.enterCell("dbgrid1", 0, "taxable amount", "100");
    screen.run("&Insert Line");
    screen.enterCell("dbgrid1", 1, "taxable amount", "200");
    screen.enterCell("dbgrid1", 2, "pay item", "2");
    screen.enterCell("dbgrid1", 2, "taxable amount", "300");
    screen.run("&Insert Line");
    std::vector<std::string> payItems;
    for (const auto& row : screen.grid("dbgrid1").rows) payItems.push_back(row.at("pay item"));
    EXPECT_THAT(payItems, ElementsAre("5", "6", "2", "7"));
    expectFields(screen, {{"txtgross", "600.00"}, {"txttax", "36.00"}, {"txttotal", "636.00"}});

    screen.clickCell("dbgrid1", 1, "pay item");
    screen.run("&Delete Line");
    EXPECT_EQ(screen.grid("dbgrid1").rows.size(), 3u);
    EXPECT_TRUE(screen.taxTable().rowsOf("6").empty());
    EXPECT_EQ(screen.grid("grid_tax").rows.size(), 2u);
    EXPECT_EQ(screen.field("txttotal").value, "424.00");
}

}  // namespace
}  // namespace keltro::invoice::testing
