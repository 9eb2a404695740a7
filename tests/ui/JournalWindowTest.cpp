// The G/L journal review keltro-host opens for "G/L Ledger Review": the journal with the
// asked key, its lines in line order with their account names, amounts "#,##0.00".
#include <gtest/gtest.h>

#include <QLabel>
#include <QTableWidget>

#include "app/host/JournalWindow.h"
#include "support/TestDatabase.h"

namespace keltro {
namespace {

QStringList column(QTableWidget* lines, int c) {
    QStringList out;
    for (int r = 0; r < lines->rowCount(); ++r) out << lines->item(r, c)->text();
    return out;
}

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
    const char* insertLine =
        "INSERT INTO [GL_transaction_table] ([company], [fkey], [docno], [lineno], [accno], [amount], "
        "[base_amount], [Currency], [ledgertype]) VALUES (1, ?, 'GL-7', ?, ?, ?, ?, 'USD', 'A')";
    db.execute(insertLine, {"1gl-7", 2, accounts[1]["accno"], -1234.5, -1234.5});
    db.execute(insertLine, {"1gl-7", 1, accounts[0]["accno"], 1234.5, 1234.5});
    db.execute(insertLine, {"1gl-8", 1, accounts[0]["accno"], 99.0, 99.0});

    app::JournalWindow journal(db, "1gl-7", "dd/mm/yyyy");
    auto* lines = journal.findChild<QTableWidget*>();
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->rowCount(), 2) << "only the lines of the asked journal";
    EXPECT_EQ(column(lines, 0), (QStringList{"1", "2"}));
    EXPECT_EQ(column(lines, 2), (QStringList{QString::fromStdString(accounts[0]["accname"].textOr()),
                                             QString::fromStdString(accounts[1]["accname"].textOr())}));
    EXPECT_EQ(column(lines, 3), (QStringList{"1,234.50", "-1,234.50"}));
    EXPECT_TRUE(labels(journal).contains("15/01/2026"));
    EXPECT_TRUE(labels(journal).contains("GL-7"));

    app::JournalWindow missing(db, "1gl-99", "dd/mm/yyyy");
    EXPECT_TRUE(labels(missing).contains("No journal has the G/L key 1gl-99."));
    EXPECT_EQ(missing.findChild<QTableWidget*>()->rowCount(), 0);
}

}  // namespace
}  // namespace keltro
