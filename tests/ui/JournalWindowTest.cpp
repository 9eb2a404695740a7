// The G/L journal review keltro-host opens for "G/L Ledger Review": the journal with the
// asked key, its lines in line order with their account names, amounts "#,##0.00".
#include <gtest/gtest.h>

#include <QLabel>
#include <QTableWidget>

#include "app/host/JournalWindow.h"
#include "support/TestDatabase.h"

namespace keltro {
namespace {

QStringList labels(QWidget& window) {
    QStringList out;
    for (auto* label : window.findChildren<QLabel*>()) out << label->text();
    return out;
}

TEST(JournalWindow, showsTheJournalOfTheKeyWithItsLinesInOrder) {
    test::TestDatabase database{test::Contents::DemoCompany};
    auto& db = database.db();
    const auto accounts = db.query("SELECT [accno], [accname] FROM [Account_master_table] ORDER BY [accno]");
    ASSERT_GE(accounts.size(), 2u);
    db.execute("INSERT INTO [GL_header_table] ([company], [doctype], [docno], [fkey], [Description], "
               "[gldate], [Source], [source_docno], [Currency], [exchange_rate], [period], [fyear]) "
               "VALUES (1, 'gl', 'GL-7', '1gl-7', 'Invoice 1001', ?, 'AR-INVOICE', 'AR-5', 'USD', 1, '1', '2026')",
               {db::Date{2026, 1, 15}});
    for (const db::Params& line : {db::Params{"1gl-7", 2, accounts[1]["accno"], -1234.5},
                                   {"1gl-7", 1, accounts[0]["accno"], 1234.5},
                                   {"1gl-8", 1, accounts[0]["accno"], 99.0}})
        db.execute("INSERT INTO [GL_transaction_table] ([company], [fkey], [docno], [lineno], [accno], [amount], "
                   "[base_amount], [Currency], [ledgertype]) VALUES (1, ?, 'GL-7', ?, ?, ?, ?, 'USD', 'A')",
                   {line[0], line[1], line[2], line[3], line[3]});

    app::JournalWindow journal(db, "1gl-7", "dd/mm/yyyy");
    auto* lines = journal.findChild<QTableWidget*>();
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->rowCount(), 2) << "only the lines of the asked journal";
    // Line number, account name and amount of each row.
    QStringList expected = {"1", QString::fromStdString(accounts[0]["accname"].textOr()), "1,234.50",
                            "2", QString::fromStdString(accounts[1]["accname"].textOr()), "-1,234.50"};
    for (int r = 0; r < 2; ++r)
        for (int c : {0, 2, 3}) EXPECT_EQ(lines->item(r, c)->text(), expected.takeFirst()) << r << "," << c;
    EXPECT_TRUE(labels(journal).contains("15/01/2026"));
    EXPECT_TRUE(labels(journal).contains("GL-7"));

    app::JournalWindow missing(db, "1gl-99", "dd/mm/yyyy");
    EXPECT_TRUE(labels(missing).contains("No journal has the G/L key 1gl-99."));
    EXPECT_EQ(missing.findChild<QTableWidget*>()->rowCount(), 0);
}

}  // namespace
}  // namespace keltro
