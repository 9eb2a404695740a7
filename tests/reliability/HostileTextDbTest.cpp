// Quotes, Unicode, very long texts and control characters typed into every free-text field
// of the invoice and receipt screens: the document saves, every text is stored as typed,
// and its printout's query (the one place where shown values are written into SQL) runs
// and finds the document.
#include <string>
#include <vector>

#include "receipts/ReceiptScreenFixture.h"

namespace keltro::reliability {
namespace {

using framework::Screen;

struct Hostile {
    const char* what;
    std::string text;
};

const std::vector<Hostile> kTexts = {
    {"quotes", "O'Brien's \"best\" -- '; DROP TABLE AR_header_table; --"},
    {"unicode", "Café Müller — 東京 Ωμέγα 🙂 \u200b\u202eevil"},
    {"long", std::string(4000, 'x') + " end"},
    {"control characters", "tab\there\nnew line\r\x01\x07\x1b[31m\x7f"},
    {"brackets and placeholders", "[default] ? $1 %s %% \\ \\' {docno}"},
};

class HostileTextTest : public receipts::testing::ReceiptScreenTest,
                        public ::testing::WithParamInterface<Hostile> {
protected:
    // The query of the last printout the screen asked the host for runs and finds rows.
    void expectPrintable(Screen& screen) {
        notifications.clear();
        screen.run("&Preview");
        ASSERT_EQ(notifications.size(), 1u) << ::testing::PrintToString(ui.texts());
        const std::string query = notifications.back().arg2;
        db::Rows rows;
        ASSERT_NO_THROW(rows = db().query(query)) << query.substr(0, 300);
        EXPECT_FALSE(rows.empty()) << query.substr(0, 300);
    }

    std::string stored(const std::string& sql, const std::string& docno) {
        return text(sql, {docno});
    }
};

TEST_P(HostileTextTest, anInvoiceAndItsReceiptSaveStoreAndPrintTheTextAsTyped) {
    const std::string& typed = GetParam().text;
    arclass.showform_ARform_invoice();
    auto& invoice = *arclass.referencedScreen("ARform_invoice");
    if (invoice.mode() != framework::Mode::New) invoice.run("&New");
    invoice.enter("cmbcustno", "1002");
    for (const char* field : {"txtbill_address", "txtship_address", "txtcustomer_po", "txtremark"})
        invoice.enter(field, typed);
    invoice.enterCell("dbgrid1", 0, "description", typed);
    invoice.enterCell("dbgrid1", 0, "taxable amount", "100");
    invoice.enterCell("dbgrid1", 0, "sales account", "4000");
    ui.clear();
    invoice.run("&Save");
    ASSERT_EQ(lastSaid(), "Add new Invoice complete") << ::testing::PrintToString(ui.texts());
    const std::string docno = invoice.field("txtdocno").value;
    for (const char* column : {"remark", "customer_po"})
        EXPECT_EQ(stored(std::string("SELECT ") + column + " FROM AR_header_table WHERE docno = ?", docno), typed)
            << column;
    EXPECT_EQ(stored("SELECT description FROM AR_transaction_table WHERE docno = ?", docno), typed);
    expectPrintable(invoice);

    auto& receipt = receiptFor(docno);
    receipt.clickCell("dbgrid1", 0, "applied amount");
    cash(receipt, receipt.field("txttotal").value);
    for (const char* field : {"txtpayer", "txtrcno", "txtcheck"}) receipt.enter(field, typed);
    ui.clear();
    receipt.run("&Save");
    ASSERT_EQ(lastSaid(), "Add new Receipt complete") << ::testing::PrintToString(ui.texts());
    EXPECT_EQ(stored("SELECT payer FROM Receipt_header_table WHERE docno = ?", receipt.field("txtdocno").value),
              typed);
    expectPrintable(receipt);
    expectCleanBooks();
}

INSTANTIATE_TEST_SUITE_P(EveryText, HostileTextTest, ::testing::ValuesIn(kTexts),
                         [](const auto& text) {
                             std::string name;
                             for (const char c : std::string(text.param.what)) name += c == ' ' ? '_' : c;
                             return name;
                         });

}  // namespace
}  // namespace keltro::reliability
