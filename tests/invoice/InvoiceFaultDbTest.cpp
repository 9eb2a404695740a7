// All or nothing: the database fails at the first, second, third … write of a save, an
// edit or a void, and each time nothing of it survives — no header, line, journal,
// balance, counter or owing balance changes — and the screen says it failed.
#include "invoice/InvoiceScreenFixture.h"
#include "support/FailingDatabase.h"

namespace keltro::invoice::testing {
namespace {

class InvoiceFaultTest : public InvoiceScreenTest {
protected:
    // Runs `step` on a screen over a database that fails at write 1, 2, 3 … until the
    // step gets through; each failure must leave the books as they were and say `failed`.
    void expectAllOrNothing(const std::function<void(ARform_invoice&)>& step,
                            const std::string& failed, const std::string& succeeded) {
        const auto before = books();
        for (int failAt = 1; failAt < 400; ++failAt) {
            test::FailingDatabase failing(db(), failAt);
            useDatabase(failing);
            auto& screen = open();
            ui.clear();
            step(screen);
            if (lastSaid() == succeeded) {
                EXPECT_GT(failAt, 3) << "the step wrote too little to be tested";
                useDatabase(db());
                expectCleanBooks();
                return;
            }
            EXPECT_EQ(lastSaid(), failed) << "failing at write " << failAt;
            EXPECT_EQ(books(), before) << "failing at write " << failAt;
        }
        useDatabase(db());
        FAIL() << "the step never got through";
    }
};

// The bundle's sales account spreads over two accounts, so the void reverses those too.
TEST_F(InvoiceFaultTest, aNewInvoiceAndItsVoidAreWholeOrNotAtAll) {
    expectAllOrNothing(
        [this](ARform_invoice& screen) {
            enterAndSave(screen, "1002",
                         {{"Desk", "1000", "S1", "4010"}, {"Bundle", "300", "S2", "4090"}});
        },
        "Add new invoice failed", "Add new Invoice complete");
    expectAllOrNothing([](ARform_invoice& screen) { screen.run("&Void Invoice"); },
                       "Void invoice failed", "Void invoice complete");
}

TEST_F(InvoiceFaultTest, anEditIsSavedWholeOrNotAtAll) {
    enterAndSave(open(), "1003", {{"Espresso cups", "10.12"}});
    expectAllOrNothing(
        [](ARform_invoice& screen) {
            screen.run("&Edit mode");
            screen.enterCell("dbgrid1", 0, "taxable amount", "250");
            screen.enterCell("dbgrid1", 1, "taxable amount", "40");
            screen.enterCell("dbgrid1", 1, "sales account", "4100");
            screen.run("&Save");
        },
        "Update invoice failed", "Update Invoice complete");
}

}  // namespace
}  // namespace keltro::invoice::testing
